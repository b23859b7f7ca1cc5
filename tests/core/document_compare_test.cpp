#include "app/texts.h"
#include "catalogue/models.h"
#include "document/compare.h"
#include "document/doc_commands.h"
#include "document_test_support.h"
#include "fake_prompts.h"

#include <gtest/gtest.h>

using namespace kolt;
using kolt::testing::FakePrompts;
using kolt::testing::ParameterFileBytes;
using kolt::testing::TempDir;
using kolt::testing::WriteBytes;

namespace {

SlotFlags InUse() {
    SlotFlags f{};
    for (int slot = 0; slot < kParamCount; ++slot) f[slot] = 1;
    return f;
}

SlotValues Defaults(int model, bool hz50) {
    SlotValues v{};
    for (int slot = 0; slot < kParamCount; ++slot) v[slot] = DefaultValue(NumberOfSlot(slot), model, hz50);
    return v;
}

int Rows(const CMarbenDoc& doc) {
    int n = 0;
    for (auto d : doc.differs) n += d;
    return n;
}

}  // namespace

TEST(DocumentCompare, LoadRefusesAnythingButAParameterFile) {
    TempDir dir;
    SlotValues settings{};
    settings[4] = 44;
    const std::string good = ParameterFileBytes(InUse(), settings);

    LoadedParamFile f;
    f.settings[0] = 9;
    FakePrompts prompts;
    std::string lower = good;
    lower.replace(20, 9, "parameter");
    std::string mode1 = good;
    mode1[30] = 1;
    CMarbenApp app;
    CMarbenDoc cmp(app);
    cmp.compareMode = 2;
    for (const std::string& bytes :
         {lower, mode1, EncodeDocFile(ImageOfDocument(cmp)), std::string("KOLT\nParameter\n\0", 16)}) {
        WriteBytes(dir.File("bad.kpf"), bytes);
        EXPECT_FALSE(LoadParameterFile(dir.File("bad.kpf"), f, prompts));
    }
    ASSERT_EQ(prompts.shown.size(), 4u);
    for (const auto& s : prompts.shown) {
        EXPECT_EQ(s.text, text::kBadFormat);
        EXPECT_EQ(s.caption, "Open\n");
        EXPECT_EQ(s.icon, Icon::Error);
    }
    // Path and name are taken before the file is examined; the data is not.
    EXPECT_EQ(f.path, dir.File("bad.kpf"));
    EXPECT_EQ(f.fileName, "bad.kpf");
    EXPECT_EQ(f.settings[0], 9);
    EXPECT_EQ(f.slotFlags[0], 0);

    prompts.shown.clear();
    EXPECT_FALSE(LoadParameterFile(dir.File("gone.kpf"), f, prompts));
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, text::kCannotOpenFile);
    EXPECT_EQ(prompts.shown[0].caption, text::kOpenCaption);

    WriteBytes(dir.File("good.kpf"), good);
    ASSERT_TRUE(LoadParameterFile(dir.File("good.kpf"), f, prompts));
    EXPECT_EQ(f.settings, settings);
    EXPECT_EQ(f.slotFlags, InUse());
}

TEST(DocumentCompare, FileWithFileListsOnlySlotsInUseInBothThatDiffer) {
    TempDir dir;
    SlotValues a = Defaults(0, true), b = a;
    SlotFlags flagsB = InUse();
    b[7] += 1;        // differs, in use in both
    b[20] += 1;       // differs, but unused in file 2
    flagsB[20] = 0;
    b[150] = 3;       // beyond the parameters: unused in both
    WriteBytes(dir.File("a.kpf"), ParameterFileBytes(InUse(), a));
    WriteBytes(dir.File("b.kpf"), ParameterFileBytes(flagsB, b));

    FakePrompts prompts;
    FileWithFileData dlg;
    ASSERT_TRUE(dlg.Load(0, dir.File("a.kpf"), prompts));
    EXPECT_FALSE(dlg.CanAccept());
    EXPECT_FALSE(dlg.Load(1, dir.File("missing.kpf"), prompts));
    EXPECT_FALSE(dlg.CanAccept());
    ASSERT_TRUE(dlg.Load(1, dir.File("b.kpf"), prompts));
    ASSERT_TRUE(dlg.CanAccept());

    CMarbenApp app;
    StageFileWithFile(app, dlg.files[0], dlg.files[1], FileWithFileDiffers(dlg.files[0], dlg.files[1]));
    EXPECT_EQ(app.staging.names, (std::array<std::string, 3>{"a.kpf", "b.kpf", ""}));
    EXPECT_EQ(app.staging.present, (std::array<std::int32_t, 3>{1, 1, 0}));
    auto doc = CreateNewDocument(app);
    EXPECT_EQ(doc->compareMode, 2);
    EXPECT_EQ(Rows(*doc), 1);
    EXPECT_EQ(doc->differs[7], 1);
    EXPECT_EQ(doc->values[1][20], b[20]);
    EXPECT_TRUE(doc->IsModified());
}

