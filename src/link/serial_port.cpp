#include "link/serial_port.h"

#include "base/prompts.h"
#include "base/texts.h"
#include "link/serial_devices.h"
#include "link/port_line.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <linux/serial.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace kolt {
namespace {

using Clock = std::chrono::steady_clock;

// Modem lines and error counters are sampled this often during an event wait.
constexpr int kEventSliceMs = 20;
// Characters kept for a later read after the LF of a frame; more is line noise.
constexpr std::size_t kMinPendingLimit = 4096;

struct SpeedEntry {
    int baud;
    speed_t speed;
};
constexpr std::array<SpeedEntry, 12> kSpeeds{{
    {300, B300}, {600, B600}, {1200, B1200}, {2400, B2400}, {4800, B4800}, {9600, B9600},
    {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200}, {230400, B230400},
    {460800, B460800},
}};

bool PathExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

std::string Replace(std::string text, const std::string& with) {
    const auto at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, with);
    return text;
}

int MsUntil(Clock::time_point when) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(when - Clock::now()).count();
    if (left <= 0) return 0;
    return left > 1'000'000 ? 1'000'000 : static_cast<int>(left);
}

}  // namespace

std::string ResolveComPort(int n) {
    const std::string envName = "KOLT_COM" + std::to_string(n);
    if (const char* env = std::getenv(envName.c_str()); env && *env) return env;
    const std::string index = std::to_string(n - 1);
    for (const char* base : {"/dev/ttyUSB", "/dev/ttyACM", "/dev/ttyS"}) {
        const std::string path = base + index;
        if (PathExists(path)) return path;
    }
    return "/dev/ttyS" + index;
}

