// kolt-cli compare --station N: Inverter with Default without the dialog. The
// drive's F and C groups against the factory defaults of its own model.
#include "bus_session.h"
#include "table_print.h"

#include "document/doc_file.h"
#include "link/inverter_compare.h"

#include <array>

namespace kolt::cli {

namespace {

constexpr std::array<OptionSpec, 7> kOptions{{
    {"--station", nullptr, true},
    {"--50hz", nullptr, false},
    {"--60hz", nullptr, false},
    {"--output", "-o", true},
    {"--csv", nullptr, false},
    // Only to say that they belong to the file forms.
    {"--defaults", nullptr, false},
    {"--model", nullptr, true},
}};

}  // namespace

int RunCompareBus(CliContext& ctx, const Args& args) {
    const CliCommand& cmd = *FindCommand("compare");
    ParsedArgs p;
    if (auto done = ParseBusCommandArgs(ctx, cmd, args, kOptions, p)) return *done;
    if (!p.positionals.empty())
        return UsageError(ctx, cmd, "files cannot be compared with a drive: '" + p.positionals[0] + "' with --port");
    if (p.Has("--defaults") || p.Has("--model"))
        return UsageError(ctx, cmd, "--defaults and --model compare files; a drive is compared with its own model");
    if (p.Has("--50hz") && p.Has("--60hz")) return UsageError(ctx, cmd, "give --50hz or --60hz, not both");
    const auto output = p.Value("--output");
    if (output && output->empty()) return UsageError(ctx, cmd, "-o needs a file name");
    if (output && p.Has("--csv")) return UsageError(ctx, cmd, "--csv prints; it cannot go with -o");
    LinkRequest request;
    int station = 0;
    if (auto done = ParseLineAndStation(ctx, cmd, p, request, station)) return *done;

    InverterCompareRequest compare;
    compare.station = station;
    // As the dialog's preset: the frequency of new documents in koltinf.ini.
    compare.hz50 = p.Has("--50hz") || (!p.Has("--60hz") && ctx.app.settings.hz50 != 0);

    BusSession bus(ctx);
    if (bus.Link(request, {station}) != LinkOutcome::Linked) return kExitRefused;
    if (!bus.Call([&] { return RunInverterCompareCommand(bus.link, compare); }) || !bus.host.doc) return kExitRefused;
    CMarbenDoc& doc = *bus.host.doc;
    if (!output) {
        PrintDocument(ctx.out, doc, p.Has("--csv"));
        return kExitOk;
    }
    if (!WriteDocFile(doc, *output, ctx.prompts)) return kExitRefused;
    int differing = 0;
    for (std::uint8_t d : doc.differs) differing += d != 0 ? 1 : 0;
    ctx.out << StationLabel(station) << ": " << ModelOfCapacity(ctx.app.currentModel) << ", software version "
            << VersionText(ctx.app.softwareVersion) << "; " << differing << " parameters differ from the "
            << (compare.hz50 ? "50 Hz" : "60 Hz") << " defaults; saved in " << *output << "\n";
    return kExitOk;
}

}  // namespace kolt::cli
