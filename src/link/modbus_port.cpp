#include "link/modbus_port.h"

#include "base/texts.h"
#include "catalogue/catalogue.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <thread>

namespace kolt {
namespace {

// The fixed part of each request kind: function code, start register and count
// (for reads), or the echo's sub-function and data.
struct KindInfo {
    RequestKind kind;
    int length;
    int capacity;
    int registers;  // registers a normal reply carries; 0 for non-reads
};

constexpr std::array<KindInfo, 10> kKinds{{
    {RequestKind::EchoTest, kShortRequestLength, kShortCapacity, 0},
    {RequestKind::ReadVersion, kShortRequestLength, kReadCapacity, 1},
    {RequestKind::ReadCapacity, kShortRequestLength, kReadCapacity, 1},
    {RequestKind::ReadMonitorBlock, kShortRequestLength, kReadCapacity, kMonitorBlockCount},
    {RequestKind::ReadFrequencyLimits, kShortRequestLength, kReadCapacity, kFreqLimitsCount},
    {RequestKind::ReadControlWord, kShortRequestLength, kReadCapacity, 1},
    {RequestKind::ReadFaultBlock, kShortRequestLength, kReadCapacity, kFaultBlockCount},
    {RequestKind::ReadParameter, kShortRequestLength, kReadCapacity, 1},
    {RequestKind::WriteParameter, kWriteParameterLength, kShortCapacity, 0},
    {RequestKind::WriteRegister, kShortRequestLength, kShortCapacity, 0},
}};

const KindInfo& InfoOf(RequestKind kind) { return kKinds[static_cast<std::size_t>(kind)]; }

struct ExceptionEntry {
    const char* code;
    const char* text;
};
constexpr std::array<ExceptionEntry, 5> kExceptions{{
    {"51", text::kExFunction},
    {"52", text::kExAddress},
    {"53", text::kExAmount},
    {"54", text::kExRange},
    {"55", text::kExWriteMode},
}};

// The digit value the reply check uses: code minus '0', except 'A'..'F' -> 10..15.
// Anything outside 0..15 (lower-case letters among them) marks a bad frame.
int CheckDigitValue(char c) {
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return static_cast<unsigned char>(c) - '0';
}

// Writes ':' station function and the given data field; returns the body length.
int Body(char* out, int station, int function, const char* data) {
    char buf[kFrameBufferSize];
    const int n = std::snprintf(buf, sizeof buf, ":%02X%02X%s", static_cast<unsigned>(station) & 0xFFu,
                                static_cast<unsigned>(function) & 0xFFu, data);
    std::memcpy(out, buf, static_cast<std::size_t>(n));
    return n;
}

// A 16-bit field: "%04X" of the value, first four characters (the value is 0..65535).
void Word(char* out4, int value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04X", static_cast<unsigned>(value));
    std::memcpy(out4, buf, 4);
}

// A request whose data is two 16-bit fields: register and count for a read
// (0x03), register and value for a single write (0x06).
int BuildTwoWords(char* out, int station, int function, int reg, int word) {
    char data[9];
    Word(data, reg);
    Word(data + 4, word);
    data[8] = '\0';
    return FinishFrame(out, Body(out, station, function, data));
}

int BuildRead(char* out, int station, int reg, int count) { return BuildTwoWords(out, station, 0x03, reg, count); }

}  // namespace

int RequestLength(RequestKind kind) { return InfoOf(kind).length; }
int ReceiveCapacity(RequestKind kind) { return InfoOf(kind).capacity; }
int ReplyRegisterCount(RequestKind kind) { return InfoOf(kind).registers; }

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}

std::uint8_t FrameLrc(const char* frame, int pairCount) {
    unsigned sum = 0;
    for (int j = 1; j <= pairCount; ++j)
        sum += static_cast<unsigned>(HexDigitValue(frame[2 * j - 1]) * 16 + HexDigitValue(frame[2 * j]));
    return static_cast<std::uint8_t>((0x10000u - sum) & 0xFFu);
}

int FinishFrame(char* out, int bodyLength) {
    const std::uint8_t lrc = FrameLrc(out, (bodyLength - 1) / 2);
    char buf[4];
    std::snprintf(buf, sizeof buf, "%02X", lrc);
    out[bodyLength] = buf[0];
    out[bodyLength + 1] = buf[1];
    out[bodyLength + 2] = '\r';
    out[bodyLength + 3] = '\n';
    return bodyLength + 4;
}

std::uint16_t RegisterOfParameter(int number) { return Register(number); }

