#include "view/grid_layout.h"

#include "base/texts.h"

namespace kolt {

namespace {

using Kind = CompareColumn;
// Column kinds of compare modes 1..3.
constexpr std::array<std::array<Kind, 6>, 3> kCompareColumns{{
    {Kind::Description, Kind::Code, Kind::Default, Kind::Source1, Kind::Source1, Kind::Source1},
    {Kind::Description, Kind::Code, Kind::Source1, Kind::Source2, Kind::Source2, Kind::Source2},
    {Kind::Description, Kind::Code, Kind::Default, Kind::Source1, Kind::Source2, Kind::Source3},
}};
constexpr std::array<int, 4> kColumnCounts{5, 4, 4, 6};

}  // namespace

bool IsCompareLayout(int compareMode) { return compareMode >= 1 && compareMode <= 3; }

int GridColumnCount(int compareMode) {
    return kColumnCounts[static_cast<std::size_t>(IsCompareLayout(compareMode) ? compareMode : 0)];
}

CompareColumn CompareColumnKind(int compareMode, int column) {
    if (!IsCompareLayout(compareMode) || column < 0 || column >= GridColumnCount(compareMode)) return Kind::Description;
    return kCompareColumns[static_cast<std::size_t>(compareMode - 1)][static_cast<std::size_t>(column)];
}

std::vector<std::string> GridHeaderTexts(int compareMode, const std::array<std::string, 3>& sourceNames) {
    if (!IsCompareLayout(compareMode))
        return {text::kColDescription, text::kColCode, text::kColRange, text::kColDefault, text::kColSetting};
    std::vector<std::string> out;
    for (int c = 0; c < GridColumnCount(compareMode); ++c) {
        switch (CompareColumnKind(compareMode, c)) {
            case Kind::Description: out.emplace_back(text::kColDescription); break;
            case Kind::Code: out.emplace_back(text::kColCode); break;
            case Kind::Default: out.emplace_back(text::kColDefault); break;
            case Kind::Source1: out.push_back(sourceNames[0]); break;
            case Kind::Source2: out.push_back(sourceNames[1]); break;
            case Kind::Source3: out.push_back(sourceNames[2]); break;
        }
    }
    return out;
}

std::vector<int> GridRowSlots(int compareMode, const std::array<std::uint8_t, kSlotCount>& differs) {
    std::vector<int> slots;
    for (int slot = 0; slot < kParamCount; ++slot)
        if (!IsCompareLayout(compareMode) || differs[static_cast<std::size_t>(slot)]) slots.push_back(slot);
    return slots;
}

}  // namespace kolt
