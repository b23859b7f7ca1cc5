#include "app/texts.h"
#include "catalogue/models.h"
#include "document/doc_file.h"
#include "document/marben_doc.h"
#include "document_test_support.h"
#include "fake_prompts.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

using namespace kolt;
using kolt::testing::FakePrompts;
using kolt::testing::IntAt;
using kolt::testing::ReadBytes;
using kolt::testing::TempDir;
using kolt::testing::WriteBytes;

namespace {

DocReadResult Decode(const std::string& bytes, DocFileImage& im) {
    std::istringstream in(bytes);
    return DecodeDocFile(in, im);
}

DocReadResult Decode(const std::string& bytes) {
    DocFileImage im;
    return Decode(bytes, im);
}

std::string EmptyParameterFile(CMarbenApp& app) {
    CMarbenDoc doc(app);
    doc.OnNewDocument();
    return EncodeDocFile(ImageOfDocument(doc));
}

// A header that passes every format test, then `rest`.
std::string WithHeader(const std::string& line1, const std::string& line2, std::int32_t mode) {
    std::string s = line1 + "\n" + line2 + "\n";
    for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((static_cast<std::uint32_t>(mode) >> (8 * i)) & 0xFF));
    return s;
}

}  // namespace

TEST(DocumentFile, EmptyParameterFileIs1801BytesWithItsOffsets) {
    CMarbenApp app;
    app.currentModel = 3;
    app.settings.hz50 = 0;
    CMarbenDoc doc(app);
    doc.OnNewDocument();
    doc.values[0][5] = -2;
    const std::string b = EncodeDocFile(ImageOfDocument(doc));

    ASSERT_EQ(b.size(), kEmptyParameterFileSize);
    EXPECT_EQ(b.substr(0, kOffsetType), "KOLT Ver:1.2.080324\n");
    EXPECT_EQ(b.substr(kOffsetType, 10), "Parameter\n");
    EXPECT_EQ(IntAt(b, kOffsetCompareMode), 0);
    EXPECT_EQ(IntAt(b, kOffsetModel), 3);
    EXPECT_EQ(b[kOffset50Hz], 0);
    EXPECT_EQ(b[kOffsetDiffers], 1);
    EXPECT_EQ(b[kOffsetDiffers + 110], 1);
    EXPECT_EQ(b[kOffsetDiffers + 111], 0);
    EXPECT_EQ(IntAt(b, kOffsetValues), DefaultValue(0, 3, false));
    EXPECT_EQ(IntAt(b, kOffsetValues + 4 * 55), DefaultValue(100, 3, false));
    EXPECT_EQ(b.substr(kOffsetValues + 4 * 5, 4), std::string("\xFE\xFF\xFF\xFF", 4));
    EXPECT_EQ(b.substr(kOffsetTitles, kOffsetPrintLines - kOffsetTitles), std::string(254, '\n'));
    EXPECT_EQ(b.substr(kOffsetPrintLines), std::string(8, '\n'));
}

TEST(DocumentFile, ParameterFileRoundTripThroughDisk) {
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
    EXPECT_EQ(ReadBytes(path).size(), kEmptyParameterFileSize + 6 + 12 + 10 + 3);

    CMarbenApp app2;
    app2.staging.compareMode = 2;
    app2.settings.hz50 = 0;
    CMarbenDoc back(app2);
    int retitles = 0;
    back.onRetitle = [&] { ++retitles; };
    back.SetModifiedFlag(true);
    back.untitled = 1;
    ASSERT_TRUE(ReadDocFile(back, path, prompts));
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(back.values, doc.values);
    EXPECT_EQ(back.differs, doc.differs);
    EXPECT_EQ(back.stationTitles, doc.stationTitles);
    EXPECT_EQ(back.printFields, doc.printFields);
    EXPECT_EQ(back.model, 7);
    EXPECT_EQ(back.hz50, 1);
    EXPECT_EQ(back.compareMode, 0);
    EXPECT_EQ(back.Title(), "set.kpf");
    EXPECT_EQ(back.PathName(), path);
    EXPECT_FALSE(back.IsModified());
    EXPECT_EQ(back.untitled, 0);
    EXPECT_EQ(retitles, 1);
    // The file's mode, model and frequency become the application's.
    EXPECT_EQ(app2.staging.compareMode, 0);
    EXPECT_EQ(app2.currentModel, 7);
    EXPECT_EQ(app2.settings.hz50, 1);
    // Re-encoding gives the same bytes.
    EXPECT_EQ(EncodeDocFile(ImageOfDocument(back)), ReadBytes(path));
}

