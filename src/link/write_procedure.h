// The Write command after its dialog: the document's settings go to one or
// more drives, one frame per writable parameter.
#pragma once

#include "link/link_context.h"

#include <functional>
#include <string>
#include <vector>

namespace kolt {

class CMarbenDoc;

// "Write Inverter Function Parameter To Module...F01" for number 1.
std::string WriteProgressText(int number);

// Whether the Write command sends parameter `number`: never F00 (the drive's
// capacity), F52 (it resets the drive to factory defaults) or a read-only one.
bool IsWrittenByWriteCommand(int number);

// Whether the command may show its dialog. A compare document, a running scan
// or monitoring: false, silently. Not linked: "KOLT Not Link With PC !!".
bool CanStartWrite(LinkContext& ctx, const CMarbenDoc& doc);

// The Write dialog's choices.
struct WriteRequest {
    std::vector<int> stations;  // ascending
    bool writeBasic = true;
    bool writeAdvanced = true;
};

enum class WriteOutcome {
    NotStarted,  // not available, or no station chosen
    Completed,   // every station was handled (some may have been skipped by Continue)
    Ended,       // a failure, a capacity mismatch or Abort ended the command
};

// The Write command after "OK". The document is never modified; the link
// stays open whatever happens; the current station is left at the last
// station attempted.
WriteOutcome RunWriteCommand(LinkContext& ctx, const CMarbenDoc& doc, const WriteRequest& request);

// How one station of a Write ended, for a caller that reports per station.
enum class StationWriteResult {
    Written,          // every chosen parameter was sent and accepted
    NoReply,          // the version, capacity or a parameter went unanswered
    BadFrame,         // a garbled reply ("Check Sum Error !!")
    Refused,          // an exception reply; its text is in `message`
    CapacityDiffers,  // the drive's capacity code is not the document's F00
};

struct StationWriteReport {
    int station = 0;
    StationWriteResult result = StationWriteResult::Written;
    int written = 0;        // parameters the drive accepted
    int capacity = -1;      // the drive's capacity code, once read
    int failedNumber = -1;  // the parameter whose write failed; -1 when a read failed
    std::string message;    // the exception text of a refusal
};
using StationWriteObserver = std::function<void(const StationWriteReport&)>;

// The same, telling `onStation` how each station attempted ended (after that
// station's messages and questions). Stations after an end are not reported.
WriteOutcome RunWriteCommand(LinkContext& ctx, const CMarbenDoc& doc, const WriteRequest& request,
                             const StationWriteObserver& onStation);

}  // namespace kolt
