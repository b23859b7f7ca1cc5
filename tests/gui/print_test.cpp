// Printing in the window program: the two dialogs, Print and Print Preview
// from the menus and the toolbar, and the PDF the painter writes, read back.
#include "app/ui/print_commands.h"
#include "document/doc_file.h"
#include "frame_fixture.h"
#include "view/ui/print_dialogs.h"
#include "view/ui/print_painter.h"
#include "view/ui/print_preview_dialog.h"

#include <QCheckBox>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolBar>
#include <QToolButton>

namespace kolt {
namespace {

using namespace kolt::testing;

// A word of `pdftotext -bbox` output: its text, its box in points (1/72 inch), its page.
struct PdfWord {
    QString text;
    double x, y, right, bottom;
    int page;
};

std::vector<PdfWord> PdfWords(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(p.waitForFinished(30000));
    std::vector<PdfWord> words;
    int page = 0;
    static const QRegularExpression re(QString::fromLatin1(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    for (auto it = re.globalMatch(QString::fromUtf8(p.readAllStandardOutput())); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith(QStringLiteral("<page"))) ++page;
        else words.push_back({m.captured(5), m.captured(1).toDouble(), m.captured(2).toDouble(),
                              m.captured(3).toDouble(), m.captured(4).toDouble(), page});
    }
    return words;
}

const PdfWord* FindWord(const std::vector<PdfWord>& words, const QString& text, int page = 1) {
    for (const auto& w : words)
        if (w.text == text && w.page == page) return &w;
    return nullptr;
}

// Points on the sheet of a page coordinate: 0.25-inch margin plus 0.01-inch units.
double Pt(int hundredths) { return (25 + hundredths) * 0.72; }

template <typename T = QPushButton>
T* Child(QWidget* w, const char* name) { return w->findChild<T*>(QString::fromLatin1(name)); }

class PrintTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        print = std::make_unique<CPrintCommands>(app);
        print->Install(*frame);
    }
    void TearDown() override { print.reset(); }
    CMarbenDoc* SampleDocument() {
        CMarbenDoc* doc = NewDocument();
        doc->printFields = {"Pump line 3", "Acme Mills", "J. Doe", "V1.0", "2026-12-06", "first", "second", "third"};
        return doc;
    }
    std::unique_ptr<CPrintCommands> print;
};

TEST(PrintDialogs, PrintSetKeepsAGroupAndRefusesNone) {
    // koltinf.ini may hold both groups cleared: OK and Preview refuse until one is set.
    CPrintSetDialog dialog(PrintSelection{true, false, false});
    auto* basic = Child<QCheckBox>(&dialog, "printBasic");
    EXPECT_EQ(dialog.windowTitle() + "|" + basic->text() + "|" + Child<QCheckBox>(&dialog, "printAdvanced")->text(),
              "Print Set|Basic Function (Fxx)|Advanced Function (Cxx)");
    for (const bool preview : {true, false}) {
        QString text, caption;
        AnswerMessageBox(QMessageBox::Ok, &text, &caption);
        preview ? Child(&dialog, "previewButton")->click() : dialog.accept();
        EXPECT_EQ(caption + "|" + text, "No select parameter|No select to print parameters. (Fxx or Cxx)");
        EXPECT_EQ(std::tuple(dialog.result(), dialog.PreviewChosen()), std::tuple(0, false));
    }
    basic->click();  // F on; clearing it again sets C (the rule is the core's; here the boxes follow it)
    basic->click();
    Child(&dialog, "previewButton")->click();
    const PrintSelection sel = dialog.Selection();
    EXPECT_EQ(std::tuple(dialog.result(), dialog.PreviewChosen(), sel.title, sel.basic, sel.advanced),
              std::tuple(QDialog::Accepted, true, true, false, true));
}

TEST_F(PrintTest, PrintTitleAndSetKeepsWhatTheUserLeftAlone) {
    CMarbenDoc* doc = NewDocument();
    // Longer than the edits take (50, 10, 80), and a company written on Windows (CP1252).
    const std::array<std::string, kPrintFieldCount> fields{
        std::string(60, 'T'), "M\xFCller", "J. Doe", "V1.0.0.0.0.1", "2026-12-06", std::string(90, 'r'), "", ""};
    doc->printFields = fields;
    doc->SetModifiedFlag(false);
    QAction* menuItem = frame->Action(cmd::kPrintTitleSet);
    EXPECT_EQ(menuItem->text() + "|" + frame->Action(cmd::kFilePrint)->text(), "Print &Title && Set...|&Print...\tCtrl+P");

    WhenModal<CPrintTitleDialog>([](CPrintTitleDialog* d) {
        EXPECT_EQ(std::tuple(d->windowTitle(), Child<QLineEdit>(d, "companyEdit")->text(), Child<QLineEdit>(d, "titleEdit")->text(),
                             Child<QLineEdit>(d, "versionEdit")->maxLength() + Child<QLineEdit>(d, "remark1Edit")->maxLength()),
                  std::tuple(QStringLiteral("Print Title & Set"), QString::fromUtf8("M\xC3\xBCller"), QString(50, QLatin1Char('T')), 90));
        Child<QCheckBox>(d, "printTitle")->click();
        d->accept();
    });
    menuItem->trigger();
    EXPECT_EQ(std::tuple(doc->printFields, doc->IsModified(), app.settings.printTitle, app.busyFlag),
              std::tuple(fields, false, 0, 0));

    // An edited field of a document in the code page is written in it.
    WhenModal<CPrintTitleDialog>([](CPrintTitleDialog* d) {
        Child<QLineEdit>(d, "programmerEdit")->setText(QString::fromUtf8("J\xC3\xBCrgen"));
        d->accept();
    });
    menuItem->trigger();
    EXPECT_EQ(std::tuple(doc->printFields[kPrintProgrammer], doc->printFields[kPrintCompany], doc->IsModified()),
              std::tuple("J\xFCrgen", "M\xFCller", true));

    for (const bool ok : {false, true}) {  // "&Clear Print Title", then Cancel (nothing changes) or OK
        WhenModal<CPrintTitleDialog>([ok](CPrintTitleDialog* d) {
            Child(d, "clearTitleButton")->click();
            ok ? d->accept() : d->reject();
        });
        menuItem->trigger();
        EXPECT_EQ(doc->printFields[kPrintCompany], ok ? "" : "M\xFCller");
    }
    EXPECT_EQ(doc->printFields, (std::array<std::string, kPrintFieldCount>{}));
}

TEST_F(PrintTest, PreviewButtonsFromTheToolbar) {
    SampleDocument();
    auto* button = qobject_cast<QToolButton*>(
        frame->findChild<QToolBar*>(QStringLiteral("toolbar"))->widgetForAction(frame->Action(cmd::kFilePrintPreview)));
    ASSERT_TRUE(button && button->isEnabled());
    QStringList seen;
    bool titleCommandEnabled = true, inPreview = false;
    WhenModal<CPrintPreviewDialog>([&](CPrintPreviewDialog* d) {
        inPreview = frame->InPrintPreview();
        titleCommandEnabled = Enabled(cmd::kPrintTitleSet);
        QStringList captions;
        for (QPushButton* b : d->findChildren<QPushButton*>()) captions << b->text();
        seen << captions.join(QLatin1Char('|'));
        QPrintPreviewWidget* pages = d->Pages();
        // Each press, then the page shown, the zoom step and which buttons may be pressed.
        const auto press = [&](const char* name) {
            Child(d, name)->click();
            QString enabled;
            for (const char* b : {"previewPrev", "previewNext", "previewZoomIn", "previewZoomOut"})
                enabled += Child(d, b)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
            seen << QStringLiteral("%1 %2 %3 %4").arg(QLatin1String(name)).arg(pages->currentPage()).arg(d->ZoomStep()).arg(enabled);
        };
        const double whole = pages->zoomFactor();
        for (const char* name : {"previewNext", "previewNext", "previewPrev", "previewZoomIn", "previewZoomIn"}) press(name);
        EXPECT_NEAR(pages->zoomFactor(), whole * 4, whole * 0.01);
        for (const char* name : {"previewZoomOut", "previewZoomOut"}) press(name);
        EXPECT_NEAR(pages->zoomFactor(), whole, whole * 0.01);
        Child(d, "previewClose")->click();
    });
    button->click();
    EXPECT_EQ(seen, (QStringList{"&Print...|&Next Page|&Prev Page|Zoom &In|Zoom &Out|Close",
                                 "previewNext 2 0 1110", "previewNext 3 0 1010", "previewPrev 2 0 1110",
                                 "previewZoomIn 2 1 1111", "previewZoomIn 2 2 1101", "previewZoomOut 2 1 1111",
                                 "previewZoomOut 2 0 1110"}));
    EXPECT_EQ(std::tuple(inPreview, titleCommandEnabled, frame->InPrintPreview(), app.busyFlag, Enabled(cmd::kPrintTitleSet)),
              std::tuple(true, false, false, 0, true));

    // "&Print..." leaves the preview for the print dialog.
    bool printDialog = false;
    WhenModal<CPrintPreviewDialog>([&](CPrintPreviewDialog* d) {
        WhenModal<QPrintDialog>([&](QPrintDialog* p) {
            printDialog = !frame->InPrintPreview();
            p->reject();
        });
        Child(d, "previewPrint")->click();
    });
    button->click();
    EXPECT_TRUE(printDialog);
}

TEST_F(PrintTest, PrintFromTheMenuThroughPrintSetAndThePrintDialog) {
    SampleDocument();
    QAction* menuItem = frame->Action(cmd::kFilePrint);
    int pages = 0;  // Preview from the Print Set dialog, with the C group only: 56 lines, 2 pages.
    WhenModal<CPrintSetDialog>([&](CPrintSetDialog* d) {
        Child<QCheckBox>(d, "printBasic")->click();
        WhenModal<CPrintPreviewDialog>([&](CPrintPreviewDialog* p) {
            pages = p->Pages()->pageCount();
            p->reject();
        });
        Child(d, "previewButton")->click();
    });
    menuItem->trigger();
    EXPECT_EQ(std::tuple(pages, app.settings.printF, app.settings.printC), std::tuple(2, 0, 1));

    // OK leads to the system print dialog. With no printer installed its
    // printer is a PDF beside the document; Cancel there writes nothing.
    CMarbenDoc* doc = frame->Document();
    ASSERT_TRUE(WriteDocFile(*doc, Path("line3.kpf").toStdString(), prompts));
    const bool pdfPrinter = QPrinterInfo::availablePrinterNames().isEmpty();
    for (const bool accept : {false, true}) {
        QString output;
        WhenModal<CPrintSetDialog>([&](CPrintSetDialog* d) {
            WhenModal<QPrintDialog>([&](QPrintDialog* p) {
                output = p->printer()->outputFileName();
                accept && pdfPrinter ? p->accept() : p->reject();
            });
            d->accept();
        });
        menuItem->trigger();
        EXPECT_EQ(std::pair(output, QFile::exists(Path("line3.pdf"))), std::pair(pdfPrinter ? Path("line3.pdf") : QString(), accept && pdfPrinter));
    }
    EXPECT_TRUE(!pdfPrinter || FindWord(PdfWords(Path("line3.pdf")), QStringLiteral("C55"), 2));  // 44 + 12
    EXPECT_FALSE(app.busyFlag);
}

// The PDF holds each word where the page layout puts it: the painter's
// mapping to the sheet, per font, corner and page.
TEST_F(PrintTest, PdfTextSitsAtThePageCoordinates) {
    CMarbenDoc* doc = SampleDocument();
    doc->printFields[kPrintVersion] = "WWWWWWWWWW";
    doc->printFields[kPrintRemark3] = std::string(80, 'r');
    const QString pdf = Path("sample.pdf");
    ASSERT_TRUE(WritePrintPdf(MakePrintJob(*doc, PrintSelection{}), pdf, false));
    const auto words = PdfWords(pdf);
    struct Where { const char* text; int page, x, y; };  // y: the top of the character cell, downwards
    const Where where[] = {{"KOLT", 1, 50, 30}, {"Title", 1, 40, 64}, {"WWWWWWWWWW", 1, 670, 64}, {"2/3", 2, 670, 104},
                           {"Description", 1, 40, 217}, {"Setting", 1, 660, 217}, {"F00", 1, 370, 237},
                           {"C55", 3, 370, 237 + 22 * 20}};
    for (const Where& w : where) {
        const PdfWord* word = FindWord(words, QString::fromLatin1(w.text), w.page);
        ASSERT_NE(word, nullptr) << w.text;
        EXPECT_NEAR(word->x, Pt(w.x), 1.5) << w.text;
        EXPECT_NEAR(word->y, Pt(w.y) + 1.5, 1.5) << w.text;  // the cell's top lies a little above the letters
    }
    // The 80-character remark is cut inside the frame, on the sheet too.
    const PdfWord* remark = FindWord(words, QString(75, QLatin1Char('r')) + QStringLiteral("..."));
    EXPECT_TRUE(remark && remark->right < Pt(769));
}

// Letter is half an inch shorter than A4: the page shrinks instead of losing
// its last lines. A font wider than the page fonts' widths (a substitute): the
// painter cuts the text again.
TEST(PrintPainter, LetterPaperShrinksThePageAndWiderFontsAreCutAgain) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("letter.pdf")), cut = dir.filePath(QStringLiteral("cut.pdf"));
    CMarbenApp app;
    auto doc = CreateNewDocument(app);
    {
        QPdfWriter writer(pdf), cutWriter(cut);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                         QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch));
        QPainter painter(&writer), cutPainter(&cutWriter);
        PaintPrintJob(painter, writer, MakePrintJob(*doc, PrintSelection{}), false);
        cutPainter.scale(cutWriter.logicalDpiX() / 100.0, cutWriter.logicalDpiY() / 100.0);
        PrintPage page;
        page.texts.push_back(PrintText{"WWWWWWWWWW", PrintFont::Heading, kPrintBlack, 100, -100, PrintAlign::Left, 100});
        PaintPrintPage(cutPainter, page);
    }
    const auto words = PdfWords(pdf);
    const PdfWord* last = FindWord(words, QStringLiteral("F43"), 1);  // 44 lines a page
    EXPECT_TRUE(last && last->bottom < (11.0 - 0.25) * 72);
    EXPECT_NE(FindWord(words, QStringLiteral("F44"), 2), nullptr);
    EXPECT_NE(FindWord(PdfWords(cut), QStringLiteral("WWWWW...")), nullptr);
}

}  // namespace
}  // namespace kolt
