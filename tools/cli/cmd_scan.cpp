// kolt-cli scan: which stations of a list answer, with their model and
// software version. The Link's scan stops at the first station that answers;
// this one asks every station of the list.
#include "bus_session.h"

#include "base/texts.h"
#include "link/transaction_report.h"

#include <array>

namespace kolt::cli {

namespace {
constexpr std::array<OptionSpec, 1> kOptions{{
    {"--stations", nullptr, true},
}};
}  // namespace

int RunScan(CliContext& ctx, const Args& args) {
    const CliCommand& cmd = *FindCommand("scan");
    ParsedArgs p;
    if (auto done = ParseBusCommandArgs(ctx, cmd, args, kOptions, p)) return *done;
    if (!p.positionals.empty()) return UsageError(ctx, cmd, "unexpected argument '" + p.positionals[0] + "'");
    LinkRequest request;
    std::vector<int> stations;
    if (auto done = ParseLineAndStations(ctx, cmd, p, request, stations)) return *done;

    BusSession bus(ctx);
    if (bus.Call([&] { return OpenLinkPort(bus.link, request); }) != LinkOutcome::Linked) return kExitRefused;

    int answered = 0;
    ctx.prompts.ProgressOpen(true);
    ctx.prompts.ProgressRange(0, static_cast<int>(stations.size()));
    for (int station : stations) {
        ctx.prompts.ProgressText(ScanProgressText(station));
        ctx.prompts.ProgressStep();
        const StationProbe probe = bus.Call([&] { return ProbeStation(bus.link, station); });
        if (probe.echoResult == kNoReply) continue;
        ++answered;
        std::string line = StationLabel(station) + ": ";
        if (probe.result == kNormalReply)
            line += ModelOfCapacity(probe.capacity) + ", software version " + VersionText(probe.version);
        else
            line += "answers, but its version and capacity could not be read: " + FailureText(probe.result, bus.port);
        // The line goes out at once: a long scan shows each station as it is found.
        ctx.prompts.ProgressClose();
        ctx.out << line << std::endl;
    }
    ctx.prompts.ProgressClose();

    if (answered == 0) {
        ctx.err << text::kNoStationAnswered << "\n";
        return kExitRefused;
    }
    return kExitOk;
}

}  // namespace kolt::cli