std::string ExceptionText(const char* reply) {
    if (!reply) return {};
    for (const auto& e : kExceptions)
        if (reply[5] == e.code[0] && reply[6] == e.code[1]) return e.text;
    return {};
}

int CheckReply(const char* reply, int count) {
    // Too short to hold the LRC and line end: nothing can be judged.
    if (count < 5) return kBadFrame;
    unsigned sum = 0;
    for (int j = 1; j <= (count - 5) / 2; ++j) {
        const int hi = CheckDigitValue(reply[2 * j - 1]);
        const int lo = CheckDigitValue(reply[2 * j]);
        if (hi < 0 || hi > 15 || lo < 0 || lo > 15) return kBadFrame;
        sum += static_cast<unsigned>(hi * 16 + lo);
    }
    char lrc[16];
    std::snprintf(lrc, sizeof lrc, "%04X", 0x10000u - sum);
    if (lrc[2] != reply[count - 4] || lrc[3] != reply[count - 3]) return kBadFrame;
    return reply[3] >= '8' ? kExceptionReply : kNormalReply;
}

bool ReplyRegisterOf(const char* reply, int count, int k, std::uint16_t& value) {
    if (!reply || k < 0) return false;
    const int first = 7 + 4 * k;
    // The register's four digits must come before the LRC.
    if (first + 4 > count - 4) return false;
    const char* d = reply + first;
    value = static_cast<std::uint16_t>((HexDigitValue(d[0]) * 16 + HexDigitValue(d[1])) * 256 +
                                       HexDigitValue(d[2]) * 16 + HexDigitValue(d[3]));
    return true;
}

int ReplyStationOf(const char* reply, int count) {
    if (!reply || count < 3) return -1;
    return HexDigitValue(reply[1]) * 16 + HexDigitValue(reply[2]);
}

int JudgeReply(RequestKind kind, const char* reply, int count) {
    const int result = CheckReply(reply, count);
    const int registers = ReplyRegisterCount(kind);
    std::uint16_t unused = 0;
    if (result == kNormalReply && registers > 0 && !ReplyRegisterOf(reply, count, registers - 1, unused))
        return kBadFrame;
    return result;
}

int BuildRequest(const ModbusRequest& r, char* out) {
    switch (r.kind) {
    case RequestKind::EchoTest: return CModbusPort::BuildEchoTest(out, r.station);
    case RequestKind::ReadVersion: return CModbusPort::BuildReadVersion(out, r.station);
    case RequestKind::ReadCapacity: return CModbusPort::BuildReadCapacity(out, r.station);
    case RequestKind::ReadMonitorBlock: return CModbusPort::BuildReadMonitorBlock(out, r.station);
    case RequestKind::ReadFrequencyLimits: return CModbusPort::BuildReadFrequencyLimits(out, r.station);
    case RequestKind::ReadControlWord: return CModbusPort::BuildReadControlWord(out, r.station);
    case RequestKind::ReadFaultBlock: return CModbusPort::BuildReadFaultBlock(out, r.station);
    case RequestKind::ReadParameter: return CModbusPort::BuildReadParameter(out, r.station, r.number);
    case RequestKind::WriteParameter: return CModbusPort::BuildWriteParameter(out, r.station, r.number, r.value);
    case RequestKind::WriteRegister: return CModbusPort::BuildWriteRegister(out, r.station, r.reg, r.value);
    }
    return 0;
}

int CModbusPort::BuildEchoTest(char* out, int station) { return FinishFrame(out, Body(out, station, 0x08, "0000A537")); }
int CModbusPort::BuildReadVersion(char* out, int station) { return BuildRead(out, station, kRegVersion, 1); }
int CModbusPort::BuildReadCapacity(char* out, int station) { return BuildRead(out, station, kRegCapacity, 1); }
int CModbusPort::BuildReadMonitorBlock(char* out, int station) {
    return BuildRead(out, station, kRegMonitorBlock, kMonitorBlockCount);
}
int CModbusPort::BuildReadFrequencyLimits(char* out, int station) {
    return BuildRead(out, station, kRegFreqLimits, kFreqLimitsCount);
}
int CModbusPort::BuildReadControlWord(char* out, int station) { return BuildRead(out, station, kRegControlWord, 1); }
int CModbusPort::BuildReadFaultBlock(char* out, int station) {
    return BuildRead(out, station, kRegStatusWord, kFaultBlockCount);
}
int CModbusPort::BuildReadParameter(char* out, int station, int number) {
    return BuildRead(out, station, RegisterOfParameter(number), 1);
}

