// koltinf.ini is a text file anybody may edit. Whatever it holds, the settings
// read from it stay in their ranges and write back to a file that reads the same.
#include "base/settings.h"
#include "fuzz_check.h"

#include <cstdint>
#include <sstream>
#include <string>

using namespace kolt;

namespace {

KoltSettings Read(const std::string& text) {
    KoltSettings s;
    std::istringstream in(text);
    ReadSettingsStream(in, s);
    return s;
}

bool Same(const KoltSettings& a, const KoltSettings& b) {
    return a.comPort == b.comPort && a.baudRate == b.baudRate && a.dataBits == b.dataBits && a.parity == b.parity &&
           a.stopBits == b.stopBits && a.printTitle == b.printTitle && a.printF == b.printF && a.printC == b.printC &&
           a.onlineEdit == b.onlineEdit && a.hz50 == b.hz50 && a.definiteCount == b.definiteCount &&
           a.definiteKinds == b.definiteKinds && a.definiteNumbers == b.definiteNumbers &&
           a.readTimeoutMs == b.readTimeoutMs && a.charGapMs == b.charGapMs && a.echo == b.echo && a.rs485 == b.rs485 &&
           a.netPort == b.netPort && a.recentNetPorts == b.recentNetPorts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const KoltSettings s = Read(std::string(reinterpret_cast<const char*>(data), size));

    FUZZ_CHECK(s.comPort >= 1 && s.comPort <= 8, "COM port 1..8");
    FUZZ_CHECK(s.definiteCount >= 0 && s.definiteCount <= kDefiniteMax, "definite list within its array");
    FUZZ_CHECK(TimeoutInRange(s.readTimeoutMs, kReadTimeoutMinMs, kReadTimeoutMaxMs) == s.readTimeoutMs &&
                   TimeoutInRange(s.charGapMs, kCharGapMinMs, kCharGapMaxMs) == s.charGapMs,
               "time-outs 0 or within their ranges");
    FUZZ_CHECK(s.recentNetPorts.size() <= kRecentNetPortsMax, "at most four recent network ports");
    for (std::uint8_t flag : {s.printTitle, s.printF, s.printC, s.onlineEdit, s.hz50, s.echo, s.rs485})
        FUZZ_CHECK(flag == 0 || flag == 1, "flags are 0 or 1");
    for (int i = s.definiteCount; i < kDefiniteMax; ++i)
        FUZZ_CHECK(s.definiteKinds[i] == 0 && s.definiteNumbers[i] == 0, "nothing stored past the count");

    const std::string written = SettingsFileText(s);
    const KoltSettings again = Read(written);
    FUZZ_CHECK(Same(s, again), "written settings read back the same");
    FUZZ_CHECK(SettingsFileText(again) == written, "writing is stable");
    return 0;
}
