// A bare pseudo-terminal for serial-port tests: the test plays the far end on the
// master side, a CSerialPort opens SlavePath().
#pragma once

#include <fcntl.h>
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
        termios tio {};
        ::tcgetattr(slave_, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(slave_, TCSANOW, &tio);
    }
    ~TestLine() {
        if (master_ >= 0) ::close(master_);
        if (slave_ >= 0) ::close(slave_);
    }
    TestLine(const TestLine&) = delete;
    TestLine& operator=(const TestLine&) = delete;

    bool Ok() const { return master_ >= 0; }
    const std::string& SlavePath() const { return path_; }
    // Puts characters on the line towards the port.
    void Send(const std::string& s) const { [[maybe_unused]] auto n = ::write(master_, s.data(), s.size()); }
    // What the port sent, waiting up to timeoutMs for the first character.
    std::string Receive(int timeoutMs = 200) const {
        std::string out;
        char buf[256];
        fd_set set;
        FD_ZERO(&set);
        FD_SET(master_, &set);
        timeval tv{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
        if (::select(master_ + 1, &set, nullptr, nullptr, &tv) <= 0) return out;
        ::usleep(5000);
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n > 0) out.assign(buf, static_cast<std::size_t>(n));
        return out;
    }
    int Master() const { return master_; }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

}  // namespace kolt::testing
