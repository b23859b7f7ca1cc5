// CModbusPort: Modbus ASCII request frames, the request/response transaction and
// the helpers every caller of a transaction needs.
#pragma once

#include "link/serial_port.h"

#include <chrono>
#include <cstdint>
#include <string>

namespace kolt {

// Transaction results.
inline constexpr int kNoReply = 0;
inline constexpr int kBadFrame = 1;
inline constexpr int kNormalReply = 2;
inline constexpr int kExceptionReply = 3;

// Buffers the callers use for frames, and the receive capacities they pass.
inline constexpr int kFrameBufferSize = 80;
inline constexpr int kReadCapacity = 80;   // replies to function 03
inline constexpr int kShortCapacity = 17;  // replies to 06, 08 and 10
inline constexpr int kShortRequestLength = 17;
inline constexpr int kWriteParameterLength = 23;
// A caller makes at most this many calls for one request (while the result is 0 or 1).
inline constexpr int kRetryCalls = 3;
// After a transaction that ended without a whole frame, the next one first lets the
// line fall quiet: it discards what arrives in the window that follows (so a reply
// starting up to 100 ms past the port's read time-out goes), and then until no
// character has come for the port's inter-character time. A line that
// never falls quiet is given up on after the limit.
inline constexpr int kLateReplyWindowMs = 100;
inline constexpr int kDrainLimitMs = 1000;

// Registers besides the parameter registers.
inline constexpr std::uint16_t kRegCapacity = 0x0000;     // F00
inline constexpr std::uint16_t kRegFreqLimits = 0x0008;   // F07, F08
inline constexpr std::uint16_t kRegVersion = 0x002C;      // F53
inline constexpr std::uint16_t kRegControlWord = 0x00E6;
inline constexpr std::uint16_t kRegFreqCommand = 0x00E7;
inline constexpr std::uint16_t kRegStatusWord = 0x00EF;   // fault block: status, fault code, terminals
inline constexpr std::uint16_t kRegFaultCode = 0x00F0;
inline constexpr std::uint16_t kRegTerminals = 0x00F1;
inline constexpr std::uint16_t kRegMonitorBlock = 0x00F2; // set f, output f, output V, bus V, current, 4 more
inline constexpr int kMonitorBlockCount = 9;
inline constexpr int kFaultBlockCount = 3;
inline constexpr int kFreqLimitsCount = 2;

enum class RequestKind {
    EchoTest,            // 08, sub-function 0000, data A537
    ReadVersion,         // 03, 002C x1
    ReadCapacity,        // 03, 0000 x1
    ReadMonitorBlock,    // 03, 00F2 x9
    ReadFrequencyLimits, // 03, 0008 x2
    ReadControlWord,     // 03, 00E6 x1
    ReadFaultBlock,      // 03, 00EF x3
    ReadParameter,       // 03, register of the parameter x1
    WriteParameter,      // 10, register of the parameter, one register
    WriteRegister,       // 06, register, value
};

// One request: its kind and what that kind needs.
struct ModbusRequest {
    RequestKind kind = RequestKind::EchoTest;
    int station = 1;
    int number = 0;  // parameter number (ReadParameter, WriteParameter)
    int reg = 0;     // register (WriteRegister)
    int value = 0;   // 0..65535 (WriteParameter, WriteRegister)