std::string ResolvePortName(const std::string& name) {
    if (name.size() > 3 && std::toupper(static_cast<unsigned char>(name[0])) == 'C' &&
        std::toupper(static_cast<unsigned char>(name[1])) == 'O' &&
        std::toupper(static_cast<unsigned char>(name[2])) == 'M' && name.size() <= 6 &&
        std::all_of(name.begin() + 3, name.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        const int n = std::atoi(name.c_str() + 3);
        if (n >= 1) return ResolveComPort(n);
    }
    return name;
}

std::string OpenFailureHint(std::uint32_t lastError, const std::string& device) {
    switch (lastError) {
    case EACCES:
    case EPERM:
        return Replace(text::kHintNoPermission, device);
    case EBUSY:
    case EWOULDBLOCK:
        return Replace(text::kHintPortBusy, device);
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return Replace(text::kHintNoDevice, device);
    default:
        return {};
    }
}

CSerialPort::CSerialPort(IPrompts* prompts) : prompts_(prompts), cancelFd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

CSerialPort::~CSerialPort() {
    line_.reset();
    if (cancelFd_ >= 0) ::close(cancelFd_);
}

int BaudOf(const termios& tio) {
    const speed_t speed = ::cfgetospeed(&tio);
    for (const auto& e : kSpeeds)
        if (e.speed == speed) return e.baud;
    return -1;
}

int CSerialPort::Fd() const { return line_ ? line_->Fd() : -1; }

void CSerialPort::SetReplyTimeouts(int readMs, int charGapMs) {
    askedReadMs_ = readMs;
    askedGapMs_ = charGapMs;
    const PortKind kind = line_ ? line_->Kind() : PortKind::Local;
    readTotalMs_ = readMs > 0 ? readMs : DefaultReadTimeoutMs(kind);
    readIntervalMs_ = charGapMs > 0 ? charGapMs : DefaultCharGapMs(kind);
}

bool CSerialPort::IsNetwork() const { return line_ && line_->Kind() != PortKind::Local; }

std::string CSerialPort::FailureText() const { return line_ ? line_->FailureText() : failure_; }

std::uint32_t CSerialPort::SetRs485(bool on) {
    if (!line_) return SetError(kErrInvalidHandle);
    if (!line_->SetRs485(on)) return SetError(static_cast<std::uint32_t>(errno));
    return SetError(0);
}

bool CSerialPort::ReopenIfDropped() {
    if (!line_ || line_->Kind() == PortKind::Local || !line_->Dropped()) return true;
    // Once per loss: a server that stays away fails the requests at once after that.
    if (reopenSpent_) return false;
    reopenSpent_ = true;
    line_->Close();
    pending_.clear();
    if (line_->Open(portTarget_, cancelFd_) != 0) {
        Show(line_->FailureText().c_str());
        return false;
    }
    // The line sends its settings again itself.
    if (handshake_ == kHandshakeHardware) line_->SetModemLines(true);
    reopenSpent_ = false;
    return true;
}

void CSerialPort::Show(const char* message) {
    if (prompts_) prompts_->Message(message, "", Icon::None);
}

std::uint32_t CSerialPort::Open(const std::string& name, std::size_t inQueue, std::size_t outQueue) {
    if (line_) return SetError(kErrAlreadyInitialized);
    const PortKind kind = LineKindOf(name);
    devicePath_ = kind == PortKind::Local ? ResolvePortName(name) : name;
    adapterAdvice_.clear();
    failure_.clear();
    if (cancelFd_ < 0) {
        Show(text::kCannotCreateEvent);
        return SetError(ENOMEM);
    }
    ClearCancel();
    auto line = MakePortLine(kind);
    if (const std::uint32_t err = line->Open(name, cancelFd_); err != 0) {
        failure_ = line->FailureText();
        // The local line's own complaint is the port's message; a network port's
        // words go into the link's message instead.
        if (kind == PortKind::Local && !failure_.empty()) {
            Show(failure_.c_str());
            failure_.clear();
        }
        ClearCancel();
        return SetError(err);
    }
    line_ = std::move(line);
    portTarget_ = name;
    reopenSpent_ = false;
    pending_.clear();
    SetReplyTimeouts(askedReadMs_, askedGapMs_);

    // Queue sizes are recorded only (the driver's buffers are its own).
    inQueue_ = inQueue;
    outQueue_ = outQueue;
    SetMask(kOpenEventMask);
    SetReadTimeouts(0);
    const std::uint32_t result = SetHandshaking(kHandshakeHardware);
    // A USB adapter that sits on received bytes for 16 ms costs that on every reply.
    if (kind == PortKind::Local) adapterAdvice_ = LowerAdapterLatency(devicePath_, DefaultDeviceRoots().sys);
    if (!adapterAdvice_.empty() && prompts_) prompts_->Notice(adapterAdvice_);
    return result;
}

std::uint32_t CSerialPort::Close() {
    if (!line_) {
        Show(text::kCloseNotOpen);
        return SetError(0);
    }
    line_.reset();
    ClearCancel();
    pending_.clear();
    handshake_ = kHandshakeNone;
    return SetError(0);
}

bool ApplyLineSettings(termios& tio, int baud, int dataBits, int parity, int stopBits) {
    const auto speed = std::find_if(kSpeeds.begin(), kSpeeds.end(), [&](const SpeedEntry& e) { return e.baud == baud; });
    if (speed == kSpeeds.end()) return false;
    tcflag_t size = 0;
    switch (dataBits) {
    case 5: size = CS5; break;
    case 6: size = CS6; break;
    case 7: size = CS7; break;
    case 8: size = CS8; break;
    default: return false;
    }
    if (parity != kParityNone && parity != kParityOdd && parity != kParityEven) return false;
    // 1.5 stop bits (code 1) has no termios form.
    if (stopBits != kStopOne && stopBits != kStopTwo) return false;

    ::cfsetispeed(&tio, speed->speed);
    ::cfsetospeed(&tio, speed->speed);
    tio.c_cflag = (tio.c_cflag & ~CSIZE) | size;
    tio.c_cflag &= ~(PARENB | PARODD);
    tio.c_iflag &= ~INPCK;
    if (parity != kParityNone) {
        tio.c_cflag |= PARENB;
        if (parity == kParityOdd) tio.c_cflag |= PARODD;
        tio.c_iflag |= INPCK;
    }
    if (stopBits == kStopTwo)
        tio.c_cflag |= CSTOPB;
    else
        tio.c_cflag &= ~CSTOPB;
    return true;
}

std::uint32_t CSerialPort::Setup(int baud, int dataBits, int parity, int stopBits) {
    termios tio {};
    if (!GetAttributes(tio, false)) return LastError();
    if (!ApplyLineSettings(tio, baud, dataBits, parity, stopBits)) return SetError(EINVAL);
    return SetAttributes(tio);
}

std::uint32_t CSerialPort::SetHandshaking(int mode) {
    if (!line_) return SetError(kErrInvalidHandle);
    if (mode < kHandshakeNone || mode > kHandshakeHardware) return SetError(kErrInvalidArgument);
    termios tio {};
    if (!GetAttributes(tio, false)) return LastError();
    // Output is never gated on CTS: many RS-485 adapters leave CTS open.
    tio.c_cflag &= ~CRTSCTS;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    if (mode == kHandshakeXonXoff) tio.c_iflag |= IXON | IXOFF;
    if (SetAttributes(tio) != 0) return LastError();

    // Mode 2 raises DTR and RTS (they power and steer many adapters); 0 and 1 drop them.
    if (!line_->SetModemLines(mode == kHandshakeHardware)) return SetError(static_cast<std::uint32_t>(errno));
    handshake_ = mode;
    return SetError(0);
}

std::uint32_t CSerialPort::SetReadTimeouts(int mode) {
    if (!line_) return SetError(kErrInvalidHandle);
    if (mode != 0 && mode != 1) return SetError(kErrInvalidArgument);
    timeoutMode_ = mode;
    return SetError(0);
}

std::uint32_t CSerialPort::SetMask(std::uint32_t mask) {
    if (!line_) return SetError(kErrInvalidHandle);
    commMask_ = mask;
    return SetError(0);
}

std::uint32_t CSerialPort::GetEventMask() {
    if (!line_) {
        SetError(kErrInvalidHandle);
        return 0;
    }
    SetError(0);
    return commMask_;
}

std::uint32_t CSerialPort::SetEventChar(char c, bool addToMask) {
    termios tio {};
    if (!GetAttributes(tio, false)) return LastError();
    if (addToMask) SetMask(GetEventMask() | kEvRxFlag);
    // termios has no event character: the port watches for it itself (WaitEvent).
    eventChar_ = c;
    if (SetAttributes(tio) != 0) Show(text::kCannotSetDcb);
    return LastError();
}

char CSerialPort::GetEventChar() {
    if (!line_) {
        SetError(kErrInvalidHandle);
        return 0;
    }
    SetError(0);
    return eventChar_;
}

std::uint32_t CSerialPort::SetAttributes(const termios& tio) {
    if (!line_->SetAttributes(tio)) return SetError(static_cast<std::uint32_t>(errno));
    return SetError(0);
}

bool CSerialPort::GetAttributes(termios& tio, bool complain) {
    if (!line_) {
        SetError(kErrInvalidHandle);
        return false;
    }
    if (!line_->GetAttributes(tio)) {
        SetError(static_cast<std::uint32_t>(errno));
        if (complain) Show(text::kNoDcb);
        return false;
    }
    SetError(0);
    return true;
}

int CSerialPort::GetBaudRate() {
    termios tio {};
    if (!GetAttributes(tio, true)) return -1;
    return BaudOf(tio);
}

int CSerialPort::GetDataBits() {
    termios tio {};
    if (!GetAttributes(tio, false)) return -1;
    switch (tio.c_cflag & CSIZE) {
    case CS5: return 5;
    case CS6: return 6;
    case CS7: return 7;
    default: return 8;
    }
}

int CSerialPort::GetParity() {
    termios tio {};
    if (!GetAttributes(tio, true)) return -1;
    if (!(tio.c_cflag & PARENB) || !(tio.c_iflag & INPCK)) {
        Show(text::kNoParity);
        return kParityNone;
    }
    return (tio.c_cflag & PARODD) ? kParityOdd : kParityEven;
}

int CSerialPort::GetStopBits() {
    termios tio {};
    if (!GetAttributes(tio, false)) return -1;
    return (tio.c_cflag & CSTOPB) ? kStopTwo : kStopOne;
}

int CSerialPort::GetHandshaking() {
    termios tio {};
    if (!GetAttributes(tio, false)) return -1;
    if (handshake_ == kHandshakeHardware) return kHandshakeHardware;
    if ((tio.c_iflag & IXON) && (tio.c_iflag & IXOFF)) return kHandshakeXonXoff;
    return kHandshakeNone;
}

std::uint32_t CSerialPort::Purge(bool input, bool output) {
    if (!line_) return SetError(kErrInvalidHandle);
    if (input) pending_.clear();
    if (!line_->Flush(input, output)) return SetError(static_cast<std::uint32_t>(errno));
    return SetError(0);
}

bool CSerialPort::DiscardUntilQuiet(Clock::time_point from, int notBeforeMs, int quietMs, int maxMs) {
    if (!line_) return false;
    const auto notBefore = from + std::chrono::milliseconds(notBeforeMs);
    const auto giveUp = from + std::chrono::milliseconds(maxMs);
    bool discarded = !pending_.empty();
    auto quietUntil = discarded ? Clock::now() + std::chrono::milliseconds(quietMs) : Clock::time_point::min();
    pending_.clear();
    for (;;) {
        const auto until = std::min(std::max(notBefore, quietUntil), giveUp);
        if (Clock::now() >= until || Stopped()) break;
        pollfd fds[2] = {{Fd(), POLLIN, 0}, {cancelFd_, POLLIN, 0}};
        const int r = ::poll(fds, 2, MsUntil(until));
        if (r < 0 && errno != EINTR) break;
        if (fds[1].revents & POLLIN) {
            ClearCancel();
            break;
        }
        const pollfd& fd = fds[0];
        if (r <= 0 || !(fd.revents & POLLIN)) {
            if (fd.revents & (POLLHUP | POLLERR)) break;  // nothing more will come
            continue;
        }
        char chunk[256];
        const ssize_t n = line_->Receive(chunk, sizeof chunk);
        if (n > 0) {
            discarded = true;
            quietUntil = Clock::now() + std::chrono::milliseconds(quietMs);
        } else if (errno != EAGAIN && errno != EINTR) {
            break;
        }
    }
    return discarded;
}

void CSerialPort::ClearCancel() {
    std::uint64_t v;
    if (cancelFd_ >= 0) [[maybe_unused]] auto n = ::read(cancelFd_, &v, sizeof v);
}

void CSerialPort::Cancel() {
    if (cancelFd_ >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] auto n = ::write(cancelFd_, &one, sizeof one);
    }
}

