// A bare pseudo-terminal for serial-port tests: the test plays the far end on the
// master side, a CSerialPort opens SlavePath().
#pragma once

#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <string>

namespace kolt::testing {

class TestLine {
public:
    TestLine() {
        char name[256] = {};
        if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0) return;
        path_ = name;
        termios tio{};
        ::tcgetattr(slave_, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(slave_, TCSANOW, &tio);
    }
    ~TestLine() {
        ::close(master_);
        ::close(slave_);
    }
    TestLine(const TestLine&) = delete;
    TestLine& operator=(const TestLine&) = delete;

    const std::string& SlavePath() const { return path_; }
    // Puts characters on the line towards the port.
    void Send(const std::string& s) const { [[maybe_unused]] auto n = ::write(master_, s.data(), s.size()); }
    // What the port sent, waiting up to timeoutMs for the first character.
    std::string Receive(int timeoutMs = 200) const {
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) <= 0) return {};
        ::usleep(5000);
        char buf[256];
        const ssize_t n = ::read(master_, buf, sizeof buf);
        return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
    }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

}  // namespace kolt::testing
