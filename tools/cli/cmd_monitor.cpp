// kolt-cli monitor: the single-station or all-station monitor without a
// window, one line (or CSV row) per station and poll cycle.
#include "cli_command.h"
#include "interrupt_catcher.h"
#include "monitor_session.h"

#include "base/texts.h"
#include "monitor/monitor_texts.h"
#include "monitor/station_range.h"
#include "monitor/trend_texts.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

namespace kolt::cli {

namespace {

constexpr std::array<OptionSpec, 5> kOptions{{
    {"--station", nullptr, true},
    {"--stations", nullptr, true},
    {"--count", nullptr, true},
    {"--csv", nullptr, false},
    {"--stop-on-error", nullptr, false},
}};

constexpr auto kPollPeriod = std::chrono::milliseconds(400);

const char* OnOff(std::int32_t state) { return state ? "on" : "off"; }

// The window's texts on one line.
std::string MonitorLine(int station, const StationRecord& r, std::int64_t timeMs) {
    std::string line = IsoTimeText(timeMs) + " " + StationLabel(station) + "  " + RunStateText(r.running) + "  " +
                       DirectionText(r.reverse);
    auto field = [&](const char* label, const std::string& value, const char* unit) {
        line += std::string("  ") + label + " " + value + " " + unit;
    };
    field(text::kSetFreqLabel, TwoDecimalMonitorText(r.setFreq), text::kUnitHz);
    field(text::kOutputFreqLabel, TwoDecimalMonitorText(r.outFreq), text::kUnitHz);
    field(text::kOutputVoltLabel, OneDecimalMonitorText(r.outVolt), text::kUnitV);
    field(text::kOutputAmpLabel, OneDecimalMonitorText(r.outAmp), text::kUnitA);
    field(text::kOutputPowerLabel, PowerMonitorText(r.outVolt, r.outAmp), text::kUnitW);
    field(text::kBusVoltLabel, OneDecimalMonitorText(r.busVolt), text::kUnitV);
    line += std::string("  ") + text::kErrorMessageLabel + FaultName(r.faultCode) + " ";
    for (int t = 0; t < kTerminalCount; ++t)
        line += std::string(" ") + text::kTerminalNames[t] + " " + OnOff(r.terminals[static_cast<std::size_t>(t)]);
    return line;
}

}  // namespace

int RunMonitor(CliContext& ctx, const Args& args) {
    const CliCommand& cmd = *FindCommand("monitor");
    ParsedArgs p;
    if (auto done = ParseBusCommandArgs(ctx, cmd, args, kOptions, p)) return *done;
    if (!p.positionals.empty()) return UsageError(ctx, cmd, "unexpected argument '" + p.positionals[0] + "'");
    const bool all = p.Has("--stations");
    if (all == p.Has("--station")) return UsageError(ctx, cmd, "give either --station N or --stations TEXT");
    LinkRequest request;
    std::string error;
    if (!BusLineRequest(ctx, p, request, error)) return UsageError(ctx, cmd, error);
    int station = 0;
    if (!all) {
        const auto single = SingleStation(p, error);
        if (!single) return UsageError(ctx, cmd, error);
        station = *single;
    }
    long count = -1;
    if (const auto c = p.Value("--count")) {
        const auto n = ParseInt(*c);
        if (!n || *n < 1) return UsageError(ctx, cmd, "--count must be a number of cycles from 1, not '" + *c + "'");
        count = *n;
    }
    const bool csv = p.Has("--csv");
    const bool stopOnError = p.Has("--stop-on-error");
    ctx.prompts.SetContinueAnswer(!stopOnError);

    InterruptCatcher interrupts;
    MonitorSession mon(ctx);
    CMarbenApp& app = ctx.app;
    if (all) {
        // The all-station start scans the list itself; it needs the port, not a linked station.
        if (mon.bus.Call([&] { return OpenLinkPort(mon.bus.link, request); }) != LinkOutcome::Linked) return kExitRefused;
        app.linkedFlag = 1;
        ctx.prompts.SetPumpHook([&] {
            if (InterruptCatcher::Interrupted()) app.cancelFlag = 1;
        });
        const bool opened = mon.bus.Call([&] { return mon.engine.StartAll(ParseStationRange(*p.Value("--stations"))); });
        ctx.prompts.SetPumpHook(nullptr);
        if (!opened) return InterruptCatcher::Interrupted() ? kExitOk : kExitRefused;
    } else {
        if (mon.bus.Link(request, {station}) != LinkOutcome::Linked) return kExitRefused;
        if (!mon.bus.Call([&] { return mon.engine.StartSingle(station); })) return kExitRefused;
    }
    std::vector<int> stations;
    for (int s = 1; s <= kStationMax; ++s)
        if (all ? mon.engine.Table()[s].monitored != 0 : s == station) stations.push_back(s);
    if (stations.empty()) {
        ctx.err << text::kNoStationAnswered << "\n";
        return kExitRefused;
    }

    if (csv) ctx.out << TrendCsvHeader() << std::endl;
    auto next = std::chrono::steady_clock::now();
    for (long cycle = 0; count < 0 || cycle < count; ++cycle) {
        for (int s : stations) {
            app.busyFlag = 1;
            const StationPollOutcome outcome = mon.bus.Call([&] { return mon.engine.PollStation(s); });
            app.busyFlag = 0;
            // The row is the sample the poll has just added to the trend record.
            const TrendRing* ring = mon.engine.Trend().Ring(s);
            if (outcome.valuesAndStatus && ring && !ring->Empty()) {
                const TrendSample& sample = ring->Newest();
                ctx.out << (csv ? TrendCsvRow(s, sample) : MonitorLine(s, mon.engine.Table()[s], sample.timeMs))
                        << std::endl;
            }
            // Abort (--stop-on-error) gives up the link or the station; a
            // garbled or refused reply ends the monitor only when asked to.
            if (!outcome.ok && (stopOnError || !app.linkedFlag)) return kExitRefused;
        }
        if (InterruptCatcher::Interrupted()) break;
        // A cycle that took longer than the period starts the next one at once.
        next += kPollPeriod;
        const auto now = std::chrono::steady_clock::now();
        if (next < now) next = now;
        if (count >= 0 && cycle + 1 >= count) break;
        while (!InterruptCatcher::Interrupted() && std::chrono::steady_clock::now() < next)
            std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
                next - std::chrono::steady_clock::now(), std::chrono::milliseconds(20)));
        if (InterruptCatcher::Interrupted()) break;
    }
    return kExitOk;
}

}  // namespace kolt::cli
