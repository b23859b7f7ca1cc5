// kolt-cli print: the printed parameter list as a PDF, read back with pdftotext.
#include "cli_run_support.h"
#include "document/doc_commands.h"
#include "base/settings.h"
#include "document/doc_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace kolt {
namespace {

using namespace kolt::testing;

// Output of a poppler tool run on `pdf`.
std::string Poppler(const std::string& tool, const std::string& pdf) {
    std::string out;
    const std::string command = tool + " '" + pdf + "'" + (tool == "pdftotext" ? " -" : "") + " 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    char buf[4096];
    for (std::size_t n; pipe && (n = std::fread(buf, 1, sizeof buf, pipe.get())) > 0;) out.append(buf, n);
    return out;
}

class CliPrintTest : public CliFixture {
protected:
    // A parameter file with its print title texts filled in; the title and the
    // company as a Windows program writes them (GBK and CP1252 bytes).
    std::string SampleFile() {
        CMarbenApp app;
        auto doc = CreateNewDocument(app);
        doc->printFields = {"\xB1\xC3 line 3", "M\xFCller", "J. Doe", "V1.0", "2026-12-06", "first", "second", "third"};
        FakePrompts prompts;
        EXPECT_TRUE(WriteDocFile(*doc, P("line3.kpf"), prompts));
        return P("line3.kpf");
    }
    // Runs print; expects success with `summary` and the PDF's page count and size, and returns its text.
    std::string Print(const std::vector<std::string>& args, const std::string& pdf, const std::string& summary,
                      const std::string& pages) {
        const CliRun r = Cli(args);
        EXPECT_EQ(std::pair(r.status, r.out), std::pair(0, P(pdf) + ": " + summary + "\n")) << r.err;
        const std::string info = Poppler("pdfinfo", P(pdf));
        EXPECT_NE(info.find(pages), std::string::npos) << info;
        return Poppler("pdftotext", P(pdf));
    }
    static void ExpectIn(const std::string& text, std::initializer_list<const char*> words, bool present = true) {
        for (const char* w : words) EXPECT_EQ(text.find(w) != std::string::npos, present) << w;
    }
};

#ifdef KOLT_TEST_CLI_PRINT

TEST_F(CliPrintTest, PrintsEveryLineBesideTheFile) {
    const std::string text = Print({"print", SampleFile()}, "line3.pdf", "3 pages, 111 parameters", "Pages:           3");
    EXPECT_NE(Poppler("pdfinfo", P("line3.pdf")).find("595 x 842 pts (A4)"), std::string::npos);
    // Which line goes on which page is the print layout tests'; here the first and last.
    // Texts that are not UTF-8 are read in koltinf.ini's code page, CP1252 unless it names another.
    ExpectIn(text, {"KOLT -- Parameters List", "\xC2\xB1\xC3\x83 line 3", "M\xC3\xBCller", "J. Doe", "V1.0", "2026-12-06",
                    "Programer", "Remark", "third", "1/3", "2/3", "3/3", "Setting", "F00", "C55"});
}

TEST_F(CliPrintTest, OptionsChooseOrientationTitleAndGroups) {
    const std::string kpf = SampleFile();
    const std::string text = Print({"print", kpf, "-o", P("c.pdf"), "--landscape", "--no-title", "--groups", "C"},
                                   "c.pdf", "2 pages, 56 parameters", "842 x 595 pts (A4)");
    ExpectIn(text, {"Page:1/2"});
    ExpectIn(text, {"line 3", "F07"}, false);
    // koltinf.ini's print flags are the defaults: no title block, F only; its code page reads the title.
    ASSERT_TRUE(WriteSettingsFile(P("koltinf.ini"), KoltSettings{.printTitle = 0, .printC = 0, .codePage = "GBK"}));
    ExpectIn(Print({"print", kpf, "-o", P("f.pdf")}, "f.pdf", "2 pages, 55 parameters", "Pages:           2"), {"line 3"}, false);
    ExpectIn(Print({"print", kpf, "-o", P("t.pdf"), "--title"}, "t.pdf", "2 pages, 55 parameters", "Pages:           2"),
             {"\xE6\xB3\xB5 line 3"});
}

TEST_F(CliPrintTest, CompareWithoutDifferencesPrintsOnePage) {
    const std::string kpf = SampleFile();
    ASSERT_EQ(Cli({"compare", kpf, kpf, "-o", P("same.kcf")}).status, 0);
    ExpectIn(Print({"print", P("same.kcf"), "--groups", "F"}, "same.pdf", "1 page, 0 parameters", "Pages:           1"),
             {"Compare File with File", "line3.kpf"});
}

TEST_F(CliPrintTest, RefusalsWriteNothing) {
    const std::string kpf = SampleFile();
    EXPECT_EQ(Cli({"print", kpf, "--title", "--no-title"}).status, 2);
    EXPECT_EQ(Cli({"print", kpf, "-o", kpf}).status, 1);  // would replace its own source
    const CliRun noFolder = Cli({"print", kpf, "-o", P("no/such/folder.pdf")});
    EXPECT_TRUE(noFolder.status == 1 && noFolder.err.find("Could not write the PDF file") != std::string::npos) << noFolder.err;
    EXPECT_FALSE(std::filesystem::exists(P("line3.pdf")));
}

#else

TEST_F(CliPrintTest, ABuildWithoutQtSaysPrintIsLeftOut) {
    const CliRun r = Cli({"print", SampleFile()});
    EXPECT_TRUE(r.status == 2 && r.err.find("built without Qt") != std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(P("line3.pdf")));
}

#endif

}  // namespace
}  // namespace kolt
