#include "app/ui/bus_job_commands.h"

#include "app/ui/link_commands.h"
#include "app/ui/main_frame.h"
#include "base/command_ids.h"
#include "document/compare_commands.h"
#include "document/marben_doc.h"

namespace kolt {

CBusJobCommands::CBusJobCommands(CMarbenApp& app, IPrompts& prompts, CLinkCommands& link)
    : app_(app), prompts_(prompts), link_(link), host_(app) {}

void CBusJobCommands::Install(CMainFrame& frame) {
    host_.SetFrame(&frame);
    frame.SetCommandHandler(cmd::kBackupBus, [this] { Run(CBusJobDialog::Job::Backup); });
    frame.SetCommandHandler(cmd::kRestoreBus, [this] { Run(CBusJobDialog::Job::Restore); });
    frame.SetCommandHandler(cmd::kBusDrift, [this] { Run(CBusJobDialog::Job::Drift); });
}

void CBusJobCommands::Run(CBusJobDialog::Job job) {
    if (!app_.linkedFlag || app_.monitoringFlag || app_.scanFlag || link_.Waiting()) return;
    const DriftStationReport* chosen = nullptr;
    DriftStationReport compare;
    {
        FlagGuard busy(app_.busyFlag);
        CBusJobDialog dialog(job, [this](const auto& procedure) { return link_.RunOnBus(procedure); }, host_.Frame());
        dialog.SetFolder(folder_);
        std::array<std::string, kStationMax> titles{};
        if (const CMarbenDoc* doc = host_.ActiveDocument(); doc && !doc->IsCompare()) titles = doc->stationTitles;
        dialog.SetBackupDefaults(titles, app_.settings.hz50 != 0);
        dialog.SetOpenCompare([&](const DriftStationReport& r) {
            compare = r;
            chosen = &compare;
        });
        dialog.exec();
        folder_ = dialog.Folder();
    }
    // One station's drift as a File with File document, after the open
    // document's save question.
    if (chosen && CloseCurrentDocument(host_, prompts_)) {
        StageDriftCompare(app_, *chosen);
        host_.CreateNewDocument();
    }
    host_.RefreshStatusPanes();
}

}  // namespace kolt
