// The transaction over a line whose far end answers from a script: result codes,
// the received count, and replies that are short, foreign or late.
#include "fake_prompts.h"
#include "link/modbus_port.h"
#include "link/transaction_report.h"
#include "serial_test_line.h"

#include <gtest/gtest.h>

#include <atomic>
#include <deque>
#include <mutex>
#include <thread>

using namespace kolt;

namespace {

// The far end answers each request with the next scripted reply ("" = silence).
class ModbusTransaction : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(port.Open(line.SlavePath(), 2048, 2048), 0u); }
    void TearDown() override {
        stop_ = true;
        far_.join();
    }
    // The next request is answered with `reply`; a `stray` frame follows strayMs after the request.
    void Then(const std::string& reply, const std::string& stray = "", int strayMs = 0) {
        std::lock_guard lock(mutex_);
        replies_.push_back({reply, stray, strayMs});
    }
    std::vector<std::string> Heard() {
        std::lock_guard lock(mutex_);
        return heard_;
    }

    kolt::testing::TestLine line;
    kolt::testing::FakePrompts prompts;
    CModbusPort port{&prompts};

private:
    void FarEnd() {
        while (!stop_) {
            const std::string request = line.Receive(20);
            if (request.empty()) continue;
            Script next;
            {
                std::lock_guard lock(mutex_);
                heard_.push_back(request);
                if (replies_.empty()) continue;
                next = replies_.front();
                replies_.pop_front();
            }
            line.Send(next.reply);
            if (next.stray.empty()) continue;
            std::this_thread::sleep_for(std::chrono::milliseconds(next.strayMs));
            line.Send(next.stray);
        }
    }
    struct Script {
        std::string reply, stray;
        int strayMs = 0;
    };

    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::deque<Script> replies_;
    std::vector<std::string> heard_;
    std::thread far_{[this] { FarEnd(); }};
};

}  // namespace

TEST_F(ModbusTransaction, NormalRepliesFromAnyStation) {
    Then(":0103020005F5\r\n");
    int value = -1;
    EXPECT_EQ(port.TransactWithRetry(ModbusRequest::Capacity(1), value), kNormalReply);
    EXPECT_EQ(value, 5);
    Then(":0503020005F1\r\n");  // another station's reply is taken
    EXPECT_EQ(port.Transact(ModbusRequest::Capacity(1)), kNormalReply);
    EXPECT_EQ(port.ReplyStation(), 5);
    Then(":011000010001ED\r\n");  // a write reply needs only the envelope
    EXPECT_EQ(port.TransactWithRetry(ModbusRequest::WriteParam(1, 1, 0)), kNormalReply);
    EXPECT_EQ(std::tuple(Heard(), prompts.shown.size()),
              std::tuple(std::vector<std::string>{":010300000001FB\r\n", ":010300000001FB\r\n", ":011000010001020000EB\r\n"},
                         0u));
}

TEST_F(ModbusTransaction, ExceptionReplyIsNotRepeatedAndAlwaysHasAText) {
    Then(":0183522A\r\n");
    EXPECT_EQ(port.TransactWithRetry(ModbusRequest::ReadParam(1, 7)), kExceptionReply);
    EXPECT_EQ(std::tuple(port.ReplyExceptionText(), Heard().size()), std::tuple("Address Error !", 1u));
    // Code 02 has no text of the drive's; the user still learns what came.
    Then(":0183027A\r\n");
    EXPECT_EQ(port.Transact(ModbusRequest::ReadParam(1, 7)), kExceptionReply);
    EXPECT_EQ(port.ReplyExceptionText(), "");
    ReportTransactionFailure(kExceptionReply, port, prompts);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].caption + ": " + prompts.shown[0].text, "Error Message: Exception Reply ! (Code: 02)");
}

