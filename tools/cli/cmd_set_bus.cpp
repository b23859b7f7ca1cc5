// kolt-cli set --station N CODE=VALUE: an online edit of one parameter of a
// drive. The value passes the grid's checks before anything is sent.
#include "bus_session.h"
#include "setting_check.h"

#include "base/texts.h"
#include "catalogue/catalogue.h"
#include "link/online_write.h"

#include <array>

namespace kolt::cli {

namespace {

constexpr int kFactoryDefault = 52;  // F52

constexpr std::array<OptionSpec, 2> kOptions{{
    {"--station", nullptr, true},
    {"--yes", "-y", false},
}};

}  // namespace

bool IsBusSet(const Args& args) {
    for (const auto& a : args) {
        if (a == "--") break;
        if (a == "--station" || a == "--port" || a.rfind("--station=", 0) == 0 || a.rfind("--port=", 0) == 0)
            return true;
    }
    return false;
}

int RunSetBus(CliContext& ctx, const Args& args) {
    const CliCommand& cmd = *FindCommand("set");
    ParsedArgs p;
    if (auto done = ParseBusCommandArgs(ctx, cmd, args, kOptions, p)) return *done;
    if (p.positionals.size() != 1) return UsageError(ctx, cmd, "a drive takes exactly one CODE=VALUE");
    LinkRequest request;
    int station = 0;
    if (auto done = ParseLineAndStation(ctx, cmd, p, request, station)) return *done;
    std::string code, valueText;
    if (!SplitAssignment(p.positionals[0], code, valueText))
        return UsageError(ctx, cmd, "expected CODE=VALUE, not '" + p.positionals[0] + "'");

    // Everything the grid would refuse is refused before the port is opened.
    const int number = NumberFromCode(code);
    if (number < 0) return Refuse(ctx, text::kUnknownCode + code);
    std::int32_t value = 0;
    const std::string refusal = SettingRefusal(number, valueText, MinValue(number), MaxValue(number), value);
    if (!refusal.empty()) return Refuse(ctx, refusal);
    if (number == kFactoryDefault) {
        // The grid hands on only a reset; F52 reads 0 again once a reset is done.
        if (value == 0) {
            ctx.err << text::kF52NothingToSend << "\n";
            return kExitOk;
        }
        ctx.prompts.SetYesAnswer(p.Has("--yes"));
        if (!ConfirmFactoryReset(ctx.prompts, number, value)) {
            ctx.err << text::kF52NeedsYes << "\n";
            return kExitRefused;
        }
    }

    BusSession bus(ctx);
    if (bus.Link(request, {station}) != LinkOutcome::Linked) return kExitRefused;
    return bus.Call([&] { return WriteOneParameter(bus.link, station, number, value); }) ? kExitOk : kExitRefused;
}

}  // namespace kolt::cli
