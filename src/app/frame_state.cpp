#include "app/frame_state.h"

#include "base/command_ids.h"
#include "base/texts.h"
#include "catalogue/models.h"

#include <cstdio>

namespace kolt {

StatusTexts ComputeStatusTexts(const CMarbenApp& app, bool documentOpen) {
    StatusTexts t;
    char buf[32];
    if (app.linkedFlag) {
        const int v = app.softwareVersion;
        std::snprintf(buf, sizeof buf, "%d.%d", v / 10, v % 10);
        t.version = std::string(text::kPaneVersion) + buf;
        std::snprintf(buf, sizeof buf, " %03d", app.currentStation);
        t.link = std::string(text::kPaneLinking) + buf;
    } else {
        t.version = std::string(text::kPaneVersion) + "x.x";
        t.link = text::kPaneNoStation;
    }
    const bool modelKnown = (documentOpen || app.linkedFlag) && app.currentModel >= 0 && app.currentModel < kModelCount;
    t.model = std::string(text::kPaneModel) + (modelKnown ? ModelName(app.currentModel) : "xxxxxxxxxxx");
    t.editMode = app.settings.onlineEdit ? text::kPaneOnline : text::kPaneOffline;
    return t;
}

bool ShouldPoll(const CMarbenApp& app) {
    return app.linkedFlag && !app.busyFlag && app.monitoringFlag;
}

bool CommandAllowed(int id, const CMarbenApp& app, const FrameFacts& f) {
    switch (id) {
    case cmd::kRead:
        return app.linkedFlag && !app.busyFlag;
    case cmd::kCompareInverterDefault:
        return app.linkedFlag && !app.monitoringFlag && !app.scanFlag;
    case cmd::kLink:
        return !app.scanFlag;
    case cmd::kWrite:
        return f.documentOpen && app.linkedFlag && f.compareMode == 0 && !app.monitoringFlag && !app.scanFlag;
    case cmd::kMonitor:
        return app.linkedFlag;
    case cmd::kBackupBus:
    case cmd::kRestoreBus:
    case cmd::kBusDrift:
        return app.linkedFlag && !app.busyFlag && !app.monitoringFlag && !app.scanFlag;
    case cmd::kPrintTitleSet:
        return f.viewExists && !f.printPreview;
    case cmd::kFileClose:
    case cmd::kFileSave:
    case cmd::kFileSaveAs:
    case cmd::kFilePrint:
    case cmd::kFilePrintPreview:
    case cmd::kStationTitle:
    case cmd::kEditFind:
    case cmd::kGoTo:
    case cmd::kDefiniteParameter:
        return f.documentOpen;
    default:
        return true;
    }
}

}  // namespace kolt
