// kolt-cli read: the Read command into a new document, saved as a parameter file.
#include "bus_session.h"

#include "document/doc_file.h"
#include "link/read_procedure.h"

#include <array>

namespace kolt::cli {

namespace {
constexpr std::array<OptionSpec, 3> kOptions{{
    {"--station", nullptr, true},
    {"--groups", nullptr, true},
    {"--output", "-o", true},
}};
}  // namespace

int RunRead(CliContext& ctx, const Args& args) {
    const CliCommand& cmd = *FindCommand("read");
    ParsedArgs p;
    if (auto done = ParseBusCommandArgs(ctx, cmd, args, kOptions, p)) return *done;
    if (!p.positionals.empty()) return UsageError(ctx, cmd, "unexpected argument '" + p.positionals[0] + "'");
    LinkRequest request;
    int station = 0;
    if (auto done = ParseLineAndStation(ctx, cmd, p, request, station)) return *done;
    ReadRequest read;
    read.station = station;
    std::string error;
    if (!ParseGroups(p, read.readF, read.readC, error)) return UsageError(ctx, cmd, error);
    const auto output = p.Value("--output");
    if (!output || output->empty()) return UsageError(ctx, cmd, "-o FILE is required");

    BusSession bus(ctx);
    if (bus.Link(request, {station}) != LinkOutcome::Linked) return kExitRefused;
    // No document is open here, so the read makes a new one as File New would.
    if (!bus.Call([&] { return RunReadCommand(bus.link, read); }) || !bus.host.doc) return kExitRefused;
    if (!WriteDocFile(*bus.host.doc, *output, ctx.prompts)) return kExitRefused;

    const int count = (read.readF ? kFCount : 0) + (read.readC ? kCCount : 0);
    ctx.out << StationLabel(station) << ": " << ModelOfCapacity(ctx.app.currentModel) << ", software version "
            << VersionText(ctx.app.softwareVersion) << "; " << count << " parameters read into " << *output << "\n";
    return kExitOk;
}

}  // namespace kolt::cli
