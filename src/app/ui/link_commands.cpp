#include "app/ui/link_commands.h"

#include "base/command_ids.h"
#include "document/marben_doc.h"
#include "link/link_procedure.h"
#include "link/read_procedure.h"
#include "link/ui/link_dialog.h"
#include "link/ui/read_para_dialog.h"
#include "link/ui/write_para_dialog.h"
#include "link/write_procedure.h"
#include "view/ui/marben_view.h"

namespace kolt {

CLinkCommands::CLinkCommands(CMarbenApp& app, IPrompts& prompts)
    : app_(app), port_(&prompts), host_(app), ctx_{app, port_, prompts, host_} {}

CLinkCommands::~CLinkCommands() {
    // Program end: a station still linked means the port is still open.
    if (app_.linkedFlag) {
        port_.Close();
        app_.linkedFlag = 0;
    }
}

ViewFactory CLinkCommands::WrapViewFactory(ViewFactory inner) {
    return [this, inner](CMarbenDoc& doc, QWidget* parent) -> QWidget* {
        QWidget* w = inner ? inner(doc, parent) : nullptr;
        if (auto* view = qobject_cast<CMarbenView*>(w)) {
            // The view writes its own online edits through our link; the frame
            // then shows the outcome (modified document, station).
            view->SetLinkContext(&ctx_);
            connect(view, &CMarbenView::onlineEditCommitted, this, [this] {
                if (CMainFrame* frame = host_.Frame()) frame->UpdateCommandUi();
            });
        }
        return w;
    };
}

void CLinkCommands::Install(CMainFrame& frame) {
    host_.SetFrame(&frame);
    frame.SetCommandHandler(cmd::kLink, [this] { Link(); });
    frame.SetCommandHandler(cmd::kRead, [this] { Read(); });
    frame.SetCommandHandler(cmd::kWrite, [this] { Write(); });
}

void CLinkCommands::Link() {
    if (app_.scanFlag) return;
    LinkRequest request;
    {
        FlagGuard busy(app_.busyFlag);
        CLinkDialog dialog(app_, host_.Frame());
        dialog.exec();
        request = dialog.request();
    }
    RunLinkCommand(ctx_, request);
    host_.RefreshStatusPanes();
}

void CLinkCommands::Read() {
    if (!app_.linkedFlag || app_.busyFlag) return;
    ReadRequest request;
    {
        FlagGuard busy(app_.busyFlag);
        CReadParaDialog dialog(app_, host_.Frame());
        if (dialog.exec() != QDialog::Accepted) return;
        request = dialog.request();
    }
    RunReadCommand(ctx_, request);
    host_.RefreshStatusPanes();
}

void CLinkCommands::Write() {
    CMarbenDoc* doc = host_.ActiveDocument();
    if (!doc || !CanStartWrite(ctx_, *doc)) return;
    WriteRequest request;
    {
        FlagGuard busy(app_.busyFlag);
        CWriteParaDialog dialog(app_, host_.Frame());
        if (dialog.exec() != QDialog::Accepted) return;
        request = dialog.request();
    }
    // The document window may have gone while the dialog was up.
    doc = host_.ActiveDocument();
    if (!doc) return;
    RunWriteCommand(ctx_, *doc, request);
    host_.RefreshStatusPanes();
}

}  // namespace kolt
