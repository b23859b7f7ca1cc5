// What the main frame shows for the application's state: the status pane texts
// and which commands are enabled. Pure functions of the state.
#pragma once

#include "base/marben_app.h"

#include <string>

namespace kolt {

// The frame-side facts that enabling depends on besides the application state.
struct FrameFacts {
    bool documentOpen = false;
    int compareMode = 0;        // of the open document
    bool viewExists = false;    // the parameter view of the open document
    bool printPreview = false;  // the view is showing its print preview
};

struct StatusTexts {
    std::string version;   // pane 1
    std::string link;      // pane 2
    std::string model;     // pane 3
    std::string editMode;  // pane 4
};

StatusTexts ComputeStatusTexts(const CMarbenApp& app, bool documentOpen);

// Whether the state allows a command. A command without a handler stays
// disabled whatever this says; document commands need an open document.
bool CommandAllowed(int commandId, const CMarbenApp& app, const FrameFacts& facts);

// Whether a tick of the 400 ms timer runs a poll cycle: a station is linked,
// a monitor window is open and no modal command is running.
bool ShouldPoll(const CMarbenApp& app);

// Status pane widths as fractions of the screen width: {numerator, denominator}.
struct PaneFraction {
    int numerator;
    int denominator;
};
inline constexpr PaneFraction kPaneWidths[5] = {{1, 4}, {1, 14}, {1, 8}, {1, 8}, {1, 8}};

}  // namespace kolt
