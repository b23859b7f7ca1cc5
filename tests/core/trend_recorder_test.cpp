// The trend record: the ring's bound and order, what the monitor engine records
// and when, the CSV file and the texts of the trend view.
#include "monitor_test_support.h"

#include "monitor/trend_texts.h"

using namespace kolt;
using namespace kolt::testing;

namespace {

std::vector<std::int64_t> Times(const TrendRing& ring) {
    std::vector<std::int64_t> out;
    for (std::size_t i = 0; i < ring.Size(); ++i) out.push_back(ring.At(i).timeMs);
    return out;
}

TEST(TrendRing, KeepsTheNewestSamplesInOrderAcrossWrapAround) {
    // Pushes and what a ring of four keeps; 11 has wrapped more than twice.
    for (const auto& [pushes, kept] : {std::pair<int, std::vector<std::int64_t>>{0, {}}, {3, {1, 2, 3}},
                                       {4, {1, 2, 3, 4}}, {5, {2, 3, 4, 5}}, {11, {8, 9, 10, 11}}}) {
        TrendRing ring(4);
        for (int t = 1; t <= pushes; ++t) ring.Push({.timeMs = t});
        EXPECT_EQ(std::tuple(Times(ring), ring.Capacity(), ring.Pushed(), ring.Empty() ? 0 : ring.Newest().timeMs),
                  std::tuple(kept, 4u, static_cast<std::uint64_t>(pushes), pushes)) << pushes;
    }
    TrendRing ring(4);
    for (int t = 1; t <= 6; ++t) ring.Push({.timeMs = t * 10});  // keeps 30, 40, 50, 60
    for (auto [time, index] : {std::pair<std::int64_t, std::size_t>{0, 0}, {30, 0}, {31, 1}, {50, 2}, {60, 3}, {61, 4}})
        EXPECT_EQ(ring.FirstAtOrAfter(time), index) << time;
}

TEST(TrendRecorder, AllocatesOnlyForRecordedStationsAndHoldsAnHour) {
    CTrendRecorder recorder;
    EXPECT_GE(recorder.Capacity(), 9000u);  // an hour of the 400 ms tick
    for (int station : {3, 0, 255, 200}) recorder.Record(station, StationRecord{});  // 0 and 255 are no stations
    EXPECT_EQ(recorder.Stations(), (std::vector<int>{3, 200}));
    EXPECT_TRUE(recorder.Ring(4) == nullptr && recorder.Ring(3) && recorder.Ring(3)->Capacity() == recorder.Capacity());
}

// ------------------------------------------------------------------ the engine records

class TrendEngine : public MonitorBench {
protected:
    std::int64_t now = 1796552100000;

