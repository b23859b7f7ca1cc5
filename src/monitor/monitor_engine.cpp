#include "monitor/monitor_engine.h"

#include "base/document_host.h"
#include "base/marben_app.h"
#include "base/prompts.h"
#include "base/texts.h"
#include "catalogue/value_text.h"
#include "link/modbus_port.h"
#include "link/link_procedure.h"
#include "link/transaction_report.h"
#include "monitor/monitor_texts.h"

#include <algorithm>

namespace kolt {

namespace {

constexpr int kStationsPerPage = 5;
constexpr int kLastPage = 50;

// Control word (00E6) bits.
constexpr std::uint16_t kCtlRun = 1u << 0;
constexpr std::uint16_t kCtlReverse = 1u << 1;
constexpr std::uint16_t kCtlFaultReset = 1u << 3;
// Control-word bit of each terminal function, S1..RY1.
constexpr std::uint16_t kCtlTerminal[kTerminalCount] = {1u << 5, 1u << 6, 1u << 7, 1u << 8, 1u << 11, 1u << 12};

}  // namespace

CMonitorEngine::CMonitorEngine(LinkContext& link, IMonitorWindows& windows) : link_(link), windows_(windows) {}

bool CMonitorEngine::MonitorMayStart() const { return !link_.app.monitoringFlag && !link_.app.scanFlag; }

bool CMonitorEngine::NotLinked() {
    if (link_.app.linkedFlag) return false;
    NestedFlagGuard busy(link_.app.busyFlag);
    link_.prompts.CommMessage(text::kNotLinked);
    return true;
}

// ------------------------------------------------------------------ starts

bool CMonitorEngine::StartSingle(int station) {
    CMarbenApp& app = link_.app;
    if (NotLinked()) return false;
    NestedFlagGuard busy(app.busyFlag);
    int version = 0;
    int result = link_.port.TransactWithRetry(ModbusRequest::Version(station), version);
    if (result != kNormalReply) {
        ReportTransactionFailure(result, link_.port, link_.prompts);
        return false;
    }
    app.softwareVersion = version;
    link_.host.RefreshStatusPanes();
    int capacity = 0;
    result = link_.port.TransactWithRetry(ModbusRequest::Capacity(station), capacity);
    if (result != kNormalReply) {
        ReportTransactionFailure(result, link_.port, link_.prompts);
        return false;
    }
    app.currentModel = capacity;
    app.currentStation = station;
    link_.host.RefreshStatusPanes();

    table_.Reset();
    trend_.Clear();
    table_[station].paramValues[0][0] = capacity;
    if (!windows_.OpenSingleWindow(station)) return false;
    window_ = MonitorWindowKind::Single;
    app.monitoringFlag = 1;
    table_.ClearRequests();
    SelectFunction(station, 0);
    windows_.RefreshSingle();
    return true;
}

bool CMonitorEngine::StartAll(const std::vector<int>& stations) {
    CMarbenApp& app = link_.app;
    IPrompts& prompts = link_.prompts;
    if (NotLinked()) return false;
    NestedFlagGuard busy(app.busyFlag);
    table_.Reset();
    trend_.Clear();
    app.scanFlag = 1;
    app.cancelFlag = 0;

    // Pumps one message and looks at the cancel flag, twice.
    auto cancelled = [&] {
        for (int i = 0; i < 2; ++i) {
            prompts.PumpOne();
            if (link_.Cancelled()) return true;
        }
        return false;
    };
    const int count = static_cast<int>(std::min<std::size_t>(stations.size(), kStationMax));
    prompts.ProgressOpen(true);
    prompts.ProgressRange(0, count);
    for (int i = 0; i < count; ++i) {
        const int s = stations[static_cast<std::size_t>(i)];
        prompts.ProgressText(ScanProgressText(s));
        prompts.ProgressStep();
        if (cancelled()) break;
        if (s < 1 || s > kStationMax) continue;
        int result = link_.port.Transact(ModbusRequest::Echo(s));
        if (cancelled()) break;
        if (result == kNoReply || result == kBadFrame) result = link_.port.Transact(ModbusRequest::Echo(s));
        if (result == kNormalReply) {
            table_[s].monitored = 1;
            app.currentStation = s;
        }
        if (cancelled()) break;
    }
    app.scanFlag = 0;
    link_.host.RefreshStatusPanes();
    // Cancel has closed the progress window itself.
    if (app.cancelFlag) return false;
    prompts.ProgressClose();

    int first = stations.empty() ? 0 : stations.front();
    for (int s = 1; s <= kStationMax; ++s) {
        if (table_[s].monitored) {
            first = s;
            break;
        }
    }
    const int page = std::clamp((first - 1) / kStationsPerPage, 0, kLastPage);
    if (!windows_.OpenAllWindow(page)) return false;
    window_ = MonitorWindowKind::All;
    app.monitoringFlag = 1;
    table_.ClearRequests();
    windows_.RefreshAll();
    return true;
}

void CMonitorEngine::WindowClosed() {
    window_ = MonitorWindowKind::None;
    link_.app.monitoringFlag = 0;
}

// ------------------------------------------------------------------ polls

int CMonitorEngine::RunPoll(Poll poll, int station) {
    if (!StationMonitorTable::Holds(station)) return kNoReply;
    const int result = link_.port.TransactWithRetry(PollRequest(poll, station, table_[station]));
    if (result != kNormalReply) {
        HandleFailure(result, station);
        return result;
    }
    // Stored in the replying station's record; a frame from no station of ours stores nothing.
    StorePollReply(poll, link_.port.Reply(), link_.port.ReceivedCount(), table_);
    return result;
}

void CMonitorEngine::RefreshWindow() {
    if (window_ == MonitorWindowKind::Single) windows_.RefreshSingle();
    else if (window_ == MonitorWindowKind::All) windows_.RefreshAll();
}

StationPollOutcome CMonitorEngine::PollStation(int station) {
    StationPollOutcome out;
    bool values = false, status = false;
    for (Poll poll : {Poll::Limits, Poll::Values, Poll::Status, Poll::Parameter}) {
        const int result = RunPoll(poll, station);
        if (result != kNormalReply) {
            out.ok = false;
            out.failed = poll;
            out.result = result;
            break;
        }
        if (poll == Poll::Values) values = true;
        if (poll == Poll::Status) status = true;
        if (poll != Poll::Limits) RefreshWindow();
    }
    out.valuesAndStatus = values && status;
    if (out.valuesAndStatus) {
        if (keepTrend_) trend_.Record(station, table_[station]);
        if (observer_) observer_(station, table_[station]);
    }
    return out;
}

void CMonitorEngine::PollCycle() {
    if (window_ == MonitorWindowKind::Single) {
        PollStation(link_.app.currentStation);
        return;
    }
    if (window_ != MonitorWindowKind::All) return;
    const int page = std::clamp(windows_.AllWindowPage(), 0, kLastPage);
    for (int s = kStationsPerPage * page + 1; s <= kStationsPerPage * page + kStationsPerPage; ++s) {
        if (window_ != MonitorWindowKind::All || Cancelled()) return;
        if (s > kStationMax || !table_[s].monitored) continue;
        const StationPollOutcome outcome = PollStation(s);
        if (!outcome.ok && outcome.failed == Poll::Limits) return;
    }
}

void CMonitorEngine::Tick() {
    CMarbenApp& app = link_.app;
    if (!app.linkedFlag || app.busyFlag) return;
    FlagGuard busy(app.busyFlag);
    if (app.monitoringFlag) PollCycle();
}

// ------------------------------------------------------------------ failures

bool CMonitorEngine::Cancelled() const {
    return link_.cancel && link_.cancel->load(std::memory_order_acquire);
}

void CMonitorEngine::HandleFailure(int result, int station) {
    // A cancelled wait is no lost station: the window or the link is going.
    if (Cancelled()) return;
    CMarbenApp& app = link_.app;
    NestedFlagGuard busy(app.busyFlag);
    if (result == kNoReply && app.monitoringFlag) {
        if (link_.prompts.MonitorError(MonitorErrorText(station))) return;
        if (window_ == MonitorWindowKind::All) {
            if (StationMonitorTable::Holds(station)) table_[station].monitored = 0;
            windows_.ClearPanel(station);
            return;
        }
        if (link_.port.IsOpen()) link_.port.Close();
        app.linkedFlag = 0;
        if (window_ == MonitorWindowKind::Single) {
            windows_.CloseSingleWindow();
            WindowClosed();
        }
        link_.host.RefreshStatusPanes();
        return;
    }
    ReportTransactionFailure(result, link_.port, link_.prompts);
}

// ------------------------------------------------------------------ window actions

void CMonitorEngine::PressButton(int station, MonitorButton button) {
    if (link_.app.busyFlag || !StationMonitorTable::Holds(station)) return;
    SetRequest(station, button);
    PostCommand(MonitorCommand::ControlWord, station);
}

void CMonitorEngine::SetRequest(int station, MonitorButton button) {
    if (!StationMonitorTable::Holds(station)) return;
    StationRecord& r = table_[station];
    switch (button) {
    case MonitorButton::Run: r.runRequest = 1, r.stopRequest = 0; break;
    case MonitorButton::Stop: r.runRequest = 0, r.stopRequest = 1; break;
    case MonitorButton::Forward: r.forwardRequest = 1, r.reverseRequest = 0; break;
    case MonitorButton::Reverse: r.forwardRequest = 0, r.reverseRequest = 1; break;
    case MonitorButton::FaultReset: r.faultResetRequest = 1; break;
    default: {
        const int t = static_cast<int>(button) - static_cast<int>(MonitorButton::S1);
        r.toggleRequests[static_cast<std::size_t>(t)] = 1;
        break;
    }
    }
}

SetOutcome CMonitorEngine::SetFrequencyText(int station, std::string_view text) {
    SetOutcome out;
    if (link_.app.busyFlag || !StationMonitorTable::Holds(station)) {
        out.ignored = true;
        return out;
    }
    StationRecord& r = table_[station];
    const std::int32_t value = ParseFrequencyText(text);
    if (const auto refusal = FrequencyRefusal(value, r.freqLower, r.freqUpper)) {
        NestedFlagGuard busy(link_.app.busyFlag);
        link_.prompts.Message(*refusal, text::kErrorCaption, Icon::Information);
        return out;
    }
    out.accepted = true;
    out.text = TwoDecimalMonitorText(value);
    r.freqCommand = value;
    PostCommand(MonitorCommand::Frequency, station);
    return out;
}

SetOutcome CMonitorEngine::SetDataText(int station, std::string_view text) {
    SetOutcome out;
    if (link_.app.busyFlag || !StationMonitorTable::Holds(station)) {
        out.ignored = true;
        return out;
    }
    StationRecord& r = table_[station];
    const int number = r.SelectedNumber();
    const std::int32_t value = ParseSetDataText(text, number);
    if (const auto refusal = SetDataRefusal(number, value)) {
        NestedFlagGuard busy(link_.app.busyFlag);
        link_.prompts.Message(*refusal, text::kErrorCaption, Icon::Information);
        return out;
    }
    out.accepted = true;
    out.text = FormatParamValue(value, number);
    r.SelectedSetData() = value;
    PostCommand(MonitorCommand::ParameterData, station);
    return out;
}

void CMonitorEngine::SelectFunction(int station, int position) {
    const int number = ParameterOfPosition(position);
    if (number < 0 || !StationMonitorTable::Holds(station)) return;
    StationRecord& r = table_[station];
    r.functionGroup = number / 100;
    r.functionIndex = number % 100;
}

std::string CMonitorEngine::FunDataText(int station) const {
    if (!StationMonitorTable::Holds(station)) return {};
    const StationRecord& r = table_[station];
    const int number = r.SelectedNumber();
    return FormatParamValue(r.paramValues[static_cast<std::size_t>(r.functionGroup)]
                                         [static_cast<std::size_t>(r.functionIndex)],
                            number);
}

// ------------------------------------------------------------------ commands

void CMonitorEngine::PostCommand(MonitorCommand command, int station) {
    posted_.push_back({command, station});
    if (postHook_) postHook_();
}

std::optional<CMonitorEngine::PostedCommand> CMonitorEngine::TakeNextPosted() {
    if (posted_.empty()) return std::nullopt;
    const PostedCommand next = posted_.front();
    posted_.pop_front();
    return next;
}

bool CMonitorEngine::RunNextPosted() {
    const auto next = TakeNextPosted();
    if (!next) return false;
    HandleCommand(static_cast<int>(next->command), next->station);
    return true;
}

void CMonitorEngine::RunPostedCommands() {
    while (RunNextPosted()) {
    }
}

void CMonitorEngine::HandleCommand(int wParam, int station) {
    if (!StationMonitorTable::Holds(station)) return;
    switch (wParam) {
    case static_cast<int>(MonitorCommand::ControlWord): WriteControlWord(station); break;
    case static_cast<int>(MonitorCommand::Frequency): WriteFrequencyCommand(station); break;
    case static_cast<int>(MonitorCommand::ParameterData): WriteParameterData(station); break;
    default: break;
    }
}

bool CMonitorEngine::WriteControlWord(int station) {
    if (NotLinked()) return false;
    NestedFlagGuard busy(link_.app.busyFlag);
    int value = 0;
    int result = link_.port.TransactWithRetry(ModbusRequest::ControlWord(station), value);
    if (result != kNormalReply) {
        HandleFailure(result, station);
        return false;
    }
    // The word read and the requests are the replying station's.
    const int replying = StationMonitorTable::Holds(link_.port.ReplyStation()) && link_.port.ReplyStation() != 0
                             ? link_.port.ReplyStation()
                             : station;
    StationRecord& r = table_[replying];
    auto w = static_cast<std::uint16_t>(value);
    if (r.runRequest) w |= kCtlRun;
    if (r.stopRequest) w &= static_cast<std::uint16_t>(~kCtlRun);
    if (r.forwardRequest) w &= static_cast<std::uint16_t>(~kCtlReverse);
    if (r.reverseRequest) w |= kCtlReverse;
    if (r.faultResetRequest) w |= kCtlFaultReset;
    r.runRequest = r.stopRequest = r.forwardRequest = r.reverseRequest = r.faultResetRequest = 0;
    // A toggle switches the function by what the drive reports for the terminal.
    for (int t = 0; t < kTerminalCount; ++t) {
        auto& request = r.toggleRequests[static_cast<std::size_t>(t)];
        if (!request) continue;
        if (r.terminals[static_cast<std::size_t>(t)]) w &= static_cast<std::uint16_t>(~kCtlTerminal[t]);
        else w |= kCtlTerminal[t];
        request = 0;
    }
    lastControlWord_ = w;
    result = link_.port.TransactWithRetry(ModbusRequest::WriteReg(replying, kRegControlWord, w));
    if (result != kNormalReply) {
        HandleFailure(result, station);
        return false;
    }
    return true;
}

bool CMonitorEngine::WriteFrequencyCommand(int station) {
    if (NotLinked()) return false;
    NestedFlagGuard busy(link_.app.busyFlag);
    const int value = std::clamp(table_[station].freqCommand, 0, 0xFFFF);
    const int result = link_.port.TransactWithRetry(ModbusRequest::WriteReg(station, kRegFreqCommand, value));
    if (result != kNormalReply) {
        HandleFailure(result, station);
        return false;
    }
    return true;
}

bool CMonitorEngine::WriteParameterData(int station) {
    if (NotLinked()) return false;
    NestedFlagGuard busy(link_.app.busyFlag);
    StationRecord& r = table_[station];
    const int value = std::clamp(r.SelectedSetData(), 0, 0xFFFF);
    const int result = link_.port.TransactWithRetry(ModbusRequest::WriteParam(station, r.SelectedNumber(), value));
    if (result != kNormalReply) {
        HandleFailure(result, station);
        return false;
    }
    return true;
}

}  // namespace kolt
