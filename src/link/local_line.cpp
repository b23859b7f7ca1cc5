#include "link/local_line.h"

#include "base/texts.h"
#include "link/serial_port.h"

#include <cerrno>
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace kolt {
namespace {

// Devices without modem control lines (a pseudo-terminal) refuse these requests;
// that is no failure of the port.
bool NoModemLines(int err) { return err == ENOTTY || err == EINVAL || err == ENOSYS || err == EIO; }

}  // namespace

CLocalLine::~CLocalLine() { Close(); }

std::uint32_t CLocalLine::Open(const std::string& name, int /*cancelFd*/) {
    failure_.clear();
    device_ = ResolvePortName(name);
    const int fd = ::open(device_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return static_cast<std::uint32_t>(errno);
    // No sharing: the lock keeps out other programs of ours (root included), TIOCEXCL
    // keeps out every other program of an ordinary user.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        return static_cast<std::uint32_t>(err);
    }
    ::ioctl(fd, TIOCEXCL);
    fd_ = fd;

    // What can fail here is making the device a raw serial line, e.g. when it is
    // no terminal at all.
    termios tio {};
    if (::tcgetattr(fd_, &tio) == 0) {
        ::cfmakeraw(&tio);
        tio.c_cflag |= CLOCAL | CREAD;
        tio.c_cc[VMIN] = 0;
        tio.c_cc[VTIME] = 0;
        if (::tcsetattr(fd_, TCSANOW, &tio) == 0) {
            ::tcflush(fd_, TCIOFLUSH);
            return 0;
        }
    }
    const int err = errno;
    failure_ = text::kCannotSetupPort;
    Close();
    return static_cast<std::uint32_t>(err);
}

void CLocalLine::Close() {
    if (fd_ < 0) return;
    ::ioctl(fd_, TIOCNXCL);  // a pseudo-terminal keeps the flag past our close otherwise
    ::close(fd_);
    fd_ = -1;
}

ssize_t CLocalLine::Receive(char* buffer, std::size_t capacity) {
    const ssize_t n = ::read(fd_, buffer, capacity);
    if (n == 0) errno = EAGAIN;  // a hung-up terminal: the poll's POLLHUP tells
    return n == 0 ? -1 : n;
}

ssize_t CLocalLine::Send(const char* bytes, std::size_t length) { return ::write(fd_, bytes, length); }

bool CLocalLine::GetAttributes(termios& tio) { return ::tcgetattr(fd_, &tio) == 0; }
bool CLocalLine::SetAttributes(const termios& tio) { return ::tcsetattr(fd_, TCSANOW, &tio) == 0; }

bool CLocalLine::SetModemLines(bool raise) {
    int lines = TIOCM_DTR | TIOCM_RTS;
    return ::ioctl(fd_, raise ? TIOCMBIS : TIOCMBIC, &lines) == 0 || NoModemLines(errno);
}

bool CLocalLine::Flush(bool input, bool output) {
    const int what = input && output ? TCIOFLUSH : input ? TCIFLUSH : output ? TCOFLUSH : -1;
    return what < 0 || ::tcflush(fd_, what) == 0;
}

bool CLocalLine::SetRs485(bool on) {
    serial_rs485 rs {};
    if (on) rs.flags = SER_RS485_ENABLED | SER_RS485_RTS_ON_SEND;
    return ::ioctl(fd_, TIOCSRS485, &rs) == 0;
}

}  // namespace kolt
