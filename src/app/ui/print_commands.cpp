#include "app/ui/print_commands.h"

#include "base/command_ids.h"
#include "base/texts.h"
#include "document/marben_doc.h"
#include "view/ui/marben_view.h"
#include "view/ui/param_grid.h"
#include "view/ui/print_dialogs.h"
#include "view/ui/print_painter.h"
#include "view/ui/print_preview_dialog.h"

#include <QDir>
#include <QMessageBox>
#include <QPainter>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace kolt {

namespace {

QString Q(const char* s) { return QString::fromUtf8(s); }

bool IsLandscape(const QPrinter& printer) { return printer.pageLayout().orientation() == QPageLayout::Landscape; }

// The texts of the grid's cells, header row first.
GridTexts TextsOfGrid(const CGridCtrl& grid) {
    GridTexts t;
    const int cols = grid.GetColumnCount();
    for (int c = 0; c < cols; ++c) t.header.push_back(grid.GetItemText(0, c).toStdString());
    for (int r = 1; r < grid.GetRowCount(); ++r) {
        std::vector<std::string> row;
        for (int c = 0; c < cols; ++c) row.push_back(grid.GetItemText(r, c).toStdString());
        t.rows.push_back(std::move(row));
    }
    return t;
}

}  // namespace

CPrintCommands::CPrintCommands(CMarbenApp& app) : app_(app) {}

CPrintCommands::~CPrintCommands() = default;

void CPrintCommands::Install(CMainFrame& frame) {
    frame_ = &frame;
    frame.SetCommandHandler(cmd::kFilePrint, [this] { Print(); });
    frame.SetCommandHandler(cmd::kFilePrintPreview, [this] { PrintPreview(); });
    frame.SetCommandHandler(cmd::kPrintTitleSet, [this] { PrintTitleSet(); });
}

std::optional<PrintJob> CPrintCommands::CaptureJob() const {
    if (!frame_) return std::nullopt;
    CMarbenDoc* doc = frame_->Document();
    if (!doc) return std::nullopt;
    const PrintSelection sel = SelectionOfSettings(app_.settings);
    auto* view = qobject_cast<CMarbenView*>(frame_->View());
    if (view && view->Grid()) return MakePrintJob(doc->compareMode, TextsOfGrid(*view->Grid()), doc->PrintFieldTexts(), sel);
    return MakePrintJob(*doc, sel);  // no grid to read: the same texts from the document
}

std::unique_ptr<QPrinter> CPrintCommands::MakePrinter() const {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    const QMarginsF margins(0.25, 0.25, 0.25, 0.25);
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        // No printer on this system: a PDF on A4, beside the document.
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setPageSize(QPageSize(QPageSize::A4));
        QString path = QDir::home().filePath(QStringLiteral("Untitled.pdf"));
        if (CMarbenDoc* doc = frame_ ? frame_->Document() : nullptr; doc && !doc->PathName().empty())
            path = QString::fromStdString(PdfPathBeside(doc->PathName()));
        printer->setOutputFileName(path);
    }
    printer->setPageMargins(margins, QPageLayout::Inch);  // a printer that cannot go so near keeps its own
    printer->setDocName(frame_ && frame_->Document() ? QString::fromStdString(frame_->Document()->Title())
                                                     : QString());
    return printer;
}

void CPrintCommands::PrintOn(QPrinter& printer, const PrintJob& job) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        QMessageBox::warning(frame_, Q(text::kAppTitle),
                             Q(text::kPdfNotWritten) + printer.outputFileName());
        return;
    }
    int first = 0, last = 0;
    if (printer.printRange() == QPrinter::PageRange) {
        first = printer.fromPage();
        last = printer.toPage();
    }
    PaintPrintJob(painter, printer, job, IsLandscape(printer), first, last);
    painter.end();
}

void CPrintCommands::Print() {
    if (!frame_ || !frame_->Document()) return;
    NestedFlagGuard busy(app_.busyFlag);
    bool preview = false;
    {
        CPrintSetDialog dialog(SelectionOfSettings(app_.settings), frame_);
        if (dialog.exec() != QDialog::Accepted) return;
        StoreSelection(app_.settings, dialog.Selection());
        preview = dialog.PreviewChosen();
    }
    if (preview) return RunPreview();
    if (const std::optional<PrintJob> job = CaptureJob()) PrintWithDialog(*job);
}

void CPrintCommands::PrintWithDialog(const PrintJob& job) {
    std::unique_ptr<QPrinter> printer = MakePrinter();
    QPrintDialog dialog(printer.get(), frame_);
    dialog.setMinMax(1, JobPageCount(job, IsLandscape(*printer)));
    if (dialog.exec() != QDialog::Accepted) return;
    PrintOn(*printer, job);
}

void CPrintCommands::PrintPreview() {
    if (!frame_ || !frame_->Document()) return;
    NestedFlagGuard busy(app_.busyFlag);
    RunPreview();
}

void CPrintCommands::RunPreview() {
    const std::optional<PrintJob> job = CaptureJob();
    if (!job) return;
    frame_->SetPrintPreview(true);
    std::unique_ptr<QPrinter> printer = MakePrinter();
    if (!printer->isValid()) {
        QMessageBox::warning(frame_, Q(text::kPrintPreviewCaption), Q(text::kPrinterError));
        frame_->SetPrintPreview(false);
        return;
    }
    bool print = false;
    {
        CPrintPreviewDialog preview(printer.get(), frame_);
        connect(&preview, &CPrintPreviewDialog::paintRequested, this, [&](QPrinter* p) {
            QPainter painter(p);
            PaintPrintJob(painter, *p, *job, IsLandscape(*p));
        });
        preview.setWindowState(preview.windowState() | Qt::WindowMaximized);
        preview.exec();
        print = preview.PrintChosen();
    }
    if (frame_) frame_->SetPrintPreview(false);
    // "&Print..." leaves the preview for the print dialog, with the pages just seen.
    if (print && frame_) PrintWithDialog(*job);
}

void CPrintCommands::PrintTitleSet() {
    if (!frame_) return;
    CMarbenDoc* doc = frame_->Document();
    if (!doc) return;
    NestedFlagGuard busy(app_.busyFlag);
    CPrintTitleDialog dialog(doc->printFields, SelectionOfSettings(app_.settings), doc->TextCodec(), frame_);
    if (dialog.exec() != QDialog::Accepted) return;
    doc = frame_ ? frame_->Document() : nullptr;  // the window may have gone meanwhile
    if (!doc) return;
    ApplyPrintTitle(*doc, app_.settings, dialog.Fields(), dialog.Selection());
}

}  // namespace kolt
