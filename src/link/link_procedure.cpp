#include "link/link_procedure.h"

#include "base/document_host.h"
#include "base/marben_app.h"
#include "base/prompts.h"
#include "base/settings.h"
#include "base/texts.h"
#include "link/modbus_port.h"
#include "link/transaction_report.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace kolt {

namespace {

constexpr std::size_t kQueueSize = 2048;

// Pumps one window message and looks at the cancel flag, `times` times.
// True when the user has pressed Cancel.
bool PumpAndCheckCancel(LinkContext& ctx, int times) {
    for (int i = 0; i < times; ++i) {
        ctx.prompts.PumpOne();
        if (ctx.Cancelled()) return true;
    }
    return false;
}

}  // namespace

bool LinkContext::Cancelled() {
    if (cancel && cancel->load(std::memory_order_acquire)) app.cancelFlag = 1;
    return app.cancelFlag != 0;
}

namespace {

void ClosePort(LinkContext& ctx) {
    // Closing a closed port would show the port's own complaint.
    if (ctx.port.IsOpen()) ctx.port.Close();
    ctx.app.linkedFlag = 0;
}

// Probes the list until a station answers. Stations that stay silent for two
// calls are set to 0 in the list; the ones after the answering station are
// left unprobed. Only a silent line (no frame at all) removes a station: a
// garbled or refused reply still proves someone is there.
void ScanStations(LinkContext& ctx) {
    CMarbenApp& app = ctx.app;
    IPrompts& prompts = ctx.prompts;
    // Up before the window opens: opening it lets events through, and the
    // menus and the timer must already see the scan then.
    app.scanFlag = 1;
    prompts.ProgressOpen(true);
    prompts.ProgressRange(0, app.linkedCount);
    for (int i = 1; i <= app.linkedCount; ++i) {
        const int station = app.linkedList[static_cast<std::size_t>(i)];
        if (station == 0) continue;
        prompts.ProgressText(ScanProgressText(station));
        prompts.ProgressStep();
        if (PumpAndCheckCancel(ctx, 2)) break;
        int result = ctx.port.Transact(ModbusRequest::Echo(station));
        if (PumpAndCheckCancel(ctx, 2)) break;
        if (result == kNoReply || result == kBadFrame) result = ctx.port.Transact(ModbusRequest::Echo(station));
        if (result != kNoReply) break;
        app.linkedList[static_cast<std::size_t>(i)] = 0;
        if (PumpAndCheckCancel(ctx, 2)) break;
    }
    // Cancel closes the window itself.
    if (!app.cancelFlag) prompts.ProgressClose();
    app.scanFlag = 0;
}

int FirstListedStation(const CMarbenApp& app) {
    for (int i = 1; i <= app.linkedCount; ++i)
        if (app.linkedList[static_cast<std::size_t>(i)] != 0) return app.linkedList[static_cast<std::size_t>(i)];
    return 0;
}

LinkOutcome FailLink(LinkContext& ctx, int result) {
    ReportTransactionFailure(result, ctx.port, ctx.prompts);
    ClosePort(ctx);
    return LinkOutcome::Failed;
}

LinkOutcome LinkStations(LinkContext& ctx, const LinkRequest& request) {
    CMarbenApp& app = ctx.app;
    StoreLineSettings(request.line, app.settings);
    NoteLinkPort(request.portName, app.settings);
    const int count = static_cast<int>(std::min<std::size_t>(request.stations.size(), kStationMax));
    app.linkedList.fill(0);
    for (int i = 0; i < count; ++i)
        app.linkedList[static_cast<std::size_t>(i + 1)] = request.stations[static_cast<std::size_t>(i)];
    app.linkedCount = count;

    if (const LinkOutcome opened = OpenLinkPort(ctx, request); opened != LinkOutcome::Linked) return opened;
    app.cancelFlag = 0;

    if (count == 0) {
        ClosePort(ctx);
        return LinkOutcome::NoStation;
    }
    if (count == 1) {
        app.currentStation = app.linkedList[1];
        const int result = ctx.port.TransactWithRetry(ModbusRequest::Echo(app.currentStation));
        if (result != kNormalReply) return FailLink(ctx, result);
        app.linkedFlag = 1;
    } else {
        ScanStations(ctx);
        const int first = FirstListedStation(app);
        if (first == 0 || app.cancelFlag) {
            ClosePort(ctx);
            return LinkOutcome::NoStation;
        }
        app.currentStation = first;
    }

    int version = 0;
    int result = ctx.port.TransactWithRetry(ModbusRequest::Version(app.currentStation), version);
    if (result != kNormalReply) return FailLink(ctx, result);
    app.softwareVersion = version;

    int capacity = 0;
    result = ctx.port.TransactWithRetry(ModbusRequest::Capacity(app.currentStation), capacity);
    if (result != kNormalReply) return FailLink(ctx, result);
    app.currentModel = capacity;
    app.linkedFlag = 1;
    return LinkOutcome::Linked;
}

}  // namespace

