#include "app/texts.h"
#include "document/doc_commands.h"
#include "document/doc_file.h"
#include "document_test_support.h"
#include "fake_prompts.h"

#include <gtest/gtest.h>

using namespace kolt;
using kolt::testing::FakePrompts;
using kolt::testing::ReadBytes;
using kolt::testing::TempDir;

namespace {

// Records what the busy flag was while each prompt was up, and the save dialog's arguments.
class WatchingPrompts : public FakePrompts {
public:
    explicit WatchingPrompts(const CMarbenApp& app) : app_(app) {}
    std::vector<int> busyWhileShown;
    std::vector<std::string> saveArgs;

    Answer YesNoCancel(const std::string& t, const std::string& c, Icon i) override {
        busyWhileShown.push_back(app_.busyFlag);
        return FakePrompts::YesNoCancel(t, c, i);
    }
    bool YesNo(const std::string& t, const std::string& c, Icon i) override {
        busyWhileShown.push_back(app_.busyFlag);
        return FakePrompts::YesNo(t, c, i);
    }
    std::optional<std::string> AskSavePath(const std::string& filter, const std::string& ext,
                                           const std::string& name) override {
        busyWhileShown.push_back(app_.busyFlag);
        saveArgs = {filter, ext, name};
        return FakePrompts::AskSavePath(filter, ext, name);
    }

private:
    const CMarbenApp& app_;
};

}  // namespace

TEST(DocumentCommands, UnmodifiedDocumentGoesOnWithoutAsking) {
    CMarbenApp app;
    auto doc = CreateNewDocument(app);
    FakePrompts prompts;
    EXPECT_TRUE(SaveIfModified(*doc, prompts));
    EXPECT_TRUE(SaveIfModifiedYesNo(*doc, prompts));
    EXPECT_TRUE(CloseCurrentDocument(doc.get(), prompts));
    EXPECT_TRUE(CloseCurrentDocument(nullptr, prompts));
    EXPECT_TRUE(prompts.shown.empty());
}

TEST(DocumentCommands, SavePromptTextsCaptionAndBusyFlag) {
    CMarbenApp app;
    auto doc = CreateNewDocument(app);
    doc->SetModifiedFlag(true);
    WatchingPrompts prompts(app);
    prompts.yesNoCancelAnswers = {Answer::Cancel, Answer::No};
    EXPECT_FALSE(SaveIfModified(*doc, prompts));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(SaveIfModified(*doc, prompts));
    EXPECT_FALSE(doc->IsModified());
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[0].kind, "yesnocancel");
    EXPECT_EQ(prompts.shown[0].text, "The file has been modified!\nDo you want to save file?\n");
    EXPECT_EQ(prompts.shown[0].caption, "KOLT Quendal 1.2");
    EXPECT_EQ(prompts.busyWhileShown, (std::vector<int>{1, 1}));
    EXPECT_EQ(app.busyFlag, 0);

    // A command that is already busy stays busy after the prompt.
    doc->SetModifiedFlag(true);
    app.busyFlag = 1;
    prompts.yesNoCancelAnswers = {Answer::No};
    EXPECT_TRUE(CloseCurrentDocument(doc.get(), prompts));
    EXPECT_EQ(app.busyFlag, 1);

    // A compare document asks only the second line.
    app.busyFlag = 0;
    app.staging.compareMode = 2;
    auto cmp = CreateNewDocument(app);
    ASSERT_TRUE(cmp->IsModified());
    prompts.yesNoCancelAnswers = {Answer::Cancel};
    EXPECT_FALSE(CloseCurrentDocument(cmp.get(), prompts));
    EXPECT_EQ(prompts.shown.back().text, "Do you want to save file?\n");
}

TEST(DocumentCommands, YesOnAnUntitledDocumentRunsSaveAs) {
    TempDir dir;
    CMarbenApp app;
    auto doc = CreateNewDocument(app);
    doc->SetModifiedFlag(true);
    std::vector<std::string> recent;
    doc->onSaved = [&](const std::string& p) { recent.push_back(p); };

    // Cancel in the save dialog: the prompt answers cancel, the document stays untitled.
    WatchingPrompts prompts(app);
    prompts.yesNoCancelAnswers = {Answer::Yes, Answer::Yes};
    EXPECT_FALSE(SaveIfModified(*doc, prompts));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->untitled, 1);
    EXPECT_EQ(doc->Title(), "Untitled");
    EXPECT_EQ(prompts.saveArgs, (std::vector<std::string>{"Parameter Files (*.kpf)|*.kpf||", "kpf", "Untitled"}));

    const std::string path = dir.File("pump.kpf");
    prompts.savePaths.push_back(path);
    EXPECT_TRUE(SaveIfModified(*doc, prompts));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->untitled, 0);
    EXPECT_EQ(doc->Title(), "pump.kpf");
    EXPECT_EQ(doc->PathName(), path);
    EXPECT_EQ(ReadBytes(path).size(), kEmptyParameterFileSize);
    EXPECT_EQ(recent, std::vector<std::string>{path});
    EXPECT_EQ(app.busyFlag, 0);

    // Titled now: Yes saves to the same path without a dialog.
    doc->values[0][0] = 1;
    doc->SetModifiedFlag(true);
    prompts.yesNoCancelAnswers = {Answer::Yes};
    prompts.saveArgs.clear();
    EXPECT_TRUE(SaveIfModified(*doc, prompts));
    EXPECT_TRUE(prompts.saveArgs.empty());
    EXPECT_EQ(ReadBytes(path), EncodeDocFile(ImageOfDocument(*doc)));
    EXPECT_EQ(recent.size(), 2u);
}

