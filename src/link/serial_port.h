// CSerialPort: one port, a local serial line or a network port (port_line.h), with poll().
// Every operation records a last-error code and returns it (or a queried value):
// 0 success, the named codes below, or errno for a failing system call.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct termios;

namespace kolt {

class IPrompts;
class CPortLine;

// Last-error codes of the port besides errno values.
inline constexpr std::uint32_t kErrInvalidHandle = 6;            // operation on a closed port
inline constexpr std::uint32_t kErrAlreadyInitialized = 1247;    // open while a port is open
inline constexpr std::uint32_t kErrTimeout = 1460;               // a wait expired; the operation was cancelled
inline constexpr std::uint32_t kErrInvalidArgument = 0x80070057; // a mode the port does not know

// A wait without a time limit.
inline constexpr std::uint32_t kWaitForever = 0xFFFFFFFF;

// Comm events for SetMask / WaitEvent.
inline constexpr std::uint32_t kEvRxChar = 0x0001;   // a character was received
inline constexpr std::uint32_t kEvRxFlag = 0x0002;   // the event character was received
inline constexpr std::uint32_t kEvTxEmpty = 0x0004;  // the output queue ran empty
inline constexpr std::uint32_t kEvCts = 0x0008;      // CTS changed
inline constexpr std::uint32_t kEvDsr = 0x0010;      // DSR changed
inline constexpr std::uint32_t kEvRlsd = 0x0020;     // carrier detect changed
inline constexpr std::uint32_t kEvBreak = 0x0040;    // a break was received
inline constexpr std::uint32_t kEvErr = 0x0080;      // framing, overrun or parity error
inline constexpr std::uint32_t kEvRing = 0x0100;     // ring indicator
// The mask the port sets on open: receive character, break and line errors.
inline constexpr std::uint32_t kOpenEventMask = kEvRxChar | kEvBreak | kEvErr;

// Parity and stop-bit codes as the settings file keeps them.
inline constexpr int kParityNone = 0, kParityOdd = 1, kParityEven = 2;
inline constexpr int kStopOne = 0, kStopTwo = 2;

// Handshaking modes.
inline constexpr int kHandshakeNone = 0, kHandshakeXonXoff = 1, kHandshakeHardware = 2;

// "COMn" -> a device path: env KOLT_COMn when set, else the first existing of
// /dev/ttyUSB(n-1), /dev/ttyACM(n-1), /dev/ttyS(n-1); else /dev/ttyS(n-1).
std::string ResolveComPort(int n);
// A port name as Open takes it: "COMn" (any case) resolves as above, anything else is a path.
std::string ResolvePortName(const std::string& name);

// Plain words about what to do after a failed open, for the link procedure to add to
// its message ("" when there is nothing useful to add). lastError is the open's result.
std::string OpenFailureHint(std::uint32_t lastError, const std::string& device);

// Puts baud rate, data bits, parity code and stop-bit code into `tio`: its speed,
// CSIZE, PARENB, PARODD, CSTOPB and INPCK; every other flag stays. False, with `tio`
// untouched, for a setting termios has no form for.
bool ApplyLineSettings(termios& tio, int baud, int dataBits, int parity, int stopBits);
// The baud rate of `tio`'s output speed; -1 for a speed without a figure here.
int BaudOf(const termios& tio);

// A caller-supplied completion record. An operation given one does not wait: it moves
// what it can at once, stores the count and marks the record completed.
struct CommRecord {
    bool completed = false;
    std::size_t count = 0;
};

class CSerialPort {
public:
    explicit CSerialPort(IPrompts* prompts = nullptr);
    // The port is not closed here: the owner closes it (unlink, link failure, exit).
    // The descriptor is released all the same so that nothing leaks.
    virtual ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    void SetPrompts(IPrompts* prompts) { prompts_ = prompts; }

    // Line-setting queries: -1 (or 0 for the event queries) on failure.
    virtual int GetBaudRate();
    virtual int GetDataBits();
    virtual int GetParity();
    virtual int GetStopBits();
    virtual int GetHandshaking();
    virtual std::uint32_t GetEventMask();
    virtual char GetEventChar();

    virtual std::uint32_t Setup(int baud, int dataBits, int parity, int stopBits);
    virtual std::uint32_t SetEventChar(char c, bool addToMask);
    virtual std::uint32_t SetMask(std::uint32_t mask);
    virtual std::uint32_t SetHandshaking(int mode);
    // 0: a read ends the inter-character time after the last character or the
    // read time-out after it began (SetReplyTimeouts);
    // 1: no read time-outs (a read ends when full). Anything else: kErrInvalidArgument.
    virtual std::uint32_t SetReadTimeouts(int mode);
    // Waits for one of the masked events; the events seen land in EventsSeen().
    virtual std::uint32_t WaitEvent(CommRecord* record, std::uint32_t timeoutMs);
    // name: "COMn", a device path, "tcp://HOST:PORT" or "rfc2217://HOST:PORT".
    // A network port that cannot be reached fails with errno and FailureText(). Queue sizes are only recorded: Linux serial
    // drivers keep buffers of their own size and offer no call to change them.
    virtual std::uint32_t Open(const std::string& name, std::size_t inQueue, std::size_t outQueue);
    virtual std::uint32_t Close();
    virtual std::uint32_t WriteText(const char* text, std::size_t* count, CommRecord* record, std::uint32_t timeoutMs);
    virtual std::uint32_t Write(const void* buffer, std::size_t length, std::size_t* count, CommRecord* record,
                                std::uint32_t timeoutMs);
    virtual std::uint32_t Read(void* buffer, std::size_t capacity, std::size_t* count, CommRecord* record,
                               std::uint32_t timeoutMs);

