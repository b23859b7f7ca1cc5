// Time of one single-station poll cycle (four reads) and of one full page of
// the all-station monitor (five stations, twenty reads) against the virtual
// drive paced at 38400 baud, compared with the time the same characters need
// on the wire. A page has to fit in the 400 ms tick.
#include "base/document_host.h"
#include "base/marben_app.h"
#include "base/prompts.h"
#include "drive-sim/virtual_drive.h"
#include "link/link_context.h"
#include "link/modbus_port.h"
#include "monitor/monitor_engine.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace kolt;

namespace {

constexpr int kBaud = 38400;
constexpr int kRounds = 20;
constexpr double kBitsPerChar = 10.0;

// Nobody to ask: every question would be a failure, and the bench counts those.
class SilentPrompts : public CUnattendedPrompts {
public:
    int shown = 0;

protected:
    void Shown(const std::string&) override { ++shown; }
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

// Characters of one station's four polls on the wire: four 17-character
// requests, and read replies of 11 + 4 characters per register.
long StationCycleCharacters() {
    long chars = 0;
    for (RequestKind kind : {RequestKind::ReadFrequencyLimits, RequestKind::ReadMonitorBlock, RequestKind::ReadFaultBlock,
                             RequestKind::ReadParameter})
        chars += RequestLength(kind) + 11 + 4 * ReplyRegisterCount(kind);
    return chars;
}

struct Figures {
    double best = 1e9;
    double median = 0;
};

Figures Measure(CMonitorEngine& engine, SilentPrompts& prompts, long characters, const char* what) {
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
    SilentPrompts prompts;
    CModbusPort port(&prompts);
    NoHost host;
    NoWindows windows;
    LinkContext link{app, port, prompts, host};
    if (port.Open(drive.SlavePath(), 2048, 2048) != 0 || port.Setup(kBaud, 8, 0, 0) != 0) {
        std::fprintf(stderr, "cannot open %s: error %u\n", drive.SlavePath().c_str(), port.LastError());
        return 1;
    }
    app.linkedFlag = 1;
    std::printf("monitor_poll_bench: %d baud, %g bits per character, %d rounds each\n", kBaud, kBitsPerChar, kRounds);

    CMonitorEngine single(link, windows);
    if (!single.StartSingle(1)) return 1;
    Measure(single, prompts, StationCycleCharacters(), "single-station cycle (4 reads)");
    single.WindowClosed();

    CMonitorEngine all(link, windows);
    if (!all.StartAll({1, 2, 3, 4, 5})) return 1;
    const Figures page = Measure(all, prompts, 5 * StationCycleCharacters(), "all-station page (5 stations, 20 reads)");
    std::printf("goal: a page inside one 400 ms tick (%s), both ratios under 1.35\n",
                page.median < 0.4 ? "met" : "missed");
    port.Close();
    drive.Stop();
    return 0;
}
