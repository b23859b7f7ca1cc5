#include "link/serial_port.h"

#include "base/prompts.h"
#include "base/texts.h"
#include "link/serial_devices.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace kolt {
namespace {

using Clock = std::chrono::steady_clock;

// The read time-outs of mode 0.
constexpr int kReadIntervalMs = 50;
constexpr int kReadTotalMs = 400;
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

// Devices without modem control lines (a pseudo-terminal) refuse these requests;
// that is no failure of the port.
bool NoModemLines(int err) { return err == ENOTTY || err == EINVAL || err == ENOSYS || err == EIO; }

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
    if (fd_ >= 0) {
        ::ioctl(fd_, TIOCNXCL);
        ::close(fd_);
    }
    if (cancelFd_ >= 0) ::close(cancelFd_);
}

void CSerialPort::Show(const char* message) {
    if (prompts_) prompts_->Message(message, "", Icon::None);
}

std::uint32_t CSerialPort::Open(const std::string& name, std::size_t inQueue, std::size_t outQueue) {
    if (fd_ >= 0) return SetError(kErrAlreadyInitialized);
    devicePath_ = ResolvePortName(name);
    adapterAdvice_.clear();

    const int fd = ::open(devicePath_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return SetError(static_cast<std::uint32_t>(errno));
    // No sharing: the lock keeps out other programs of ours (root included), TIOCEXCL
    // keeps out every other program of an ordinary user.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        return SetError(static_cast<std::uint32_t>(err));
    }
    ::ioctl(fd, TIOCEXCL);

    if (cancelFd_ < 0) {
        const int err = ENOMEM;
        Show(text::kCannotCreateEvent);
        ::ioctl(fd, TIOCNXCL);
        ::close(fd);
        return SetError(static_cast<std::uint32_t>(err));
    }
    ClearCancel();
    fd_ = fd;
    pending_.clear();

    // Queue sizes are recorded only (the driver's buffers are its own); what can fail
    // here is making the device a raw serial line, e.g. when it is no terminal at all.
    inQueue_ = inQueue;
    outQueue_ = outQueue;
    termios tio {};
    if (::tcgetattr(fd_, &tio) != 0) {
        const int err = errno;
        Show(text::kCannotSetupPort);
        Close();
        return SetError(static_cast<std::uint32_t>(err));
    }
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::tcsetattr(fd_, TCSANOW, &tio) != 0) {
        const int err = errno;
        Show(text::kCannotSetupPort);
        Close();
        return SetError(static_cast<std::uint32_t>(err));
    }
    ::tcflush(fd_, TCIOFLUSH);

    SetMask(kOpenEventMask);
    SetReadTimeouts(0);
    const std::uint32_t result = SetHandshaking(kHandshakeHardware);
    // A USB adapter that sits on received bytes for 16 ms costs that on every reply.
    adapterAdvice_ = LowerAdapterLatency(devicePath_, DefaultDeviceRoots().sys);
    if (!adapterAdvice_.empty() && prompts_) prompts_->Notice(adapterAdvice_);
    return result;
}

std::uint32_t CSerialPort::Close() {
    if (fd_ < 0) {
        Show(text::kCloseNotOpen);
        return SetError(0);
    }
    ::ioctl(fd_, TIOCNXCL);  // a pseudo-terminal keeps the flag past our close otherwise
    ::close(fd_);
    fd_ = -1;
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
    if (::tcsetattr(fd_, TCSANOW, &tio) != 0) return SetError(static_cast<std::uint32_t>(errno));
    return SetError(0);
}

