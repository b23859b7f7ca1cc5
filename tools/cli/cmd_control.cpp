// kolt-cli control: what the monitor window's buttons and Set fields do,
// from a shell. Reads first (limits and status), checks everything, then
// writes: frequency command, one control word, the parameter.
#include "cli_command.h"
#include "monitor_session.h"
#include "setting_check.h"

#include "base/texts.h"
#include "catalogue/catalogue.h"
#include "catalogue/value_text.h"
#include "link/online_write.h"
#include "monitor/monitor_texts.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <optional>

namespace kolt::cli {

namespace {

constexpr int kFactoryDefault = 52;  // F52

constexpr std::array<OptionSpec, 5> kOptions{{
    {"--station", nullptr, true},
    {"--freq", nullptr, true},
    {"--toggle", nullptr, true},
    {"--param", nullptr, true},
    {"--yes", "-y", false},
}};

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::optional<MonitorButton> WordButton(const std::string& word) {
    const std::string w = Lower(word);
    if (w == "run") return MonitorButton::Run;
    if (w == "stop") return MonitorButton::Stop;
    if (w == "fwd") return MonitorButton::Forward;
    if (w == "rev") return MonitorButton::Reverse;
    if (w == "reset") return MonitorButton::FaultReset;
    return std::nullopt;
}

// "S1,ry1" -> the toggle buttons; false for a name that is none of the six.
bool ParseToggles(const std::string& text, std::vector<MonitorButton>& out) {
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = text.find(',', start);
        std::string name = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        bool found = false;
        for (int t = 0; t < kTerminalCount; ++t) {
            if (name == text::kTerminalNames[t]) {
                out.push_back(static_cast<MonitorButton>(static_cast<int>(MonitorButton::S1) + t));
                found = true;
            }
        }
        if (!found) return false;
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return true;
}

std::string ControlWordText(std::uint16_t w) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%04X", w);
    return buf;
}

}  // namespace

int RunControl(CliContext& ctx, const Args& args) {
    const CliCommand& cmd = *FindCommand("control");
    ParsedArgs p;
    if (auto done = ParseBusCommandArgs(ctx, cmd, args, kOptions, p)) return *done;
    LinkRequest request;
    int station = 0;
    if (auto done = ParseLineAndStation(ctx, cmd, p, request, station)) return *done;

    std::vector<MonitorButton> buttons;
    for (const std::string& word : p.positionals) {
        const auto button = WordButton(word);
        if (!button) return UsageError(ctx, cmd, "unknown word '" + word + "' (run, stop, fwd, rev or reset)");
        buttons.push_back(*button);
    }
    if (const auto toggles = p.Value("--toggle"); toggles && !ParseToggles(*toggles, buttons))
        return UsageError(ctx, cmd, "--toggle takes S1, S2, S3, S4, AIN and RY1, not '" + *toggles + "'");

    // The two fields' texts are checked as typing would take them, before the port opens.
    const auto freqText = p.Value("--freq");
    if (freqText && (freqText->empty() || !InputRuleTakes(*freqText, kFreqIntegerDigits, kFreqDecimals)))
        return Refuse(ctx, "--freq " + *freqText + ": " + text::kSettingBadCharacters +
                               " At most three digits before the point and two after it.");
    int number = -1;
    std::int32_t paramValue = 0;
    if (const auto param = p.Value("--param")) {
        std::string code, valueText;
        if (!SplitAssignment(*param, code, valueText))
            return UsageError(ctx, cmd, "--param expects CODE=VALUE, not '" + *param + "'");
        number = NumberFromCode(code);
        if (number < 0) return Refuse(ctx, text::kUnknownCode + code);
        const SetDataLimits limits = SetDataLimitsOf(number);
        if (valueText.empty()) return Refuse(ctx, std::string(text::kCodePrefix) + code + "\n" + text::kSettingNoValue);
        if (!InputRuleTakes(valueText, limits.integerDigits, limits.decimals) ||
            valueText.size() > static_cast<std::size_t>(limits.width))
            return Refuse(ctx, std::string(text::kCodePrefix) + code + "\n" + text::kSettingBadFormat);
        paramValue = ParseSetDataText(valueText, number);
        if (const auto refusal = SetDataRefusal(number, paramValue)) return Refuse(ctx, *refusal);
        if (number == kFactoryDefault) {
            ctx.prompts.SetYesAnswer(p.Has("--yes"));
            if (!ConfirmFactoryReset(ctx.prompts, number, paramValue)) {
                ctx.err << text::kF52NeedsYes << "\n";
                return kExitRefused;
            }
        }
    }
    if (buttons.empty() && !freqText && number < 0)
        return UsageError(ctx, cmd, "nothing to do: give run, stop, fwd, rev, reset, --freq, --toggle or --param");

    MonitorSession mon(ctx);
    if (mon.bus.Link(request, {station}) != LinkOutcome::Linked) return kExitRefused;
    CMonitorEngine& engine = mon.engine;
    // The drive's limits, and the terminal states the toggles go by.
    if (mon.bus.Call([&] { return engine.RunPoll(Poll::Limits, station); }) != kNormalReply) return kExitRefused;
    if (mon.bus.Call([&] { return engine.RunPoll(Poll::Status, station); }) != kNormalReply) return kExitRefused;
    StationRecord& record = engine.Table()[station];
    std::int32_t freq = 0;
    if (freqText) {
        freq = ParseFrequencyText(*freqText);
        if (const auto refusal = FrequencyRefusal(freq, record.freqLower, record.freqUpper))
            return Refuse(ctx, *refusal);
    }

    const std::string label = StationLabel(station) + ": ";
    if (freqText) {
        record.freqCommand = freq;
        if (!mon.bus.Call([&] { return engine.WriteFrequencyCommand(station); })) return kExitRefused;
        ctx.out << label << "frequency command " << TwoDecimalMonitorText(freq) << " " << text::kUnitHz << "\n";
    }
    if (!buttons.empty()) {
        for (MonitorButton b : buttons) engine.SetRequest(station, b);
        if (!mon.bus.Call([&] { return engine.WriteControlWord(station); })) return kExitRefused;
        ctx.out << label << "control word " << ControlWordText(engine.LastControlWord()) << "\n";
    }
    if (number >= 0) {
        engine.SelectFunction(station, PositionOfParameter(number));
        record.SelectedSetData() = paramValue;
        if (!mon.bus.Call([&] { return engine.WriteParameterData(station); })) return kExitRefused;
        ctx.out << label << CodeText(number) << " = " << FormatParamValue(paramValue, number) << "\n";
    }
    return kExitOk;
}

}  // namespace kolt::cli
