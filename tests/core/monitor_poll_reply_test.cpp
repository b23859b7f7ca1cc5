// What each monitor poll stores from a drive's reply, on literal frames.
#include "monitor/poll_reply.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace kolt;

namespace {

int Store(Poll poll, const char* frame, StationMonitorTable& table) {
    return StorePollReply(poll, frame, static_cast<int>(std::strlen(frame)), table);
}

using Terminals = std::array<std::int32_t, kTerminalCount>;

TEST(MonitorPollReply, EachPollStoresItsRegistersInTheReplyingStationsRecord) {
    auto table = std::make_unique<StationMonitorTable>();
    const StationRecord& r = (*table)[1];
    // Limits: F07 60.00 Hz, F08 1.50 Hz.
    EXPECT_EQ(Store(Poll::Limits, ":01030417700096DB\r\n", *table), 1);
    EXPECT_EQ(std::pair(r.freqUpper, r.freqLower), std::pair(6000, 150));
    // Values: set 50.00 Hz, output 49.90 Hz, 220.0 V, bus 311.0 V, 2.5 A, four more registers unread.
    EXPECT_EQ(Store(Poll::Values, ":0103121388137E08980C2600190000000000000000D3\r\n", *table), 1);
    EXPECT_EQ(std::tuple(r.setFreq, r.outFreq, r.outVolt, r.busVolt, r.outAmp), std::tuple(5000, 4990, 2200, 3110, 25));
    // Status 0003 (running, reverse), fault 22, terminals 00C5: S1, S3, AIN (bit 6) and RY1 (bit 7).
    EXPECT_EQ(Store(Poll::Status, ":0103060003001600C518\r\n", *table), 1);
    EXPECT_EQ(std::tuple(r.running, r.reverse, r.faultCode, r.terminals), std::tuple(1, 1, 22, Terminals{1, 0, 1, 0, 1, 1}));
    // Status 0002 with terminals 0038 (bits 3..5: S4 only): stopped, reverse, no trip.
    EXPECT_EQ(Store(Poll::Status, ":010306000200000038BC\r\n", *table), 1);
    EXPECT_EQ(std::tuple(r.running, r.reverse, r.faultCode, r.terminals), std::tuple(0, 1, 0, Terminals{0, 0, 0, 1, 0, 0}));
}

TEST(MonitorPollReply, AParameterGoesUnderTheReplyingStationsOwnSelection) {
    auto table = std::make_unique<StationMonitorTable>();
    (*table)[2].functionGroup = 1;  // station 2 shows C10
    (*table)[2].functionIndex = 10;
    // A reply from station 2 (to whatever was asked): 0x1388.
    EXPECT_EQ(Store(Poll::Parameter, ":02030213885E\r\n", *table), 2);
    EXPECT_EQ((*table)[2].paramValues[1][10], 5000);
    EXPECT_EQ((*table)[2].paramValues[0][0], 0);
    EXPECT_EQ((*table)[1].paramValues[1][10], 0);
}

TEST(MonitorPollReply, AReplyFromNoStationOfTheTableStoresNothing) {
    auto table = std::make_unique<StationMonitorTable>();
    EXPECT_EQ(Store(Poll::Limits, ":FF030417700096DD\r\n", *table), -1);
    EXPECT_EQ(Store(Poll::Limits, ":", *table), -1);
    for (int s = 0; s < kMonitorRecords; ++s) EXPECT_EQ((*table)[s].freqUpper, 500) << "station " << s;
}

}  // namespace
