// How the parameter grid lays a document out: its columns and header texts by
// compare mode, and which parameter slot each data row shows.
#pragma once

#include "catalogue/catalogue.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kolt {

// Whether a compare mode has a compare layout: modes 1..3. Any other mode (0, or
// one a damaged file made up) is laid out as an ordinary document.
bool IsCompareLayout(int compareMode);

// Columns of an ordinary document and of the compare modes: 5, 4, 4, 6.
int GridColumnCount(int compareMode);

// The header row: "Description", "Code", then "Range", "Default", "Setting"
// (ordinary) or the compare mode's "Default" and source-name columns.
std::vector<std::string> GridHeaderTexts(int compareMode, const std::array<std::string, 3>& sourceNames);

// The slot shown by each data row, in row order (data row r is entry r - 1).
// An ordinary document shows all 111 parameters; a compare document the slots
// that differ, skipping any that hold no parameter.
std::vector<int> GridRowSlots(int compareMode, const std::array<std::uint8_t, kSlotCount>& differs);

// What a column of a compare row shows.
enum class CompareColumn { Description, Code, Default, Source1, Source2, Source3 };
CompareColumn CompareColumnKind(int compareMode, int column);

// Columns of an ordinary document.
inline constexpr int kColDescription = 0;
inline constexpr int kColCode = 1;
inline constexpr int kColRange = 2;
inline constexpr int kColDefault = 3;
inline constexpr int kColSetting = 4;

}  // namespace kolt
