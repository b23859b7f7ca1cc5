#include "link/serial_devices.h"

#include "base/texts.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <unistd.h>

namespace kolt {
namespace {

namespace fs = std::filesystem;

// The kinds of device listed, in the order COMn looks for them.
constexpr std::array<std::string_view, 3> kTtyKinds{"ttyUSB", "ttyACM", "ttyS"};
constexpr std::size_t kUartKind = 2;

// The kind index and number of "ttyUSB12", or nothing for another name.
bool ParseTtyName(const std::string& name, std::size_t& kind, long& number) {
    for (std::size_t k = 0; k < kTtyKinds.size(); ++k) {
        const std::string_view prefix = kTtyKinds[k];
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string digits = name.substr(prefix.size());
        if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) return false;
        kind = k;
        number = std::strtol(digits.c_str(), nullptr, 10);
        return true;
    }
    return false;
}

std::string ReadLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.pop_back();
    return line;
}

// A whole number from a sysfs attribute; -1 when the file is missing or holds none.
int ReadNumber(const fs::path& file) {
    const std::string text = ReadLine(file);
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    return text.empty() || *end != '\0' || value < 0 ? -1 : static_cast<int>(value);
}

std::string LinkName(const fs::path& link) {
    std::error_code ec;
    const fs::path target = fs::read_symlink(link, ec);
    return ec ? std::string() : target.filename().string();
}

// `device` and its parents up to (not including) the sysfs root.
std::vector<fs::path> Ancestry(const fs::path& device, const fs::path& root) {
    std::vector<fs::path> chain;
    const std::string top = root.string();
    for (fs::path p = device; p.string().size() > top.size() && p.string().compare(0, top.size(), top) == 0;
         p = p.parent_path())
        chain.push_back(p);
    return chain;
}

// The driver of the hardware: on kernels that put a "serial-base" port device
// between a UART and its tty, that device's driver is only "port", so look past it.
std::string DriverOf(const std::vector<fs::path>& chain) {
    for (const fs::path& p : chain) {
        const std::string driver = LinkName(p / "driver");
        if (!driver.empty() && LinkName(p / "subsystem") != "serial-base") return driver;
    }
    return {};
}

// vendor:product of the USB device the tty hangs from.
std::string UsbIdOf(const std::vector<fs::path>& chain) {
    for (const fs::path& p : chain) {
        const std::string vendor = ReadLine(p / "idVendor");
        const std::string product = ReadLine(p / "idProduct");
        if (!vendor.empty() && !product.empty()) return vendor + ":" + product;
    }
    return {};
}

std::vector<fs::path> DeviceChain(const fs::path& ttyEntry, const DeviceRoots& roots) {
    std::error_code ec;
    const fs::path device = fs::canonical(ttyEntry / "device", ec);
    if (ec) return {};
    const fs::path root = fs::canonical(roots.sys, ec);
    return ec ? std::vector<fs::path>{} : Ancestry(device, root);
}

// The node's /dev/serial/by-id name, "" when none of the links there points to it.
std::string ByIdName(const std::string& node, const DeviceRoots& roots) {
    std::error_code ec;
    const fs::path dir = fs::path(roots.dev) / "serial" / "by-id";
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir, ec)) {
        const fs::path target = fs::weakly_canonical(entry.path(), ec);
        if (!ec && target.filename() == node) names.push_back(entry.path().string());
    }
    std::sort(names.begin(), names.end());
    return names.empty() ? std::string() : names.front();
}

bool WriteAttribute(const fs::path& file, const char* value) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) return false;
    const std::string_view text(value);
    const bool ok = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    return ::close(fd) == 0 && ok;
}

std::string Fill(std::string format, std::initializer_list<std::string> values) {
    std::size_t from = 0;
    for (const std::string& v : values) {
        const auto at = format.find("%s", from);
        if (at == std::string::npos) break;
        format.replace(at, 2, v);
        from = at + v.size();
    }
    return format;
}

}  // namespace

DeviceRoots DefaultDeviceRoots() {
    DeviceRoots roots;
    if (const char* sys = std::getenv("KOLT_SYSFS_ROOT"); sys && *sys) roots.sys = sys;
    if (const char* dev = std::getenv("KOLT_DEV_ROOT"); dev && *dev) roots.dev = dev;
    return roots;
}

std::vector<SerialDevice> ListSerialDevices(const DeviceRoots& roots) {
    struct Found {
        std::size_t kind;
        long number;
        SerialDevice device;
    };
    std::vector<Found> found;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(fs::path(roots.sys) / "class" / "tty", ec)) {
        const std::string name = entry.path().filename().string();
        std::size_t kind = 0;
        long number = 0;
        if (!ParseTtyName(name, kind, number)) continue;
        const std::vector<fs::path> chain = DeviceChain(entry.path(), roots);
        if (chain.empty()) continue;  // no hardware behind it
        if (kind == kUartKind && ReadNumber(entry.path() / "type") == 0) continue;

        SerialDevice d;
        d.path = (fs::path(roots.dev) / name).string();
        d.byId = ByIdName(name, roots);
        d.driver = DriverOf(chain);
        d.usbId = UsbIdOf(chain);
        d.latencyMs = ReadNumber(entry.path() / "device" / "latency_timer");
        d.openError = ::access(d.path.c_str(), R_OK | W_OK) == 0 ? 0 : errno;
        found.push_back({kind, number, std::move(d)});
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return a.kind != b.kind ? a.kind < b.kind : a.number < b.number;
    });
    std::vector<SerialDevice> devices;
    for (Found& f : found) devices.push_back(std::move(f.device));
    return devices;
}

std::string LowerAdapterLatency(const std::string& devicePath, const std::string& sysRoot) {
    std::error_code ec;
    // A by-id link or a COMn variable may name the node: sysfs knows it by the kernel's name.
    const fs::path node = fs::canonical(devicePath, ec);
    const std::string name = (ec ? fs::path(devicePath) : node).filename().string();
    if (name.empty()) return {};
    const fs::path tty = fs::path(sysRoot) / "class" / "tty" / name;
    const fs::path timer = tty / "device" / "latency_timer";
    const int ms = ReadNumber(timer);
    if (ms <= 1 || WriteAttribute(timer, "1")) return {};
    std::string driver = DriverOf(DeviceChain(tty, DeviceRoots{sysRoot, {}}));
    if (driver.empty()) driver = "*";
    return Fill(text::kHintAdapterLatency, {devicePath, std::to_string(ms), timer.string(), driver});
}

}  // namespace kolt
