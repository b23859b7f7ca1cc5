#include "app/ui/view_commands.h"

#include "base/command_ids.h"
#include "document/marben_doc.h"
#include "view/station_titles.h"
#include "view/ui/marben_view.h"
#include "view/ui/station_title_dialog.h"

namespace kolt {

void CViewCommands::Install(CMainFrame& frame) {
    frame_ = &frame;
    frame.SetCommandHandler(cmd::kStationTitle, [this] { StationTitle(); });
    frame.SetCommandHandler(cmd::kEditFind, [this] {
        if (CMarbenView* view = View()) view->OnEditFind();
    });
    frame.SetCommandHandler(cmd::kGoTo, [this] {
        if (CMarbenView* view = View()) view->OnEditGoTo();
    });
    frame.SetCommandHandler(cmd::kDefiniteParameter, [this] {
        if (CMarbenView* view = View()) view->OnDefiniteParameter();
    });
}

CMarbenView* CViewCommands::View() const { return frame_ ? qobject_cast<CMarbenView*>(frame_->View()) : nullptr; }

void CViewCommands::StationTitle() {
    CMarbenDoc* doc = frame_ ? frame_->Document() : nullptr;
    if (!doc) return;
    bool accepted = false;
    {
        NestedFlagGuard busy(app_.busyFlag);
        CStationTitleDialog dialog(doc->stationTitles, doc->TextCodec(), frame_);
        accepted = dialog.exec() == QDialog::Accepted;
        // The document window may have gone while the dialog was up.
        if (accepted && frame_->Document() == doc) ApplyStationTitles(*doc, dialog.Titles());
        else accepted = false;
    }
    if (accepted) emit frame_->stationTitlesChanged();
}

}  // namespace kolt
