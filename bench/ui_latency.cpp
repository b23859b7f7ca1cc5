// How late the window's thread runs an event posted at a random moment while
// the program talks to five virtual drives (paced at 38400 baud): (a) the
// all-station monitor polls a page of five, (b) the single-station monitor
// polls, (c) Read runs, (d) the Link scan runs over absent stations, (e)
// nothing runs. With the window program's own frame, commands and prompts on
// the offscreen platform. Also the poll cycle's time against its wire time.
// Goal: 99th percentile <= 16 ms and worst <= 50 ms in (a)..(d).
// --inline runs the monitor, Read and the scan on the window's thread, as a
// program without the bus thread did, for comparison.
#include "app/ui/link_commands.h"
#include "app/ui/main_frame.h"
#include "app/ui/monitor_commands.h"
#include "app/ui/qt_prompts.h"
#include "link/link_procedure.h"
#include "link/read_procedure.h"
#include "monitor_bench_line.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

using namespace kolt;
using Clock = std::chrono::steady_clock;

namespace {

using bench::kBaud;
using bench::StationCycleCharacters;
constexpr double kBitsPerChar = 10.0;

// Receives the probes: each carries the moment it was posted.
class CProbe : public QObject {
public:
    struct Event : QEvent {
        explicit Event(Clock::time_point at) : QEvent(QEvent::User), posted(at) {}
        Clock::time_point posted;
    };
    bool event(QEvent* e) override {
        if (e->type() != QEvent::User) return QObject::event(e);
        const double late = std::chrono::duration<double, std::milli>(Clock::now() - static_cast<Event*>(e)->posted).count();
        std::lock_guard lock(mutex);
        samples.push_back(late);
        return true;
    }
    std::mutex mutex;
    std::vector<double> samples;
};

// Posts probes at random moments (2..20 ms apart) from a thread of its own.
class CProber {
public:
    explicit CProber(CProbe& probe) : probe_(probe) {
        thread_ = std::thread([this] {
            std::mt19937 random(7);
            std::uniform_int_distribution<int> gap(2, 20);
            while (!stop_) {
                std::this_thread::sleep_for(std::chrono::milliseconds(gap(random)));
                QCoreApplication::postEvent(&probe_, new CProbe::Event(Clock::now()));
            }
        });
    }
    ~CProber() {
        stop_ = true;
        thread_.join();
    }

private:
    CProbe& probe_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

void Report(const char* what, CProbe& probe) {
    std::vector<double> v;
    {
        std::lock_guard lock(probe.mutex);
        v.swap(probe.samples);
    }
    if (v.empty()) {
        std::printf("%-34s no samples\n", what);
        return;
    }
    std::sort(v.begin(), v.end());
    const auto at = [&](double q) { return v[std::min(v.size() - 1, static_cast<std::size_t>(q * v.size()))]; };
    std::printf("%-34s %5zu samples  median %6.2f ms  p99 %7.2f ms  worst %7.2f ms\n", what, v.size(), at(0.5), at(0.99),
                v.back());
}

void RunFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

int main(int argc, char** argv) {
    const bool inlineMode = argc > 1 && std::strcmp(argv[1], "--inline") == 0;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    QTemporaryDir dir;

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
    app.installDir = dir.path().toStdString();
    app.settings.baudRate = kBaud;
    QtPrompts prompts(app);
    bench::CountingPrompts unattended;
    QSettings store(dir.path() + "/recent.ini", QSettings::IniFormat);
    CLinkCommands link(app, unattended);
    CMainFrame frame(app, prompts, store, {});
    prompts.SetParentWidget(&frame);
    link.Install(frame);
    CMonitorCommands monitor(app, link);
    monitor.Install(frame);
    frame.resize(1200, 800);
    frame.show();

    // The cycle's time as the bus thread measured it; with --inline the cycle
    // runs on the window's thread instead, as it did before the bus thread
    // (its windows undrawn).
    std::vector<double> cycles;
    QObject::connect(&monitor, &CMonitorCommands::cycleEnded, [&](double seconds) {
        if (seconds > 0) cycles.push_back(seconds);
    });
    bench::NoHost inlineHost;
    CUndrawnMonitorWindows undrawn;
    LinkContext inlineCtx{app, link.Port(), unattended, inlineHost};
    CMonitorEngine inlineEngine(inlineCtx, undrawn);
    if (inlineMode)
        frame.SetPollCycle([&] {
            const auto start = Clock::now();
            inlineEngine.PollCycle();
            cycles.push_back(std::chrono::duration<double>(Clock::now() - start).count());
        });

    LinkRequest request;
    request.button = LinkButton::Link;
    request.line = LineSettingsOf(app.settings);
    request.portName = drive.SlavePath();
    request.stations = {1};
    link.RunOnBus([&](LinkContext& ctx) { RunLinkCommand(ctx, request); });
    if (!app.linkedFlag) {
        std::fprintf(stderr, "cannot link to %s\n", drive.SlavePath().c_str());
        return 1;
    }

    CProbe probe;
    std::printf("ui_latency: five virtual drives at %d baud, %s\n", kBaud,
                inlineMode ? "monitor, Read and scan on the window thread" : "monitor, Read and scan on the bus thread");
    {
        CProber prober(probe);
        RunFor(3000);
        Report("(e) nothing runs", probe);

        // The floor is the wire time plus the 2 ms pause before each of a station's four requests.
        const auto cycleRatio = [&](const char* what, int stations) {
            std::sort(cycles.begin(), cycles.end());
            const double wire = static_cast<double>(StationCycleCharacters() * stations) * kBitsPerChar / kBaud;
            const double floor = wire + 0.002 * 4 * stations;
            if (!cycles.empty()) {
                const double median = cycles[cycles.size() / 2];
                std::printf("    %s cycle: %zu cycles, median %.1f ms, wire %.1f ms, ratio %.2f, to the floor %.2f\n",
                            what, cycles.size(), median * 1000, wire * 1000, median / wire, median / floor);
            }
            cycles.clear();
        };

        if (inlineMode)
            inlineEngine.StartAll({1, 2, 3, 4, 5});
        else
            monitor.Start(true, {1, 2, 3, 4, 5});
        RunFor(6000);
        Report("(a) all-station monitor, page of 5", probe);
        cycleRatio("page of five", 5);
        if (monitor.MultiWindow()) monitor.MultiWindow()->close();
        if (inlineMode) inlineEngine.WindowClosed();
        RunFor(100);
        Report("    (closing)", probe);

        if (inlineMode)
            inlineEngine.StartSingle(1);
        else
            monitor.Start(false, {1});
        RunFor(6000);
        Report("(b) single-station monitor", probe);
        cycleRatio("single-station", 1);
        if (monitor.SingleWindow()) monitor.SingleWindow()->close();
        if (inlineMode) inlineEngine.WindowClosed();
        RunFor(100);
        Report("    (closing)", probe);

        for (int i = 0; i < 3; ++i) {
            if (inlineMode) {
                bench::NoHost host;
                LinkContext ctx{app, link.Port(), prompts, host};
                ReadParameters(ctx, 1, true, true);
            } else {
                link.RunOnBus([&](LinkContext& ctx) { ReadParameters(ctx, 1, true, true); });
            }
        }
        Report("(c) Read of every parameter, 3x", probe);

        // The scan opens the port anew: Unlink first.
        LinkRequest unlink = request;
        unlink.button = LinkButton::Unlink;
        link.RunOnBus([&](LinkContext& ctx) { RunLinkCommand(ctx, unlink); });
        Report("    (unlink)", probe);
        LinkRequest scan = request;
        scan.stations = {6, 7, 8, 9};
        if (inlineMode) {
            bench::NoHost host;
            LinkContext ctx{app, link.Port(), prompts, host};
            RunLinkCommand(ctx, scan);
        } else {
            link.RunOnBus([&](LinkContext& ctx) { RunLinkCommand(ctx, scan); }, true);
        }
        Report("(d) scan of 4 absent stations", probe);
    }
    std::printf("messages shown: %d\n", unattended.shown);
    drive.Stop();
    return 0;
}
