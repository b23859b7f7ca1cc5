#include "link/inverter_compare.h"

#include "base/document_host.h"
#include "base/marben_app.h"
#include "document/compare.h"
#include "document/compare_commands.h"
#include "link/read_procedure.h"
#include "link/station_list.h"

namespace kolt {

InverterCompareRequest PresetInverterCompare(const CMarbenApp& app) {
    return {ClampStation(app.currentStation), app.settings.hz50 != 0};
}

bool RunInverterCompareCommand(LinkContext& ctx, const InverterCompareRequest& request) {
    CMarbenApp& app = ctx.app;
    NestedFlagGuard busy(app.busyFlag);
    if (!BeginInverterCompare(ctx)) return false;
    if (!ReadParameters(ctx, ClampStation(request.station), true, true)) return false;
    return FinishInverterCompare(ctx, request);
}

bool BeginInverterCompare(LinkContext& ctx) { return CloseCurrentDocument(ctx.host, ctx.prompts); }

bool FinishInverterCompare(LinkContext& ctx, const InverterCompareRequest& request) {
    StageInverterWithDefault(ctx.app, ClampStation(request.station), request.hz50);
    ctx.host.RefreshStatusPanes();
    return ctx.host.CreateNewDocument() != nullptr;
}

}  // namespace kolt
