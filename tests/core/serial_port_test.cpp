// CSerialPort on a pseudo-terminal: open/close rules, line settings, error codes,
// messages, and where a read ends.
#include "fake_prompts.h"
#include "link/serial_port.h"
#include "serial_test_line.h"

#include <gtest/gtest.h>

#include <termios.h>

#include <array>
#include <cerrno>
#include <thread>
#include <tuple>

using namespace kolt;
using kolt::testing::FakePrompts;
using kolt::testing::TestLine;
using Texts = std::vector<std::string>;

namespace {

std::string ReadText(CSerialPort& port, std::size_t capacity, std::uint32_t* error = nullptr) {
    char buf[128] = {};
    std::size_t count = 0;
    const std::uint32_t e = port.Read(buf, capacity, &count, nullptr, kWaitForever);
    if (error) *error = e;
    return std::string(buf, count);
}

class SerialLine : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(port.Open(line.SlavePath(), 2048, 2048), 0u); }
    TestLine line;
    FakePrompts prompts;
    CSerialPort port{&prompts};
};

}  // namespace

TEST_F(SerialLine, OpenRules) {
    // A second Open fails with 1247 and leaves the first one working, silently.
    EXPECT_EQ(port.Open(line.SlavePath(), 2048, 2048), 1247u);
    std::size_t written = 0;
    EXPECT_EQ(port.Write("ab", 2, &written, nullptr, kWaitForever), 0u);
    EXPECT_EQ(line.Receive(), "ab");
    // The device is held exclusively until it is closed.
    CSerialPort other;
    EXPECT_EQ(other.Open(line.SlavePath(), 2048, 2048), static_cast<std::uint32_t>(EBUSY));
    EXPECT_NE(OpenFailureHint(other.LastError(), line.SlavePath()).find("in use"), std::string::npos);
    EXPECT_EQ(port.Close(), 0u);
    EXPECT_EQ(other.Open(line.SlavePath(), 2048, 2048), 0u);
    // A missing device fails silently.
    EXPECT_EQ(port.Open("/dev/kolt-no-such-port", 2048, 2048), static_cast<std::uint32_t>(ENOENT));
    EXPECT_TRUE(prompts.shown.empty());
    // What is no terminal cannot be set up, and says so.
    EXPECT_EQ(port.Open("/dev/null", 2048, 2048), static_cast<std::uint32_t>(ENOTTY));
    EXPECT_EQ(std::make_tuple(port.IsOpen(), prompts.Texts()), std::make_tuple(false, Texts{"unable to setup the COM-port!"}));
}

TEST(SerialPort, ClosedPortOperations) {
    FakePrompts prompts;
    CSerialPort port(&prompts);
    EXPECT_EQ(port.Close(), 0u);
    EXPECT_EQ(prompts.Texts(), Texts{"method called when device is not open!"});
    // Settings, waits and writes fail quietly; a read complains.
    EXPECT_EQ(port.Setup(38400, 8, 0, 0), kErrInvalidHandle);
    EXPECT_EQ(port.WaitEvent(nullptr, 10), kErrInvalidHandle);
    std::size_t count = 99;
    EXPECT_EQ(port.Write("x", 1, &count, nullptr, kWaitForever), kErrInvalidHandle);
    EXPECT_EQ(ReadText(port, 10), "");
    EXPECT_EQ(std::make_tuple(count, port.LastError(), prompts.Texts()),
              std::make_tuple(0u, kErrInvalidHandle, Texts{"method called when device is not open!", "Device is not opened!"}));
}

TEST_F(SerialLine, LineSettings) {
    EXPECT_EQ(port.Setup(4800, 7, 2, 2), 0u);
    EXPECT_EQ(port.GetDataBits(), 8);  // a pseudo-terminal always carries 8 bits
    EXPECT_EQ(port.Setup(19200, 8, 0, 1), static_cast<std::uint32_t>(EINVAL));  // refused: changes nothing
    EXPECT_EQ(std::make_tuple(port.GetBaudRate(), port.GetStopBits()), std::make_tuple(4800, 2));
    EXPECT_EQ(port.Setup(38400, 8, 0, 0), 0u);
    EXPECT_EQ(port.GetParity(), 0);  // and says so
    EXPECT_EQ(prompts.Texts(), Texts{"no parity"});
}

