// kolt-cli write: the Write command for a parameter file, with one line per
// station on stdout saying how that station ended.
#include "bus_session.h"

#include "base/texts.h"
#include "catalogue/catalogue.h"
#include "catalogue/value_text.h"
#include "document/doc_commands.h"
#include "link/write_procedure.h"

#include <array>
#include <cstddef>

namespace kolt::cli {

namespace {

constexpr std::array<OptionSpec, 3> kOptions{{
    {"--stations", nullptr, true},
    {"--groups", nullptr, true},
    {"--stop-on-error", nullptr, false},
}};

// " at F07" when a parameter's write failed, "" when a read did.
std::string Where(const StationWriteReport& r) {
    std::string where = r.failedNumber < 0 ? std::string() : " at " + CodeText(r.failedNumber);
    if (r.written > 0) where += " after " + std::to_string(r.written) + " parameters";
    return where;
}

std::string OutcomeText(const StationWriteReport& r, const CMarbenDoc& doc) {
    switch (r.result) {
    case StationWriteResult::Written: return "written (" + std::to_string(r.written) + " parameters)";
    case StationWriteResult::NoReply: return "no reply" + Where(r);
    case StationWriteResult::BadFrame: return std::string("bad reply") + Where(r) + " (" + text::kCheckSumError + ")";
    case StationWriteResult::Refused: return "refused" + Where(r) + ": " + r.message;
    case StationWriteResult::CapacityDiffers:
        return "capacity code " + std::to_string(r.capacity) + " differs from the file's F00 " +
               FormatParamValue(doc.values[0][0], 0);
    }
    return {};
}

}  // namespace

int RunWrite(CliContext& ctx, const Args& args) {
    const CliCommand& cmd = *FindCommand("write");
    ParsedArgs p;
    if (auto done = ParseBusCommandArgs(ctx, cmd, args, kOptions, p)) return *done;
    if (p.positionals.size() != 1) return UsageError(ctx, cmd, "give exactly one parameter file");
    LinkRequest link;
    WriteRequest write;
    if (auto done = ParseLineAndStations(ctx, cmd, p, link, write.stations)) return *done;
    std::string error;
    if (!ParseGroups(p, write.writeBasic, write.writeAdvanced, error)) return UsageError(ctx, cmd, error);

    auto doc = OpenDocumentFile(ctx.app, p.positionals[0], ctx.prompts);
    if (!doc) return kExitRefused;
    if (doc->IsCompare()) return Refuse(ctx, text::kCompareNotWritable);

    BusSession bus(ctx);
    const LinkOutcome linked = bus.Link(link, write.stations);
    if (linked != LinkOutcome::Linked) {
        // None of the stations answered the Link's scan, or linking broke off
        // with its message: nothing was written anywhere.
        if (linked == LinkOutcome::NoStation || linked == LinkOutcome::Failed) {
            const bool silent = linked == LinkOutcome::NoStation || bus.port.ReceivedCount() == 0;
            for (int s : write.stations) ctx.out << StationLabel(s) << ": " << (silent ? "no reply" : "not written") << "\n";
        }
        return kExitRefused;
    }

    ctx.prompts.SetContinueAnswer(!p.Has("--stop-on-error"));
    std::size_t reported = 0;
    bool allWritten = true;
    bus.Call([&] {
        RunWriteCommand(bus.link, *doc, write, [&](const StationWriteReport& r) {
            ++reported;
            allWritten = allWritten && r.result == StationWriteResult::Written;
            ctx.out << StationLabel(r.station) << ": " << OutcomeText(r, *doc) << std::endl;
        });
    });
    for (std::size_t i = reported; i < write.stations.size(); ++i) {
        ctx.out << StationLabel(write.stations[i]) << ": not written (the write was ended)\n";
        allWritten = false;
    }
    return allWritten ? kExitOk : kExitRefused;
}

}  // namespace kolt::cli
