// CSerialPort on a pseudo-terminal: open/close rules, line settings, error codes,
// messages, and where a read ends.
#include "app/texts.h"
#include "fake_prompts.h"
#include "link/serial_port.h"
#include "serial_test_line.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <thread>

using namespace kolt;
using kolt::testing::FakePrompts;
using kolt::testing::TestLine;

namespace {

std::string ReadText(CSerialPort& port, std::size_t capacity, std::uint32_t* error = nullptr) {
    char buf[128] = {};
    std::size_t count = 0;
    const std::uint32_t e = port.Read(buf, capacity, &count, nullptr, kWaitForever);
    if (error) *error = e;
    return std::string(buf, count);
}

}  // namespace

TEST(SerialPort, OpenTwiceKeepsTheFirstPort) {
    TestLine line;
    ASSERT_TRUE(line.Ok());
    FakePrompts prompts;
    CSerialPort port(&prompts);
    ASSERT_EQ(port.Open(line.SlavePath(), 2048, 2048), 0u);
    EXPECT_EQ(port.Open(line.SlavePath(), 2048, 2048), kErrAlreadyInitialized);
    EXPECT_EQ(port.LastError(), 1247u);
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(port.InQueueSize(), 2048u);
    // Still usable: a write reaches the line.
    std::size_t written = 0;
    EXPECT_EQ(port.Write("ab", 2, &written, nullptr, kWaitForever), 0u);
    EXPECT_EQ(written, 2u);
    EXPECT_EQ(line.Receive(), "ab");
    EXPECT_EQ(port.Close(), 0u);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST(SerialPort, MissingDeviceFailsSilentlyAndLeavesThePortUsable) {
    TestLine line;
    FakePrompts prompts;
    CSerialPort port(&prompts);
    EXPECT_EQ(port.Open("/dev/kolt-no-such-port", 2048, 2048), static_cast<std::uint32_t>(ENOENT));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_NE(OpenFailureHint(port.LastError(), port.DevicePath()).find("/dev/kolt-no-such-port"), std::string::npos);
    EXPECT_EQ(port.Open(line.SlavePath(), 2048, 2048), 0u);
    port.Close();
}

TEST(SerialPort, SecondOwnerOfADeviceIsRefused) {
    TestLine line;
    CSerialPort first, second;
    ASSERT_EQ(first.Open(line.SlavePath(), 2048, 2048), 0u);
    EXPECT_EQ(second.Open(line.SlavePath(), 2048, 2048), static_cast<std::uint32_t>(EBUSY));
    EXPECT_FALSE(second.IsOpen());
    EXPECT_NE(OpenFailureHint(second.LastError(), line.SlavePath()).find("in use"), std::string::npos);
    first.Close();
    EXPECT_EQ(second.Open(line.SlavePath(), 2048, 2048), 0u);
    second.Close();
}

TEST(SerialPort, NoTerminalCannotBeSetUp) {
    FakePrompts prompts;
    CSerialPort port(&prompts);
    EXPECT_EQ(port.Open("/dev/null", 2048, 2048), static_cast<std::uint32_t>(ENOTTY));
    EXPECT_FALSE(port.IsOpen());
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "unable to setup the COM-port!");
}

