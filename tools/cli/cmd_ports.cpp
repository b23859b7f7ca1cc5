// kolt-cli ports: the serial devices of this machine, one per line.
#include "cli_context.h"

#include "base/texts.h"
#include "link/serial_devices.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

namespace kolt::cli {

namespace {

// --sysfs and --dev are left out of the help: they point the command at a fake tree.
constexpr std::array<OptionSpec, 2> kOptions{{
    {"--sysfs", nullptr, true},
    {"--dev", nullptr, true},
}};

std::string AccessText(int error) {
    if (error == 0) return "yes";
    if (error == EACCES || error == EPERM) return "no (dialout group)";
    return std::string("no (") + std::strerror(error) + ")";
}

std::string OrDash(const std::string& text) { return text.empty() ? "-" : text; }

}  // namespace

int RunPorts(CliContext& ctx, const Args& args) {
    const CliCommand& cmd = *FindCommand("ports");
    ParsedArgs p;
    const std::span<const OptionSpec> tables[] = {kOptions};
    if (auto done = ParseCommandArgs(ctx, cmd, args, tables, p)) return *done;
    if (!p.positionals.empty()) return UsageError(ctx, cmd, "takes no arguments");

    DeviceRoots roots = DefaultDeviceRoots();
    if (auto sys = p.Value("--sysfs")) roots.sys = *sys;
    if (auto dev = p.Value("--dev")) roots.dev = *dev;
    const std::vector<SerialDevice> devices = ListSerialDevices(roots);
    if (devices.empty()) {
        ctx.err << "No serial devices found.\n";
        return kExitOk;
    }

    using Row = std::array<std::string, 6>;
    std::vector<Row> rows{{"Device", "Driver", "USB", "Latency", "Access", "By-id"}};
    std::string denied;
    for (const SerialDevice& d : devices) {
        rows.push_back({d.path, OrDash(d.driver), OrDash(d.usbId),
                        d.latencyMs < 0 ? "-" : std::to_string(d.latencyMs) + " ms", AccessText(d.openError),
                        OrDash(d.byId)});
        if (denied.empty() && (d.openError == EACCES || d.openError == EPERM)) denied = d.path;
    }
    std::array<std::size_t, 6> width{};
    for (const Row& r : rows)
        for (std::size_t c = 0; c < r.size(); ++c) width[c] = std::max(width[c], r[c].size());
    for (const Row& r : rows) {
        std::string line;
        for (std::size_t c = 0; c + 1 < r.size(); ++c) line += r[c] + std::string(width[c] - r[c].size() + 2, ' ');
        ctx.out << line << r.back() << "\n";
    }
    if (!denied.empty()) {
        std::string hint = text::kHintNoPermission;
        hint.replace(hint.find("%s"), 2, denied);
        ctx.err << hint << "\n";
    }
    return kExitOk;
}

}  // namespace kolt::cli
