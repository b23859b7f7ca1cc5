#include "document/doc_commands.h"
#include "document_test_support.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace kolt;
using namespace kolt::testing;

namespace {

constexpr const char* kModifiedText = "The file has been modified!\nDo you want to save file?\n";

// Records the busy flag while each question or save dialog was up, and the save dialog's arguments.
class WatchingPrompts : public FakePrompts {
public:
    explicit WatchingPrompts(const CMarbenApp& app) : app_(app) {}
    std::vector<int> busyWhileShown;
    std::vector<std::string> saveArgs;

    Answer YesNoCancel(const std::string& t, const std::string& c, Icon i) override {
        return Note(), FakePrompts::YesNoCancel(t, c, i);
    }
    bool YesNo(const std::string& t, const std::string& c, Icon i) override { return Note(), FakePrompts::YesNo(t, c, i); }
    std::optional<std::string> AskSavePath(const std::string& filter, const std::string& ext,
                                           const std::string& name) override {
        Note();
        saveArgs = {filter, ext, name};
        return FakePrompts::AskSavePath(filter, ext, name);
    }

private:
    void Note() { busyWhileShown.push_back(app_.busyFlag); }
    const CMarbenApp& app_;
};

}  // namespace

TEST(Document, NewParameterDocumentHoldsTheModelDefaults) {
    CMarbenApp app;
    std::tie(app.currentModel, app.settings.hz50, app.staging.names[0]) = std::tuple(2, 0, "stale");
    app.staging.values[0].fill(4242);  // no fresh read: not consulted
    CMarbenDoc doc(app);
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(std::tuple(doc.Title(), doc.untitled, doc.IsModified(), doc.names[0]), std::tuple("Untitled", 1, false, ""));
    // Model 2 at 60 Hz: F00 holds the model, F07 60.00 Hz; the 111 parameter slots are flagged, no other.
    EXPECT_EQ(doc.values[0], doc.defaults);
    EXPECT_EQ(std::tuple(doc.values[0][0], doc.values[0][7], doc.values[0][150], doc.differs[110], doc.differs[111],
                         std::count(doc.differs.begin(), doc.differs.end(), 1)),
              std::tuple(2, 6000, 0, 1, 0, 111));
}

TEST(DocumentCommands, SavePromptAnswersTextsAndBusyFlag) {
    CMarbenApp app;
    auto doc = CreateNewDocument(app);
    WatchingPrompts prompts(app);
    // Unmodified or no document: no question at all.
    EXPECT_TRUE(SaveIfModified(*doc, prompts) && CloseCurrentDocument(nullptr, prompts) && prompts.shown.empty());

    doc->SetModifiedFlag(true);
    prompts.yesNoCancelAnswers = {Answer::Cancel, Answer::No};
    EXPECT_TRUE(!SaveIfModified(*doc, prompts) && doc->IsModified());  // Cancel
    EXPECT_TRUE(SaveIfModified(*doc, prompts) && !doc->IsModified());  // No
    const Shown question{"yesnocancel", kModifiedText, "KOLT Quendal 1.2", Icon::None};
    ExpectShown(prompts, {question, question});
    EXPECT_EQ(std::pair(prompts.busyWhileShown, app.busyFlag), std::pair(std::vector<int>{1, 1}, std::uint8_t{0}));

    // A command that is already busy stays busy after the prompt.
    doc->SetModifiedFlag(true);
    app.busyFlag = 1;
    prompts.yesNoCancelAnswers = {Answer::No};
    EXPECT_TRUE(CloseCurrentDocument(doc.get(), prompts) && app.busyFlag == 1);

    // A compare document asks only the second line.
    app.busyFlag = 0;
    app.staging.compareMode = 2;
    auto cmp = CreateNewDocument(app);
    ASSERT_TRUE(cmp->IsModified());
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
    EXPECT_EQ(std::tuple(doc->IsModified(), doc->Title(), prompts.saveArgs),
              std::tuple(true, "Untitled", std::vector<std::string>{"Parameter Files (*.kpf)|*.kpf||", "kpf", "Untitled"}));

    const std::string path = dir.File("pump.kpf");
    prompts.savePaths.push_back(path);
    EXPECT_TRUE(SaveIfModified(*doc, prompts));
    EXPECT_EQ(std::tuple(doc->IsModified(), doc->untitled, doc->Title(), doc->PathName(), app.busyFlag, recent),
              std::tuple(false, 0, "pump.kpf", path, 0, std::vector<std::string>{path}));
    EXPECT_EQ(ReadBytes(path), EncodeDocFile(ImageOfDocument(*doc)));

    // The Yes/No variant leaves busy and modified flags alone.
    doc->SetModifiedFlag(true);
    doc->untitled = 1;
    WatchingPrompts yesNo(app);
    yesNo.yesNoAnswers = {false, true};
    EXPECT_TRUE(SaveIfModifiedYesNo(*doc, yesNo) && doc->IsModified());
    EXPECT_FALSE(SaveIfModifiedYesNo(*doc, yesNo));  // Yes, then Save As cancelled
    const Shown question{"yesno", kModifiedText, "KOLT Quendal 1.2", Icon::None};
    ExpectShown(yesNo, {question, question});
    EXPECT_EQ(yesNo.busyWhileShown, (std::vector<int>{0, 0, 1}));  // the Save As dialog sets it itself
}

TEST(DocumentCommands, SaveAsOfACompareUsesTheCompareFilterAndKeepsItsKind) {
    TempDir dir;
    CMarbenApp app;
    app.staging.compareMode = 3;
    app.staging.present = {1, 0, 0};
    auto doc = CreateNewDocument(app);
    WatchingPrompts prompts(app);
    prompts.savePaths.push_back(dir.File("cmp.kpf"));  // a compare saved under the default suffix
    ASSERT_TRUE(SaveDocument(*doc, prompts));
    EXPECT_EQ(prompts.saveArgs, (std::vector<std::string>{"Compara Files (*.kcf)|*.kcf||", "kpf", "Untitled"}));
    auto back = OpenDocumentFile(app, dir.File("cmp.kpf"), prompts);  // read back by its type line, whatever the suffix
    EXPECT_TRUE(back && back->compareMode == 3);
}

TEST(DocumentCommands, OpenTakesOnlyTheTwoExtensionsAndNewClearsACompare) {
    FakePrompts prompts;
    for (const char* good : {"/a/b.kpf", "/a/b.KcF"}) EXPECT_TRUE(CheckOpenExtension(good, prompts)) << good;
    for (const char* bad : {"/a/b.txt", "/a.kpf/b", "/a/b.kpf.bak"}) EXPECT_FALSE(CheckOpenExtension(bad, prompts)) << bad;
    const Shown refused{"message", "Error: Open file failure!\n\nThe file format is not correctly!\n", "KOLT Quendal 1.2",
                        Icon::Exclamation};
    ExpectShown(prompts, {refused, refused, refused});

    CMarbenApp app;  // File New takes the dialog's model and clears a compare
    std::tie(app.staging.compareMode, app.staging.present) = std::tuple(2, std::array<std::int32_t, 3>{1, 1, 0});
    PrepareFileNew(app, 10, false);
    auto doc = CreateNewDocument(app);
    EXPECT_EQ(std::tuple(doc->compareMode, doc->model, doc->hz50, doc->IsModified(), doc->present),
              std::tuple(0, 10, 0, false, std::array<std::int32_t, 3>{0, 0, 0}));
}
