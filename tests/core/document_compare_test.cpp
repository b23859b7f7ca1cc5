#include "catalogue/models.h"
#include "document/compare.h"
#include "document/doc_commands.h"
#include "document_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

using namespace kolt;
using namespace kolt::testing;

namespace {

int Rows(const CMarbenDoc& doc) { return static_cast<int>(std::count(doc.differs.begin(), doc.differs.end(), 1)); }

}  // namespace

TEST(DocumentCompare, LoadRefusesAnythingButAParameterFile) {
    TempDir dir;
    SlotValues settings{};
    settings[4] = 44;
    const std::string good = ParameterFileBytes(AllInUse(), settings);
    std::string lower = good, mode1 = good;
    lower.replace(20, 9, "parameter");
    mode1[30] = 1;
    CMarbenApp app;
    CMarbenDoc cmp(app);
    cmp.compareMode = 2;
    LoadedParamFile f;
    f.settings[0] = 9;
    FakePrompts prompts;
    const std::string cut("KOLT\nParameter\n\0", 16);  // the mode word ends early
    for (const std::string& bytes : {lower, mode1, EncodeDocFile(ImageOfDocument(cmp)), cut}) {
        WriteBytes(dir.File("bad.kpf"), bytes);
        EXPECT_FALSE(LoadParameterFile(dir.File("bad.kpf"), f, prompts));
    }
    EXPECT_FALSE(LoadParameterFile(dir.File("gone.kpf"), f, prompts));
    const Shown bad{"message", "Error: Open file failure!\n\nThe file format is not correctly!\n", "Open\n", Icon::Error};
    ExpectShown(prompts, {bad, bad, bad, bad, {"message", "File could not be opened!\n", "Open\n", Icon::Error}});
    // A refused file takes nothing, not even its name: it would head another file's settings.
    EXPECT_EQ(std::tuple(f.fileName, f.settings[0], f.slotFlags[0]), std::tuple("", 9, 0));

    WriteBytes(dir.File("good.kpf"), good);
    ASSERT_TRUE(LoadParameterFile(dir.File("good.kpf"), f, prompts));
    EXPECT_EQ(std::tuple(f.settings, f.slotFlags), std::tuple(settings, AllInUse()));
}

TEST(DocumentCompare, FileWithFileListsOnlySlotsInUseInBothThatDiffer) {
    TempDir dir;
    SlotValues a = DefaultSettings(0, true), b = a;
    SlotFlags flagsB = AllInUse();
    // 7 differs, in use in both; 20 differs, but unused in file 2; 150 lies beyond the parameters: unused in both.
    std::tie(b[7], b[20], flagsB[20], b[150]) = std::tuple(b[7] + 1, b[20] + 1, 0, 3);
    WriteBytes(dir.File("a.kpf"), ParameterFileBytes(AllInUse(), a));
    WriteBytes(dir.File("b.kpf"), ParameterFileBytes(flagsB, b));

    FakePrompts prompts;
    FileWithFileData dlg;
    ASSERT_TRUE(dlg.Load(0, dir.File("a.kpf"), prompts) && !dlg.CanAccept());
    ASSERT_TRUE(dlg.Load(1, dir.File("b.kpf"), prompts) && dlg.CanAccept());

    CMarbenApp app;
    StageFileWithFile(app, dlg.files[0], dlg.files[1], FileWithFileDiffers(dlg.files[0], dlg.files[1]));
    EXPECT_EQ(std::pair(app.staging.names, app.staging.present),
              std::pair(std::array<std::string, 3>{"a.kpf", "b.kpf", ""}, std::array<std::int32_t, 3>{1, 1, 0}));
    auto doc = CreateNewDocument(app);
    EXPECT_EQ(std::tuple(doc->compareMode, Rows(*doc), doc->differs[7], doc->IsModified(), doc->values[1][20]),
              std::tuple(2, 1, 1, true, b[20]));

    // The counter counts loads: file 1 twice is enough for OK; file 2 stays empty, in use nowhere.
    FileWithFileData twice;
    EXPECT_TRUE(twice.Load(0, dir.File("a.kpf"), prompts) && twice.Load(0, dir.File("b.kpf"), prompts) && twice.CanAccept());
    EXPECT_EQ(FileWithFileDiffers(twice.files[0], twice.files[1]), SlotFlags{});
}

TEST(DocumentCompare, FilesWithDefaultWithOnlyTheSecondFile) {
    TempDir dir;
    CMarbenApp app;
    app.settings.hz50 = 1;
    FilesWithDefaultData dlg;  // preset from the application: the compare commands tests
    // The user picks model 10 at 60 Hz; the file is compared with those defaults.
    std::tie(dlg.model, dlg.frequency) = std::tuple(10, 1);
    SlotValues v = DefaultSettings(10, false);
    v[60] += 5;
    WriteBytes(dir.File("two.kpf"), ParameterFileBytes(SlotFlags{}, v));  // slot flags are not consulted
    FakePrompts prompts;
    ASSERT_TRUE(dlg.Load(1, dir.File("two.kpf"), prompts) && dlg.CanAccept());
    app.staging.differs.fill(1);  // a mode-2 leftover must not matter
    StageFilesWithDefault(app, dlg);
    EXPECT_EQ(std::tuple(app.currentModel, app.settings.hz50, app.staging.names, app.staging.present),
              std::tuple(10, 0, std::array<std::string, 3>{"------", "two.kpf", "------"}, std::array<std::int32_t, 3>{0, 1, 0}));

    auto doc = CreateNewDocument(app);
    // Only slot 60 differs: the absent sources, all zero, count for nothing.
    EXPECT_EQ(std::tuple(doc->compareMode, doc->model, doc->hz50, Rows(*doc), doc->differs[60]), std::tuple(3, 10, 0, 1, 1));
}

TEST(DocumentCompare, InverterWithDefaultNamesTheStationAndTakesTheDrivesModel) {
    CMarbenApp app;
    std::tie(app.readCapacity, app.readVersion) = std::tuple(8, 12);
    app.staging.values[0] = DefaultSettings(8, false);
    app.staging.values[0][0] += 1;
    app.staging.values[0][110] += 1;
    app.staging.values[1].fill(77);  // left over from an earlier compare, not consulted
    app.staging.names[2] = "old";
    StageInverterWithDefault(app, 7, false);
    EXPECT_EQ(std::tuple(app.currentStation, app.currentModel, app.softwareVersion, app.settings.hz50, app.staging.names),
              std::tuple(7, 8, 12, 0, std::array<std::string, 3>{"Station_007", "", ""}));
    auto doc = CreateNewDocument(app);
    EXPECT_EQ(std::tuple(doc->compareMode, Rows(*doc), doc->differs[0], doc->differs[110]), std::tuple(1, 2, 1, 1));
}
