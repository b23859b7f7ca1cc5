// kolt-cli print: the printed parameter list as a PDF, read back with pdftotext.
#include "cli_run_support.h"
#include "document/doc_commands.h"
#include "base/settings.h"
#include "document/doc_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <sstream>

namespace kolt {
namespace {

using namespace kolt::testing;

// Output of a poppler tool run on `pdf`.
std::string Poppler(const std::string& tool, const std::string& pdf, const std::string& tail) {
    std::string out;
    const std::string command = tool + " '" + pdf + "'" + tail + " 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe) return out;
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe.get())) > 0;) out.append(buf, n);
    return out;
}

std::string PdfText(const std::string& pdf) { return Poppler("pdftotext", pdf, " -"); }

// Page count and the size of the first page ("595 x 842 pts (A4)") from pdfinfo.
std::pair<int, std::string> PdfPages(const std::string& pdf) {
    const std::string info = Poppler("pdfinfo", pdf, "");
    std::pair<int, std::string> out{0, {}};
    std::istringstream in(info);
    for (std::string line; std::getline(in, line);) {
        const auto value = [&] { return line.substr(line.find_first_not_of(' ', line.find(':') + 1)); };
        if (line.rfind("Pages:", 0) == 0) out.first = std::stoi(value());
        if (line.rfind("Page size:", 0) == 0) out.second = value();
    }
    return out;
}

class CliPrintTest : public CliFixture {
protected:
    // A parameter file with its print title texts filled in.
    std::string SampleFile() {
        CMarbenApp app;
        auto doc = CreateNewDocument(app);
        doc->printFields = {"Pump line 3", "Acme Mills", "J. Doe", "V1.0", "2026-12-06", "first", "second", "third"};
        FakePrompts prompts;
        const std::string path = P("line3.kpf");
        EXPECT_TRUE(WriteDocFile(*doc, path, prompts));
        return path;
    }
};

#ifdef KOLT_TEST_CLI_PRINT

TEST_F(CliPrintTest, PrintsEveryLineBesideTheFile) {
    const std::string kpf = SampleFile();
    const CliRun r = Cli({"print", kpf});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, P("line3.pdf") + ": 3 pages, 111 parameters\n");
    EXPECT_EQ(PdfPages(P("line3.pdf")), std::make_pair(3, std::string("595 x 842 pts (A4)")));
    const std::string text = PdfText(P("line3.pdf"));
    // Which line goes on which page is the print layout tests'; here the first and last.
    for (const char* expected : {"KOLT -- Parameters List", "Pump line 3", "Acme Mills", "J. Doe", "V1.0", "2026-12-06",
                                 "Programer", "Remark", "third", "1/3", "2/3", "3/3", "Setting", "F00", "C55"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
}

TEST_F(CliPrintTest, OptionsChooseOrientationTitleAndGroups) {
    const std::string kpf = SampleFile();
    const CliRun r = Cli({"print", kpf, "-o", P("c.pdf"), "--landscape", "--no-title", "--groups", "C"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, P("c.pdf") + ": 2 pages, 56 parameters\n");
    EXPECT_EQ(PdfPages(P("c.pdf")), std::make_pair(2, std::string("842 x 595 pts (A4)")));
    const std::string text = PdfText(P("c.pdf"));
    EXPECT_NE(text.find("Page:1/2"), std::string::npos);
    EXPECT_EQ(text.find("Pump line 3"), std::string::npos);
    EXPECT_EQ(text.find("F07"), std::string::npos);

    // koltinf.ini's print flags are the defaults: no title block, F only.
    KoltSettings settings;
    settings.printTitle = 0;
    settings.printC = 0;
    ASSERT_TRUE(WriteSettingsFile(P("koltinf.ini"), settings));
    const CliRun f = Cli({"print", kpf, "-o", P("f.pdf")});
    ASSERT_EQ(f.status, 0) << f.err;
    EXPECT_EQ(f.out, P("f.pdf") + ": 2 pages, 55 parameters\n");
    EXPECT_EQ(Cli({"print", kpf, "-o", P("t.pdf"), "--title"}).out, P("t.pdf") + ": 2 pages, 55 parameters\n");
}

TEST_F(CliPrintTest, CompareWithoutDifferencesPrintsOnePage) {
    const std::string kpf = SampleFile();
    ASSERT_EQ(Cli({"compare", kpf, kpf, "-o", P("same.kcf")}).status, 0);
    const CliRun r = Cli({"print", P("same.kcf"), "--groups", "F"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, P("same.pdf") + ": 1 page, 0 parameters\n");
    const std::string text = PdfText(P("same.pdf"));
    EXPECT_NE(text.find("Compare File with File"), std::string::npos);
    EXPECT_NE(text.find("line3.kpf"), std::string::npos);
}

TEST_F(CliPrintTest, RefusalsWriteNothing) {
    const std::string kpf = SampleFile();
    EXPECT_EQ(Cli({"print", kpf, "--title", "--no-title"}).status, 2);
    EXPECT_EQ(Cli({"print", kpf, "-o", kpf}).status, 1);  // would replace its own source
    const CliRun noFolder = Cli({"print", kpf, "-o", P("no/such/folder.pdf")});
    EXPECT_EQ(noFolder.status, 1);
    EXPECT_NE(noFolder.err.find("Could not write the PDF file"), std::string::npos) << noFolder.err;
    EXPECT_FALSE(std::filesystem::exists(P("line3.pdf")));
}

#else

TEST_F(CliPrintTest, ABuildWithoutQtSaysPrintIsLeftOut) {
    const CliRun r = Cli({"print", SampleFile()});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("built without Qt"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(P("line3.pdf")));
}

#endif

}  // namespace
}  // namespace kolt
