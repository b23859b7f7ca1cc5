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
    // Time-outs of a reply: 0 takes the port kind's default (a local line
    // 400 ms and 50 ms between characters, a network port 1000 ms and 200 ms).
    int readTimeoutMs = 0;
    int charGapMs = 0;
    bool echo = false;   // the adapter sends back what the PC transmits: read it back and drop it
    bool rs485 = false;  // put a native UART into the kernel's RS-485 mode (RTS drives the line)
};

enum class LinkButton { Close, Link, Unlink };

// What the Link dialog was closed with.
struct LinkRequest {
    LinkButton button = LinkButton::Close;
    LineSettings line;
    std::vector<int> stations;  // ascending: the parsed "Single" text or 1..254
    // The device to open instead of "COM%d" of line.comPort (the command line's
    // --port /dev/...); empty for the dialog's COM port.
    std::string portName;
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

// The settings file's line settings as the Link dialog presets them: a baud rate
// it does not offer becomes 38400, data bits other than 7 become 8, other parity
// or stop-bit codes become 0, a port outside 1..8 becomes 1, a time-out
// outside its range becomes 0 (the port kind's default).
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

// Steps 3..5 of Link without the station part: opens the request's port and
// sets up its line, with the Link's messages when it cannot. Linked on success
// (the port is open; the linked flag is left alone), else PortInUse or OpenFailed.
LinkOutcome OpenLinkPort(LinkContext& ctx, const LinkRequest& request);

// What one station said to ProbeStation.
struct StationProbe {
    int station = 0;
    int echoResult = 0;  // transaction result of the echo test after its retry
    int result = 0;      // result of the last transaction: 2 when all was read
    int version = 0;
    int capacity = 0;
};

// One station of a bus scan that goes on past the first answer (the command
// line's scan) on an open port: the scan's echo test (a second call after no
// reply or a bad frame; any frame at all means someone is there), then, for a
// station that answered, the Link's reads of software version and capacity
// code. Shows nothing: the caller reports.
StationProbe ProbeStation(LinkContext& ctx, int station);

}  // namespace kolt
