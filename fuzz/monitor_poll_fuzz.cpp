// The monitor's four polls turn drive replies into the station monitor table
// and the table into the windows' texts. The first input byte picks the poll,
// the second the parameter chosen in "Fun. no." for the replying station; the
// rest is what arrived, cut at the receive capacity.
#include "catalogue/value_text.h"
#include "fuzz_check.h"
#include "monitor/monitor_texts.h"
#include "monitor/poll_reply.h"

#include <cstdint>
#include <cstring>
#include <memory>

using namespace kolt;

namespace {

constexpr Poll kPolls[] = {Poll::Limits, Poll::Values, Poll::Status, Poll::Parameter};

int Hex(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;  // the port reads any other character as digit 0
}

std::uint16_t Register(const char* reply, int k) {
    const char* d = reply + 7 + 4 * k;
    return static_cast<std::uint16_t>(Hex(d[0]) << 12 | Hex(d[1]) << 8 | Hex(d[2]) << 4 | Hex(d[3]));
}

// The record the poll must leave behind, worked out once more from the digits.
// Records are copied with memcpy and changed field by field, so that their
// padding stays as it was and whole records compare with memcmp.
void Expect(Poll poll, const char* reply, StationRecord& r) {
    switch (poll) {
    case Poll::Limits:
        r.freqUpper = Register(reply, 0);
        r.freqLower = Register(reply, 1);
        break;
    case Poll::Values:
        r.setFreq = Register(reply, 0);
        r.outFreq = Register(reply, 1);
        r.outVolt = Register(reply, 2);
        r.busVolt = Register(reply, 3);
        r.outAmp = Register(reply, 4);
        break;
    case Poll::Status: {
        const std::uint16_t status = Register(reply, 0), terminals = Register(reply, 2);
        r.running = status & 1;
        r.reverse = (status >> 1) & 1;
        r.faultCode = Register(reply, 1);
        const int bits[kTerminalCount] = {0, 1, 2, 3, 6, 7};  // S1..S4, AIN, RY1
        for (int t = 0; t < kTerminalCount; ++t) r.terminals[static_cast<std::size_t>(t)] = (terminals >> bits[t]) & 1;
        break;
    }
    case Poll::Parameter:
        r.paramValues[static_cast<std::size_t>(r.functionGroup)][static_cast<std::size_t>(r.functionIndex)] =
            Register(reply, 0);
        break;
    }
}

bool SameRecord(const StationRecord& a, const StationRecord& b) {
    return std::memcmp(&a, &b, sizeof(StationRecord)) == 0;
}

void CheckTexts(const StationRecord& r) {
    // A register is 0..65535: every display text keeps its field's size.
    for (const std::string& t : {TwoDecimalMonitorText(r.setFreq), TwoDecimalMonitorText(r.outFreq),
                                 OneDecimalMonitorText(r.outVolt), OneDecimalMonitorText(r.busVolt),
                                 OneDecimalMonitorText(r.outAmp), PowerMonitorText(r.outVolt, r.outAmp)})
        FUZZ_CHECK(!t.empty() && t.size() <= 8, "a monitor number fits its field");
    FUZZ_CHECK(RunStateText(r.running) == "RUN" || RunStateText(r.running) == "STOP", "run state is RUN or STOP");
    FUZZ_CHECK(DirectionText(r.reverse) == "<< REV" || DirectionText(r.reverse) == "FWD >>", "direction text");
    FUZZ_CHECK(FaultName(r.faultCode).size() <= 8, "a fault name is short");
    const std::string fun = FormatParamValue(
        r.paramValues[static_cast<std::size_t>(r.functionGroup)][static_cast<std::size_t>(r.functionIndex)],
        r.SelectedNumber());
    FUZZ_CHECK(fun.size() <= 16, "\"Fun. data\" fits its field");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    // Every record starts at its reset values; only the replying station's may change.
    static const auto table = std::make_unique<StationMonitorTable>();
    static const StationRecord fresh{};

    const Poll poll = kPolls[data[0] % std::size(kPolls)];
    const int number = ParameterOfPosition(data[1] % 111);
    FUZZ_CHECK(number >= 0 && number < 200, "every \"Fun. no.\" position names a parameter");
    const RequestKind kind = PollRequest(poll, 1, fresh).kind;
    const int capacity = ReceiveCapacity(kind);
    const int count = static_cast<int>(std::min<std::size_t>(size - 2, static_cast<std::size_t>(capacity)));

    // The port's buffer is never cleared: what follows this reply is an earlier one.
    char reply[kFrameBufferSize + 1];
    std::memset(reply, '7', kFrameBufferSize);
    reply[kFrameBufferSize] = '\0';
    std::memcpy(reply, data + 2, static_cast<std::size_t>(count));

    const int named = ReplyStationOf(reply, count);
    StationRecord before;
    std::memcpy(&before, &fresh, sizeof before);
    before.functionGroup = number / 100;
    before.functionIndex = number % 100;
    if (StationMonitorTable::Holds(named)) std::memcpy(&(*table)[named], &before, sizeof before);

    // The engine stores only what the transaction judged normal, but nothing
    // the line can send may make the store go astray.
    const bool normal = reply[0] == ':' && JudgeReply(kind, reply, count) == kNormalReply;
    const int stored = StorePollReply(poll, reply, count, *table);
    if (StationMonitorTable::Holds(named)) {
        FUZZ_CHECK(stored == named, "a reply is stored under the station it names");
        if (normal) {
            Expect(poll, reply, before);
            FUZZ_CHECK(SameRecord((*table)[named], before),
                       "a normal reply stores exactly its poll's registers");
            CheckTexts((*table)[named]);
        }
    } else {
        FUZZ_CHECK(stored == -1, "a reply naming no station of the table stores nothing");
    }
    for (int s = 0; s < kMonitorRecords; ++s)
        if (s != named) FUZZ_CHECK(SameRecord((*table)[s], fresh), "no other station's record changes");
    if (StationMonitorTable::Holds(named)) std::memcpy(&(*table)[named], &fresh, sizeof fresh);
    return 0;
}