TEST_F(ModbusTransaction, BadFramesAreRetriedUpToThreeCalls) {
    // Lower-case LRC, wrong LRC, then a good reply on the third call.
    for (const char* reply : {":0103020A00f0\r\n", ":0103020005F6\r\n", ":0103020005F5\r\n"}) Then(reply);
    int value = -1;
    EXPECT_EQ(port.TransactWithRetry(ModbusRequest::Version(1), value), kNormalReply);
    EXPECT_EQ(value, 5);
    EXPECT_EQ(Heard().size(), 3u);
    // Three bad frames: the last result stands, no fourth call.
    for (int i = 0; i < 4; ++i) Then(":0103020005F6\r\n");
    EXPECT_EQ(port.TransactWithRetry(ModbusRequest::Version(1)), kBadFrame);
    EXPECT_EQ(Heard().size(), 6u);
}

TEST_F(ModbusTransaction, ShortOrMissingRepliesNeverYieldStaleData) {
    // A full monitor block first, so the reply buffer holds nine registers...
    Then(":010312" "0BB8" "0BB8" "0898" "0C4E" "000F" "0000" "0000" "0000" "0000" "5B\r\n");
    ASSERT_EQ(port.Transact(ModbusRequest::MonitorBlock(1)), kNormalReply);
    std::uint16_t v = 0;
    ASSERT_TRUE(port.ReplyRegister(4, v));
    EXPECT_EQ(v, 15);
    // ...then a well-formed reply carrying one register: the rest must not be read
    // from the characters the earlier reply left behind.
    Then(":0103020005F5\r\n");
    EXPECT_EQ(port.Transact(ModbusRequest::MonitorBlock(1)), kBadFrame);
    EXPECT_FALSE(port.ReplyRegister(4, v));
    // Silence, or garbage that never starts a frame, is no reply, although the
    // buffer still starts with ':'.
    EXPECT_EQ(port.Transact(ModbusRequest::Capacity(1)), kNoReply);
    EXPECT_EQ(std::tuple(port.ReceivedCount(), port.ReplyRegister(0, v)), std::tuple(0, false));
    Then("garbage\r\n");
    EXPECT_EQ(port.Transact(ModbusRequest::Echo(1)), kNoReply);
}

TEST_F(ModbusTransaction, LateReplyIsNotTakenForTheNextOne) {
    line.Send(":010302006397\r\n");  // value 99, after its transaction gave up
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    Then(":0103020005F5\r\n");
    int value = -1;
    EXPECT_EQ(port.TransactWithRetry(ModbusRequest::ReadParam(1, 1), value), kNormalReply);
    EXPECT_EQ(value, 5);
}

TEST_F(ModbusTransaction, OnlyTheCallAfterAnUnansweredOneAndTheNextWaitForLateReplies) {
    EXPECT_EQ(port.Transact(ModbusRequest::Version(1)), kNoReply);
    EXPECT_EQ(port.DrainCount(), 0);
    // Its late answer may still come, and may be taken by the next call, whose own
    // answer may then come late: the two calls after it wait first...
    for (long drains : {1, 2}) {
        Then(":0103020005F5\r\n");
        EXPECT_EQ(port.Transact(ModbusRequest::Version(1)), kNormalReply);
        EXPECT_EQ(port.DrainCount(), drains);
    }
    // ...and the calls after those do not.
    for (int i = 0; i < 3; ++i) {
        Then(":0103020005F5\r\n");
        EXPECT_EQ(port.Transact(ModbusRequest::Version(1)), kNormalReply);
    }
    EXPECT_EQ(port.DrainCount(), 2);
}

TEST_F(ModbusTransaction, AStrayFrameWhileALateAnswerMayStillComeIsNotTheNextReply) {
    EXPECT_EQ(port.Transact(ModbusRequest::Version(1)), kNoReply);
    // Answered at once, but this call's own answer may still come until its read
    // time-out has passed: a frame 330 ms after it was sent goes with the drain...
    Then(":0103020005F5\r\n", ":010302006397\r\n", 330);
    EXPECT_EQ(port.Transact(ModbusRequest::Version(1)), kNormalReply);
    // ...and is not taken by the next call, which its drive leaves unanswered.
    EXPECT_EQ(port.Transact(ModbusRequest::ReadParam(1, 1)), kNoReply);
}