std::uint32_t CSerialPort::WriteText(const char* textToSend, std::size_t* count, CommRecord* record,
                                     std::uint32_t timeoutMs) {
    return Write(textToSend, textToSend ? std::strlen(textToSend) : 0, count, record, timeoutMs);
}

std::uint32_t CSerialPort::Write(const void* buffer, std::size_t length, std::size_t* count, CommRecord* record,
                                 std::uint32_t timeoutMs) {
    if (count) *count = 0;
    if (!line_) return SetError(kErrInvalidHandle);
    const auto* bytes = static_cast<const char*>(buffer);
    wroteSinceEmpty_ = true;

    if (record) {
        const ssize_t n = length ? line_->Send(bytes, length) : 0;
        if (n < 0 && errno != EAGAIN && errno != EINTR) return SetError(static_cast<std::uint32_t>(errno));
        record->completed = true;
        record->count = n > 0 ? static_cast<std::size_t>(n) : 0;
        if (count) *count = record->count;
        return SetError(0);
    }

    const bool forever = timeoutMs == kWaitForever;
    const auto deadline = Clock::now() + std::chrono::milliseconds(forever ? 0 : timeoutMs);
    std::size_t done = 0;
    while (done < length) {
        if (Fd() < 0) {
            if (count) *count = done;
            return SetError(ENOTCONN);
        }
        const ssize_t n = line_->Send(bytes + done, length - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            if (count) *count = done;
            return SetError(static_cast<std::uint32_t>(errno));
        }
        pollfd fds[2] = {{Fd(), POLLOUT, 0}, {cancelFd_, POLLIN, 0}};
        const int wait = forever ? -1 : MsUntil(deadline);
        const int r = Stopped() ? 0 : ::poll(fds, 2, wait);
        if (r < 0 && errno != EINTR) return SetError(static_cast<std::uint32_t>(errno));
        const bool cancelled = (fds[1].revents & POLLIN) || Stopped();
        if (cancelled) {
            std::uint64_t v;
            [[maybe_unused]] auto m = ::read(cancelFd_, &v, sizeof v);
        }
        if (cancelled || (r == 0 && !forever)) {
            line_->Flush(false, true);
            if (count) *count = done;
            return SetError(kErrTimeout);
        }
    }
    if (count) *count = done;
    return SetError(0);
}

