#include "app/ui/compare_commands.h"

#include "app/ui/link_commands.h"
#include "app/ui/main_frame.h"
#include "base/command_ids.h"
#include "document/compare_commands.h"
#include "document/ui/file_with_def_dialog.h"
#include "document/ui/file_with_file_dialog.h"
#include "link/inverter_compare.h"
#include "link/read_procedure.h"
#include "link/station_list.h"
#include "link/ui/sel_station_dialog.h"

namespace kolt {

CCompareCommands::CCompareCommands(CMarbenApp& app, IPrompts& prompts, CLinkCommands& link)
    : app_(app), link_(link), host_(app), ctx_{app, link.Port(), prompts, host_} {}

void CCompareCommands::Install(CMainFrame& frame) {
    host_.SetFrame(&frame);
    frame.SetCommandHandler(cmd::kCompareInverterDefault, [this] { InverterWithDefault(); });
    frame.SetCommandHandler(cmd::kCompareFileFile, [this] { FileWithFile(); });
    frame.SetCommandHandler(cmd::kCompareFilesDefault, [this] { FilesWithDefault(); });
}

void CCompareCommands::InverterWithDefault() {
    if (!app_.linkedFlag || app_.monitoringFlag || app_.scanFlag || link_.Waiting()) return;
    FlagGuard busy(app_.busyFlag);
    CSelStationDialog dialog(app_, host_.Frame());
    if (dialog.exec() != QDialog::Accepted) return;
    const InverterCompareRequest request = dialog.Request();
    // The read runs on the bus into a copy; the compare document is made
    // here from what it read.
    if (BeginInverterCompare(ctx_)) {
        bool read = false;
        const bool open = link_.RunOnBus([&](LinkContext& ctx) {
            read = ReadParameters(ctx, ClampStation(request.station), true, true);
        });
        if (open && read) FinishInverterCompare(ctx_, request);
    }
    host_.RefreshStatusPanes();
}

void CCompareCommands::FileWithFile() {
    FlagGuard busy(app_.busyFlag);
    CFileWithFileDialog dialog(ctx_.prompts, host_.Frame());
    if (dialog.exec() != QDialog::Accepted) return;
    RunFileWithFileCommand(app_, ctx_.prompts, host_, dialog.Data());
}

void CCompareCommands::FilesWithDefault() {
    FlagGuard busy(app_.busyFlag);
    CFileWithDefDialog dialog(app_, ctx_.prompts, host_.Frame());
    if (dialog.exec() != QDialog::Accepted) return;
    RunFilesWithDefaultCommand(app_, ctx_.prompts, host_, dialog.Data());
}

}  // namespace kolt
