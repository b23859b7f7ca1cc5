// kolt-cli monitor: the single-station or all-station monitor without a
// window, one line (or CSV row) per station and poll cycle.
#include "cli_command.h"
#include "monitor_session.h"

#include "base/texts.h"
#include "monitor/monitor_texts.h"
#include "monitor/station_range.h"

#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
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

volatile std::sig_atomic_t gInterrupted = 0;
void OnInterrupt(int) { gInterrupted = 1; }

// Ctrl+C ends the monitor after the cycle in progress; the old handler comes
// back when the command ends.
class InterruptCatcher {
public:
    InterruptCatcher() {
        gInterrupted = 0;
        struct sigaction sa {};
        sa.sa_handler = OnInterrupt;
        sigemptyset(&sa.sa_mask);
        ::sigaction(SIGINT, &sa, &old_);
    }
    ~InterruptCatcher() { ::sigaction(SIGINT, &old_, nullptr); }

private:
    struct sigaction old_ {};
};

std::string IsoTimeNow() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t t = system_clock::to_time_t(now);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm tm {};
    ::gmtime_r(&t, &tm);
    char buf[96];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                  tm.tm_hour, tm.tm_min, tm.tm_sec, static_cast<int>(ms));
    return buf;
}

// A stored value with `decimals` decimals as a plain decimal number.
std::string Decimal(std::int64_t value, int decimals) {
    const std::int64_t scale = decimals == 2 ? 100 : decimals == 1 ? 10 : 1;
    char buf[40];
    if (decimals == 0) std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(value));
    else std::snprintf(buf, sizeof buf, "%lld.%0*lld", static_cast<long long>(value / scale), decimals,
                       static_cast<long long>(value % scale));
    return buf;
}

const char* OnOff(std::int32_t state) { return state ? "on" : "off"; }

// The window's texts on one line.
std::string MonitorLine(int station, const StationRecord& r) {
    std::string line = IsoTimeNow() + " " + StationLabel(station) + "  " + RunStateText(r.running) + "  " +
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

constexpr const char* kCsvHeader =
    "time,station,running,reverse,set_freq_Hz,output_freq_Hz,output_volt_V,output_amp_A,output_power_W,"
    "bus_volt_V,fault_code,fault_name,S1,S2,S3,S4,AIN,RY1";

std::string CsvRow(int station, const StationRecord& r) {
    std::string name = FaultName(r.faultCode);
    if (!name.empty() && name.front() == ' ') name.erase(0, 1);  // the window's blank is no part of a cell
    std::string row = IsoTimeNow() + "," + std::to_string(station) + "," + std::to_string(r.running) + "," +
                      std::to_string(r.reverse) + "," + Decimal(r.setFreq, 2) + "," + Decimal(r.outFreq, 2) + "," +
                      Decimal(r.outVolt, 1) + "," + Decimal(r.outAmp, 1) + "," +
                      Decimal(static_cast<std::int64_t>(r.outVolt) * r.outAmp, 2) + "," + Decimal(r.busVolt, 1) +
                      "," + std::to_string(r.faultCode) + "," + name;
    for (std::int32_t t : r.terminals) row += "," + std::to_string(t);
    return row;
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
        if (OpenLinkPort(mon.bus.link, request) != LinkOutcome::Linked) return kExitRefused;
        app.linkedFlag = 1;
        ctx.prompts.SetPumpHook([&] {
            if (gInterrupted) app.cancelFlag = 1;
        });
        const bool opened = mon.engine.StartAll(ParseStationRange(*p.Value("--stations")));
        ctx.prompts.SetPumpHook(nullptr);
        if (!opened) return gInterrupted ? kExitOk : kExitRefused;
    } else {
        if (mon.bus.Link(request, {station}) != LinkOutcome::Linked) return kExitRefused;
        if (!mon.engine.StartSingle(station)) return kExitRefused;
    }
    std::vector<int> stations;
    for (int s = 1; s <= kStationMax; ++s)
        if (all ? mon.engine.Table()[s].monitored != 0 : s == station) stations.push_back(s);
    if (stations.empty()) {
        ctx.err << text::kNoStationAnswered << "\n";
        return kExitRefused;
    }

    if (csv) ctx.out << kCsvHeader << std::endl;
    auto next = std::chrono::steady_clock::now();
    for (long cycle = 0; count < 0 || cycle < count; ++cycle) {
        for (int s : stations) {
            if (all && !mon.engine.Table()[s].monitored) continue;  // given up after Abort
            app.busyFlag = 1;
            const StationPollOutcome outcome = mon.engine.PollStation(s);
            app.busyFlag = 0;
            if (outcome.valuesAndStatus) {
                const StationRecord& r = mon.engine.Table()[s];
                ctx.out << (csv ? CsvRow(s, r) : MonitorLine(s, r)) << std::endl;
            }
            // Abort (--stop-on-error) gives up the link or the station; a
            // garbled or refused reply ends the monitor only when asked to.
            if (!outcome.ok && (stopOnError || !app.linkedFlag)) return kExitRefused;
        }
        if (gInterrupted) break;
        // A cycle that took longer than the period starts the next one at once.
        next += kPollPeriod;
        const auto now = std::chrono::steady_clock::now();
        if (next < now) next = now;
        if (count >= 0 && cycle + 1 >= count) break;
        while (!gInterrupted && std::chrono::steady_clock::now() < next)
            std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
                next - std::chrono::steady_clock::now(), std::chrono::milliseconds(20)));
        if (gInterrupted) break;
    }
    return kExitOk;
}

}  // namespace kolt::cli
