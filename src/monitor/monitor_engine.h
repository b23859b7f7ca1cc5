// The monitor engine: the station monitor table, the four polls, the poll
// cycle of the 400 ms tick, the three command procedures, the two starts and
// their failure handling. No Qt: it reaches the user through IPrompts, the
// port through the link context and the windows through IMonitorWindows.
//
// How the window program uses it:
// - The Monitor command (only while linked, and it does nothing while
//   MonitorMayStart() is false) shows the start dialog, then calls
//   StartSingle(station) or StartAll(ParseStationRange(text)).
// - The frame's 400 ms timer calls PollCycle() with the busy flag set, when a
//   station is linked, nothing is busy and a monitor window is open (or calls
//   Tick(), which makes those checks itself).
// - The windows read Table() and act through PressButton, SetFrequencyText,
//   SelectFunction and SetDataText; these set requests in the table and post
//   a monitor command. PostCommand queues the command and calls the post hook
//   (SetPostHook): the frame schedules a queued call (never a direct call)
//   that runs RunNextPosted() from its event loop, so a command never runs
//   inside a poll. HandleCommand is the command message's handler itself.
// - A window that closes (EXIT, close box, Unlink) calls WindowClosed().
#pragma once

#include "link/link_context.h"
#include "monitor/monitor_windows.h"
#include "monitor/poll_reply.h"
#include "monitor/station_table.h"
#include "monitor/trend_recorder.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kolt {

// The monitor command message's wParam (message 3054).
enum class MonitorCommand { ControlWord = 1, Frequency = 2, ParameterData = 3 };
inline constexpr int kMonitorCommandMessage = 3054;

// The buttons and check buttons that set control-word requests.
enum class MonitorButton { Run, Stop, Forward, Reverse, FaultReset, S1, S2, S3, S4, AIN, RY1 };

enum class MonitorWindowKind { None, Single, All };

// How one station's polls ended: `failed` is the first poll that failed (the
// later ones were not run) and `result` its transaction result.
struct StationPollOutcome {
    bool ok = true;
    Poll failed = Poll::Limits;
    int result = 2;
    bool valuesAndStatus = false;  // the values and status polls both succeeded
};

// What a "Set" button made of its field.
struct SetOutcome {
    bool ignored = false;   // the busy flag was set: nothing happened
    bool accepted = false;  // stored and posted; show `text` in the field
    std::string text;       // accepted: the field's new text
    // refused: the "Over Range !!" box has been shown; the window puts the
    // focus in the field and selects its text.
};

class CMonitorEngine {
public:
    CMonitorEngine(LinkContext& link, IMonitorWindows& windows);

    StationMonitorTable& Table() { return table_; }
    const StationMonitorTable& Table() const { return table_; }
    MonitorWindowKind Window() const { return window_; }

    // False while a monitor window is open or a scan runs: the Monitor command
    // then does nothing.
    bool MonitorMayStart() const;

    // Starts. StartSingle reads the station's software version and capacity
    // code, makes it the current station, resets the table and opens the
    // single-station window. StartAll resets the table, runs the echo scan
    // over `stations` (progress window with Cancel; a station gets a second
    // echo when the first one fails) and opens the all-station window on the
    // page of the lowest answering station. False when no window opened
    // (not linked, a failed read, Cancel, or the window could not be made).
    bool StartSingle(int station);
    bool StartAll(const std::vector<int>& stations);

    // The timer tick: nothing unless linked and not busy; then with the busy
    // flag set, one poll cycle when a window is open.
    void Tick();
    // One poll cycle for the open window (the caller holds the busy flag).
    // A cancel from the link ends it after the transaction in progress.
    void PollCycle();
    // One station's four polls in order, stopping at the first failure (whose
    // handling has run), refreshing the open window after each successful
    // values, status and parameter poll. kolt-cli's cycle uses it directly.
    StationPollOutcome PollStation(int station);
    // One poll alone; the transaction result (2 on success).
    int RunPoll(Poll poll, int station);

    // Window actions. Each is ignored while the busy flag is set, except
    // SelectFunction (the list reacts even then).
    void PressButton(int station, MonitorButton button);
    // What PressButton sets in the station's record, without posting: several
    // requests then go out in one control-word write (kolt-cli control).
    void SetRequest(int station, MonitorButton button);
    SetOutcome SetFrequencyText(int station, std::string_view text);
    SetOutcome SetDataText(int station, std::string_view text);
    // "Fun. no." at `position` (0..110) becomes the station's selected
    // parameter. The window shows FunDataText() and clears "Set data".
    void SelectFunction(int station, int position);
    // "Fun. data": the selected parameter's last read value in its format.
    std::string FunDataText(int station) const;

    // Posted commands (message 3054). PostCommand queues and calls the post
    // hook; RunNextPosted runs the oldest (false when none was queued);
    // RunPostedCommands runs all that are queued.
    void SetPostHook(std::function<void()> hook) { postHook_ = std::move(hook); }
    void PostCommand(MonitorCommand command, int station);
    struct PostedCommand {
        MonitorCommand command;
        int station;
    };
    // Takes the oldest queued command without running it (the window
    // program runs it on the bus thread); nullopt when none was queued.
    std::optional<PostedCommand> TakeNextPosted();
    bool RunNextPosted();
    void RunPostedCommands();
    std::size_t PostedCount() const { return posted_.size(); }
    // The message's handler: wParam 1..3 run a command, anything else is ignored.
    void HandleCommand(int wParam, int station);

    // The three command procedures; true when the drive took the write.
    bool WriteControlWord(int station);
    bool WriteFrequencyCommand(int station);
    bool WriteParameterData(int station);
    // The word the last control-word command wrote (or tried to write).
    std::uint16_t LastControlWord() const { return lastControlWord_; }

    // The trend record: a sample per station and cycle whose values and status
    // polls both succeeded; cleared by each start, kept after the window closes.
    CTrendRecorder& Trend() { return trend_; }
    // Off: the polls keep no trend record here (another engine keeps it from
    // their snapshots).
    void KeepTrend(bool on) { keepTrend_ = on; }
    const CTrendRecorder& Trend() const { return trend_; }

    // A monitor window has closed: the monitoring flag clears.
    void WindowClosed();

    // Called after a station's polls when its values and status polls both
    // succeeded (one sample per station and cycle), with the station polled.
    void SetStationObserver(std::function<void(int station, const StationRecord& record)> observer) {
        observer_ = std::move(observer);
    }

private:
    // The failure handling of a poll or command request (result 0, 1 or 3).
    void HandleFailure(int result, int station);
    bool NotLinked();
    bool WindowOpen() const { return window_ != MonitorWindowKind::None; }
    void RefreshWindow();

    LinkContext& link_;
    IMonitorWindows& windows_;
    StationMonitorTable table_;
    MonitorWindowKind window_ = MonitorWindowKind::None;
    // The link's cancel is set: what is left of the cycle or command ends
    // without a word to the user.
    bool Cancelled() const;

    std::deque<PostedCommand> posted_;
    std::uint16_t lastControlWord_ = 0;
    std::function<void()> postHook_;
    std::function<void(int, const StationRecord&)> observer_;
    CTrendRecorder trend_;
    bool keepTrend_ = true;
};

}  // namespace kolt
