// The eleven drive models, their factory defaults at 50 Hz and 60 Hz, and the
// texts the model dialog and the grid's "Default" column show.
#pragma once

#include <cstdint>
#include <string>

namespace kolt {

inline constexpr int kModelCount = 11;

// String 2400 + index; empty outside 0..10.
std::string ModelName(int model);

// Seven lines: the model name line and the six numbered rating lines.
std::string ModelInfoText(int model);

// Factory default (stored form) of a parameter for a model and mains frequency.
// Unknown numbers give 0; a model outside 0..10 gives 0 for model-dependent ones.
std::int32_t DefaultValue(int number, int model, bool hz50);

// The grid's "Default" text: the 50 Hz text, or "50 Hz text/60 Hz text" when they
// differ; "x.x" for F53 and nothing for F54.
std::string DefaultText(int number, int model);

// "50 Hz" and "60 Hz", the frequency lists' entries (index 0 and 1).
inline constexpr const char* kFrequencyTexts[2] = {"50 Hz", "60 Hz"};

}  // namespace kolt
