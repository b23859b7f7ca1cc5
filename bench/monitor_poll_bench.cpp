// Time of one single-station poll cycle (four reads) and of one full page of
// the all-station monitor (five stations, twenty reads) against the virtual
// drive paced at 38400 baud, compared with the time the same characters need
// on the wire. A page has to fit in the 400 ms tick.
#include "monitor/monitor_engine.h"
#include "monitor_bench_line.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace kolt;
using namespace kolt::bench;

namespace {

constexpr int kRounds = 20;
constexpr double kBitsPerChar = 10.0;

struct Figures {
    double best = 1e9;
    double median = 0;
};

Figures Measure(CMonitorEngine& engine, CountingPrompts& prompts, long characters, const char* what) {
    std::vector<double> times;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        engine.PollCycle();
        times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    const double wire = static_cast<double>(characters) * kBitsPerChar / kBaud;
    Figures f{times.front(), times[times.size() / 2]};
    std::printf("%s: %ld characters, wire time %.1f ms; elapsed best %.1f ms, median %.1f ms; "
                "ratio best %.2f, median %.2f; messages %d\n",
                what, characters, wire * 1000, f.best * 1000, f.median * 1000, f.best / wire, f.median / wire,
                prompts.shown);
    return f;
}

}  // namespace

int main() {
    MonitorBenchLine line;
    if (!line.Open()) return 1;
    CountingPrompts& prompts = line.prompts;
    std::printf("monitor_poll_bench: %d baud, %g bits per character, %d rounds each\n", kBaud, kBitsPerChar, kRounds);

    CMonitorEngine single(line.link, line.windows);
    if (!single.StartSingle(1)) return 1;
    Measure(single, prompts, StationCycleCharacters(), "single-station cycle (4 reads)");
    single.WindowClosed();

    CMonitorEngine all(line.link, line.windows);
    if (!all.StartAll({1, 2, 3, 4, 5})) return 1;
    const Figures page = Measure(all, prompts, 5 * StationCycleCharacters(), "all-station page (5 stations, 20 reads)");
    std::printf("goal: a page inside one 400 ms tick (%s), both ratios under 1.35\n",
                page.median < 0.4 ? "met" : "missed");
    return 0;
}
