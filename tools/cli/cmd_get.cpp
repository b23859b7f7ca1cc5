// kolt-cli get: one parameter of a drive, as its setting cell would show it.
#include "bus_session.h"

#include "base/texts.h"
#include "catalogue/catalogue.h"
#include "catalogue/value_text.h"
#include "link/read_procedure.h"

#include <array>
#include <cctype>

namespace kolt::cli {

namespace {
constexpr std::array<OptionSpec, 2> kOptions{{
    {"--station", nullptr, true},
    {"--verbose", "-v", false},
}};
}  // namespace

int RunGet(CliContext& ctx, const Args& args) {
    const CliCommand& cmd = *FindCommand("get");
    ParsedArgs p;
    if (auto done = ParseBusCommandArgs(ctx, cmd, args, kOptions, p)) return *done;
    if (p.positionals.size() != 1) return UsageError(ctx, cmd, "give exactly one parameter code, for example F07");
    LinkRequest request;
    int station = 0;
    if (auto done = ParseLineAndStation(ctx, cmd, p, request, station)) return *done;
    std::string code = p.positionals[0];
    for (char& c : code) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const int number = NumberFromCode(code);
    if (number < 0) return Refuse(ctx, text::kUnknownCode + code);

    BusSession bus(ctx);
    if (bus.Link(request, {station}) != LinkOutcome::Linked) return kExitRefused;
    int value = 0;
    if (!bus.Call([&] { return ReadOneParameter(bus.link, station, number, value); })) return kExitRefused;
    const std::string shown = FormatParamValue(value, number);
    if (p.Has("--verbose"))
        ctx.out << CodeText(number) << "  " << Description(number) << "  " << shown << "  (range " << RangeText(number)
                << ")\n";
    else
        ctx.out << shown << "\n";
    return kExitOk;
}

}  // namespace kolt::cli
