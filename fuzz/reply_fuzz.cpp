// Replies come from drives on a noisy RS-485 line. The first input byte picks
// the request the reply answers; the rest is what arrived, cut at the receive
// capacity, in the port's reply buffer over what an earlier reply left there.
#include "fuzz_check.h"
#include "link/modbus_port.h"

#include <cstdint>
#include <cstring>
#include <string>

using namespace kolt;

namespace {

constexpr RequestKind kKinds[] = {
    RequestKind::EchoTest,        RequestKind::ReadVersion,     RequestKind::ReadCapacity,
    RequestKind::ReadMonitorBlock, RequestKind::ReadFrequencyLimits, RequestKind::ReadControlWord,
    RequestKind::ReadFaultBlock,  RequestKind::ReadParameter,   RequestKind::WriteParameter,
    RequestKind::WriteRegister,
};

int Hex(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The LRC rule written out once more, for replies of upper-case hex digits only:
// -1 when some character of the pairs is not such a digit.
int ReferenceLrcMatches(const char* r, int count) {
    const int pairs = (count - 5) / 2;
    unsigned sum = 0;
    for (int i = 1; i <= 2 * pairs; ++i)
        if (Hex(r[i]) < 0) return -1;
    for (int j = 1; j <= pairs; ++j) sum += static_cast<unsigned>(Hex(r[2 * j - 1]) * 16 + Hex(r[2 * j]));
    const unsigned lrc = (0x100u - (sum & 0xFFu)) & 0xFFu;
    static const char digits[] = "0123456789ABCDEF";
    return r[count - 4] == digits[lrc >> 4] && r[count - 3] == digits[lrc & 15] ? 1 : 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const RequestKind kind = kKinds[data[0] % std::size(kKinds)];
    const int capacity = ReceiveCapacity(kind);
    const int count = static_cast<int>(std::min<std::size_t>(size - 1, static_cast<std::size_t>(capacity)));

    // The port's buffer is never cleared: what follows this reply is an earlier one.
    char reply[kFrameBufferSize + 1];
    std::memset(reply, '7', kFrameBufferSize);
    reply[kFrameBufferSize] = '\0';
    std::memcpy(reply, data + 1, static_cast<std::size_t>(count));
    if (reply[0] != ':') return 0;  // the transaction counts that as no reply

    const int checked = CheckReply(reply, count);
    FUZZ_CHECK(checked == kBadFrame || checked == kNormalReply || checked == kExceptionReply, "result 1, 2 or 3");
    if (count >= 5) {
        const int reference = ReferenceLrcMatches(reply, count);
        if (reference == 0) FUZZ_CHECK(checked == kBadFrame, "a wrong LRC is a bad frame");
        if (reference == 1)
            FUZZ_CHECK(checked == (reply[3] >= '8' ? kExceptionReply : kNormalReply),
                       "a right LRC is judged by the function code");
    } else {
        FUZZ_CHECK(checked == kBadFrame, "a reply without room for its LRC is a bad frame");
    }

    const int judged = JudgeReply(kind, reply, count);
    FUZZ_CHECK(judged == checked || (checked == kNormalReply && judged == kBadFrame),
               "the caller's rule only turns short normal replies into bad frames");
    (void)ExceptionText(reply);

    if (judged != kNormalReply) return 0;
    const int registers = ReplyRegisterCount(kind);
    for (int k = 0; k < registers + 4; ++k) {
        std::uint16_t value = 0;
        const bool carried = ReplyRegisterOf(reply, count, k, value);
        if (k < registers) FUZZ_CHECK(carried, "a normal reply carries every register asked for");
        if (!carried) continue;
        const int first = 7 + 4 * k;
        FUZZ_CHECK(first + 4 <= count - 4, "a register lies before the LRC");
        const int d[4] = {Hex(reply[first]), Hex(reply[first + 1]), Hex(reply[first + 2]), Hex(reply[first + 3])};
        if (d[0] >= 0 && d[1] >= 0 && d[2] >= 0 && d[3] >= 0)
            FUZZ_CHECK(value == ((d[0] * 16 + d[1]) << 8 | (d[2] * 16 + d[3])), "a register is its four digits");
    }
    return 0;
}