std::uint32_t CSerialPort::SetHandshaking(int mode) {
    if (fd_ < 0) return SetError(kErrInvalidHandle);
    if (mode < kHandshakeNone || mode > kHandshakeHardware) return SetError(kErrInvalidArgument);
    termios tio {};
    if (!GetAttributes(tio, false)) return LastError();
    // Output is never gated on CTS: many RS-485 adapters leave CTS open.
    tio.c_cflag &= ~CRTSCTS;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    if (mode == kHandshakeXonXoff) tio.c_iflag |= IXON | IXOFF;
    if (::tcsetattr(fd_, TCSANOW, &tio) != 0) return SetError(static_cast<std::uint32_t>(errno));

    // Mode 2 raises DTR and RTS (they power and steer many adapters); 0 and 1 drop them.
    int lines = TIOCM_DTR | TIOCM_RTS;
    if (::ioctl(fd_, mode == kHandshakeHardware ? TIOCMBIS : TIOCMBIC, &lines) != 0 && !NoModemLines(errno))
        return SetError(static_cast<std::uint32_t>(errno));
    handshake_ = mode;
    return SetError(0);
}

std::uint32_t CSerialPort::SetReadTimeouts(int mode) {
    if (fd_ < 0) return SetError(kErrInvalidHandle);
    if (mode != 0 && mode != 1) return SetError(kErrInvalidArgument);
    timeoutMode_ = mode;
    return SetError(0);
}

std::uint32_t CSerialPort::SetMask(std::uint32_t mask) {
    if (fd_ < 0) return SetError(kErrInvalidHandle);
    commMask_ = mask;
    return SetError(0);
}