    // Discards received characters not yet read (and, with output, unsent ones).
    std::uint32_t Purge(bool input, bool output);
    // Reads and discards what arrives until the line has been quiet for quietMs
    // and notBeforeMs have passed since `from`; gives up maxMs after `from` on a
    // line that never falls quiet. Returns whether anything was discarded.
    bool DiscardUntilQuiet(std::chrono::steady_clock::time_point from, int notBeforeMs, int quietMs, int maxMs);
    // Makes a wait in progress end as timed out (safe from another thread or a signal handler).
    void Cancel();
    // While *stop is true every wait ends at once as timed out and no request
    // goes out: the bus's cancel, which must end the rest of a procedure too,
    // not only the wait in progress. Null: no such flag.
    void SetStopFlag(const std::atomic<bool>* stop) { stop_ = stop; }
    bool Stopped() const { return stop_ && stop_->load(std::memory_order_acquire); }
    // Forgets a Cancel that ended no wait, so it cannot end the next one.
    void ClearCancel();

    // A read in time-out mode 0 also ends as soon as the LF that closes a frame
    // beginning with ':' has arrived, instead of waiting out the 50 ms gap. On by default.
    void SetEndReadAtFrameEnd(bool on) { endAtFrameEnd_ = on; }

    // The read time-out and the inter-character time-out of mode 0; 0 takes the
    // port kind's default (local 400 and 50 ms, network 1000 and 200 ms). Kept
    // across Open, which applies them to the kind opened.
    void SetReplyTimeouts(int readMs, int charGapMs);
    int ReadTimeoutMs() const { return readTotalMs_; }
    int CharGapMs() const { return readIntervalMs_; }
    // The kernel's RS-485 mode on a local line (RTS keys the transmitter).
    std::uint32_t SetRs485(bool on);
    // A network port whose server dropped the connection opens it again, once per
    // loss; false when it stays closed (the port has shown why).
    bool ReopenIfDropped();
    bool IsNetwork() const;
    // Why the last open failed, or why the connection was lost, in words with
    // the server's name and the system's reason ("" when there is nothing to add).
    std::string FailureText() const;

    bool IsOpen() const { return line_ != nullptr; }
    // The line of the open port, for a close look (tests); null when closed.
    const CPortLine* Line() const { return line_.get(); }
    std::uint32_t LastError() const { return lastError_; }
    const std::string& PortName() const { return portName_; }
    void SetPortName(const std::string& name) { portName_ = name; }
    // The device path of the open port (or of the last open attempt); a network
    // port's name as given.
    const std::string& DevicePath() const { return devicePath_; }
    // How to lower a USB adapter's latency timer that the last open could not
    // lower itself ("" when there was nothing to do); also given to the prompts' Notice.
    const std::string& AdapterAdvice() const { return adapterAdvice_; }
    std::size_t InQueueSize() const { return inQueue_; }
    std::size_t OutQueueSize() const { return outQueue_; }
    int ReadTimeoutMode() const { return timeoutMode_; }
    // Events reported by the last WaitEvent (0xFFFFFFFF before any wait).
    std::uint32_t EventsSeen() const { return eventsSeen_; }

protected:
    void Show(const char* text);
    std::uint32_t SetError(std::uint32_t code) { return lastError_ = code; }

private:
    std::uint32_t ReadFromDevice(std::size_t want);
    // The line's attributes; false, with the error set (and "no DCB" shown when
    // `complain`), on a closed port or a refusing driver.
    bool GetAttributes(termios& tio, bool complain);
    std::uint32_t SetAttributes(const termios& tio);
    int Fd() const;

    IPrompts* prompts_ = nullptr;
    std::string portName_;
    std::string devicePath_;
    std::string adapterAdvice_;
    std::unique_ptr<CPortLine> line_;
    std::string portTarget_;   // the name opened, for a reopen
    std::string failure_;      // FailureText of a failed open
    bool reopenSpent_ = false;
    int askedReadMs_ = 0;
    int askedGapMs_ = 0;
    int readTotalMs_ = 400;
    int readIntervalMs_ = 50;
    // The completion event: an eventfd that ends waits when signalled. It lives
    // as long as the port, so Cancel from another thread never meets a closed one.
    int cancelFd_ = -1;
    const std::atomic<bool>* stop_ = nullptr;
    std::uint32_t lastError_ = 0;
    std::uint32_t eventsSeen_ = 0xFFFFFFFF;
    std::uint32_t commMask_ = 0;
    char eventChar_ = 0;
    int handshake_ = kHandshakeNone;
    int timeoutMode_ = 1;
    std::size_t inQueue_ = 0;
    std::size_t outQueue_ = 0;
    bool endAtFrameEnd_ = true;
    bool wroteSinceEmpty_ = false;
    std::vector<char> pending_;  // received but not yet handed to a reader
};

}  // namespace kolt
