// CModbusPort against the virtual drive over a real pseudo-terminal, faults included.
#include "catalogue/models.h"
#include "link/modbus_port.h"
#include "drive-sim/virtual_drive.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <thread>

using namespace kolt;
using namespace kolt::sim;

namespace {

DriveSimOptions Drive(std::vector<int> stations, int baud = 38400) {
    DriveSimOptions o;
    o.stations = std::move(stations);
    o.model = 5;
    o.version = 12;
    o.baud = baud;
    return o;
}

class DriveSimLink : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(drive.Start()) << drive.Error();
        ASSERT_EQ(port.Open(drive.SlavePath(), 2048, 2048), 0u);
        ASSERT_EQ(port.Setup(38400, 8, 0, 0), 0u);
    }
    void TearDown() override { drive.Stop(); }

    VirtualDrive drive{Drive({1, 3})};
    CModbusPort port;
};

}  // namespace

TEST_F(DriveSimLink, WritesLandInTheDriveAndRefusalsAreExceptions) {
    EXPECT_EQ(port.TransactWithRetry(ModbusRequest::WriteParam(3, 28, 4550)), kNormalReply);
    EXPECT_EQ(drive.ParamValue(3, 28), 4550);
    EXPECT_EQ(drive.ParamValue(1, 28), DefaultValue(28, 5, true));  // only the station addressed

    EXPECT_EQ(port.TransactWithRetry(ModbusRequest::WriteReg(1, 0x0300, 1)), kExceptionReply);
    EXPECT_EQ(port.ReplyExceptionText(), "Address Error !");

    // Run the drive through the control registers and watch it in the monitor block.
    ASSERT_EQ(port.TransactWithRetry(ModbusRequest::WriteReg(1, kRegFreqCommand, 2500)), kNormalReply);
    ASSERT_EQ(port.TransactWithRetry(ModbusRequest::WriteReg(1, kRegControlWord, 1)), kNormalReply);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_EQ(port.TransactWithRetry(ModbusRequest::MonitorBlock(1)), kNormalReply);
    std::uint16_t setFreq = 0, outFreq = 0, last = 0;
    ASSERT_TRUE(port.ReplyRegister(0, setFreq) && port.ReplyRegister(1, outFreq) && port.ReplyRegister(8, last));
    EXPECT_EQ(setFreq, 2500);
    EXPECT_TRUE(outFreq > 0 && outFreq < 2500) << outFreq;  // ramping
}

TEST_F(DriveSimLink, GarbageOnTheLineAndSlowRepliesDoNotUpsetTheLink) {
    // Written straight to the device, as another talker on the bus would.
    const int fd = ::open(drive.SlavePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    std::string noise = ":::\r\n:0108\r\n:ZZ\r\n";
    for (int i = 0; i < 1000; ++i) noise.push_back(static_cast<char>((i * 37) & 0xFF));
    noise += std::string(800, 'A') + "\r\n";
    ASSERT_EQ(::write(fd, noise.data(), noise.size()), static_cast<ssize_t>(noise.size()));
    ::close(fd);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_GT(drive.FramesRejected(), 0);
    EXPECT_EQ(port.TransactWithRetry(ModbusRequest::Echo(1)), kNormalReply);

    drive.SetDelayMs(100);  // slow, but well inside the read's 400 ms
    EXPECT_EQ(port.Transact(ModbusRequest::Echo(1)), kNormalReply);
}

TEST(DriveSimLine, WithTheBaudCheckOnlyTheDrivesRateIsHeard) {
    DriveSimOptions o = Drive({1}, 19200);
    o.checkBaud = true;
    VirtualDrive drive(o);
    ASSERT_TRUE(drive.Start()) << drive.Error();
    CModbusPort port;
    ASSERT_EQ(port.Open(drive.SlavePath(), 2048, 2048), 0u);
    ASSERT_EQ(port.Setup(38400, 8, 0, 0), 0u);
    EXPECT_EQ(port.Transact(ModbusRequest::Echo(1)), kNoReply);
    EXPECT_EQ(drive.RequestsForUs(), 0);
    ASSERT_EQ(port.Setup(19200, 8, 0, 0), 0u);
    EXPECT_EQ(port.Transact(ModbusRequest::Echo(1)), kNormalReply);
}
