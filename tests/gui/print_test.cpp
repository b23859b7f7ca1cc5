// Printing in the window program: the two dialogs, Print and Print Preview
// from the menus and the toolbar, and the PDF the painter writes, read back.
#include "app/ui/print_commands.h"
#include "document/doc_file.h"
#include "frame_fixture.h"
#include "view/ui/print_dialogs.h"
#include "view/ui/print_painter.h"

#include <QCheckBox>
#include <QFile>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolBar>
#include <QToolButton>

namespace kolt {
namespace {

using namespace kolt::testing;

// A word of `pdftotext -bbox` output: its text and box in points (1/72 inch).
struct PdfWord {
    QString text;
    double xMin, yMin, xMax, yMax;
    int page;
};

std::vector<PdfWord> PdfWords(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(p.waitForFinished(30000));
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    std::vector<PdfWord> words;
    int page = 0;
    static const QRegularExpression re(QString::fromLatin1(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith(QStringLiteral("<page"))) {
            ++page;
            continue;
        }
        QString text = m.captured(5);
        text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        words.push_back({text, m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                         m.captured(4).toDouble(), page});
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
    QAction* MenuAction(const char* text) {
        for (QAction* a : frame->menuBar()->findChild<QMenu*>(QStringLiteral("fileMenu"))->actions())
            if (a->text() == QString::fromLatin1(text)) return a;
        return nullptr;
    }
    QToolButton* ToolButton(int id) {
        auto* bar = frame->findChild<QToolBar*>(QStringLiteral("toolbar"));
        return qobject_cast<QToolButton*>(bar->widgetForAction(frame->Action(id)));
    }

    std::unique_ptr<CPrintCommands> print;
};

TEST(PrintDialogs, PrintSetKeepsAGroupAndRefusesNone) {
    // koltinf.ini may hold both groups cleared: OK and Preview refuse until one is set.
    CPrintSetDialog dialog(PrintSelection{true, false, false});
    auto* basic = dialog.findChild<QCheckBox*>(QStringLiteral("printBasic"));
    auto* advanced = dialog.findChild<QCheckBox*>(QStringLiteral("printAdvanced"));
    EXPECT_EQ(dialog.windowTitle(), "Print Set");
    EXPECT_EQ(basic->text(), "Basic Function (Fxx)");
    EXPECT_EQ(advanced->text(), "Advanced Function (Cxx)");
    QString text, caption;
    for (const char* button : {"previewButton", ""}) {
        AnswerMessageBox(QMessageBox::Ok, &text, &caption);
        if (*button)
            dialog.findChild<QPushButton*>(QString::fromLatin1(button))->click();
        else
            dialog.accept();
        EXPECT_EQ(text, "No select to print parameters. (Fxx or Cxx)");
        EXPECT_EQ(caption, "No select parameter");
        EXPECT_EQ(dialog.result(), 0);
        EXPECT_FALSE(dialog.PreviewChosen());
    }
    // A click sets F; clearing it sets C (the rule is the core's; here, that the boxes follow it).
    basic->click();
    basic->click();
    EXPECT_TRUE(!basic->isChecked() && advanced->isChecked());
    dialog.findChild<QPushButton*>(QStringLiteral("previewButton"))->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(dialog.PreviewChosen());
    const PrintSelection sel = dialog.Selection();
    EXPECT_TRUE(sel.title && !sel.basic && sel.advanced);
}

TEST_F(PrintTest, PrintTitleAndSetFromTheMenu) {
    CMarbenDoc* doc = SampleDocument();
    doc->SetModifiedFlag(false);
    QAction* menuItem = MenuAction("Print &Title && Set...");
    ASSERT_NE(menuItem, nullptr);

    // OK without a change: the document stays unmodified, the flags are stored.
    WhenModal<CPrintTitleDialog>([](CPrintTitleDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Print Title & Set");
        EXPECT_EQ(d->findChild<QLineEdit*>(QStringLiteral("titleEdit"))->text(), "Pump line 3");
        EXPECT_EQ(d->findChild<QLineEdit*>(QStringLiteral("remark3Edit"))->text(), "third");
        EXPECT_EQ(d->findChild<QLineEdit*>(QStringLiteral("versionEdit"))->maxLength(), 10);
        EXPECT_EQ(d->findChild<QLineEdit*>(QStringLiteral("remark1Edit"))->maxLength(), 80);
        d->findChild<QCheckBox*>(QStringLiteral("printTitle"))->click();
        d->accept();
    });
    menuItem->trigger();
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(app.settings.printTitle, 0);
    EXPECT_FALSE(app.busyFlag);

    // Clear Print Title empties every text; OK stores them and marks the document.
    WhenModal<CPrintTitleDialog>([](CPrintTitleDialog* d) {
        d->findChild<QPushButton*>(QStringLiteral("clearTitleButton"))->click();
        d->accept();
    });
    menuItem->trigger();
    EXPECT_TRUE(doc->IsModified());
    for (const auto& f : doc->printFields) EXPECT_EQ(f, "");

    // Cancel changes nothing.
    WhenModal<CPrintTitleDialog>([](CPrintTitleDialog* d) {
        d->findChild<QLineEdit*>(QStringLiteral("titleEdit"))->setText(QStringLiteral("lost"));
        d->reject();
    });
    menuItem->trigger();
    EXPECT_EQ(doc->printFields[0], "");
}

TEST_F(PrintTest, PreviewFromTheToolbarShowsEveryPage) {
    SampleDocument();
    QToolButton* button = ToolButton(cmd::kFilePrintPreview);
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isEnabled());
    int pages = 0;
    bool titleCommandEnabled = true, inPreview = false;
    WhenModal<QPrintPreviewDialog>([&](QPrintPreviewDialog* d) {
        pages = d->findChild<QPrintPreviewWidget*>()->pageCount();
        inPreview = frame->InPrintPreview();
        titleCommandEnabled = Enabled(cmd::kPrintTitleSet);
        d->reject();
    });
    button->click();
    EXPECT_EQ(pages, 3);  // portrait, title block, F and C: 44 + 44 + 23 lines
    EXPECT_TRUE(inPreview);
    EXPECT_FALSE(titleCommandEnabled);
    EXPECT_FALSE(frame->InPrintPreview());
    EXPECT_TRUE(Enabled(cmd::kPrintTitleSet));
    EXPECT_FALSE(app.busyFlag);
}

TEST_F(PrintTest, PrintFromTheMenuThroughPrintSetAndThePrintDialog) {
    SampleDocument();
    QAction* menuItem = MenuAction("&Print...\tCtrl+P");
    ASSERT_NE(menuItem, nullptr);
    // Preview from the Print Set dialog, with the C group only: 56 lines, 2 pages.
    int pages = 0;
    WhenModal<CPrintSetDialog>([&](CPrintSetDialog* d) {
        d->findChild<QCheckBox*>(QStringLiteral("printBasic"))->click();
        WhenModal<QPrintPreviewDialog>([&](QPrintPreviewDialog* p) {
            pages = p->findChild<QPrintPreviewWidget*>()->pageCount();
            p->reject();
        });
        d->findChild<QPushButton*>(QStringLiteral("previewButton"))->click();
    });
    menuItem->trigger();
    EXPECT_EQ(pages, 2);
    EXPECT_EQ(std::make_tuple(app.settings.printF, app.settings.printC), std::make_tuple(0, 1));

    // OK leads to the system print dialog. With no printer installed its
    // printer is a PDF beside the document; Cancel there writes nothing.
    CMarbenDoc* doc = frame->Document();
    ASSERT_TRUE(WriteDocFile(*doc, Path("line3.kpf").toStdString(), prompts));
    doc->SetPathName(Path("line3.kpf").toStdString());
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
        EXPECT_EQ(output, pdfPrinter ? Path("line3.pdf") : QString());
        EXPECT_EQ(QFile::exists(Path("line3.pdf")), accept && pdfPrinter);
    }
    if (pdfPrinter) {
        const auto words = PdfWords(Path("line3.pdf"));
        EXPECT_NE(FindWord(words, QStringLiteral("C55"), 2), nullptr);  // C only: 44 + 12 lines
    }
    EXPECT_FALSE(app.busyFlag);
}

// The PDF holds the heading, the title block and every parameter line, each
// where the page layout puts it.
TEST_F(PrintTest, PdfTextSitsAtThePageCoordinates) {
    CMarbenDoc* doc = SampleDocument();
    const QString pdf = Path("sample.pdf");
    const PrintJob job = MakePrintJob(*doc, PrintSelection{});
    ASSERT_TRUE(WritePrintPdf(job, pdf, false));
    const auto words = PdfWords(pdf);
    ASSERT_FALSE(words.empty());

    // Left edges: x in hundredths of an inch from the printable area's edge.
    struct Where {
        const char* text;
        int page, x, y;  // y: the top of the character cell, downwards
    };
    // Where each thing sits is the layout's (print layout tests); these words
    // check the painter's mapping to the sheet, per font, corner and page.
    const Where where[] = {
        {"KOLT", 1, 50, 30},      {"Title", 1, 40, 64},       {"V1.0", 1, 670, 64}, {"2/3", 2, 670, 104},
        {"third", 1, 110, 164},   {"Description", 1, 40, 217}, {"Setting", 1, 660, 217}, {"F00", 1, 370, 237},
        {"C55", 3, 370, 237 + 22 * 20},
    };
    for (const Where& w : where) {
        const PdfWord* word = FindWord(words, QString::fromLatin1(w.text), w.page);
        ASSERT_NE(word, nullptr) << w.text;
        EXPECT_NEAR(word->xMin, Pt(w.x), 1.5) << w.text;
        // The cell's top lies a little above the tallest letters.
        EXPECT_NEAR(word->yMin, Pt(w.y), 3.0) << w.text;
        EXPECT_GE(word->yMin, Pt(w.y) - 0.5) << w.text;
    }
}

}  // namespace
}  // namespace kolt

namespace kolt {
namespace {

// Letter is half an inch shorter than A4: the page shrinks instead of losing its last lines.
TEST(PrintPainter, LetterPaperShrinksThePageToFit) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("letter.pdf"));
    CMarbenApp app;
    auto doc = CreateNewDocument(app);
    {
        QPdfWriter writer(pdf);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                         QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch));
        QPainter painter(&writer);
        PaintPrintJob(painter, writer, MakePrintJob(*doc, PrintSelection{}), false);
    }
    const auto words = PdfWords(pdf);
    const PdfWord* last = FindWord(words, QStringLiteral("F43"), 1);  // 44 lines a page
    ASSERT_NE(last, nullptr);
    EXPECT_LT(last->yMax, (11.0 - 0.25) * 72);
    EXPECT_NE(FindWord(words, QStringLiteral("F44"), 2), nullptr);
}

}  // namespace
}  // namespace kolt
