// The transaction over a line whose far end answers from a script: result codes,
// the received count, and replies that are short, foreign or late.
#include "fake_prompts.h"
#include "link/modbus_port.h"
#include "serial_test_line.h"

#include <gtest/gtest.h>

#include <poll.h>

#include <atomic>
#include <deque>
#include <mutex>
#include <thread>

using namespace kolt;
using kolt::testing::TestLine;

namespace {

// Answers each request frame with the next scripted reply ("" = stay silent) and
// records the requests it heard.
class ScriptedFarEnd {
public:
    explicit ScriptedFarEnd(const TestLine& line) : line_(line), thread_([this] { Run(); }) {}
    ~ScriptedFarEnd() {
        stop_ = true;
        thread_.join();
    }
    void Then(const std::string& reply) {
        std::lock_guard lock(mutex_);
        replies_.push_back(reply);
    }
    std::vector<std::string> Heard() {
        std::lock_guard lock(mutex_);
        return heard_;
    }

private:
    void Run() {
        std::string frame;
        while (!stop_) {
            pollfd p{line_.Master(), POLLIN, 0};
            if (::poll(&p, 1, 10) <= 0) continue;
            char c;
            while (::read(line_.Master(), &c, 1) == 1) {
                frame.push_back(c);
                if (c != '\n') continue;
                std::string reply;
                {
                    std::lock_guard lock(mutex_);
                    heard_.push_back(frame);
                    if (!replies_.empty()) {
                        reply = replies_.front();
                        replies_.pop_front();
                    }
                }
                frame.clear();
                if (!reply.empty()) line_.Send(reply);
                break;
            }
        }
    }

    const TestLine& line_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::deque<std::string> replies_;
    std::vector<std::string> heard_;
    std::thread thread_;
};

class ModbusTransaction : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(line.Ok());
        ASSERT_EQ(port.Open(line.SlavePath(), 2048, 2048), 0u);
    }
    void TearDown() override { port.Close(); }

    TestLine line;
    kolt::testing::FakePrompts prompts;
    CModbusPort port{&prompts};
    ScriptedFarEnd far{line};
};

}  // namespace