// Moves what the device has (at most want characters) into pending_.
// Returns 0, EAGAIN when nothing was there, or the failing errno.
std::uint32_t CSerialPort::ReadFromDevice(std::size_t want) {
    char chunk[512];
    const std::size_t limit = std::max(kMinPendingLimit, inQueue_);
    want = std::min({want, sizeof chunk, limit > pending_.size() ? limit - pending_.size() : std::size_t{0}});
    if (want == 0) return 0;
    const ssize_t n = line_->Receive(chunk, want);
    if (n > 0) {
        pending_.insert(pending_.end(), chunk, chunk + n);
        return 0;
    }
    if (errno == EAGAIN || errno == EINTR) return EAGAIN;
    return static_cast<std::uint32_t>(errno);
}

std::uint32_t CSerialPort::Read(void* buffer, std::size_t capacity, std::size_t* count, CommRecord* record,
                                std::uint32_t timeoutMs) {
    if (count) *count = 0;
    if (!line_) {
        Show(text::kDeviceNotOpen);
        return SetError(kErrInvalidHandle);
    }
    auto* out = static_cast<char*>(buffer);
    std::size_t got = 0;

    // Hands pending characters to the caller; true when the read is complete
    // (capacity filled or the LF that ends a frame handed over).
    auto take = [&]() {
        std::size_t i = 0;
        bool frameEnd = false;
        while (i < pending_.size() && got < capacity) {
            const char c = pending_[i++];
            out[got++] = c;
            if (c == '\n' && endAtFrameEnd_ && timeoutMode_ == 0 && out[0] == ':') {
                frameEnd = true;
                break;
            }
        }
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(i));
        return frameEnd || got >= capacity;
    };

    if (record) {
        if (got < capacity) ReadFromDevice(capacity - got);
        take();
        record->completed = true;
        record->count = got;
        if (count) *count = got;
        return SetError(0);
    }

    const auto start = Clock::now();
    const bool forever = timeoutMs == kWaitForever;
    const auto callerDeadline = start + std::chrono::milliseconds(forever ? 0 : timeoutMs);
    const auto totalDeadline = start + std::chrono::milliseconds(readTotalMs_);
    auto lastChar = start;
    bool done = capacity == 0 || take();
    if (got > 0) lastChar = Clock::now();

    while (!done) {
        // The nearest deadline decides how long to wait.
        auto until = Clock::time_point::max();
        if (timeoutMode_ == 0) {
            until = totalDeadline;
            if (got > 0) until = std::min(until, lastChar + std::chrono::milliseconds(readIntervalMs_));
        }
        const bool readTimedOut = timeoutMode_ == 0 && Clock::now() >= until;
        if (readTimedOut) break;
        if (!forever && Clock::now() >= callerDeadline) {
            if (count) *count = got;
            return SetError(kErrTimeout);
        }
        if (!forever) until = std::min(until, callerDeadline);

        if (Stopped()) {
            if (count) *count = got;
            return SetError(kErrTimeout);
        }
        if (Fd() < 0) {
            if (count) *count = got;
            return SetError(ENOTCONN);
        }
        pollfd fds[2] = {{Fd(), POLLIN, 0}, {cancelFd_, POLLIN, 0}};
        const int wait = until == Clock::time_point::max() ? -1 : MsUntil(until);
        const int r = ::poll(fds, 2, wait);
        if (r < 0 && errno != EINTR) {
            const int err = errno;
            if (count) *count = got;
            return SetError(static_cast<std::uint32_t>(err));
        }
        if (fds[1].revents & POLLIN) {
            std::uint64_t v;
            [[maybe_unused]] auto m = ::read(cancelFd_, &v, sizeof v);
            if (count) *count = got;
            return SetError(kErrTimeout);
        }
        if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
            const std::uint32_t err = ReadFromDevice(capacity - got);
            if (err != 0 && err != EAGAIN) {
                // A network port names the server and the reason.
                Show(IsNetwork() ? line_->FailureText().c_str() : text::kCannotRead);
                if (count) *count = got;
                return SetError(err);
            }
            if (err == EAGAIN && (fds[0].revents & (POLLHUP | POLLERR))) {
                // The other end is gone; nothing more will come.
                Show(text::kCannotRead);
                if (count) *count = got;
                return SetError(EIO);
            }
            const std::size_t before = got;
            done = take();
            if (got > before) lastChar = Clock::now();
        }
    }
    if (count) *count = got;
    return SetError(0);
}