    static ModbusRequest Echo(int station) { return {RequestKind::EchoTest, station}; }
    static ModbusRequest Version(int station) { return {RequestKind::ReadVersion, station}; }
    static ModbusRequest Capacity(int station) { return {RequestKind::ReadCapacity, station}; }
    static ModbusRequest MonitorBlock(int station) { return {RequestKind::ReadMonitorBlock, station}; }
    static ModbusRequest FrequencyLimits(int station) { return {RequestKind::ReadFrequencyLimits, station}; }
    static ModbusRequest ControlWord(int station) { return {RequestKind::ReadControlWord, station}; }
    static ModbusRequest FaultBlock(int station) { return {RequestKind::ReadFaultBlock, station}; }
    static ModbusRequest ReadParam(int station, int number) { return {RequestKind::ReadParameter, station, number}; }
    static ModbusRequest WriteParam(int station, int number, int value) {
        return {RequestKind::WriteParameter, station, number, 0, value};
    }
    static ModbusRequest WriteReg(int station, int reg, int value) {
        return {RequestKind::WriteRegister, station, 0, reg, value};
    }
};

// Request length (17, or 23 for WriteParameter), receive capacity (80 for reads,
// 17 otherwise) and number of registers a normal reply carries (0 for non-reads).
int RequestLength(RequestKind kind);
int ReceiveCapacity(RequestKind kind);
int ReplyRegisterCount(RequestKind kind);

// Writes the frame of a request into out (at least RequestLength characters) and
// returns its length. No terminating zero is written.
int BuildRequest(const ModbusRequest& request, char* out);

// Appends the LRC and CR LF to a frame whose ':' + address + function + data fill
// out[0..bodyLength-1]; returns the whole length. Characters that are not '0'..'9'
// or 'A'..'F' count as digit 0.
int FinishFrame(char* out, int bodyLength);

// The LRC byte of the hex pairs at out[1..], pairCount pairs (same digit rule).
std::uint8_t FrameLrc(const char* frame, int pairCount);

// '0'..'9' -> 0..9, 'A'..'F' -> 10..15, anything else -> 0.
int HexDigitValue(char c);

// Register of a parameter number; 0 for a number without a parameter.
std::uint16_t RegisterOfParameter(int number);

// Text of the exception code at positions 5 and 6 of a reply ("" for codes other than 51..55).
std::string ExceptionText(const char* reply);

// Register k of a read reply of count characters: the four digits at 7 + 4k, which
// must lie before the LRC. False when the reply does not carry register k.
bool ReplyRegisterOf(const char* reply, int count, int k, std::uint16_t& value);

// Station address of a reply of count characters (characters 1 and 2); -1 when
// fewer than three characters came.
int ReplyStationOf(const char* reply, int count);

// The judgement of a received frame (steps 4..6 of the transaction): 1, 2 or 3.
// count is the number of characters received; the reply starts with ':'.
int CheckReply(const char* reply, int count);

// The judgement a caller of a request of `kind` gets: CheckReply, and a normal
// reply to a read that is too short to hold the registers asked for counts as a
// bad frame, so nothing of an earlier reply still in the buffer is taken for it.
int JudgeReply(RequestKind kind, const char* reply, int count);

class CModbusPort : public CSerialPort {
public:
    explicit CModbusPort(IPrompts* prompts = nullptr) : CSerialPort(prompts) {}

    // Builders, one per request kind. Each writes exactly the frame's length into out.
    static int BuildEchoTest(char* out, int station);
    static int BuildReadVersion(char* out, int station);
    static int BuildReadCapacity(char* out, int station);
    static int BuildReadMonitorBlock(char* out, int station);
    static int BuildReadFrequencyLimits(char* out, int station);
    static int BuildReadControlWord(char* out, int station);
    static int BuildReadFaultBlock(char* out, int station);
    static int BuildReadParameter(char* out, int station, int number);
    static int BuildWriteParameter(char* out, int station, int number, int value);
    static int BuildWriteRegister(char* out, int station, int reg, int value);

    // The transaction on caller buffers: 2 ms pause, write, read, judge. Result 0..3.
    // The reply buffer is not cleared; ReceivedCount() tells how much of it is this reply.
    int Transaction(const char* request, int requestLength, char* reply, int capacity, int attempts = 1);

    // One call of the transaction for a request, into the port's own reply buffer.
    // A normal reply to a read that is too short to hold the registers asked for
    // counts as a bad frame (1): nothing of an earlier reply can be taken for it.
    int Transact(const ModbusRequest& request);
    // The callers' retry convention: up to three calls while the result is 0 or 1.
    int TransactWithRetry(const ModbusRequest& request);
    // The same, and on a normal reply to a read, register 0 of the reply in value.
    int TransactWithRetry(const ModbusRequest& request, int& value);

    // The reply of the last Transact / TransactWithRetry, and how many characters came.
    const char* Reply() const { return reply_; }
    int ReceivedCount() const { return received_; }
    // Register k of the last reply to a read; false when the reply did not carry it.
    bool ReplyRegister(int k, std::uint16_t& value) const;
    // Station address of the last reply (characters 1 and 2); -1 when nothing came.
    int ReplyStation() const;
    // Exception text of the last reply.
    std::string ReplyExceptionText() const { return ExceptionText(reply_); }

    // The adapter sends back every byte we transmit: each request's copy is read
    // and dropped before the reply; a copy that differs makes the call a bad frame.
    void SetEcho(bool on) { echo_ = on; }
    bool Echo() const { return echo_; }

    // Transactions started (calls, not requests), for the curious and for tests.
    long TransactionCount() const { return transactions_; }
    // Waits for a late reply before a request (after an unanswered call and
    // after the call that follows it), likewise.
    long DrainCount() const { return drains_; }

private:
    // Reads the copy of the request just sent; false when it did not come whole.
    bool TakeEcho(const char* request, int length);

    char reply_[kFrameBufferSize + 1] = {};
    int received_ = 0;
    long transactions_ = 0;
    long drains_ = 0;
    bool echo_ = false;
    int echoSeen_ = 0;           // characters of the last echo read
    bool unanswered_ = false;    // the last call ended without a whole frame
    bool drainPending_ = false;  // the next call first lets a late reply come and go
    std::chrono::steady_clock::time_point drainFrom_{};
};

}  // namespace kolt