TEST(SerialPort, ClosedPortOperations) {
    FakePrompts prompts;
    CSerialPort port(&prompts);
    EXPECT_EQ(port.Close(), 0u);
    ASSERT_EQ(prompts.Texts(), std::vector<std::string>{"method called when device is not open!"});
    EXPECT_EQ(port.LastError(), 0u);
    prompts.shown.clear();

    EXPECT_EQ(port.Setup(38400, 8, 0, 0), kErrInvalidHandle);
    EXPECT_EQ(port.SetHandshaking(2), kErrInvalidHandle);
    EXPECT_EQ(port.SetReadTimeouts(0), kErrInvalidHandle);
    EXPECT_EQ(port.SetMask(kEvRxChar), kErrInvalidHandle);
    EXPECT_EQ(port.WaitEvent(nullptr, 10), kErrInvalidHandle);
    EXPECT_EQ(port.GetBaudRate(), -1);
    EXPECT_EQ(port.GetParity(), -1);
    EXPECT_EQ(port.GetHandshaking(), -1);
    EXPECT_EQ(port.GetEventMask(), 0u);
    EXPECT_EQ(port.LastError(), kErrInvalidHandle);
    std::size_t count = 99;
    EXPECT_EQ(port.Write("x", 1, &count, nullptr, kWaitForever), kErrInvalidHandle);
    EXPECT_EQ(count, 0u);
    EXPECT_TRUE(prompts.shown.empty());  // queries and writes on a closed port say nothing

    EXPECT_EQ(ReadText(port, 10), "");
    EXPECT_EQ(port.LastError(), kErrInvalidHandle);
    EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"Device is not opened!"});
}

TEST(SerialPort, LineSettingsRoundTrip) {
    TestLine line;
    FakePrompts prompts;
    CSerialPort port(&prompts);
    ASSERT_EQ(port.Open(line.SlavePath(), 2048, 2048), 0u);
    EXPECT_EQ(port.GetHandshaking(), kHandshakeHardware);
    EXPECT_EQ(port.GetEventMask(), kOpenEventMask);
    EXPECT_EQ(port.ReadTimeoutMode(), 0);

    // A pseudo-terminal always carries 8 bits without parity; baud and stop bits stick.
    EXPECT_EQ(port.Setup(9600, 7, kParityEven, kStopTwo), 0u);
    EXPECT_EQ(port.GetBaudRate(), 9600);
    EXPECT_EQ(port.GetStopBits(), kStopTwo);
    EXPECT_EQ(port.Setup(4800, 8, kParityOdd, kStopOne), 0u);
    EXPECT_EQ(port.GetBaudRate(), 4800);
    EXPECT_EQ(port.GetDataBits(), 8);
    EXPECT_EQ(port.GetStopBits(), kStopOne);
    EXPECT_TRUE(prompts.shown.empty());

    // Refused settings change nothing.
    EXPECT_EQ(port.Setup(12345, 8, 0, 0), static_cast<std::uint32_t>(EINVAL));
    EXPECT_EQ(port.Setup(19200, 9, 0, 0), static_cast<std::uint32_t>(EINVAL));
    EXPECT_EQ(port.Setup(19200, 8, 3, 0), static_cast<std::uint32_t>(EINVAL));
    EXPECT_EQ(port.Setup(19200, 8, 0, 1), static_cast<std::uint32_t>(EINVAL));
    EXPECT_EQ(port.GetBaudRate(), 4800);

    EXPECT_EQ(port.Setup(38400, 8, kParityNone, kStopOne), 0u);
    EXPECT_EQ(port.GetParity(), 0);
    EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"no parity"});

    EXPECT_EQ(port.SetHandshaking(kHandshakeXonXoff), 0u);
    EXPECT_EQ(port.GetHandshaking(), kHandshakeXonXoff);
    EXPECT_EQ(port.SetHandshaking(kHandshakeNone), 0u);
    EXPECT_EQ(port.GetHandshaking(), kHandshakeNone);
    EXPECT_EQ(port.SetHandshaking(3), kErrInvalidArgument);
    EXPECT_EQ(port.GetHandshaking(), kHandshakeNone);

    EXPECT_EQ(port.SetReadTimeouts(2), 0x80070057u);
    EXPECT_EQ(port.ReadTimeoutMode(), 0);

    EXPECT_EQ(port.SetEventChar('\n', true), 0u);
    EXPECT_EQ(port.GetEventChar(), '\n');
    EXPECT_EQ(port.GetEventMask(), kOpenEventMask | kEvRxFlag);
    port.Close();
}