LineSettings LineSettingsOf(const KoltSettings& s) {
    LineSettings line{s.comPort, s.baudRate, s.dataBits, s.parity, s.stopBits};
    line.readTimeoutMs = TimeoutInRange(s.readTimeoutMs, kReadTimeoutMinMs, kReadTimeoutMaxMs);
    line.charGapMs = TimeoutInRange(s.charGapMs, kCharGapMinMs, kCharGapMaxMs);
    line.echo = s.echo != 0;
    line.rs485 = s.rs485 != 0;
    // The settings file is text anyone may edit: a value the dialog does not offer
    // becomes the one it would show.
    if (line.comPort < 1 || line.comPort > 8) line.comPort = 1;
    if (line.baudRate != 4800 && line.baudRate != 9600 && line.baudRate != 19200) line.baudRate = 38400;
    if (line.dataBits != 7) line.dataBits = 8;
    if (line.parity != kParityOdd && line.parity != kParityEven) line.parity = kParityNone;
    if (line.stopBits != kStopTwo) line.stopBits = kStopOne;
    return line;
}

void StoreLineSettings(const LineSettings& line, KoltSettings& s) {
    s.comPort = line.comPort;
    s.baudRate = line.baudRate;
    s.dataBits = line.dataBits;
    s.parity = line.parity;
    s.stopBits = line.stopBits;
    s.readTimeoutMs = line.readTimeoutMs;
    s.charGapMs = line.charGapMs;
    s.echo = line.echo ? 1 : 0;
    s.rs485 = line.rs485 ? 1 : 0;
}

std::string ScanProgressText(int station) {
    char buf[32];
    std::snprintf(buf, sizeof buf, text::kScanProgress, station);
    return std::string(text::kStation) + buf;
}

std::string ComPortName(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "COM%d", n);
    return buf;
}

LinkOutcome RunLinkCommand(LinkContext& ctx, const LinkRequest& request) {
    if (ctx.app.scanFlag) return LinkOutcome::Closed;
    FlagGuard busy(ctx.app.busyFlag);
    LinkOutcome outcome = LinkOutcome::Closed;
    switch (request.button) {
    case LinkButton::Close: return LinkOutcome::Closed;
    case LinkButton::Unlink:
        Unlink(ctx);
        outcome = LinkOutcome::Unlinked;
        break;
    case LinkButton::Link: outcome = LinkStations(ctx, request); break;
    }
    ctx.host.RefreshStatusPanes();
    return outcome;
}

void Unlink(LinkContext& ctx) {
    ClosePort(ctx);
    ctx.host.CloseMonitorWindows();
}

LinkOutcome OpenLinkPort(LinkContext& ctx, const LinkRequest& request) {
    const LineSettings& line = request.line;
    const std::string name = request.portName.empty() ? ComPortName(line.comPort) : request.portName;
    ctx.port.SetReplyTimeouts(line.readTimeoutMs, line.charGapMs);
    ctx.port.SetEcho(line.echo);
    const std::uint32_t error = ctx.port.Open(name, kQueueSize, kQueueSize);
    if (error == kErrAlreadyInitialized) {
        ctx.prompts.Message(text::kPortAlreadyOpen, text::kCommCaption, Icon::Information);
        return LinkOutcome::PortInUse;
    }
    if (error != 0) {
        ctx.app.linkedFlag = 0;
        std::string message = std::string(text::kCommError) + "\n" + text::kCannotOpenPort;
        const std::string failure = ctx.port.FailureText();
        const std::string hint = failure.empty() ? OpenFailureHint(error, ctx.port.DevicePath()) : failure;
        if (!hint.empty()) message += "\n\n" + hint;
        ctx.prompts.Message(message, text::kCommCaption, Icon::Error);
        return LinkOutcome::OpenFailed;
    }
    ctx.port.SetPortName(name);
    ctx.port.Setup(line.baudRate, line.dataBits, line.parity, line.stopBits);
    ctx.port.SetHandshaking(kHandshakeHardware);
    if (line.rs485 && ctx.port.SetRs485(true) != 0) {
        char message[512];
        std::snprintf(message, sizeof message, text::kRs485Refused, ctx.port.DevicePath().c_str(),
                      std::strerror(static_cast<int>(ctx.port.LastError())));
        ctx.port.Close();
        ctx.prompts.Message(message, text::kCommCaption, Icon::Error);
        return LinkOutcome::OpenFailed;
    }
    return LinkOutcome::Linked;
}

StationProbe ProbeStation(LinkContext& ctx, int station) {
    StationProbe probe;
    probe.station = station;
    int result = ctx.port.Transact(ModbusRequest::Echo(station));
    if (result == kNoReply || result == kBadFrame) result = ctx.port.Transact(ModbusRequest::Echo(station));
    probe.echoResult = probe.result = result;
    if (result == kNoReply) return probe;
    probe.result = ctx.port.TransactWithRetry(ModbusRequest::Version(station), probe.version);
    if (probe.result != kNormalReply) return probe;
    probe.result = ctx.port.TransactWithRetry(ModbusRequest::Capacity(station), probe.capacity);
    return probe;
}

}  // namespace kolt
