#include "base/legacy_text.h"
#include "catalogue/models.h"
#include "document/doc_commands.h"
#include "document_test_support.h"
#include "view/grid_texts.h"
#include "view/print_layout.h"

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

// Two header lines and a compare-mode word, to put before the rest of a file.
std::string Header(const std::string& line1, const std::string& line2, char mode) {
    return line1 + "\n" + line2 + "\n" + mode + std::string(3, '\0');
}

}  // namespace

TEST(DocumentFile, EmptyParameterFileIs1801BytesWithItsOffsets) {
    CMarbenApp app;
    PrepareFileNew(app, 3, false);
    auto doc = CreateNewDocument(app);
    doc->values[0][5] = -2;
    const std::string b = Bytes(*doc);
    ASSERT_EQ(b.size(), 1801u);
    // Version line, type line, mode, model, 50 Hz flag, differs flags, values, 254 title lines, 8 print lines.
    const std::vector<std::pair<std::size_t, std::string>> pinned{
        {0, "KOLT Ver:1.2.080324\nParameter\n"}, {30, std::string("\0\0\0\0\3\0\0\0\0\1", 10)},
        {39 + 110, std::string("\1\0", 2)}, {339, std::string("\3\0\0\0", 4)}, {339 + 4 * 5, "\xFE\xFF\xFF\xFF"},
        {339 + 4 * 7, std::string("\x70\x17\0\0", 4)}, {1539, std::string(254 + 8, '\n')}};  // F07 60.00 Hz
    for (const auto& [offset, bytes] : pinned) EXPECT_EQ(b.substr(offset, bytes.size()), bytes) << offset;
}

TEST(DocumentFile, ParameterAndCompareFilesRoundTripThroughDisk) {
    TempDir dir;
    CMarbenApp app;
    app.currentModel = 7;
    CMarbenDoc doc(app);
    doc.OnNewDocument();
    std::tie(doc.values[0][0], doc.values[0][110], doc.stationTitles[0]) = std::tuple(123, -45, "Pump 1");
    EXPECT_FALSE(doc.TextCodec().legacy);  // UTF-8 text only
    doc.stationTitles[253] = "F\xF6rderband";  // texts written on Windows, in CP1252
    std::tie(doc.printFields[kPrintCompany], doc.printFields[kPrintRemark3]) = std::tuple("M\xFCller GmbH", "end");
    FakePrompts prompts;
    const std::string path = dir.File("set.kpf");
    ASSERT_TRUE(WriteDocFile(doc, path, prompts));
    EXPECT_EQ(std::pair(ReadBytes(path), ReadBytes(path).size()), std::pair(Bytes(doc), kEmptyParameterFileSize + 6 + 10 + 11 + 3));

    CMarbenApp app2;
    std::tie(app2.staging.compareMode, app2.settings.hz50) = std::tuple(2, 0);
    CMarbenDoc back(app2);
    back.SetModifiedFlag(true);
    back.untitled = 1;
    ASSERT_TRUE(ReadDocFile(back, path, prompts));
    EXPECT_EQ(Bytes(back), ReadBytes(path));  // every byte kept, the legacy ones too
    EXPECT_EQ(std::tuple(back.Title(), back.PathName(), back.IsModified(), back.untitled),
              std::tuple("set.kpf", path, false, 0));
    EXPECT_EQ(std::tuple(back.TextCodec().legacy, back.TextCodec().Text(back.stationTitles[253]),
                         MakePrintJob(back, PrintSelection{}).titleFields[kPrintCompany]),
              std::tuple(true, "F\xC3\xB6rderband", "M\xC3\xBCller GmbH"));
    // The file's mode, model and frequency become the application's.
    EXPECT_EQ(std::tuple(app2.staging.compareMode, app2.currentModel, app2.settings.hz50), std::tuple(0, 7, 1));

    // A compare file: three value arrays and three names, no station titles.
    CMarbenDoc cmp(app);
    cmp.compareMode = 3;
    cmp.present = {0, 1, 0x101};  // only the low byte is kept
    cmp.names = {"------", "\xB1\xC3.kpf", "------"};  // written on a Chinese system
    std::tie(cmp.values[1][9], cmp.values[2][299], cmp.differs[9]) = std::tuple(99, -7, 1);
    std::tie(cmp.stationTitles[0], cmp.printFields[kPrintTitle]) = std::tuple("not stored", "T");
    const std::string b = Bytes(cmp);
    EXPECT_EQ(std::tuple(b.substr(20, 12), b.substr(37, 24), b.size()),
              std::tuple(std::string("Compare\n\3\0\0\0", 12), std::string("\x00\x01\x01------\n\xB1\xC3.kpf\n------\n", 24),
                         61u + 300 + 3 * 1200 + 2 + 7));
    WriteBytes(dir.File("c.kcf"), b);
    app2.settings.codePage = "GBK";
    ASSERT_TRUE(ReadDocFile(back, dir.File("c.kcf"), prompts));
    EXPECT_EQ(std::tuple(Bytes(back), back.present, app2.staging.compareMode, prompts.shown.size()),
              std::tuple(b, std::array<std::int32_t, 3>{0, 1, 1}, 3, 0u));
    EXPECT_EQ(DocumentGridTexts(back).header,
              (std::vector<std::string>{"Description", "Code", "Default", "------", "\xE6\xB3\xB5.kpf", "------"}));
}