std::uint32_t CSerialPort::WaitEvent(CommRecord* record, std::uint32_t timeoutMs) {
    if (!line_) return SetError(kErrInvalidHandle);
    if (commMask_ == 0) return SetError(kErrInvalidArgument);
    eventsSeen_ = 0;

    int linesBefore = 0;
    const bool haveLines = ::ioctl(Fd(), TIOCMGET, &linesBefore) == 0;
    serial_icounter_struct countsBefore {};
    const bool haveCounts = ::ioctl(Fd(), TIOCGICOUNT, &countsBefore) == 0;

    auto check = [&]() -> std::uint32_t {
        std::uint32_t seen = 0;
        if (commMask_ & (kEvRxChar | kEvRxFlag)) ReadFromDevice(kMinPendingLimit);
        if ((commMask_ & kEvRxChar) && !pending_.empty()) seen |= kEvRxChar;
        if ((commMask_ & kEvRxFlag) && std::find(pending_.begin(), pending_.end(), eventChar_) != pending_.end())
            seen |= kEvRxFlag;
        if ((commMask_ & kEvTxEmpty) && wroteSinceEmpty_) {
            int queued = 0;
            if (::ioctl(Fd(), TIOCOUTQ, &queued) == 0 && queued == 0) {
                seen |= kEvTxEmpty;
                wroteSinceEmpty_ = false;
            }
        }
        int lines = 0;
        if (haveLines && ::ioctl(Fd(), TIOCMGET, &lines) == 0) {
            const int changed = lines ^ linesBefore;
            if ((commMask_ & kEvCts) && (changed & TIOCM_CTS)) seen |= kEvCts;
            if ((commMask_ & kEvDsr) && (changed & TIOCM_DSR)) seen |= kEvDsr;
            if ((commMask_ & kEvRlsd) && (changed & TIOCM_CD)) seen |= kEvRlsd;
            if ((commMask_ & kEvRing) && (changed & TIOCM_RI)) seen |= kEvRing;
        }
        serial_icounter_struct counts {};
        if (haveCounts && ::ioctl(Fd(), TIOCGICOUNT, &counts) == 0) {
            if ((commMask_ & kEvBreak) && counts.brk != countsBefore.brk) seen |= kEvBreak;
            if ((commMask_ & kEvErr) && (counts.frame != countsBefore.frame || counts.overrun != countsBefore.overrun ||
                                         counts.parity != countsBefore.parity || counts.buf_overrun != countsBefore.buf_overrun))
                seen |= kEvErr;
        }
        return seen;
    };

    if (record) {
        eventsSeen_ = check();
        record->completed = eventsSeen_ != 0;
        record->count = 0;
        return SetError(0);
    }

    const bool forever = timeoutMs == kWaitForever;
    const auto deadline = Clock::now() + std::chrono::milliseconds(forever ? 0 : timeoutMs);
    for (;;) {
        eventsSeen_ = check();
        if (eventsSeen_ != 0) return SetError(0);
        if ((!forever && Clock::now() >= deadline) || Stopped()) return SetError(kErrTimeout);
        int wait = kEventSliceMs;
        if (!forever) wait = std::min(wait, MsUntil(deadline));
        // Watch for input only while it can still be taken in; otherwise sample by time.
        const bool watchInput = (commMask_ & (kEvRxChar | kEvRxFlag)) && pending_.size() < std::max(kMinPendingLimit, inQueue_);
        pollfd fds[2] = {{Fd(), static_cast<short>(watchInput ? POLLIN : 0), 0}, {cancelFd_, POLLIN, 0}};
        if (::poll(fds, 2, wait) < 0 && errno != EINTR) return SetError(static_cast<std::uint32_t>(errno));
        if (fds[1].revents & POLLIN) {
            std::uint64_t v;
            [[maybe_unused]] auto m = ::read(cancelFd_, &v, sizeof v);
            return SetError(kErrTimeout);
        }
        if (fds[0].revents & (POLLHUP | POLLERR)) {
            // Nothing can arrive on a hung-up line; don't spin on it.
            ::usleep(kEventSliceMs * 1000);
        }
    }
}

}  // namespace kolt