TEST(DocumentCompare, IdenticalFilesOrOneFileLoadedTwiceGiveNoRows) {
    TempDir dir;
    WriteBytes(dir.File("a.kpf"), ParameterFileBytes(InUse(), Defaults(3, false)));
    FakePrompts prompts;
    FileWithFileData same;
    ASSERT_TRUE(same.Load(0, dir.File("a.kpf"), prompts));
    ASSERT_TRUE(same.Load(1, dir.File("a.kpf"), prompts));
    EXPECT_EQ(FileWithFileDiffers(same.files[0], same.files[1]), SlotFlags{});

    // The counter counts loads: file 1 twice is enough for OK, and file 2 is empty.
    FileWithFileData twice;
    SlotValues other{};
    other.fill(1);
    WriteBytes(dir.File("b.kpf"), ParameterFileBytes(InUse(), other));
    ASSERT_TRUE(twice.Load(0, dir.File("a.kpf"), prompts));
    ASSERT_TRUE(twice.Load(0, dir.File("b.kpf"), prompts));
    EXPECT_TRUE(twice.CanAccept());
    CMarbenApp app;
    StageFileWithFile(app, twice.files[0], twice.files[1], FileWithFileDiffers(twice.files[0], twice.files[1]));
    auto doc = CreateNewDocument(app);
    EXPECT_EQ(Rows(*doc), 0);
    EXPECT_EQ(doc->names[1], "");
}

TEST(DocumentCompare, FilesWithDefaultWithOnlyTheSecondFile) {
    TempDir dir;
    CMarbenApp app;
    app.currentModel = 4;
    app.settings.hz50 = 1;
    FilesWithDefaultData dlg;
    dlg.Preset(app);
    EXPECT_EQ(dlg.model, 4);
    EXPECT_EQ(dlg.frequency, 0);
    EXPECT_FALSE(dlg.CanAccept());

    // The user picks model 10 at 60 Hz; the file is compared with those defaults.
    dlg.model = 10;
    dlg.frequency = 1;
    SlotValues v = Defaults(10, false);
    v[60] += 5;
    WriteBytes(dir.File("two.kpf"), ParameterFileBytes(SlotFlags{}, v));  // slot flags are not consulted
    FakePrompts prompts;
    ASSERT_TRUE(dlg.Load(1, dir.File("two.kpf"), prompts));
    ASSERT_TRUE(dlg.CanAccept());
    app.staging.differs.fill(1);  // a mode-2 leftover must not matter
    StageFilesWithDefault(app, dlg);
    EXPECT_EQ(app.currentModel, 10);
    EXPECT_EQ(app.settings.hz50, 0);
    EXPECT_EQ(app.staging.names, (std::array<std::string, 3>{"------", "two.kpf", "------"}));
    EXPECT_EQ(app.staging.present, (std::array<std::int32_t, 3>{0, 1, 0}));

    auto doc = CreateNewDocument(app);
    EXPECT_EQ(doc->compareMode, 3);
    EXPECT_EQ(doc->model, 10);
    EXPECT_EQ(doc->hz50, 0);
    EXPECT_EQ(doc->defaults[60], DefaultValue(NumberOfSlot(60), 10, false));
    EXPECT_EQ(Rows(*doc), 1);
    EXPECT_EQ(doc->differs[60], 1);
    EXPECT_EQ(doc->values[0], SlotValues{});

    // A model selection outside the list becomes model 0.
    dlg.model = 11;
    EXPECT_EQ(dlg.ChosenModel(), 0);
}

TEST(DocumentCompare, InverterWithDefaultNamesTheStationAndTakesTheDrivesModel) {
    EXPECT_EQ(StationSourceName(7), "Station_007");
    EXPECT_EQ(StationSourceName(254), "Station_254");

    CMarbenApp app;
    app.readCapacity = 8;
    app.readVersion = 12;
    app.staging.values[0] = Defaults(8, false);
    app.staging.values[0][0] += 1;
    app.staging.values[0][110] += 1;
    app.staging.names[2] = "old";
    StageInverterWithDefault(app, 254, false);
    EXPECT_EQ(app.currentStation, 254);
    EXPECT_EQ(app.currentModel, 8);
    EXPECT_EQ(app.softwareVersion, 12);
    EXPECT_EQ(app.settings.hz50, 0);
    EXPECT_EQ(app.staging.names, (std::array<std::string, 3>{"Station_254", "", ""}));
    auto doc = CreateNewDocument(app);
    EXPECT_EQ(doc->compareMode, 1);
    EXPECT_EQ(Rows(*doc), 2);
    EXPECT_EQ(doc->differs[0], 1);
    EXPECT_EQ(doc->differs[110], 1);
}