TEST(DocumentFile, EveryRefusalHasItsMessageCaptionAndIcon) {
    TempDir dir;
    CMarbenApp app;
    CMarbenDoc empty(app);
    const std::string rest = Bytes(empty).substr(kOffsetModel);
    // The program's own words, written out: a constant taken from the program would agree with any typo in it.
    const char* const kBad = "Error: Open file failure!\n\nThe file format is not correctly!\n";
    const char* const kOld = "Error opening file !!\n\nIt is not KOLT Quendal(Ver 1.2)'s file format !!";
    const std::vector<std::pair<std::string, const char*>> cases = {  // message nullptr: the file is read
        {Header("kolt Ver:1.2.080324", "Parameter", 0) + rest, kBad},
        {Header("KOLT Ver:1.2.080324", "parameter", 0) + rest, kBad},
        {Header("KOLT Ver:1.2.080324", "Parameters", 0) + rest, kBad},
        {Header("KOLT Ver:1.2.080324", "Compare", 0) + rest, kBad},
        {Header("KOLT Ver:1.2.080324", "Parameter", 2) + rest, kBad},
        {Header("KOLT Ver:0.9.070101", "Parameter", 0) + rest, kOld},
        {Header("KOLT Ver:1.05.070101", "Parameter", 0) + rest, kOld},
        {"", kBad},
        {Header("KOLT", "Parameter", 0) + rest, nullptr},
        {Header("my KOLT file", "Parameter", 0) + rest, nullptr},
        {Header("KOLT Ver:1.1.000000", "Parameter", 0) + rest, nullptr},
    };
    for (const auto& [bytes, message] : cases) {
        SCOPED_TRACE(bytes.substr(0, 30));
        WriteBytes(dir.File("x.kpf"), bytes);
        CMarbenApp a;
        a.currentModel = 4;
        CMarbenDoc doc(a);
        FakePrompts prompts;
        EXPECT_EQ(ReadDocFile(doc, dir.File("x.kpf"), prompts), message == nullptr);
        if (message == nullptr) continue;
        ExpectShown(prompts, {{"message", message, "Open\n", Icon::Error}});
        EXPECT_EQ(std::tuple(a.currentModel, doc.PathName()), std::tuple(4, ""));  // nothing reaches app or document
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
    PrepareFileNew(app, 5, true);
    auto doc = CreateNewDocument(app);
    std::tie(doc->stationTitles[0], doc->printFields[0]) = std::tuple("first", "title");
    const std::string full = Bytes(*doc);

    DocFileImage im;
    ASSERT_EQ(Decode(full.substr(0, kOffsetValues + 4 * 10 + 2), &im), DocReadResult::Ok);  // inside slot 10
    EXPECT_EQ(std::tuple(im.model, im.stationTitles[0], im.printFields[0]), std::tuple(5, "", ""));
    for (int slot = 0; slot < kSlotCount; ++slot) EXPECT_EQ(im.values[0][slot], slot < 10 ? doc->values[0][slot] : 0);
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

    CMarbenApp app;
    CMarbenDoc doc(app);
    doc.stationTitles[4] = "two\nlines";  // an LF inside a text field is written as a blank
    ASSERT_EQ(Decode(Bytes(doc), &im), DocReadResult::Ok);
    EXPECT_EQ(std::tuple(im.stationTitles[4], im.stationTitles[5]), std::tuple("two lines", ""));
    doc.stationTitles[3] = std::string(kMaxFileLine, 't');
    EXPECT_EQ(Decode(Bytes(doc)), DocReadResult::Ok);
    doc.stationTitles[3] += "t";
    EXPECT_EQ(Decode(Bytes(doc)), DocReadResult::BadFormat);
    doc.stationTitles[3].clear();
    doc.printFields[7] = std::string(100000, 'p');
    EXPECT_EQ(Decode(Bytes(doc)), DocReadResult::BadFormat);
}

// Text fields written on Windows in a legacy code page; ours in UTF-8.
TEST(LegacyText, FieldsReadInTheCodePageAndEditsWrittenBackInIt) {
    const std::string mueller = "M\xC3\xBCller", zhongwen = "\xE4\xB8\xAD\xE6\x96\x87", euro = "\xE2\x82\xAC";
    struct Case { const char* codePage; bool legacy; std::string bytes, text, typed, stored; };
    const Case cases[] = {
        {"CP1252", true, "M\xFCller", mueller, "J\xC3\xBCrgen \xE2\x82\xAC", "J\xFCrgen \x80"},
        {"CP1252", true, "\x81x", "\xEF\xBF\xBDx", zhongwen, zhongwen},  // undefined byte; no room for CJK: UTF-8
        {"CP1252", true, "ok", "ok", "\xC3\x83\xC2\xA9", "\xC3\x83\xC2\xA9"},  // "Ã©" in CP1252 would read as UTF-8 "é"
        {"CP1252", false, mueller, mueller, mueller, mueller},  // a UTF-8 document stays UTF-8
        {"GBK", true, "\xD6\xD0\xCE\xC4", zhongwen, zhongwen + "1", "\xD6\xD0\xCE\xC4" "1"},
        {"BIG5", true, "\xA4\xA4\xA4\xE5", zhongwen, euro, "\xA3\xE1"}, {"BIG5", true, "", "", "\xED\x95\x9C", "\xED\x95\x9C"},
        {"GBK", true, "\xD6", "\xEF\xBF\xBD", "", ""},  // half a pair
    };
    for (const Case& c : cases) {
        const FieldCodec codec{c.codePage, c.legacy};
        EXPECT_EQ(codec.Text(c.bytes), c.text) << c.codePage << " " << c.bytes;
        EXPECT_EQ(codec.Stored(c.typed), c.stored) << c.codePage << " " << c.typed;
    }
    for (const auto& [name, normal] : std::vector<std::pair<std::string, std::string>>{
             {"gbk", "GBK"}, {"Shift_JIS", "SHIFT_JIS"}, {"CP1252", "CP1252"}, {"NO-SUCH-PAGE", ""}, {"", ""},
             {"UTF-8//TRANSLIT", ""}, {"CP1252 ", ""}})
        EXPECT_EQ(NormaliseCodePage(name), normal) << name;
}
