// CModbusPort against the virtual drive over a real pseudo-terminal: noise and slow replies.
#include "link/modbus_port.h"
#include "drive-sim/virtual_drive.h"
#include "wait_for.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

using namespace kolt;
using namespace kolt::sim;

namespace {

DriveSimOptions Drive(std::vector<int> stations) {
    DriveSimOptions o;
    o.stations = std::move(stations);
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
    void TearDown() override { drive.Stop(); }

    VirtualDrive drive{Drive({1, 3})};
    CModbusPort port;
};

}  // namespace

TEST_F(DriveSimLink, GarbageOnTheLineAndSlowRepliesDoNotUpsetTheLink) {
    // Written straight to the device, as another talker on the bus would.
    const int fd = ::open(drive.SlavePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    std::string noise = ":::\r\n:0108\r\n:ZZ\r\n";
    for (int i = 0; i < 1000; ++i) noise.push_back(static_cast<char>((i * 37) & 0xFF));
    noise += std::string(800, 'A') + "\r\n";
    ASSERT_EQ(::write(fd, noise.data(), noise.size()), static_cast<ssize_t>(noise.size()));
    ::close(fd);
    EXPECT_TRUE(kolt::testing::WaitFor([&] { return drive.FramesRejected() > 0; }));
    EXPECT_EQ(port.TransactWithRetry(ModbusRequest::Echo(1)), kNormalReply);

    drive.SetDelayMs(100);  // slow, but well inside the read's 400 ms
    EXPECT_EQ(port.Transact(ModbusRequest::Echo(1)), kNormalReply);
}

// A drive that answers 430 ms after each request, past the read's 400 ms: none of
// its late answers is ever taken for a later request's reply, neither while it
// stays slow nor once it is quick again. Each read asks for a register of its own
// value, so a reply taken for the wrong request shows. The drive's thread counts
// its delay from when it got round to reading the request, so on a starved machine
// its replies come later still; 430 ms keeps them well inside the 500 ms that are
// covered. (A reply may then also make it into its own request's read: no harm.)
TEST_F(DriveSimLink, LateRepliesAreNeverTakenForALaterRequest) {
    drive.SetParamValue(1, 7, 4321);  // F07 and F08 hold values no other register holds
    drive.SetParamValue(1, 8, 1234);
    struct Read {
        ModbusRequest request;
        int value;
    };
    const Read reads[] = {{ModbusRequest::Version(1), 12}, {ModbusRequest::ReadParam(1, 7), 4321},
                          {ModbusRequest::Capacity(1), 5}, {ModbusRequest::ReadParam(1, 8), 1234}};
    drive.SetDelayMs(430);
    for (const Read& r : reads) {
        int got = -1;
        const int result = port.TransactWithRetry(r.request, got);
        if (result != kNoReply) {
            EXPECT_EQ(std::make_pair(result, got), std::make_pair(kNormalReply, r.value)) << r.value;
        }
    }
    drive.SetDelayMs(0);
    for (const Read& r : reads) {
        int got = -1;
        EXPECT_EQ(port.TransactWithRetry(r.request, got), kNormalReply) << r.value;
        EXPECT_EQ(got, r.value);
    }
}

// One late reply among quick ones (450 ms: past the read's 400 ms, well inside
// the 500 ms the line is let fall quiet): the retry, or the late reply itself on a
// machine too busy to notice the time-out, gives the right register, and the
// request after it is never answered with a reply left over.
TEST_F(DriveSimLink, ALateReplyIsNeverTakenForTheNextRequest) {
    drive.SetParamValue(1, 7, 4321);
    drive.SetParamValue(1, 8, 1234);
    drive.SetLateNext(1, 450);
    int got = -1;
    EXPECT_EQ(port.TransactWithRetry(ModbusRequest::ReadParam(1, 7), got), kNormalReply);
    EXPECT_EQ(got, 4321);
    const long calls = port.TransactionCount();
    EXPECT_LE(calls, 2);
    EXPECT_EQ(port.TransactWithRetry(ModbusRequest::ReadParam(1, 8), got), kNormalReply);
    EXPECT_EQ(got, 1234);
    EXPECT_EQ(port.TransactionCount(), calls + 1);
}