TEST(SerialPort, ReadEndsAtTheFrameEndAndKeepsWhatFollows) {
    TestLine line;
    CSerialPort port;
    ASSERT_EQ(port.Open(line.SlavePath(), 2048, 2048), 0u);
    line.Send(":0103020005F5\r\n:01");
    EXPECT_EQ(ReadText(port, 80), ":0103020005F5\r\n");
    // The characters after the LF wait for the next read, which ends by the gap.
    EXPECT_EQ(ReadText(port, 80), ":01");
    // A silent line gives nothing, and no error.
    std::uint32_t error = 1;
    EXPECT_EQ(ReadText(port, 80, &error), "");
    EXPECT_EQ(error, 0u);
    // Text that does not begin with ':' is no frame: the LF does not end the read.
    line.Send("xy\nz");
    EXPECT_EQ(ReadText(port, 80), "xy\nz");
    port.Close();
}

TEST(SerialPort, ReadStopsAtCapacityAndCanIgnoreFrameEnds) {
    TestLine line;
    CSerialPort port;
    ASSERT_EQ(port.Open(line.SlavePath(), 2048, 2048), 0u);
    line.Send("abcdefghijklmnopqrstu");
    EXPECT_EQ(ReadText(port, 17), "abcdefghijklmnopq");
    EXPECT_EQ(ReadText(port, 17), "rstu");
    port.SetEndReadAtFrameEnd(false);
    line.Send(":0103020005F5\r\nXY");
    EXPECT_EQ(ReadText(port, 80), ":0103020005F5\r\nXY");
    port.Close();
}

TEST(SerialPort, ReadAcrossPausesShorterThanTheGap) {
    TestLine line;
    CSerialPort port;
    ASSERT_EQ(port.Open(line.SlavePath(), 2048, 2048), 0u);
    std::thread far([&] {
        line.Send(":0103");
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        line.Send("020005F5\r\n");
    });
    EXPECT_EQ(ReadText(port, 80), ":0103020005F5\r\n");
    far.join();
    port.Close();
}

TEST(SerialPort, CancelEndsAWaitWithoutTimeLimit) {
    TestLine line;
    CSerialPort port;
    ASSERT_EQ(port.Open(line.SlavePath(), 2048, 2048), 0u);
    ASSERT_EQ(port.SetReadTimeouts(1), 0u);  // no read time-outs: only the cancel ends it
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        port.Cancel();
    });
    std::uint32_t error = 0;
    EXPECT_EQ(ReadText(port, 80, &error), "");
    EXPECT_EQ(error, kErrTimeout);
    canceller.join();
    port.Close();
}

TEST(SerialPort, CallerTimeLimitEndsARead) {
    TestLine line;
    CSerialPort port;
    ASSERT_EQ(port.Open(line.SlavePath(), 2048, 2048), 0u);
    ASSERT_EQ(port.SetReadTimeouts(1), 0u);
    line.Send("abc");
    char buf[16];
    std::size_t count = 0;
    EXPECT_EQ(port.Read(buf, sizeof buf, &count, nullptr, 30), kErrTimeout);
    EXPECT_EQ(std::string(buf, count), "abc");  // what came is handed over, not lost
    port.Close();
}

TEST(SerialPort, EventWaitSeesCharactersWithoutTakingThem) {
    TestLine line;
    CSerialPort port;
    ASSERT_EQ(port.Open(line.SlavePath(), 2048, 2048), 0u);
    EXPECT_EQ(port.EventsSeen(), 0xFFFFFFFFu);
    EXPECT_EQ(port.WaitEvent(nullptr, 20), kErrTimeout);
    line.Send("Q");
    EXPECT_EQ(port.WaitEvent(nullptr, 500), 0u);
    EXPECT_EQ(port.EventsSeen() & kEvRxChar, kEvRxChar);
    EXPECT_EQ(ReadText(port, 1), "Q");

    ASSERT_EQ(port.SetMask(kEvRxFlag), 0u);
    ASSERT_EQ(port.SetEventChar('\n', false), 0u);
    line.Send("ab");
    EXPECT_EQ(port.WaitEvent(nullptr, 30), kErrTimeout);
    line.Send("\n");
    EXPECT_EQ(port.WaitEvent(nullptr, 500), 0u);
    EXPECT_EQ(port.EventsSeen(), kEvRxFlag);
    EXPECT_EQ(ReadText(port, 80), "ab\n");

    ASSERT_EQ(port.SetMask(0), 0u);
    EXPECT_EQ(port.WaitEvent(nullptr, 10), kErrInvalidArgument);
    port.Close();
}