TEST(DocumentFile, CompareFileHoldsThreeArraysNamesAndNoTitles) {
    CMarbenApp app;
    CMarbenDoc doc(app);
    doc.compareMode = 3;
    doc.present = {0, 1, 0x101};  // only the low byte is kept
    doc.names = {"------", "b.kpf", "------"};
    doc.values[1][9] = 99;
    doc.values[2][299] = -7;
    doc.differs[9] = 1;
    doc.stationTitles[0] = "not stored";
    doc.printFields[kPrintTitle] = "T";
    const std::string b = EncodeDocFile(ImageOfDocument(doc));
    EXPECT_EQ(b.substr(20, 8), "Compare\n");
    EXPECT_EQ(IntAt(b, 28), 3);
    EXPECT_EQ(b.substr(37, 3), std::string("\x00\x01\x01", 3));
    EXPECT_EQ(b.substr(40, 7 + 6 + 7), "------\nb.kpf\n------\n");
    EXPECT_EQ(b.size(), 60u + 300 + 3 * 1200 + 2 + 7);

    DocFileImage im;
    ASSERT_EQ(Decode(b, im), DocReadResult::Ok);
    EXPECT_EQ(im.compareMode, 3);
    EXPECT_EQ(im.names, doc.names);
    EXPECT_EQ(im.values, doc.values);
    EXPECT_EQ(im.differs, doc.differs);
    EXPECT_EQ(im.stationTitles[0], "");
    EXPECT_EQ(im.printFields[kPrintTitle], "T");

    // The present flags come back as 0/1 words.
    TempDir dir;
    FakePrompts prompts;
    WriteBytes(dir.File("c.kcf"), b);
    CMarbenDoc back(app);
    ASSERT_TRUE(ReadDocFile(back, dir.File("c.kcf"), prompts));
    EXPECT_EQ(back.present, (std::array<std::int32_t, 3>{0, 1, 1}));
    EXPECT_EQ(app.staging.compareMode, 3);
}

TEST(DocumentFile, LineFeedInsideATextFieldIsWrittenAsABlank) {
    CMarbenApp app;
    CMarbenDoc doc(app);
    doc.stationTitles[4] = "two\nlines";
    const std::string b = EncodeDocFile(ImageOfDocument(doc));
    EXPECT_EQ(b.size(), kEmptyParameterFileSize + 9);
    DocFileImage im;
    ASSERT_EQ(Decode(b, im), DocReadResult::Ok);
    EXPECT_EQ(im.stationTitles[4], "two lines");
    EXPECT_EQ(im.stationTitles[5], "");
}

TEST(DocumentFile, EveryRefusalHasItsMessageCaptionAndIcon) {
    TempDir dir;
    CMarbenApp app;
    const std::string good = EmptyParameterFile(app);
    const std::string rest = good.substr(kOffsetModel);
    struct Case {
        std::string name;
        std::string bytes;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"no KOLT in line 1", WithHeader("kolt Ver:1.2.080324", "Parameter", 0) + rest, text::kBadFormat},
        {"lower-case type", WithHeader("KOLT Ver:1.2.080324", "parameter", 0) + rest, text::kBadFormat},
        {"unknown type", WithHeader("KOLT Ver:1.2.080324", "Parameters", 0) + rest, text::kBadFormat},
        {"Compare with mode 0", WithHeader("KOLT Ver:1.2.080324", "Compare", 0) + rest, text::kBadFormat},
        {"Parameter with mode 2", WithHeader("KOLT Ver:1.2.080324", "Parameter", 2) + rest, text::kBadFormat},
        {"version 0.x", WithHeader("KOLT Ver:0.9.070101", "Parameter", 0) + rest, text::kOldVersionFile},
        {"version 1.0x", WithHeader("KOLT Ver:1.05.070101", "Parameter", 0) + rest, text::kOldVersionFile},
        {"empty file", "", text::kBadFormat},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.File("x.kpf");
        WriteBytes(path, c.bytes);
        CMarbenApp a;
        a.currentModel = 4;
        CMarbenDoc doc(a);
        FakePrompts prompts;
        EXPECT_FALSE(ReadDocFile(doc, path, prompts));
        ASSERT_EQ(prompts.shown.size(), 1u);
        EXPECT_EQ(prompts.shown[0].kind, "message");
        EXPECT_EQ(prompts.shown[0].text, c.message);
        EXPECT_EQ(prompts.shown[0].caption, "Open\n");
        EXPECT_EQ(prompts.shown[0].icon, Icon::Error);
        // Nothing reaches the application or the document.
        EXPECT_EQ(a.currentModel, 4);
        EXPECT_EQ(doc.PathName(), "");
    }

    for (const std::string& path : {dir.File("missing.kpf"), dir.Path()}) {
        CMarbenDoc doc(app);
        FakePrompts prompts;
        EXPECT_FALSE(ReadDocFile(doc, path, prompts));
        ASSERT_EQ(prompts.shown.size(), 1u);
        EXPECT_EQ(prompts.shown[0].text, "File could not be opened!\n");
        EXPECT_EQ(prompts.shown[0].caption, "Open\n");
        EXPECT_EQ(prompts.shown[0].icon, Icon::Error);
    }
}

