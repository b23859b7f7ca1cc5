// The printing commands in the window program: Print (the "Print Set" dialog,
// then the system print dialog), Print Preview and Print Title & Set. With no
// printer installed the printer is a PDF file beside the document, so Print
// and Print Preview always work.
#pragma once

#include "app/ui/main_frame.h"
#include "view/print_layout.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <optional>

class QPrinter;

namespace kolt {

class CPrintCommands : public QObject {
    Q_OBJECT
public:
    explicit CPrintCommands(CMarbenApp& app);
    ~CPrintCommands() override;

    void Install(CMainFrame& frame);

    void Print();
    void PrintPreview();
    void PrintTitleSet();

    // The printed lines of the open document, as its grid shows them now
    // (nothing when no document is open).
    std::optional<PrintJob> CaptureJob() const;

private:
    // The printer that Print and Print Preview start from: the system's
    // default one, or a PDF file when there is none.
    std::unique_ptr<QPrinter> MakePrinter() const;
    void RunPreview();
    // The system print dialog, then the pages on the printer it chose.
    void PrintWithDialog(const PrintJob& job);
    void PrintOn(QPrinter& printer, const PrintJob& job);

    CMarbenApp& app_;
    QPointer<CMainFrame> frame_;
};

}  // namespace kolt
