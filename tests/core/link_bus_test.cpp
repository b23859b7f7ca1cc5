// The bus thread: jobs in order, a cancel that ends the wait in progress and
// the rest of the job, and a shutdown while a job waits on a silent station.
#include "link/bus.h"
#include "link_test_support.h"
#include "wait_for.h"

#include <thread>

namespace kolt::testing {
namespace {

class BusTest : public ::testing::Test {
protected:
    void SetUp() override {
        drive = std::make_unique<sim::VirtualDrive>(QuickDrive({1, 2}));
        drive->SetSilent(2, true);
        ASSERT_TRUE(drive->Start()) << drive->Error();
        bus.Run([this](CModbusPort& port) { opened = port.Open(drive->SlavePath(), 2048, 2048) == 0; });
        ASSERT_TRUE(opened);
    }
    // A job that asks the silent station again and again (a minute without a cancel).
    void PostSilentWait() {
        bus.Post([this](CModbusPort& port) {
            started = true;
            for (int i = 0; i < 50 && result == kNoReply; ++i) result = port.TransactWithRetry(ModbusRequest::Echo(2));
            calls = port.TransactionCount();
            ended = true;
        });
        ASSERT_TRUE(WaitFor([&] { return started.load(); }));
    }

    std::unique_ptr<sim::VirtualDrive> drive;
    CBus bus;
    bool opened = false;
    std::atomic<bool> started{false}, ended{false};
    int result = kNoReply;
    long calls = 0;
};

TEST_F(BusTest, RunsJobsOneAtATimeInTheOrderPosted) {
    std::vector<int> order;
    for (int i = 1; i <= 3; ++i) bus.Post([&order, i](CModbusPort&) { order.push_back(i); });
    int reply = kNoReply;
    bus.Run([&](CModbusPort& port) {
        order.push_back(4);
        reply = port.TransactWithRetry(ModbusRequest::Echo(1));
    });
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(reply, kNormalReply);
}

TEST_F(BusTest, CancelEndsTheWaitAndTheRestOfTheJobButNotTheNext) {
    PostSilentWait();
    // Wait until the echo is on the line, so the cancel meets a wait in progress.
    ASSERT_TRUE(WaitFor([&] { return drive->FramesSeen() > 0; }));
    bus.Cancel();
    ASSERT_TRUE(WaitFor([&] { return ended.load(); }));
    bus.Run([](CModbusPort&) {});
    EXPECT_EQ(result, kNoReply);
    EXPECT_LE(calls, 2);  // nothing went out after the cancel
    int reply = kNoReply;
    bus.Run([&](CModbusPort& port) { reply = port.TransactWithRetry(ModbusRequest::Echo(1)); });
    EXPECT_EQ(reply, kNormalReply);
}

TEST_F(BusTest, ShutdownEndsAWaitingJobDropsTheQueueAndClosesThePort) {
    PostSilentWait();
    bool secondRan = false;
    std::thread waiter([&] { bus.Run([&](CModbusPort&) { secondRan = true; }); });
    ASSERT_TRUE(WaitFor([&] { return bus.Queued() == 1; }));
    bus.Shutdown();
    waiter.join();  // the dropped job's waiter is let go
    EXPECT_TRUE(ended.load());
    EXPECT_FALSE(secondRan);
    EXPECT_FALSE(bus.Port().IsOpen());
    bus.Post([&](CModbusPort&) { secondRan = true; });
    bus.Shutdown();
    EXPECT_FALSE(secondRan);
}

}  // namespace
}  // namespace kolt::testing
