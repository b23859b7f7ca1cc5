// Compare Inverter with Default after its dialog: the drive's F and C groups
// against the factory defaults of the drive's own model.
#pragma once

#include "link/link_context.h"

namespace kolt {

class CMarbenApp;

// The station dialog's choices.
struct InverterCompareRequest {
    int station = 1;
    bool hz50 = false;
};

// The dialog's preset: the current station (brought into 1..254) and the
// application's 50 Hz flag.
InverterCompareRequest PresetInverterCompare(const CMarbenApp& app);

// Closes the open document (its save question may abandon the command), reads
// every parameter of the station, then makes the station, the drive's model
// and version and the chosen frequency the application's and creates the
// compare document. A failed read shows its message and creates nothing; the
// document closed before it stays closed. Sets the busy flag for its duration.
// True when the compare document was created.
bool RunInverterCompareCommand(LinkContext& ctx, const InverterCompareRequest& request);

// Its steps around the read (ReadParameters of both groups from
// ClampStation(request.station)), for a caller that reads on another thread:
// closing the open document (false: the save question abandoned the
// command), and after a read that succeeded, the staging and the new document.
bool BeginInverterCompare(LinkContext& ctx);
bool FinishInverterCompare(LinkContext& ctx, const InverterCompareRequest& request);

}  // namespace kolt