TEST(DocumentFile, VersionTestLooksOnlyAtCharactersTenToTwelve) {
    EXPECT_TRUE(IsOldVersionLine("KOLT Ver:0.1"));
    EXPECT_TRUE(IsOldVersionLine("KOLT Ver:1.0"));
    EXPECT_TRUE(IsOldVersionLine("xxxxxxxxx0"));
    EXPECT_FALSE(IsOldVersionLine("KOLT Ver:1.2.080324"));
    EXPECT_FALSE(IsOldVersionLine("KOLT Ver:1.1.0"));
    EXPECT_FALSE(IsOldVersionLine("KOLT Ver:2.0"));
    EXPECT_FALSE(IsOldVersionLine("KOLT Ver:1."));  // too short to match "1.0"
    EXPECT_FALSE(IsOldVersionLine("KOLT"));

    CMarbenApp app;
    const std::string rest = EmptyParameterFile(app).substr(kOffsetModel);
    EXPECT_EQ(Decode(WithHeader("KOLT", "Parameter", 0) + rest), DocReadResult::Ok);
    EXPECT_EQ(Decode(WithHeader("my KOLT file", "Parameter", 0) + rest), DocReadResult::Ok);
    EXPECT_EQ(Decode(WithHeader("KOLT Ver:1.1.000000", "Parameter", 0) + rest), DocReadResult::Ok);
}

TEST(DocumentFile, TruncatedFileLeavesUnreadFieldsAtStartValues) {
    CMarbenApp app;
    app.currentModel = 5;
    CMarbenDoc doc(app);
    doc.OnNewDocument();
    doc.stationTitles[0] = "first";
    doc.printFields[0] = "title";
    const std::string full = EncodeDocFile(ImageOfDocument(doc));

    DocFileImage im;
    const std::size_t cut = kOffsetValues + 4 * 10 + 2;  // inside the value of slot 10
    ASSERT_EQ(Decode(full.substr(0, cut), im), DocReadResult::Ok);
    EXPECT_EQ(im.model, 5);
    for (int slot = 0; slot < 10; ++slot) EXPECT_EQ(im.values[0][slot], doc.values[0][slot]);
    for (int slot = 10; slot < kSlotCount; ++slot) EXPECT_EQ(im.values[0][slot], 0) << slot;
    EXPECT_EQ(im.stationTitles[0], "");
    EXPECT_EQ(im.printFields[0], "");

    // Every prefix: nothing before the end of "Parameter" passes, everything from there on does.
    for (std::size_t n = 0; n <= full.size(); ++n) {
        const DocReadResult r = Decode(full.substr(0, n));
        EXPECT_EQ(r, n < 29 ? DocReadResult::BadFormat : DocReadResult::Ok) << n;
    }
}

TEST(DocumentFile, LineWithoutEndIsRefusedWithoutReadingItAll) {
    // A big file with no LF at all.
    std::string big(1 << 20, 'K');
    big.replace(0, 4, "KOLT");
    std::istringstream in(big);
    DocFileImage im;
    EXPECT_EQ(DecodeDocFile(in, im), DocReadResult::BadFormat);
    EXPECT_LE(static_cast<std::size_t>(in.tellg()), kMaxFileLine + 1);
    EXPECT_LE(im.versionLine.size(), kMaxFileLine);

    // An overlong station title or print line further on.
    CMarbenApp app;
    CMarbenDoc doc(app);
    doc.stationTitles[3] = std::string(kMaxFileLine, 't');
    EXPECT_EQ(Decode(EncodeDocFile(ImageOfDocument(doc))), DocReadResult::Ok);
    doc.stationTitles[3] += "t";
    EXPECT_EQ(Decode(EncodeDocFile(ImageOfDocument(doc))), DocReadResult::BadFormat);
    doc.stationTitles[3].clear();
    doc.printFields[7] = std::string(100000, 'p');
    EXPECT_EQ(Decode(EncodeDocFile(ImageOfDocument(doc))), DocReadResult::BadFormat);
}

TEST(DocumentFile, RandomAndDamagedBytesNeverCrashTheReader) {
    CMarbenApp app;
    CMarbenDoc doc(app);
    doc.compareMode = 2;
    doc.names = {"a", "b", ""};
    const std::vector<std::string> seeds = {EmptyParameterFile(app), EncodeDocFile(ImageOfDocument(doc))};
    std::mt19937 rng(20261206);
    int ok = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string bytes;
        if (round % 3 == 0) {
            bytes.resize(rng() % 5000);
            for (char& c : bytes) c = static_cast<char>(rng());
            if (bytes.size() > 40 && rng() % 2) bytes.replace(0, 30, "KOLT Ver:1.2.080324\nParameter\n");
        } else {
            bytes = seeds[static_cast<std::size_t>(round % 2)];
            const int flips = 1 + static_cast<int>(rng() % 8);
            for (int i = 0; i < flips; ++i) bytes[rng() % bytes.size()] = static_cast<char>(rng());
            if (rng() % 2) bytes.resize(rng() % bytes.size());
        }
        DocFileImage im;
        const DocReadResult r = Decode(bytes, im);
        if (r == DocReadResult::Ok) {
            ++ok;
            // A file that passed re-encodes into something that reads the same way.
            DocFileImage again;
            EXPECT_EQ(Decode(EncodeDocFile(im), again), DocReadResult::Ok);
            EXPECT_EQ(again.values, im.values);
            EXPECT_EQ(again.compareMode, im.compareMode);
        }
    }
    EXPECT_GT(ok, 0);
}