TEST_F(ModbusTransaction, NormalReplyAndItsRegister) {
    far.Then(":0103020005F5\r\n");
    int value = -1;
    EXPECT_EQ(port.TransactWithRetry(ModbusRequest::Capacity(1), value), kNormalReply);
    EXPECT_EQ(value, 5);
    EXPECT_EQ(port.ReceivedCount(), 15);
    EXPECT_EQ(port.ReplyStation(), 1);
    EXPECT_EQ(far.Heard(), std::vector<std::string>{":010300000001FB\r\n"});
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(ModbusTransaction, ExceptionReplyIsNotRepeated) {
    far.Then(":0183522A\r\n");
    EXPECT_EQ(port.TransactWithRetry(ModbusRequest::ReadParam(1, 7)), kExceptionReply);
    EXPECT_EQ(port.ReplyExceptionText(), "Address Error !");
    EXPECT_EQ(far.Heard().size(), 1u);
    far.Then(":0183027A\r\n");
    EXPECT_EQ(port.Transact(ModbusRequest::ReadParam(1, 7)), kExceptionReply);
    EXPECT_EQ(port.ReplyExceptionText(), "");
}

TEST_F(ModbusTransaction, BadFramesAreRetriedUpToThreeCalls) {
    // Lower-case LRC, wrong LRC, then a good reply on the third call.
    far.Then(":0103020A00ec\r\n");
    far.Then(":0103020005F6\r\n");
    far.Then(":0103020005F5\r\n");
    int value = -1;
    EXPECT_EQ(port.TransactWithRetry(ModbusRequest::Version(1), value), kNormalReply);
    EXPECT_EQ(value, 5);
    EXPECT_EQ(far.Heard().size(), 3u);
    // Three bad frames: the last result stands, no fourth call.
    for (int i = 0; i < 4; ++i) far.Then(":0103020005F6\r\n");
    EXPECT_EQ(port.TransactWithRetry(ModbusRequest::Version(1)), kBadFrame);
    EXPECT_EQ(far.Heard().size(), 6u);
}

TEST_F(ModbusTransaction, ReplyFromAnotherStationIsAccepted) {
    far.Then(":0503020005F1\r\n");
    EXPECT_EQ(port.Transact(ModbusRequest::Capacity(1)), kNormalReply);
    EXPECT_EQ(port.ReplyStation(), 5);
}

TEST_F(ModbusTransaction, ShortReplyIsABadFrameNotStaleData) {
    // A full monitor block first, so the reply buffer holds nine registers...
    far.Then(":010312" "0BB8" "0BB8" "0898" "0C4E" "000F" "0000" "0000" "0000" "0000" "5B\r\n");
    ASSERT_EQ(port.Transact(ModbusRequest::MonitorBlock(1)), kNormalReply);
    std::uint16_t v = 0;
    ASSERT_TRUE(port.ReplyRegister(4, v));
    EXPECT_EQ(v, 15);
    // ...then a well-formed reply carrying one register: the rest must not be read
    // from the characters the earlier reply left behind.
    far.Then(":0103020005F5\r\n");
    EXPECT_EQ(port.Transact(ModbusRequest::MonitorBlock(1)), kBadFrame);
    EXPECT_FALSE(port.ReplyRegister(4, v));
    EXPECT_EQ(port.ReceivedCount(), 15);

    // The spec-level transaction on caller buffers judges the envelope only.
    char request[kFrameBufferSize] = {};
    char reply[kFrameBufferSize] = {};
    const int length = CModbusPort::BuildReadMonitorBlock(request, 1);
    far.Then(":0103020005F5\r\n");
    EXPECT_EQ(port.Transaction(request, length, reply, kReadCapacity), kNormalReply);
    EXPECT_EQ(port.ReceivedCount(), 15);
    EXPECT_TRUE(ReplyRegisterOf(reply, port.ReceivedCount(), 0, v));
    EXPECT_FALSE(ReplyRegisterOf(reply, port.ReceivedCount(), 1, v));
}

TEST_F(ModbusTransaction, SilenceIsNoReplyEvenWithAnOldFrameInTheBuffer) {
    far.Then(":0103020005F5\r\n");
    ASSERT_EQ(port.Transact(ModbusRequest::Capacity(1)), kNormalReply);
    // No scripted reply: nothing comes, although the buffer still starts with ':'.
    EXPECT_EQ(port.Transact(ModbusRequest::Capacity(1)), kNoReply);
    EXPECT_EQ(port.ReceivedCount(), 0);
    std::uint16_t v = 0;
    EXPECT_FALSE(port.ReplyRegister(0, v));
    // Garbage that never starts a frame is no reply either.
    far.Then("garbage\r\n");
    EXPECT_EQ(port.Transact(ModbusRequest::Echo(1)), kNoReply);
}

TEST_F(ModbusTransaction, LateCharactersAreNotTakenForTheNextReply) {
    // A reply to an earlier request lands after its transaction gave up.
    line.Send(":010302006397\r\n");  // a valid frame with value 99
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    far.Then(":0103020005F5\r\n");
    int value = -1;
    EXPECT_EQ(port.TransactWithRetry(ModbusRequest::ReadParam(1, 1), value), kNormalReply);
    EXPECT_EQ(value, 5);
}

TEST_F(ModbusTransaction, WriteRepliesNeedOnlyTheEnvelope) {
    far.Then(":011000010001ED\r\n");
    EXPECT_EQ(port.TransactWithRetry(ModbusRequest::WriteParam(1, 1, 0)), kNormalReply);
    EXPECT_EQ(far.Heard().back(), ":011000010001020000EB\r\n");
}
