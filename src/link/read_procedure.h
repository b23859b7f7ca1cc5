// Reading a drive's parameters: ReadParameters (also used by the inverter
// compare) and the Read command after its dialog.
#pragma once

#include "link/link_context.h"

#include <string>

namespace kolt {

// "Read Inverter Function Parameter...F07" for number 7, "...C25" for 125.
std::string ReadProgressText(int number);

// Reads the station's software version, capacity code and the chosen groups
// into the application's read version, read capacity and read buffer (value
// array 1 of the staging area; slots 111..299 become 0). On any failure the
// message is shown, the link stays as it was and nothing of the application
// changes. Not linked: "KOLT Not Link With PC !!" and nothing is sent.
bool ReadParameters(LinkContext& ctx, int station, bool readF, bool readC);

// One Read parameter request to `station` (up to three calls while there is
// no or a garbled reply), the value in `value` (stored form, as read). A
// failure is reported as ReadParameters reports it. Not linked: "KOLT Not
// Link With PC !!" and nothing is sent. Used by the command line's get.
bool ReadOneParameter(LinkContext& ctx, int station, int number, int& value);

// The Read dialog's choices.
struct ReadRequest {
    int station = 1;
    bool readF = true;
    bool readC = true;
};

// The Read command after "OK" in its dialog: the open document's Yes/No save
// question, closing a compare or print-preview document, the read, then the
// link state and the document (refilled, or a new one created). Sets the busy
// flag for its duration. True when the drive was read.
bool RunReadCommand(LinkContext& ctx, const ReadRequest& request);

// Its steps around ReadParameters, for a caller that reads on another thread
// and keeps the document on its own: before, the save question and closing
// (false: the user abandoned the command); after a read that succeeded, the
// link state, the status panes and the document.
bool BeginReadCommand(LinkContext& ctx, const ReadRequest& request);
void FinishReadCommand(LinkContext& ctx, const ReadRequest& request);

}  // namespace kolt