    void SetUp() override {
        engine.Trend().SetClock([this] { return now += 400; });
        StartLinked({1, 3}, 1);
    }
    std::size_t Samples(int station) {
        const TrendRing* ring = engine.Trend().Ring(station);
        return ring ? ring->Size() : 0;
    }
};

TEST_F(TrendEngine, OneSamplePerSuccessfulCycleOnlyForPolledStationsUntilTheNextStart) {
    ASSERT_TRUE(engine.StartAll({1, 3}));
    drive->SetFault(3, 25);
    engine.PollCycle();
    engine.PollCycle();
    // 2, 4 and 5 of the page are not polled; station 1 took a stamp between station 3's two.
    EXPECT_EQ(std::tuple(engine.Trend().Stations(), Samples(1), Samples(3)), std::tuple(std::vector<int>{1, 3}, 2u, 2u));
    const TrendRing& ring3 = *engine.Trend().Ring(3);
    ASSERT_EQ(ring3.Size(), 2u);
    EXPECT_EQ(std::tuple(ring3.Newest().faultCode, ring3.Newest().timeMs - ring3.At(0).timeMs), std::tuple(25, 800));
    // A status poll that fails: that station's cycle adds nothing, the other's does.
    drive->SetIgnoreReads(3, 0x00EF, true);
    engine.PollCycle();
    EXPECT_EQ(std::tuple(Samples(1), Samples(3)), std::tuple(3u, 2u));
    drive->SetIgnoreReads(3, 0x00EF, false);
    // The window closes: the record stays. A new start begins a new one.
    engine.WindowClosed();
    EXPECT_EQ(Samples(1), 3u);
    const std::uint64_t generation = engine.Trend().Generation();
    ASSERT_TRUE(engine.StartSingle(3));
    EXPECT_TRUE(engine.Trend().Generation() != generation && engine.Trend().Stations().empty());
    engine.PollCycle();
    EXPECT_EQ(engine.Trend().Stations(), (std::vector<int>{3}));
}

// ------------------------------------------------------------------ texts

// 2026-12-06 10:15:00.400 UTC, set 50.00 Hz, output 48.20 Hz, 230.0 V, bus 311.0 V, 3.1 A.
const TrendSample kSample{.timeMs = 1796552100400, .setFreq = 5000, .outFreq = 4820, .outVolt = 2300,
                          .busVolt = 3110, .outAmp = 31};

// The header and the quantities' texts are pinned by the trend window tests.
TEST(TrendCsv, RowsInTheirUnits) {
    TrendSample running = kSample, tripped = kSample, top{};
    running.running = running.reverse = 1;
    running.terminals = 0b100001;  // S1 and RY1
    std::tie(tripped.timeMs, tripped.faultCode, tripped.outFreq, tripped.outAmp) = std::tuple(946684799999, 25, 5, 0);
    top.setFreq = top.outFreq = top.outVolt = top.busVolt = top.outAmp = 65535;
    top.faultCode = 12;  // a code without a name
    const std::pair<TrendSample, const char*> rows[] = {
        {running, "2026-12-06T10:15:00.400Z,7,1,1,50.00,48.20,230.0,3.1,713.00,311.0,0,,1,0,0,0,0,1"},
        {tripped, "1999-12-31T23:59:59.999Z,7,0,0,50.00,0.05,230.0,0.0,0.00,311.0,25,ER4,0,0,0,0,0,0"},
        {top, "1970-01-01T00:00:00.000Z,7,0,0,655.35,655.35,6553.5,6553.5,42948362.25,6553.5,12,,0,0,0,0,0,0"},
    };
    TrendRing ring(2);
    for (const auto& [sample, row] : rows) {
        EXPECT_EQ(TrendCsvRow(7, sample), row);
        ring.Push(sample);
    }
    EXPECT_EQ(TrendCsv(7, ring), TrendCsvHeader() + "\n" + rows[1].second + "\n" + rows[2].second + "\n");
}

TEST(TrendTexts, ValuesAtTheCursorAndTheQuantities) {
    TrendSample s = kSample;
    EXPECT_NE(TrendValuesText(s).find("  STOP  FWD >>"), std::string::npos) << TrendValuesText(s);
    s.running = s.reverse = 1;
    s.faultCode = 24;
    EXPECT_NE(TrendValuesText(s).find("  RUN  << REV  ER2"), std::string::npos) << TrendValuesText(s);
    const std::tuple<TrendQuantity, const char*, double> quantities[] = {
        {TrendQuantity::SetFreq, "Hz", 50.0}, {TrendQuantity::OutFreq, "Hz", 48.2}, {TrendQuantity::OutVolt, "V", 230.0},
        {TrendQuantity::BusVolt, "V", 311.0}, {TrendQuantity::OutAmp, "A", 3.1},    {TrendQuantity::OutPower, "W", 713.0},
    };
    for (const auto& [q, unit, value] : quantities) {
        EXPECT_STREQ(QuantityInfo(q).unit, unit);
        EXPECT_DOUBLE_EQ(QuantityValue(s, q), value);
    }
}

TEST(TrendEvents, RunStopDirectionAndTripsBetweenSamples) {
    TrendRing ring(16);
    // running, reverse, fault code of each sample
    for (auto [run, rev, fault] : {std::tuple{1, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 25}, {0, 1, 25}, {0, 1, 0},
                                   {0, 1, 12}, {1, 0, 1}})
        ring.Push({.faultCode = static_cast<std::uint16_t>(fault), .running = static_cast<std::uint8_t>(run),
                   .reverse = static_cast<std::uint8_t>(rev)});
    auto describe = [&](std::size_t first, std::size_t count) {
        std::vector<std::string> out;
        const char* names[] = {"run", "stop", "fwd", "rev", "trip"};
        for (const TrendEvent& e : FindTrendEvents(ring, first, count))
            out.push_back(std::to_string(e.index) + names[static_cast<int>(e.kind)] +
                          (e.kind == TrendEventKind::Trip ? std::to_string(e.faultCode) : ""));
        return out;
    };
    // The first sample starts nothing; fault 12 has no name and is no trip.
    EXPECT_EQ((std::vector{describe(0, 8), describe(3, 3), describe(6, 100)}),
              (std::vector<std::vector<std::string>>{{"2rev", "3trip25", "3stop", "7trip1", "7run", "7fwd"}, {}, {"7trip1", "7run", "7fwd"}}));
}

}  // namespace
