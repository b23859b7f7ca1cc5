// What the trend costs a poll cycle: recording one sample per station and
// redrawing the trend windows, against the time of the cycle itself (the
// virtual drive paced at 38400 baud, as monitor_poll_bench measures it) and
// against the 400 ms tick. A trend window looks on its own 250 ms timer, but
// redraws only when its station has a new sample, which comes once a cycle;
// a long span waits until the samples move the picture by a pixel, so its
// figures count the redraws a tick sees on average.
// Goal: under 5 % of the cycle's own time.
#include "base/document_host.h"
#include "base/marben_app.h"
#include "base/prompts.h"
#include "base/texts.h"
#include "drive-sim/virtual_drive.h"
#include "link/link_context.h"
#include "link/modbus_port.h"
#include "monitor/monitor_engine.h"
#include "monitor/ui/trend_window.h"

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

namespace {

constexpr int kBaud = 38400;
constexpr int kRounds = 20;
constexpr int kTicks = 50;
constexpr double kTick = 0.4;

// Nobody to ask; every message is counted and the count printed, as a bench
// that met one has measured something else.
class CountingPrompts : public IPrompts {
public:
    int shown = 0;
    void Message(const std::string&, const std::string&, Icon) override { ++shown; }
    void CommMessage(const std::string&) override { ++shown; }
    bool YesNo(const std::string&, const std::string&, Icon) override { return ++shown, false; }
    Answer YesNoCancel(const std::string&, const std::string&, Icon) override { return ++shown, Answer::Cancel; }
    bool ContinueAbort(const std::string&) override { return ++shown, true; }
    bool MonitorError(const std::string&) override { return ++shown, true; }
    void ProgressOpen(bool) override {}
    void ProgressRange(int, int) override {}
    void ProgressStep() override {}
    void ProgressText(const std::string&) override {}
    void ProgressClose() override {}
    void PumpOne() override {}
    std::optional<std::string> AskSavePath(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> AskOpenPath(const std::string&, const std::string&) override { return std::nullopt; }
};

class NoHost : public IDocumentHost {
public:
    CMarbenDoc* ActiveDocument() override { return nullptr; }
    bool InPrintPreview() override { return false; }
    void CloseActiveDocument() override {}
    CMarbenDoc* CreateNewDocument() override { return nullptr; }
    void RefreshStatusPanes() override {}
    void CloseMonitorWindows() override {}
};

class NoWindows : public IMonitorWindows {
public:
    bool OpenSingleWindow(int) override { return true; }
    bool OpenAllWindow(int) override { return true; }
    int AllWindowPage() const override { return 0; }
    void RefreshSingle() override {}
    void RefreshAll() override {}
    void ClearPanel(int) override {}
    void CloseSingleWindow() override {}
};

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

    sim::DriveSimOptions options;
    options.stations = {1, 2, 3, 4, 5};
    options.model = 5;
    options.baud = kBaud;
    sim::VirtualDrive drive(options);
    if (!drive.Start()) {
        std::fprintf(stderr, "cannot start the virtual drive: %s\n", drive.Error().c_str());
        return 1;
    }
    CMarbenApp app;
    CountingPrompts prompts;
    CModbusPort port(&prompts);
    NoHost host;
    NoWindows windows;
    LinkContext link{app, port, prompts, host};
    if (port.Open(drive.SlavePath(), 2048, 2048) != 0 || port.Setup(kBaud, 8, 0, 0) != 0) {
        std::fprintf(stderr, "cannot open %s: error %u\n", drive.SlavePath().c_str(), port.LastError());
        return 1;
    }
    app.linkedFlag = 1;

    CMonitorEngine single(link, windows);
    if (!single.StartSingle(1)) return 1;
    const double singleCycle = MedianCycle(single);
    single.WindowClosed();
    CMonitorEngine all(link, windows);
    if (!all.StartAll({1, 2, 3, 4, 5})) return 1;
    const double pageCycle = MedianCycle(all);
    port.Close();
    drive.Stop();

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
