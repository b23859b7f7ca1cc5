// CModbusPort against the virtual drive over a real pseudo-terminal, faults included.
#include "catalogue/catalogue.h"
#include "catalogue/models.h"
#include "fake_prompts.h"
#include "link/modbus_port.h"
#include "drive-sim/virtual_drive.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <thread>

using namespace kolt;
using namespace kolt::sim;

namespace {

DriveSimOptions TwoStations() {
    DriveSimOptions o;
    o.stations = {1, 3};
    o.model = 5;
    o.version = 12;
    o.baud = 38400;
    return o;
}

class DriveSimLink : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(drive.Start()) << drive.Error();
        ASSERT_EQ(port.Open(drive.SlavePath(), 2048, 2048), 0u);
        ASSERT_EQ(port.Setup(38400, 8, 0, 0), 0u);
    }
    void TearDown() override {
        port.Close();
        drive.Stop();
    }

    VirtualDrive drive{TwoStations()};
    kolt::testing::FakePrompts prompts;
    CModbusPort port{&prompts};
};

}  // namespace

TEST_F(DriveSimLink, LinksAndReadsEveryParameter) {
    int value = -1;
    EXPECT_EQ(port.TransactWithRetry(ModbusRequest::Echo(1)), kNormalReply);
    EXPECT_EQ(port.TransactWithRetry(ModbusRequest::Version(1), value), kNormalReply);
    EXPECT_EQ(value, 12);
    EXPECT_EQ(port.TransactWithRetry(ModbusRequest::Capacity(3), value), kNormalReply);
    EXPECT_EQ(value, 5);
    EXPECT_EQ(port.ReplyStation(), 3);
    for (const auto& p : AllParams()) {
        ASSERT_EQ(port.TransactWithRetry(ModbusRequest::ReadParam(1, p.number), value), kNormalReply) << p.code;
        EXPECT_EQ(value, p.number == 53 ? 12 : DefaultValue(p.number, 5, true)) << p.code;
    }
    EXPECT_EQ(drive.FramesRejected(), 0);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(DriveSimLink, WritesLandInTheDriveAndRefusalsAreExceptions) {
    EXPECT_EQ(port.TransactWithRetry(ModbusRequest::WriteParam(3, 28, 4550)), kNormalReply);
    EXPECT_EQ(drive.ParamValue(3, 28), 4550);
    EXPECT_EQ(drive.ParamValue(1, 28), DefaultValue(28, 5, true));  // only the station addressed

    EXPECT_EQ(port.TransactWithRetry(ModbusRequest::WriteParam(1, 0, 4)), kExceptionReply);
    EXPECT_EQ(port.ReplyExceptionText(), "Write Mode Error !");
    EXPECT_EQ(port.TransactWithRetry(ModbusRequest::WriteParam(1, 7, 20001)), kExceptionReply);
    EXPECT_EQ(port.ReplyExceptionText(), "Data Over Range !");
    EXPECT_EQ(port.TransactWithRetry(ModbusRequest::WriteReg(1, 0x0300, 1)), kExceptionReply);
    EXPECT_EQ(port.ReplyExceptionText(), "Address Error !");
    EXPECT_EQ(drive.ParamValue(1, 7), 5000);

    // Run the drive through the control registers and watch it in the monitor block.
    ASSERT_EQ(port.TransactWithRetry(ModbusRequest::WriteReg(1, kRegFreqCommand, 2500)), kNormalReply);
    ASSERT_EQ(port.TransactWithRetry(ModbusRequest::WriteReg(1, kRegControlWord, 1)), kNormalReply);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_EQ(port.TransactWithRetry(ModbusRequest::MonitorBlock(1)), kNormalReply);
    std::uint16_t setFreq = 0, outFreq = 0;
    ASSERT_TRUE(port.ReplyRegister(0, setFreq));
    ASSERT_TRUE(port.ReplyRegister(1, outFreq));
    EXPECT_EQ(setFreq, 2500);
    EXPECT_GT(outFreq, 0);
    EXPECT_LT(outFreq, 2500);
    std::uint16_t last = 0;
    EXPECT_TRUE(port.ReplyRegister(8, last));
    EXPECT_FALSE(port.ReplyRegister(9, last));
    ASSERT_EQ(port.TransactWithRetry(ModbusRequest::FaultBlock(1)), kNormalReply);
    std::uint16_t status = 0;
    ASSERT_TRUE(port.ReplyRegister(0, status));
    EXPECT_EQ(status & 1, 1);
}

TEST_F(DriveSimLink, SilentAndAbsentStationsGiveNoReply) {
    drive.SetSilent(3, true);
    EXPECT_EQ(port.Transact(ModbusRequest::Echo(3)), kNoReply);
    EXPECT_EQ(port.Transact(ModbusRequest::Echo(2)), kNoReply);  // nobody at 2
    EXPECT_EQ(drive.RequestsForUs(), 1);
    EXPECT_EQ(drive.FramesSeen(), 2);
    EXPECT_EQ(port.Transact(ModbusRequest::Echo(1)), kNormalReply);
}

TEST_F(DriveSimLink, CorruptedLrcIsABadFrameOnEveryCall) {
    drive.SetBadLrc(3, true);
    const long before = port.TransactionCount();
    EXPECT_EQ(port.TransactWithRetry(ModbusRequest::Capacity(3)), kBadFrame);
    EXPECT_EQ(port.TransactionCount() - before, 3);
    EXPECT_EQ(port.TransactWithRetry(ModbusRequest::Capacity(1)), kNormalReply);
}

TEST_F(DriveSimLink, AStationThatAnswersOnlyTheSecondCall) {
    drive.SetIgnoreNext(1);
    int value = -1;
    EXPECT_EQ(port.TransactWithRetry(ModbusRequest::Version(1), value), kNormalReply);
    EXPECT_EQ(value, 12);
    EXPECT_EQ(drive.RequestsForUs(), 2);
}

TEST_F(DriveSimLink, SilenceAfterNRepliesAndDelayedReplies) {
    drive.SetSilentAfter(2);
    EXPECT_EQ(port.Transact(ModbusRequest::Echo(1)), kNormalReply);
    EXPECT_EQ(port.Transact(ModbusRequest::Echo(3)), kNormalReply);
    EXPECT_EQ(port.Transact(ModbusRequest::Echo(1)), kNoReply);
    drive.SetSilentAfter(-1);
    drive.SetDelayMs(100);  // slow, but well inside the read's 400 ms
    EXPECT_EQ(port.Transact(ModbusRequest::Echo(1)), kNormalReply);
}

TEST_F(DriveSimLink, GarbageOnTheLineDoesNotUpsetTheDrive) {
    // Write straight to the device as another talker on the bus would.
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
}

TEST(DriveSimLine, WithTheBaudCheckOnlyTheDrivesRateIsHeard) {
    DriveSimOptions o;
    o.baud = 19200;
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
    port.Close();
}
