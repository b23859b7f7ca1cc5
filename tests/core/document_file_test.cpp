#include "base/texts.h"
#include "catalogue/models.h"
#include "document_test_support.h"

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

using namespace kolt;
using namespace kolt::testing;

namespace {

DocReadResult Decode(const std::string& bytes, DocFileImage* im = nullptr) {
    std::istringstream in(bytes);
    DocFileImage scratch;
    return DecodeDocFile(in, im ? *im : scratch);
}

std::string Bytes(const CMarbenDoc& doc) { return EncodeDocFile(ImageOfDocument(doc)); }

std::string EmptyParameterFile() {
    CMarbenApp app;
    CMarbenDoc doc(app);
    doc.OnNewDocument();
    return Bytes(doc);
}

// Two header lines and a compare-mode word, to put before the rest of a file.
std::string Header(const std::string& line1, const std::string& line2, char mode) {
    return line1 + "\n" + line2 + "\n" + mode + std::string(3, '\0');
}

}  // namespace

TEST(DocumentFile, EmptyParameterFileIs1801BytesWithItsOffsets) {
    CMarbenApp app;
    app.currentModel = 3;
    app.settings.hz50 = 0;
    CMarbenDoc doc(app);
    doc.OnNewDocument();
    doc.values[0][5] = -2;
    const std::string b = Bytes(doc);

    // The layout written out: header line, type line, mode, model, 50 Hz flag,
    // 300 differs flags, 300 values, 254 station title lines, 8 print lines.
    ASSERT_EQ(b.size(), 1801u);
    EXPECT_EQ(b.substr(0, 20), "KOLT Ver:1.2.080324\n");
    EXPECT_EQ(b.substr(20, 10), "Parameter\n");
    EXPECT_EQ(IntAt(b, 30), 0);
    EXPECT_EQ(IntAt(b, 34), 3);
    EXPECT_EQ(b[38], 0);
    EXPECT_EQ(b[39], 1);
    EXPECT_EQ(b[39 + 110], 1);
    EXPECT_EQ(b[39 + 111], 0);
    EXPECT_EQ(IntAt(b, 339), 3);  // F00: the model
    EXPECT_EQ(IntAt(b, 339 + 4 * 55), DefaultValue(100, 3, false));
    EXPECT_EQ(b.substr(339 + 4 * 5, 4), std::string("\xFE\xFF\xFF\xFF", 4));
    EXPECT_EQ(b.substr(1539, 1793 - 1539), std::string(254, '\n'));
    EXPECT_EQ(b.substr(1793), std::string(8, '\n'));
}

