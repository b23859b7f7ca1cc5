// What the monitor benchmarks share: five virtual drives (stations 1..5,
// model 5) whose replies are paced at 38400 baud, a port linked to them, and
// nobody at the screen. Every box is counted and the count printed: a bench
// that met one has measured something else.
#pragma once

#include "base/document_host.h"
#include "base/marben_app.h"
#include "base/prompts.h"
#include "drive-sim/virtual_drive.h"
#include "link/link_context.h"
#include "link/modbus_port.h"
#include "monitor/monitor_windows.h"

#include <cstdio>

namespace kolt::bench {

inline constexpr int kBaud = 38400;

// Characters of one station's four polls on the wire: four 17-character
// requests, and read replies of 11 + 4 characters per register.
inline long StationCycleCharacters() {
    long chars = 0;
    for (RequestKind kind : {RequestKind::ReadFrequencyLimits, RequestKind::ReadMonitorBlock, RequestKind::ReadFaultBlock,
                             RequestKind::ReadParameter})
        chars += RequestLength(kind) + 11 + 4 * ReplyRegisterCount(kind);
    return chars;
}


class CountingPrompts : public CUnattendedPrompts {
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

class MonitorBenchLine {
public:
    MonitorBenchLine() : drive_(Options()) {}
    ~MonitorBenchLine() { Close(); }

    // Starts the drives and links the port; false (with the reason printed) when either fails.
    bool Open() {
        if (!drive_.Start()) {
            std::fprintf(stderr, "cannot start the virtual drive: %s\n", drive_.Error().c_str());
            return false;
        }
        if (port.Open(drive_.SlavePath(), 2048, 2048) != 0 || port.Setup(kBaud, 8, 0, 0) != 0) {
            std::fprintf(stderr, "cannot open %s: error %u\n", drive_.SlavePath().c_str(), port.LastError());
            return false;
        }
        app.linkedFlag = 1;
        return true;
    }
    void Close() {
        if (port.IsOpen()) port.Close();
        drive_.Stop();
    }

    CMarbenApp app;
    CountingPrompts prompts;
    CModbusPort port{&prompts};
    NoHost host;
    CUndrawnMonitorWindows windows;
    LinkContext link{app, port, prompts, host};

private:
    static sim::DriveSimOptions Options() {
        sim::DriveSimOptions options;
        options.stations = {1, 2, 3, 4, 5};
        options.model = 5;
        options.baud = kBaud;
        return options;
    }

    sim::VirtualDrive drive_;
};

}  // namespace kolt::bench
