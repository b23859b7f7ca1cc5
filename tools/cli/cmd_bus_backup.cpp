// kolt-cli backup, restore and drift: the whole bus against a folder of
// parameter files listed in bus.csv.
#include "bus_session.h"
#include "interrupt_catcher.h"

#include "base/texts.h"
#include "catalogue/catalogue.h"
#include "catalogue/value_text.h"
#include "link/bus_backup.h"
#include "monitor/station_range.h"

#include <array>
#include <optional>
#include <utility>

namespace kolt::cli {

namespace {

constexpr int kExitDrift = 1;
constexpr int kExitNotRead = 2;

// The progress line, each station's line as it is done, and Ctrl+C.
class CliBusProgress : public IBusJobProgress {
public:
    CliBusProgress(CliContext& ctx, const char* job) : ctx_(ctx), job_(job) {}

    void Station(int station, int index, int count) override {
        ctx_.prompts.ProgressText(std::string(job_) + " " + StationLabel(station) + " (" + std::to_string(index) +
                                  " of " + std::to_string(count) + ")");
    }
    bool CancelRequested() override { return InterruptCatcher::Interrupted(); }
    void Done(const BusCsvRow& row) override {
        if (row.result == text::kBusNoAnswer) return;  // counted at the end: a bus has many empty addresses
        std::string line = row.result;
        if (row.Saved())
            line = "saved " + row.file + " (" + ModelOfCapacity(row.capacity) + ", software version " +
                   VersionText(row.version) + ")";
        Line(StationLabel(row.station) + ": " + line);
    }
    void Done(const RestoreStationReport& r) override {
        std::string line = StationLabel(r.station) + ": " + RestoreOutcomeText(r);
        for (const ValueDifference& d : r.differences) line += "\n  " + DifferenceText(d);
        Line(line);
    }

private:
    void Line(const std::string& line) {
        ctx_.prompts.ProgressClose();
        ctx_.out << line << std::endl;
    }

