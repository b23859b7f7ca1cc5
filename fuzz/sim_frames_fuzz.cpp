// The virtual drive's receiving side: the characters of the line cut into
// frames, decoded, and answered by the station addressed. Input byte 0 picks
// the model; the rest is the line. Whatever arrives, the drive answers with a
// frame the PC judges sound, never writes a read-only parameter, and keeps every
// writable parameter within its limits.
#include "catalogue/catalogue.h"
#include "catalogue/models.h"
#include "drive-sim/frame_receiver.h"
#include "drive-sim/virtual_station.h"
#include "fuzz_check.h"
#include "link/modbus_port.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

using namespace kolt;
using namespace kolt::sim;

namespace {

bool UpperHexFrame(const std::string& f) {
    for (std::size_t i = 1; i + 2 < f.size(); ++i) {
        const char c = f[i];
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
    }
    return true;
}

void CheckStation(VirtualStation& s, const std::map<int, std::int32_t>& readOnlyBefore) {
    for (const ParamDef& p : AllParams()) {
        const std::int32_t v = s.ParamValue(p.number);
        if (p.readOnly) {
            FUZZ_CHECK(v == readOnlyBefore.at(p.number), "a read-only parameter is never written");
        } else if (p.number == 52) {
            FUZZ_CHECK(v == 0, "F52 reads 0: it only resets");
        } else if (p.min != 0 || p.max != 0) {
            FUZZ_CHECK(v >= p.min && v <= p.max, "a written parameter lies within its limits");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const int model = data[0] % kModelCount;
    std::map<int, std::unique_ptr<VirtualStation>> stations;
    std::map<int, std::map<int, std::int32_t>> readOnly;
    const auto start = SimClock::time_point{} + std::chrono::hours(1);

    FrameReceiver receiver;
    for (std::size_t i = 1; i < size; ++i) {
        const auto event = receiver.Take(static_cast<char>(data[i]));
        if (event != FrameReceiver::Event::Complete) continue;
        const std::string& frame = receiver.Frame();
        FUZZ_CHECK(frame.size() >= 2 && frame.front() == ':' && frame.back() == '\n', "a frame runs from ':' to LF");
        FUZZ_CHECK(frame.size() <= FrameReceiver::kMaxFrameLength, "a frame is never longer than the limit");

        const auto decoded = DecodeFrame(frame);
        if (!decoded) continue;
        const std::string encoded = EncodeFrame(decoded->address, decoded->function, decoded->data);
        const auto again = DecodeFrame(encoded);
        FUZZ_CHECK(again && again->address == decoded->address && again->function == decoded->function &&
                       again->data == decoded->data,
                   "a decoded frame encodes back to the same frame");
        if (UpperHexFrame(frame)) FUZZ_CHECK(encoded == frame, "encoding gives the frame that was decoded");

        const int address = decoded->address;
        if (address < 1 || address > 254) continue;
        auto& station = stations[address];
        if (!station) {
            station = std::make_unique<VirtualStation>(address, model, 12, true);
            for (const ParamDef& p : AllParams())
                if (p.readOnly) readOnly[address][p.number] = station->ParamValue(p.number);
        }
        const std::string reply =
            station->Answer(*decoded, frame, start + std::chrono::milliseconds(static_cast<long>(i)));
        CheckStation(*station, readOnly[address]);

        const auto answered = DecodeFrame(reply);
        FUZZ_CHECK(answered.has_value(), "every reply is a well-formed frame");
        FUZZ_CHECK(answered->address == decoded->address, "a reply carries the station's address");
        const bool exception = (answered->function & 0x80) != 0;
        FUZZ_CHECK((answered->function & 0x7F) == (decoded->function & 0x7F), "a reply answers the function asked");
        // Echoes give back the request as it came; the PC judges upper-case frames only.
        if (UpperHexFrame(reply)) {
            const int judged = CheckReply(reply.c_str(), static_cast<int>(reply.size()));
            FUZZ_CHECK(judged == (exception ? kExceptionReply : kNormalReply), "the PC judges the reply sound");
        }
    }
    return 0;
}