TEST(DocumentCommands, YesNoVariantLeavesBusyAndModifiedAlone) {
    CMarbenApp app;
    auto doc = CreateNewDocument(app);
    doc->SetModifiedFlag(true);
    WatchingPrompts prompts(app);
    prompts.yesNoAnswers = {false, true};
    EXPECT_TRUE(SaveIfModifiedYesNo(*doc, prompts));
    EXPECT_TRUE(doc->IsModified());
    // Yes with a cancelled Save As answers cancel.
    EXPECT_FALSE(SaveIfModifiedYesNo(*doc, prompts));
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[0].kind, "yesno");
    EXPECT_EQ(prompts.shown[0].text, "The file has been modified!\nDo you want to save file?\n");
    EXPECT_EQ(prompts.shown[0].caption, text::kAppTitle);
    EXPECT_EQ(prompts.busyWhileShown[0], 0);
    EXPECT_EQ(prompts.busyWhileShown[1], 0);
    EXPECT_EQ(prompts.busyWhileShown[2], 1);  // the Save As dialog sets it itself
}

TEST(DocumentCommands, SaveAsOfACompareUsesTheCompareFilterAndKeepsItsKind) {
    TempDir dir;
    CMarbenApp app;
    app.staging.compareMode = 3;
    app.staging.present = {1, 0, 0};
    auto doc = CreateNewDocument(app);
    WatchingPrompts prompts(app);
    const std::string path = dir.File("cmp.kpf");  // a compare saved under the default suffix
    prompts.savePaths.push_back(path);
    ASSERT_TRUE(SaveDocument(*doc, prompts));
    EXPECT_EQ(prompts.saveArgs[0], "Compara Files (*.kcf)|*.kcf||");
    EXPECT_EQ(prompts.saveArgs[1], "kpf");

    CMarbenApp app2;
    auto back = OpenDocumentFile(app2, path, prompts);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->compareMode, 3);
    EXPECT_EQ(back->Title(), "cmp.kpf");
}

TEST(DocumentCommands, OpenChecksTheExtensionThenReads) {
    FakePrompts prompts;
    EXPECT_TRUE(CheckOpenExtension("/a/b.kpf", prompts));
    EXPECT_TRUE(CheckOpenExtension("/a/b.KcF", prompts));
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_FALSE(CheckOpenExtension("/a/b.txt", prompts));
    EXPECT_FALSE(CheckOpenExtension("/a.kpf/b", prompts));
    EXPECT_FALSE(CheckOpenExtension("/a/b.kpf.bak", prompts));
    ASSERT_EQ(prompts.shown.size(), 3u);
    EXPECT_EQ(prompts.shown[0].text, text::kBadFormat);
    EXPECT_EQ(prompts.shown[0].caption, text::kAppTitle);
    EXPECT_EQ(prompts.shown[0].icon, Icon::Exclamation);

    TempDir dir;
    CMarbenApp app;
    prompts.shown.clear();
    EXPECT_EQ(OpenDocumentFile(app, dir.File("none.kpf"), prompts), nullptr);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, text::kCannotOpenFile);
}

TEST(DocumentCommands, FileNewTakesTheDialogsModelAndClearsACompare) {
    CMarbenApp app;
    app.staging.compareMode = 2;
    app.staging.present = {1, 1, 0};
    PrepareFileNew(app, 10, false);
    EXPECT_EQ(app.currentModel, 10);
    EXPECT_EQ(app.settings.hz50, 0);
    auto doc = CreateNewDocument(app);
    EXPECT_EQ(doc->compareMode, 0);
    EXPECT_EQ(doc->present, (std::array<std::int32_t, 3>{0, 0, 0}));
    EXPECT_EQ(doc->model, 10);
    EXPECT_EQ(doc->hz50, 0);
    EXPECT_FALSE(doc->IsModified());
}