    CliContext& ctx_;
    const char* job_;
};

// Opens the port and runs job(link, memory, progress) on the bus, Ctrl+C
// caught meanwhile. Nothing when the port would not open (its message shown).
template <class Job>
auto RunBusJob(CliContext& ctx, const LinkRequest& request, const char* name, Job job)
    -> std::optional<decltype(job(std::declval<LinkContext&>(), std::declval<BlockReadMemory&>(),
                                  std::declval<IBusJobProgress&>()))> {
    BusSession bus(ctx);
    if (bus.Call([&] { return OpenLinkPort(bus.link, request); }) != LinkOutcome::Linked) return std::nullopt;
    ctx.app.linkedFlag = 1;
    InterruptCatcher interrupt;
    CliBusProgress progress(ctx, name);
    BlockReadMemory memory;
    auto report = bus.Call([&] { return job(bus.link, memory, progress); });
    ctx.prompts.ProgressClose();
    return report;
}

// --stations TEXT in the Monitor dialog's grammar; not given: `absent`.
std::vector<int> Stations(const ParsedArgs& p, std::vector<int> absent) {
    const auto text = p.Value("--stations");
    return text ? ParseStationRange(*text) : absent;
}

std::optional<int> ParseCommon(CliContext& ctx, const CliCommand& cmd, const Args& args,
                               std::span<const OptionSpec> own, ParsedArgs& p, LinkRequest& request) {
    if (auto done = ParseBusCommandArgs(ctx, cmd, args, own, p)) return done;
    std::string error;
    if (!BusLineRequest(ctx, p, request, error)) return UsageError(ctx, cmd, error);
    if (p.Has("--stations") && Stations(p, {}).empty())
        return UsageError(ctx, cmd, "--stations '" + *p.Value("--stations") + "' names no station");
    return std::nullopt;
}

constexpr std::array<OptionSpec, 2> kBackupOptions{{
    {"--stations", nullptr, true},
    {"--output", "-o", true},
}};
constexpr std::array<OptionSpec, 2> kRestoreOptions{{
    {"--stations", nullptr, true},
    {"--yes", "-y", false},
}};
constexpr std::array<OptionSpec, 2> kDriftOptions{{
    {"--stations", nullptr, true},
    {"--csv", nullptr, false},
}};

}  // namespace

int RunBackup(CliContext& ctx, const Args& args) {
    const CliCommand& cmd = *FindCommand("backup");
    ParsedArgs p;
    LinkRequest request;
    if (auto done = ParseCommon(ctx, cmd, args, kBackupOptions, p, request)) return *done;
    if (!p.positionals.empty()) return UsageError(ctx, cmd, "unexpected argument '" + p.positionals[0] + "'");
    const auto folder = p.Value("--output");
    if (!folder || folder->empty()) return UsageError(ctx, cmd, "-o FOLDER is required");

    BackupRequest backup;
    backup.folder = *folder;
    backup.stations = Stations(p, ParseStationRange(""));
    backup.hz50 = ctx.app.settings.hz50 != 0;
    const auto run = RunBusJob(ctx, request, "Backup", [&](LinkContext& link, BlockReadMemory& m, IBusJobProgress& pr) {
        return BackupBus(link, backup, m, pr);
    });
    if (!run) return kExitRefused;
    const BackupReport& report = *run;
    if (!report.error.empty()) return Refuse(ctx, report.error);

    ctx.out << "Backup in " << *folder << ": " << BackupSummary(report) << "\n";
    if (report.saved + report.failed + report.notDone == 0) return Refuse(ctx, text::kNoStationAnswered);
    return report.Ok() ? kExitOk : kExitRefused;
}

int RunRestore(CliContext& ctx, const Args& args) {
    const CliCommand& cmd = *FindCommand("restore");
    ParsedArgs p;
    LinkRequest request;
    if (auto done = ParseCommon(ctx, cmd, args, kRestoreOptions, p, request)) return *done;
    if (p.positionals.size() != 1) return UsageError(ctx, cmd, "give exactly one backup folder");

    ctx.prompts.SetYesAnswer(p.Has("--yes"));
    const BusJobRequest job{p.positionals[0], Stations(p, {})};
    const auto run = RunBusJob(ctx, request, "Restore", [&](LinkContext& link, BlockReadMemory& m, IBusJobProgress& pr) {
        return RestoreBus(link, job, m, pr);
    });
    if (!run) return kExitRefused;
    const RestoreReport& report = *run;
    if (!report.error.empty()) return Refuse(ctx, report.error);
    return report.Ok() && !report.stations.empty() ? kExitOk : kExitRefused;
}

int RunDrift(CliContext& ctx, const Args& args) {
    const CliCommand& cmd = *FindCommand("drift");
    ParsedArgs p;
    LinkRequest request;
    if (auto done = ParseCommon(ctx, cmd, args, kDriftOptions, p, request)) return *done;
    if (p.positionals.size() != 1) return UsageError(ctx, cmd, "give exactly one backup folder");

    const BusJobRequest job{p.positionals[0], Stations(p, {})};
    const auto run = RunBusJob(ctx, request, "Drift", [&](LinkContext& link, BlockReadMemory& m, IBusJobProgress& pr) {
        return DriftBus(link, job, m, pr);
    });
    if (!run) return kExitNotRead;
    const DriftReport& report = *run;
    if (!report.error.empty()) {
        Refuse(ctx, report.error);
        return kExitNotRead;
    }

    const bool csv = p.Has("--csv");
    if (csv) ctx.out << "station,code,name,backup,drive\n";
    for (const DriftStationReport& s : report.stations)
        for (const ValueDifference& d : s.differences) {
            const std::string fields[] = {std::to_string(s.station), CodeText(d.number), Description(d.number),
                                          FormatParamValue(d.fileValue, d.number),
                                          FormatParamValue(d.driveValue, d.number)};
            if (csv)
                ctx.out << fields[0] << "," << fields[1] << ",\"" << fields[2] << "\"," << fields[3] << "," << fields[4]
                        << "\n";
            else
                ctx.out << StationLabel(s.station) << "  " << DifferenceText(d, "backup") << "\n";
        }
    // Stations not compared go apart: on stderr, so a CSV stays a table.
    for (const DriftStationReport& s : report.stations)
        if (!s.read) ctx.err << StationLabel(s.station) << ": not read: " << s.message << "\n";
    if (!csv && !report.Drift() && report.AllRead())
        ctx.out << "No drift: " << report.stations.size() << " stations as in the backup.\n";
    if (!report.AllRead()) return kExitNotRead;
    return report.Drift() ? kExitDrift : kExitOk;
}

}  // namespace kolt::cli