// A pseudo-terminal drops parity and data bits, so the termios flags are pinned
// apart from any line: every baud rate, data-bit count, parity and stop-bit code offered.
TEST(SerialPort, LineSettingsAsTermiosFlags) {
    const std::pair<int, speed_t> bauds[] = {{4800, B4800}, {9600, B9600}, {19200, B19200}, {38400, B38400}};
    const std::pair<int, tcflag_t> sizes[] = {{7, CS7}, {8, CS8}};
    const std::pair<int, tcflag_t> parities[] = {{0, 0}, {1, PARENB | PARODD}, {2, PARENB}};  // none, odd, even
    const std::pair<int, tcflag_t> stops[] = {{0, 0}, {2, CSTOPB}};                      // one, two
    constexpr tcflag_t kDecided = CSIZE | PARENB | PARODD | CSTOPB;
    for (const tcflag_t start : {tcflag_t{0}, ~tcflag_t{0}})
        for (const auto& [baud, speed] : bauds)
            for (const auto& [bits, size] : sizes)
                for (const auto& [parity, pflags] : parities)
                    for (const auto& [stop, sflags] : stops) {
                        termios tio{};
                        tio.c_cflag = tio.c_iflag = start;
                        ASSERT_TRUE(ApplyLineSettings(tio, baud, bits, parity, stop));
                        const std::string at = std::to_string(baud) + " " + std::to_string(bits) + " " +
                                               std::to_string(parity) + " " + std::to_string(stop);
                        EXPECT_EQ(std::make_tuple(cfgetospeed(&tio), cfgetispeed(&tio)), std::make_tuple(speed, speed)) << at;
                        EXPECT_EQ(tio.c_cflag & kDecided, size | pflags | sflags) << at;
                        EXPECT_EQ(tio.c_iflag & INPCK, parity == 0 ? 0u : INPCK) << at;
                        EXPECT_EQ(tio.c_cflag & CLOCAL, start & CLOCAL) << at;  // the rest stays
                    }
    // Settings termios cannot carry leave the flags alone.
    for (const auto& s : std::vector<std::array<int, 4>>{{12345, 8, 0, 0}, {19200, 9, 0, 0}, {19200, 8, 3, 0}, {19200, 8, 0, 1}}) {
        termios tio{};
        tio.c_cflag = CS8 | CLOCAL;
        EXPECT_FALSE(ApplyLineSettings(tio, s[0], s[1], s[2], s[3])) << s[0] << " " << s[1] << " " << s[2] << " " << s[3];
        EXPECT_EQ(tio.c_cflag, tcflag_t{CS8 | CLOCAL});
    }
}

TEST_F(SerialLine, WhereAReadEnds) {
    // Early on the LF of a frame; what follows waits for the next read, which ends by the gap.
    line.Send(":0103020005F5\r\n:01");
    EXPECT_EQ(ReadText(port, 80), ":0103020005F5\r\n");
    EXPECT_EQ(ReadText(port, 80), ":01");
    line.Send("xy\nz");  // no frame: its LF does not end the read
    EXPECT_EQ(ReadText(port, 80), "xy\nz");
    line.Send("abcdefghijklmnopqrstu");
    EXPECT_EQ(ReadText(port, 17), "abcdefghijklmnopq");
    EXPECT_EQ(ReadText(port, 17), "rstu");
    std::thread far([&] {  // a pause shorter than the gap does not end it
        line.Send(":0103");
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        line.Send("020005F5\r\n");
    });
    EXPECT_EQ(ReadText(port, 80), ":0103020005F5\r\n");
    far.join();
    port.SetEndReadAtFrameEnd(false);
    line.Send(":0103020005F5\r\nXY");
    EXPECT_EQ(ReadText(port, 80), ":0103020005F5\r\nXY");
}

TEST(SerialPort, FarEndGoneIsAReadFailure) {
    FakePrompts prompts;
    CSerialPort port(&prompts);
    {
        TestLine line;
        ASSERT_EQ(port.Open(line.SlavePath(), 2048, 2048), 0u);
    }  // both ends of the line closed behind the port
    std::uint32_t error = 0;
    EXPECT_EQ(ReadText(port, 80, &error), "");
    EXPECT_EQ(std::make_tuple(error, prompts.Texts()), std::make_tuple(static_cast<std::uint32_t>(EIO), Texts{"Unable to read the data!"}));
}

TEST(SerialPortNames, PermissionHintNamesTheDialoutGroup) {
    EXPECT_NE(OpenFailureHint(EACCES, "/dev/ttyUSB0").find("dialout"), std::string::npos);
}