std::uint32_t CSerialPort::GetEventMask() {
    if (fd_ < 0) {
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
    if (::tcsetattr(fd_, TCSANOW, &tio) != 0) {
        const int err = errno;
        Show(text::kCannotSetDcb);
        return SetError(static_cast<std::uint32_t>(err));
    }
    return SetError(0);
}

char CSerialPort::GetEventChar() {
    if (fd_ < 0) {
        SetError(kErrInvalidHandle);
        return 0;
    }
    SetError(0);
    return eventChar_;
}

bool CSerialPort::GetAttributes(termios& tio, bool complain) {
    if (fd_ < 0) {
        SetError(kErrInvalidHandle);
        return false;
    }
    if (::tcgetattr(fd_, &tio) != 0) {
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
    const speed_t speed = ::cfgetospeed(&tio);
    for (const auto& e : kSpeeds)
        if (e.speed == speed) return e.baud;
    return -1;
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
    if (fd_ < 0) return SetError(kErrInvalidHandle);
    if (input) pending_.clear();
    const int what = input && output ? TCIOFLUSH : input ? TCIFLUSH : output ? TCOFLUSH : -1;
    if (what >= 0 && ::tcflush(fd_, what) != 0) return SetError(static_cast<std::uint32_t>(errno));
    return SetError(0);
}

bool CSerialPort::DiscardUntilQuiet(Clock::time_point from, int notBeforeMs, int quietMs, int maxMs) {
    if (fd_ < 0) return false;
    const auto notBefore = from + std::chrono::milliseconds(notBeforeMs);
    const auto giveUp = from + std::chrono::milliseconds(maxMs);
    bool discarded = !pending_.empty();
    auto quietUntil = discarded ? Clock::now() + std::chrono::milliseconds(quietMs) : Clock::time_point::min();
    pending_.clear();
    for (;;) {
        const auto until = std::min(std::max(notBefore, quietUntil), giveUp);
        if (Clock::now() >= until || Stopped()) break;
        pollfd fds[2] = {{fd_, POLLIN, 0}, {cancelFd_, POLLIN, 0}};
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
        const ssize_t n = ::read(fd_, chunk, sizeof chunk);
        if (n > 0) {
            discarded = true;
            quietUntil = Clock::now() + std::chrono::milliseconds(quietMs);
        } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
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
    if (fd_ < 0) return SetError(kErrInvalidHandle);
    const auto* bytes = static_cast<const char*>(buffer);
    wroteSinceEmpty_ = true;

    if (record) {
        const ssize_t n = length ? ::write(fd_, bytes, length) : 0;
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
        const ssize_t n = ::write(fd_, bytes + done, length - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            if (count) *count = done;
            return SetError(static_cast<std::uint32_t>(errno));
        }
        pollfd fds[2] = {{fd_, POLLOUT, 0}, {cancelFd_, POLLIN, 0}};
        const int wait = forever ? -1 : MsUntil(deadline);
        const int r = Stopped() ? 0 : ::poll(fds, 2, wait);
        if (r < 0 && errno != EINTR) return SetError(static_cast<std::uint32_t>(errno));
        const bool cancelled = (fds[1].revents & POLLIN) || Stopped();
        if (cancelled) {
            std::uint64_t v;
            [[maybe_unused]] auto m = ::read(cancelFd_, &v, sizeof v);
        }
        if (cancelled || (r == 0 && !forever)) {
            ::tcflush(fd_, TCOFLUSH);
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
    const ssize_t n = ::read(fd_, chunk, want);
    if (n > 0) {
        pending_.insert(pending_.end(), chunk, chunk + n);
        return 0;
    }
    if (n == 0 || errno == EAGAIN || errno == EINTR) return EAGAIN;
    return static_cast<std::uint32_t>(errno);
}

std::uint32_t CSerialPort::Read(void* buffer, std::size_t capacity, std::size_t* count, CommRecord* record,
                                std::uint32_t timeoutMs) {
    if (count) *count = 0;
    if (fd_ < 0) {
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
    const auto totalDeadline = start + std::chrono::milliseconds(kReadTotalMs);
    auto lastChar = start;
    bool done = capacity == 0 || take();
    if (got > 0) lastChar = Clock::now();

    while (!done) {
        // The nearest deadline decides how long to wait.
        auto until = Clock::time_point::max();
        if (timeoutMode_ == 0) {
            until = totalDeadline;
            if (got > 0) until = std::min(until, lastChar + std::chrono::milliseconds(kReadIntervalMs));
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
        pollfd fds[2] = {{fd_, POLLIN, 0}, {cancelFd_, POLLIN, 0}};
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
                Show(text::kCannotRead);
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
    if (fd_ < 0) return SetError(kErrInvalidHandle);
    if (commMask_ == 0) return SetError(kErrInvalidArgument);
    eventsSeen_ = 0;

    int linesBefore = 0;
    const bool haveLines = ::ioctl(fd_, TIOCMGET, &linesBefore) == 0;
    serial_icounter_struct countsBefore {};
    const bool haveCounts = ::ioctl(fd_, TIOCGICOUNT, &countsBefore) == 0;

    auto check = [&]() -> std::uint32_t {
        std::uint32_t seen = 0;
        if (commMask_ & (kEvRxChar | kEvRxFlag)) ReadFromDevice(kMinPendingLimit);
        if ((commMask_ & kEvRxChar) && !pending_.empty()) seen |= kEvRxChar;
        if ((commMask_ & kEvRxFlag) && std::find(pending_.begin(), pending_.end(), eventChar_) != pending_.end())
            seen |= kEvRxFlag;
        if ((commMask_ & kEvTxEmpty) && wroteSinceEmpty_) {
            int queued = 0;
            if (::ioctl(fd_, TIOCOUTQ, &queued) == 0 && queued == 0) {
                seen |= kEvTxEmpty;
                wroteSinceEmpty_ = false;
            }
        }
        int lines = 0;
        if (haveLines && ::ioctl(fd_, TIOCMGET, &lines) == 0) {
            const int changed = lines ^ linesBefore;
            if ((commMask_ & kEvCts) && (changed & TIOCM_CTS)) seen |= kEvCts;
            if ((commMask_ & kEvDsr) && (changed & TIOCM_DSR)) seen |= kEvDsr;
            if ((commMask_ & kEvRlsd) && (changed & TIOCM_CD)) seen |= kEvRlsd;
            if ((commMask_ & kEvRing) && (changed & TIOCM_RI)) seen |= kEvRing;
        }
        serial_icounter_struct counts {};
        if (haveCounts && ::ioctl(fd_, TIOCGICOUNT, &counts) == 0) {
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
        pollfd fds[2] = {{fd_, static_cast<short>(watchInput ? POLLIN : 0), 0}, {cancelFd_, POLLIN, 0}};
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