TEST(DocumentFile, ParameterAndCompareFilesRoundTripThroughDisk) {
    TempDir dir;
    CMarbenApp app;
    app.currentModel = 7;
    CMarbenDoc doc(app);
    doc.OnNewDocument();
    doc.values[0][0] = 123;
    doc.values[0][110] = -45;
    doc.stationTitles[0] = "Pump 1";
    doc.stationTitles[253] = "Last station";
    doc.printFields[kPrintCompany] = "Acme Works";
    doc.printFields[kPrintRemark3] = "end";
    FakePrompts prompts;
    const std::string path = dir.File("set.kpf");
    ASSERT_TRUE(WriteDocFile(doc, path, prompts));
    EXPECT_EQ(ReadBytes(path), Bytes(doc));
    EXPECT_EQ(ReadBytes(path).size(), kEmptyParameterFileSize + 6 + 12 + 10 + 3);

    CMarbenApp app2;
    app2.staging.compareMode = 2;
    app2.settings.hz50 = 0;
    CMarbenDoc back(app2);
    back.SetModifiedFlag(true);
    back.untitled = 1;
    ASSERT_TRUE(ReadDocFile(back, path, prompts));
    EXPECT_EQ(Bytes(back), ReadBytes(path));
    EXPECT_EQ(std::tuple(back.Title(), back.PathName(), back.IsModified(), back.untitled),
              std::tuple("set.kpf", path, false, 0));
    // The file's mode, model and frequency become the application's.
    EXPECT_EQ(std::tuple(app2.staging.compareMode, app2.currentModel, app2.settings.hz50), std::tuple(0, 7, 1));

    // A compare file: three value arrays and three names, no station titles.
    CMarbenDoc cmp(app);
    cmp.compareMode = 3;
    cmp.present = {0, 1, 0x101};  // only the low byte is kept
    cmp.names = {"------", "b.kpf", "------"};
    cmp.values[1][9] = 99;
    cmp.values[2][299] = -7;
    cmp.differs[9] = 1;
    cmp.stationTitles[0] = "not stored";
    cmp.printFields[kPrintTitle] = "T";
    const std::string b = Bytes(cmp);
    EXPECT_EQ(b.substr(20, 8), "Compare\n");
    EXPECT_EQ(IntAt(b, 28), 3);
    EXPECT_EQ(b.substr(37, 23), std::string("\x00\x01\x01------\nb.kpf\n------\n", 23));
    EXPECT_EQ(b.size(), 60u + 300 + 3 * 1200 + 2 + 7);
    WriteBytes(dir.File("c.kcf"), b);
    ASSERT_TRUE(ReadDocFile(back, dir.File("c.kcf"), prompts));
    EXPECT_EQ(Bytes(back), b);
    EXPECT_EQ(back.present, (std::array<std::int32_t, 3>{0, 1, 1}));
    EXPECT_EQ(app2.staging.compareMode, 3);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST(DocumentFile, EveryRefusalHasItsMessageCaptionAndIcon) {
    TempDir dir;
    CMarbenApp app;
    const std::string rest = EmptyParameterFile().substr(kOffsetModel);
    struct Case { std::string name, bytes; const char* message; };  // message nullptr: the file is read
    // The program's own words, written out: a constant taken from the program would agree with any typo in it.
    const char* const kBadFormatText = "Error: Open file failure!\n\nThe file format is not correctly!\n";
    const char* const kOldVersionText = "Error opening file !!\n\nIt is not KOLT Quendal(Ver 1.2)'s file format !!";
    const std::vector<Case> cases = {
        {"no KOLT in line 1", Header("kolt Ver:1.2.080324", "Parameter", 0) + rest, kBadFormatText},
        {"lower-case type", Header("KOLT Ver:1.2.080324", "parameter", 0) + rest, kBadFormatText},
        {"unknown type", Header("KOLT Ver:1.2.080324", "Parameters", 0) + rest, kBadFormatText},
        {"Compare with mode 0", Header("KOLT Ver:1.2.080324", "Compare", 0) + rest, kBadFormatText},
        {"Parameter with mode 2", Header("KOLT Ver:1.2.080324", "Parameter", 2) + rest, kBadFormatText},
        {"version 0.x", Header("KOLT Ver:0.9.070101", "Parameter", 0) + rest, kOldVersionText},
        {"version 1.0x", Header("KOLT Ver:1.05.070101", "Parameter", 0) + rest, kOldVersionText},
        {"empty file", "", kBadFormatText},
        {"KOLT alone", Header("KOLT", "Parameter", 0) + rest, nullptr},
        {"KOLT inside line 1", Header("my KOLT file", "Parameter", 0) + rest, nullptr},
        {"version 1.1", Header("KOLT Ver:1.1.000000", "Parameter", 0) + rest, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(dir.File("x.kpf"), c.bytes);
        CMarbenApp a;
        a.currentModel = 4;
        CMarbenDoc doc(a);
        FakePrompts prompts;
        EXPECT_EQ(ReadDocFile(doc, dir.File("x.kpf"), prompts), c.message == nullptr);
        if (c.message == nullptr) continue;
        ExpectShown(prompts, {{"message", c.message, "Open\n", Icon::Error}});
        EXPECT_EQ(a.currentModel, 4);  // nothing reaches the application or the document
        EXPECT_EQ(doc.PathName(), "");
    }
    for (const std::string& path : {dir.File("missing.kpf"), dir.Path()}) {
        CMarbenDoc doc(app);
        FakePrompts prompts;
        EXPECT_FALSE(ReadDocFile(doc, path, prompts));
        ExpectShown(prompts, {{"message", "File could not be opened!\n", "Open\n", Icon::Error}});
    }
}

TEST(DocumentFile, TruncatedFileLeavesUnreadFieldsAtStartValues) {
    CMarbenApp app;
    app.currentModel = 5;
    CMarbenDoc doc(app);
    doc.OnNewDocument();
    doc.stationTitles[0] = "first";
    doc.printFields[0] = "title";
    const std::string full = Bytes(doc);

    DocFileImage im;
    ASSERT_EQ(Decode(full.substr(0, kOffsetValues + 4 * 10 + 2), &im), DocReadResult::Ok);  // inside slot 10
    EXPECT_EQ(im.model, 5);
    for (int slot = 0; slot < kSlotCount; ++slot) EXPECT_EQ(im.values[0][slot], slot < 10 ? doc.values[0][slot] : 0);
    EXPECT_EQ(im.stationTitles[0], "");
    EXPECT_EQ(im.printFields[0], "");

    // Every prefix: nothing before the end of "Parameter" passes, everything from there on does.
    for (std::size_t n = 0; n <= full.size(); ++n)
        EXPECT_EQ(Decode(full.substr(0, n)), n < 29 ? DocReadResult::BadFormat : DocReadResult::Ok) << n;
}

TEST(DocumentFile, TextLinesAreBoundedAndCannotBreakTheLayout) {
    // A big file with no LF at all is refused without reading it all.
    std::istringstream in("KOLT" + std::string(1 << 20, 'K'));
    DocFileImage im;
    EXPECT_EQ(DecodeDocFile(in, im), DocReadResult::BadFormat);
    EXPECT_LE(static_cast<std::size_t>(in.tellg()), kMaxFileLine + 1);

    // An LF inside a text field is written as a blank.
    CMarbenApp app;
    CMarbenDoc doc(app);
    doc.stationTitles[4] = "two\nlines";
    ASSERT_EQ(Decode(Bytes(doc), &im), DocReadResult::Ok);
    EXPECT_EQ(im.stationTitles[4], "two lines");
    EXPECT_EQ(im.stationTitles[5], "");

    // An overlong station title or print line further on.
    doc.stationTitles[3] = std::string(kMaxFileLine, 't');
    EXPECT_EQ(Decode(Bytes(doc)), DocReadResult::Ok);
    doc.stationTitles[3] += "t";
    EXPECT_EQ(Decode(Bytes(doc)), DocReadResult::BadFormat);
    doc.stationTitles[3].clear();
    doc.printFields[7] = std::string(100000, 'p');
    EXPECT_EQ(Decode(Bytes(doc)), DocReadResult::BadFormat);
}
