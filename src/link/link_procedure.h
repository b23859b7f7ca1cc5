// The Link command after its dialog: open the port, find a station that
// answers, read its software version and capacity code. And Unlink.
#pragma once

#include "link/link_context.h"

#include <string>
#include <vector>

namespace kolt {

struct KoltSettings;

// The line settings as the settings file keeps them.
struct LineSettings {
    int comPort = 1;
    int baudRate = 38400;
    int dataBits = 8;
    int parity = 0;    // 0 none, 1 odd, 2 even
    int stopBits = 0;  // 0 one, 2 two
};

enum class LinkButton { Close, Link, Unlink };

// What the Link dialog was closed with.
struct LinkRequest {
    LinkButton button = LinkButton::Close;
    LineSettings line;
    std::vector<int> stations;  // ascending: the parsed "Single" text or 1..254
};

// How a Link command ended, for the caller's status refresh and for tests.
enum class LinkOutcome {
    Closed,       // "&Close", or the command could not start (a scan runs)
    Linked,
    Unlinked,
    PortInUse,    // "COM Port already opened!"
    OpenFailed,   // "Communication error!!" / "Can not open COM port!"
    NoStation,    // no station chosen, none answered, or Cancel: nothing shown
    Failed,       // a transaction failed; its message was shown
};

LineSettings LineSettingsOf(const KoltSettings& s);
void StoreLineSettings(const LineSettings& line, KoltSettings& s);

// "Station_007 ... ... ..." for station 7.
std::string ScanProgressText(int station);

// The port's name for COM port n: "COM%d".
std::string ComPortName(int n);

// The Link command, steps after the dialog. Does nothing while a scan runs.
// Sets the busy flag for its duration and clears it at the end.
LinkOutcome RunLinkCommand(LinkContext& ctx, const LinkRequest& request);

// Closes the port (when open), clears the linked flag and closes the monitor
// windows. The station list and current station stay as they were.
void Unlink(LinkContext& ctx);

}  // namespace kolt