int CModbusPort::BuildWriteParameter(char* out, int station, int number, int value) {
    char data[15];
    Word(data, RegisterOfParameter(number));
    std::memcpy(data + 4, "000102", 6);  // quantity 0001, byte count 02
    Word(data + 10, value);
    data[14] = '\0';
    return FinishFrame(out, Body(out, station, 0x10, data));
}

int CModbusPort::BuildWriteRegister(char* out, int station, int reg, int value) {
    return BuildTwoWords(out, station, 0x06, reg, value);
}

int CModbusPort::Transaction(const char* request, int requestLength, char* reply, int capacity, int attempts) {
    received_ = 0;
    for (int i = 0; i < attempts; ++i) {
        // Cancelled: nothing more goes out, the procedure ends as after no reply.
        if (Stopped()) return kNoReply;
        ++transactions_;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        // The last transaction gave up without a whole frame: its drive may still be
        // about to answer. Let that answer come and go before asking anything new,
        // or it would be taken for this request's reply and put one parameter's
        // value into another's place.
        const bool afterUnanswered = unanswered_;
        unanswered_ = false;
        if (drainPending_) {
            drainPending_ = false;
            ++drains_;
            DiscardUntilQuiet(drainFrom_, kLateReplyWindowMs, CharGapMs(),
                              std::max(kDrainLimitMs, ReadTimeoutMs() + kLateReplyWindowMs + CharGapMs()));
        }
        // A server that dropped the connection since the last request gets one
        // chance to take it again.
        ReopenIfDropped();
        // Whatever is still in the input came unasked (line noise, another talker).
        Purge(true, false);
        std::size_t written = 0;
        if (Write(request, static_cast<std::size_t>(requestLength), &written, nullptr, kWaitForever) == 0) {
            const auto sent = std::chrono::steady_clock::now();
            std::size_t got = 0;
            if (echo_ && !TakeEcho(request, requestLength)) {
                unanswered_ = true;
                drainPending_ = true;
                drainFrom_ = std::chrono::steady_clock::now();
                if (echoSeen_ > 0) return kBadFrame;
                continue;
            }
            Read(reply, static_cast<std::size_t>(capacity), &got, nullptr, kWaitForever);
            received_ = static_cast<int>(got);
            const bool wholeFrame = got > 0 && reply[0] == ':' && reply[got - 1] == '\n';
            if (!wholeFrame) {
                unanswered_ = true;
                drainPending_ = true;
                drainFrom_ = std::chrono::steady_clock::now();
            } else if (afterUnanswered) {
                // Right after a call that got nothing, this frame may be that call's late
                // answer, and this call's own answer may still be on its way: the next
                // request waits as long as a late answer to this one could take. Only
                // that one: its frame is its own, and the calls after it pay nothing.
                drainPending_ = true;
                drainFrom_ = sent + std::chrono::milliseconds(ReadTimeoutMs());
            }
        }
        if (reply[0] == ':' && received_ != 0) return CheckReply(reply, received_);
    }
    return kNoReply;
}

bool CModbusPort::TakeEcho(const char* request, int length) {
    char echo[kFrameBufferSize] = {};
    std::size_t got = 0;
    Read(echo, static_cast<std::size_t>(length), &got, nullptr, kWaitForever);
    echoSeen_ = static_cast<int>(got);
    return got == static_cast<std::size_t>(length) && std::memcmp(echo, request, got) == 0;
}

int CModbusPort::Transact(const ModbusRequest& request) {
    char frame[kFrameBufferSize] = {};
    const int length = BuildRequest(request, frame);
    const int result = Transaction(frame, length, reply_, ReceiveCapacity(request.kind), 1);
    return result == kNormalReply ? JudgeReply(request.kind, reply_, received_) : result;
}

int CModbusPort::TransactWithRetry(const ModbusRequest& request) {
    int result = kNoReply;
    for (int call = 0; call < kRetryCalls; ++call) {
        result = Transact(request);
        if (result != kNoReply && result != kBadFrame) break;
    }
    return result;
}

int CModbusPort::TransactWithRetry(const ModbusRequest& request, int& value) {
    const int result = TransactWithRetry(request);
    std::uint16_t v = 0;
    if (result == kNormalReply && ReplyRegister(0, v)) value = v;
    return result;
}

bool CModbusPort::ReplyRegister(int k, std::uint16_t& value) const {
    return ReplyRegisterOf(reply_, received_, k, value);
}

int CModbusPort::ReplyStation() const { return ReplyStationOf(reply_, received_); }

}  // namespace kolt