TEST(SerialPort, CallerRecordsDoNotWait) {
    TestLine line;
    CSerialPort port;
    ASSERT_EQ(port.Open(line.SlavePath(), 2048, 2048), 0u);
    CommRecord record;
    std::size_t count = 0;
    EXPECT_EQ(port.WriteText("hello", &count, &record, kWaitForever), 0u);
    EXPECT_TRUE(record.completed);
    EXPECT_EQ(record.count, 5u);
    EXPECT_EQ(line.Receive(), "hello");

    CommRecord readRecord;
    char buf[8];
    EXPECT_EQ(port.Read(buf, sizeof buf, &count, &readRecord, kWaitForever), 0u);
    EXPECT_TRUE(readRecord.completed);
    EXPECT_EQ(readRecord.count, 0u);
    port.Close();
}

TEST(SerialPortNames, ComNamesResolve) {
    ::setenv("KOLT_COM7", "/tmp/kolt-test-device", 1);
    EXPECT_EQ(ResolveComPort(7), "/tmp/kolt-test-device");
    EXPECT_EQ(ResolvePortName("COM7"), "/tmp/kolt-test-device");
    EXPECT_EQ(ResolvePortName("com7"), "/tmp/kolt-test-device");
    ::unsetenv("KOLT_COM7");
    const std::string dev = ResolveComPort(7);
    EXPECT_TRUE(dev == "/dev/ttyUSB6" || dev == "/dev/ttyACM6" || dev == "/dev/ttyS6") << dev;
    EXPECT_EQ(ResolvePortName("/dev/pts/3"), "/dev/pts/3");
    EXPECT_EQ(ResolvePortName("COM"), "COM");
    EXPECT_EQ(ResolvePortName("COMX"), "COMX");
    EXPECT_EQ(ResolvePortName("COM0"), "COM0");
}

TEST(SerialPortNames, PermissionHintNamesTheDialoutGroup) {
    const std::string hint = OpenFailureHint(EACCES, "/dev/ttyUSB0");
    EXPECT_NE(hint.find("/dev/ttyUSB0"), std::string::npos);
    EXPECT_NE(hint.find("dialout"), std::string::npos);
    EXPECT_NE(OpenFailureHint(EPERM, "/dev/ttyS0").find("dialout"), std::string::npos);
    EXPECT_EQ(OpenFailureHint(0, "/dev/ttyS0"), "");
    EXPECT_EQ(OpenFailureHint(EIO, "/dev/ttyS0"), "");
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
    EXPECT_EQ(error, static_cast<std::uint32_t>(EIO));
    EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"Unable to read the data!"});
    EXPECT_EQ(port.Close(), 0u);
}

TEST(SerialPort, EventWaitForOtherEventsLeavesInputAlone) {
    TestLine line;
    CSerialPort port;
    ASSERT_EQ(port.Open(line.SlavePath(), 2048, 2048), 0u);
    ASSERT_EQ(port.SetMask(kEvCts | kEvDsr), 0u);  // a pseudo-terminal has no modem lines
    line.Send(":0103020005F5\r\n");
    EXPECT_EQ(port.WaitEvent(nullptr, 40), kErrTimeout);
    EXPECT_EQ(port.EventsSeen(), 0u);
    EXPECT_EQ(ReadText(port, 80), ":0103020005F5\r\n");
    port.Close();
}
