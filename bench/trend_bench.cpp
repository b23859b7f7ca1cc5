// What the trend costs a poll cycle: recording one sample per station and
// redrawing the trend windows, against the time of the cycle itself (the
// virtual drive paced at 38400 baud, as monitor_poll_bench measures it) and
// against the 400 ms tick. A trend window looks on its own 250 ms timer, but
// redraws only when its station has a new sample, which comes once a cycle;
// a long span waits until the samples move the picture by a pixel, so its
// figures count the redraws a tick sees on average.
// Goal: under 5 % of the cycle's own time.
#include "base/texts.h"
#include "monitor/monitor_engine.h"
#include "monitor/ui/trend_window.h"
#include "monitor_bench_line.h"

#include <QApplication>
#include <QLineSeries>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

using namespace kolt;
using namespace kolt::bench;

namespace {

constexpr int kRounds = 20;
constexpr int kTicks = 50;
constexpr double kTick = 0.4;

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double Seconds(const std::function<void()>& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double MedianCycle(CMonitorEngine& engine) {
    std::vector<double> times;
    for (int round = 0; round < kRounds; ++round) times.push_back(Seconds([&] { engine.PollCycle(); }));
    return Median(times);
}

// A drive that keeps changing: every value moves each sample, so no curve is flat.
StationRecord Moving(int i) {
    StationRecord r;
    r.setFreq = 5000;
    r.outFreq = static_cast<std::int32_t>(2500 + 2400 * std::sin(i / 40.0));
    r.outVolt = r.outFreq * 44 / 100;
    r.outAmp = 20 + i % 7;
    r.busVolt = 3100 + i % 13;
    r.running = 1;
    r.reverse = (i / 500) % 2;
    r.faultCode = i % 1500 == 1499 ? 2 : 0;
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("DISPLAY") && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication qapp(argc, argv);

    MonitorBenchLine line;
    if (!line.Open()) return 1;
    CountingPrompts& prompts = line.prompts;

    CMonitorEngine single(line.link, line.windows);
    if (!single.StartSingle(1)) return 1;
    const double singleCycle = MedianCycle(single);
    single.WindowClosed();
    CMonitorEngine all(line.link, line.windows);
    if (!all.StartAll({1, 2, 3, 4, 5})) return 1;
    const double pageCycle = MedianCycle(all);
    line.Close();

    // Recording: full rings, so every sample overwrites the oldest.
    CTrendRecorder recorder;
    constexpr int kRecords = 200000;
    std::vector<StationRecord> records;
    for (int i = 0; i < 64; ++i) records.push_back(Moving(i));
    for (int s = 1; s <= 5; ++s)
        for (std::size_t i = 0; i < kTrendCapacity; ++i) recorder.Record(s, records[i % records.size()]);
    const double perRecord =
        Seconds([&] {
            for (int i = 0; i < kRecords; ++i) recorder.Record(1 + i % 5, records[static_cast<std::size_t>(i) % 64]);
        }) / kRecords;

    // Drawing: a trend window of a full hour's record, one sample more each redraw.
    std::int64_t now = 1796552100000;
    CTrendRecorder drawn(kTrendCapacity, [&] { return now; });
    int sample = 0;
    for (std::size_t i = 0; i < kTrendCapacity; ++i, now += 400) drawn.Record(1, Moving(sample++));
    CTrendWindow window(drawn, prompts, 1, QStringLiteral("Station: 001"));
    window.resize(980, 560);
    window.show();
    QCoreApplication::processEvents();

    std::printf("trend_bench: %d baud, %d rounds a cycle figure, %d ticks a drawing figure\n", kBaud, kRounds,
                kTicks);
    std::printf("poll cycle (median): single station %.2f ms, page of five %.2f ms\n", singleCycle * 1000,
                pageCycle * 1000);
    std::printf("recording: %.0f ns a sample; per cycle %.4f %% of the single cycle, %.4f %% of the page\n",
                perRecord * 1e9, 100 * perRecord / singleCycle, 100 * 5 * perRecord / pageCycle);
    bool met = 100 * perRecord / singleCycle < 5;
    for (int position : {0, 1, 3}) {
        window.SetSpan(position);
        QCoreApplication::processEvents();
        std::vector<double> updates, paints;
        double total = 0;
        for (int round = 0; round < kTicks; ++round) {
            drawn.Record(1, Moving(sample++));
            now += 400;
            bool drew = false;
            const double u = Seconds([&] { drew = window.Update(); });
            const double p = drew ? Seconds([&] { window.Plot()->viewport()->repaint(); }) : 0;
            total += u + p;
            if (drew) {
                updates.push_back(u);
                paints.push_back(p);
            }
        }
        const double perTick = total / kTicks;  // one window, one tick, on average
        const double fiveWindows = 5 * perTick;
        std::printf("drawing, span %2d min (%lld curve points): %zu redraws in %d ticks, each %.2f ms "
                    "(curves and axes %.2f, painting %.2f); per tick one window %.1f %% of the single cycle, "
                    "five windows %.1f %% of the page; %.1f %% / %.1f %% of the 400 ms tick\n",
                    text::kTrendSpanMinutes[position],
                    static_cast<long long>(window.Series(TrendQuantity::OutFreq)->count()), updates.size(), kTicks,
                    (Median(updates) + Median(paints)) * 1000, Median(updates) * 1000, Median(paints) * 1000,
                    100 * perTick / singleCycle, 100 * fiveWindows / pageCycle, 100 * perTick / kTick,
                    100 * fiveWindows / kTick);
        met = met && 100 * perTick / singleCycle < 5 && 100 * fiveWindows / pageCycle < 5;
    }
    std::printf("goal: recording and drawing under 5 %% of the cycle's own time (%s); messages %d\n",
                met ? "met" : "missed", prompts.shown);
    return 0;
}
