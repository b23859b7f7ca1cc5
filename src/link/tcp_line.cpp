#include "link/tcp_line.h"

#include "base/texts.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace kolt {
namespace {

std::string Fill(const char* pattern, const std::string& a, const std::string& b) {
    std::string s = pattern;
    if (auto at = s.find("%s"); at != std::string::npos) s.replace(at, 2, a);
    if (auto at = s.find("%s"); at != std::string::npos) s.replace(at, 2, b);
    return s;
}

void SetFlag(int fd, int level, int option) {
    const int one = 1;
    ::setsockopt(fd, level, option, &one, sizeof one);
}

// Connects fd to addr within the time left; 0 or errno.
int ConnectWithin(int fd, const addrinfo* ai, int cancelFd, std::chrono::steady_clock::time_point deadline) {
    if (::connect(fd, ai->ai_addr, ai->ai_addrlen) == 0) return 0;
    if (errno != EINPROGRESS) return errno;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0) return ETIMEDOUT;
        pollfd fds[2] = {{fd, POLLOUT, 0}, {cancelFd, POLLIN, 0}};
        const int r = ::poll(fds, cancelFd >= 0 ? 2 : 1, static_cast<int>(left));
        if (r < 0 && errno != EINTR) return errno;
        if (cancelFd >= 0 && (fds[1].revents & POLLIN)) return ECANCELED;
        if (r > 0 && fds[0].revents) break;
    }
    int err = 0;
    socklen_t len = sizeof err;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) != 0) return errno;
    return err;
}

}  // namespace

CTcpLine::CTcpLine() {
    // What a drive of this family runs at out of the box, until told otherwise.
    ::cfmakeraw(&tio_);
    tio_.c_cflag |= CLOCAL | CREAD;
    ::cfsetispeed(&tio_, B38400);
    ::cfsetospeed(&tio_, B38400);
}

CTcpLine::~CTcpLine() { Close(); }

std::uint32_t CTcpLine::Open(const std::string& name, int cancelFd) {
    failure_.clear();
    dropped_ = false;
    cancelFd_ = cancelFd;
    const auto parsed = ParseNetworkPort(name);
    if (!parsed) {
        where_ = name;
        failure_ = Fill(text::kNetCannotConnect, name, std::strerror(EINVAL));
        return EINVAL;
    }
    const std::string port = std::to_string(parsed->port);
    where_ = parsed->host + ":" + port;
    std::string host = parsed->host;  // without the brackets of an IPv6 address
    if (host.front() == '[') host = host.substr(1, host.size() - 2);

    addrinfo hints {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (const int rc = ::getaddrinfo(host.c_str(), port.c_str(), &hints, &found); rc != 0) {
        failure_ = Fill(text::kNetCannotConnect, where_, ::gai_strerror(rc));
        return rc == EAI_SYSTEM ? static_cast<std::uint32_t>(errno) : EHOSTUNREACH;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kConnectTimeoutMs);
    int err = EHOSTUNREACH;
    for (const addrinfo* ai = found; ai; ai = ai->ai_next) {
        const int fd = ::socket(ai->ai_family, ai->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, ai->ai_protocol);
        if (fd < 0) {
            err = errno;
            continue;
        }
        err = ConnectWithin(fd, ai, cancelFd, deadline);
        if (err == 0) {
            fd_ = fd;
            break;
        }
        ::close(fd);
        if (err == ECANCELED || err == ETIMEDOUT) break;
    }
    ::freeaddrinfo(found);
    if (fd_ < 0) {
        failure_ = Fill(text::kNetCannotConnect, where_, std::strerror(err));
        return static_cast<std::uint32_t>(err);
    }
    // Frames are small: send each at once, and acknowledge what comes at once, or
    // the server's Nagle meets our delayed acknowledgement on every reply.
    SetFlag(fd_, IPPROTO_TCP, TCP_NODELAY);
    SetFlag(fd_, IPPROTO_TCP, TCP_QUICKACK);
    SetFlag(fd_, SOL_SOCKET, SO_KEEPALIVE);
    return 0;
}

void CTcpLine::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

void CTcpLine::Lost(int err) {
    dropped_ = true;
    failure_ = Fill(text::kNetConnectionLost, where_, err ? std::strerror(err) : text::kNetClosedByServer);
    errno = ECONNRESET;
}

ssize_t CTcpLine::ReceiveRaw(char* buffer, std::size_t capacity) {
    if (fd_ < 0) {
        errno = ENOTCONN;
        return -1;
    }
    const ssize_t n = ::recv(fd_, buffer, capacity, MSG_DONTWAIT);
    if (n > 0) {
        // The kernel falls back to delayed acknowledgements after a while: ask again.
        SetFlag(fd_, IPPROTO_TCP, TCP_QUICKACK);
        return n;
    }
    if (n == 0) return 0;
    if (errno != EAGAIN && errno != EINTR) {
        Lost(errno);
        return -1;
    }
    errno = EAGAIN;
    return -1;
}

ssize_t CTcpLine::Receive(char* buffer, std::size_t capacity) {
    const ssize_t n = ReceiveRaw(buffer, capacity);
    if (n == 0) {
        Lost(0);
        return -1;
    }
    return n;
}

bool CTcpLine::SendAll(const char* bytes, std::size_t length) {
    std::size_t done = 0;
    while (done < length) {
        if (fd_ < 0) {
            errno = ENOTCONN;
            return false;
        }
        const ssize_t n = ::send(fd_, bytes + done, length - done, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (errno != EAGAIN && errno != EINTR) {
            const int err = errno;
            Lost(err);
            errno = err;
            return false;
        }
        pollfd fds[2] = {{fd_, POLLOUT, 0}, {cancelFd_, POLLIN, 0}};
        if (::poll(fds, cancelFd_ >= 0 ? 2 : 1, kConnectTimeoutMs) <= 0 || (fds[1].revents & POLLIN)) {
            errno = ETIMEDOUT;
            return false;
        }
    }
    return true;
}

ssize_t CTcpLine::Send(const char* bytes, std::size_t length) {
    return SendAll(bytes, length) ? static_cast<ssize_t>(length) : -1;
}

bool CTcpLine::GetAttributes(termios& tio) {
    tio = tio_;
    return true;
}

bool CTcpLine::SetAttributes(const termios& tio) {
    tio_ = tio;
    return true;
}

bool CTcpLine::Flush(bool input, bool) {
    if (!input || fd_ < 0) return true;
    char chunk[512];
    while (::recv(fd_, chunk, sizeof chunk, MSG_DONTWAIT) > 0) {
    }
    return true;
}

bool CTcpLine::Dropped() {
    if (dropped_ || fd_ < 0) return true;
    pollfd fd{fd_, POLLRDHUP, 0};
    if (::poll(&fd, 1, 0) > 0 && (fd.revents & (POLLRDHUP | POLLHUP | POLLERR))) {
        dropped_ = true;
        failure_ = Fill(text::kNetConnectionLost, where_, text::kNetClosedByServer);
    }
    return dropped_;
}

}  // namespace kolt
