#include "catalogue/models.h"

#include "catalogue/catalogue.h"
#include "catalogue/value_text.h"

#include <array>

namespace kolt {
namespace {

struct ModelRow {
    const char* name;
    const char* horsepower;
    const char* motor;
    const char* current;
    const char* capacity;
    const char* inputVoltage;
    const char* outputVoltage;
};

constexpr const char* kIn100 = "Single-phase 100~120V +10%/-15%\n";
constexpr const char* kIn200 = "Single-phase or three-phase 200~240V +10%/-15%\n";
constexpr const char* kIn400 = "Three-phase 380~480V +10%/-15%\n";
constexpr const char* kOut200 = "Three-phase 200-240V\n";
constexpr const char* kOut400 = "Three-phase 380-480V\n";

constexpr std::array<ModelRow, kModelCount> kModels{{
    {"S100-0.2", " 0.25HP\n", " 0.2KW\n", " 1.7A\n", " 0.53KVA\n", kIn100, kOut200},
    {"S100-0.4", " 0.5HP\n", " 0.4KW\n", " 3.1A\n", " 0.88KVA\n", kIn100, kOut200},
    {"S100-0.75", " 1HP\n", " 0.75KW\n", " 4.5A\n", " 1.60KVA\n", kIn100, kOut200},
    {"D200-0.2", " 0.25HP\n", " 0.2KW\n", " 1.7A\n", " 0.53KVA\n", kIn200, kOut200},
    {"D200-0.4", " 0.5HP\n", " 0.4KW\n", " 3.1A\n", " 0.88KVA\n", kIn200, kOut200},
    {"D200-0.75", " 1HP\n", " 0.75KW\n", " 4.5A\n", " 1.60KVA\n", kIn200, kOut200},
    {"D200-1.5", " 2HP\n", " 1.5KW\n", " 7.5A\n", " 2.90KVA\n", kIn200, kOut200},
    {"D200-2.2", " 3HP\n", " 2.2KW\n", " 10.5A\n", " 4.00KVA\n", kIn200, kOut200},
    {"T400-0.75", " 1HP\n", " 0.75KW\n", " 2.3A\n", " 1.70KVA\n", kIn400, kOut400},
    {"T400-1.5", " 2HP\n", " 1.5KW\n", " 3.8A\n", " 2.90KVA\n", kIn400, kOut400},
    {"T400-2.2", " 3HP\n", " 2.2KW\n", " 5.2A\n", " 4.00KVA\n", kIn400, kOut400},
}};

// Model-dependent defaults. F48/F49 and F50 also depend on the frequency.
struct ModelDefaults {
    std::int32_t f43, f44, f46, f48_50, f48_60, f50_50, f50_60, c16, c25;
};
constexpr std::array<ModelDefaults, kModelCount> kModelDefaults{{
    {10, 2200, 2, 250, 300, 20, 24, 2200, 5},
    {19, 2200, 4, 250, 300, 20, 24, 2200, 9},
    {34, 2200, 8, 250, 300, 20, 24, 2200, 17},
    {10, 2200, 2, 250, 300, 20, 24, 2200, 5},
    {19, 2200, 4, 250, 300, 20, 24, 2200, 9},
    {34, 2200, 8, 250, 300, 20, 24, 2200, 17},
    {57, 2200, 15, 200, 240, 15, 18, 2200, 28},
    {80, 2200, 22, 200, 240, 15, 18, 2200, 40},
    {16, 4400, 8, 250, 300, 20, 24, 4400, 8},
    {30, 4400, 15, 200, 240, 15, 18, 4400, 15},
    {43, 4400, 22, 200, 240, 15, 18, 4400, 22},
}};

// Defaults that depend on neither model nor frequency, by slot (F00..F54, C00..C55).
// Model- and frequency-dependent slots hold 0 here and are answered below.
constexpr std::array<std::int32_t, kParamCount> kFixedDefaults{{
    // F00..F09
    0, 50, 50, 0, 0, 0, 0, 0, 0, 0,
    // F10..F19
    0, 0, 1, 5, 6, 17, 0, 100, 0, 0,
    // F20..F29
    0, 0, 0, 0, 0, 0, 0, 100, 500, 500,
    // F30..F39
    1000, 2000, 3000, 4000, 5000, 6000, 500, 5, 150, 5,
    // F40..F49
    10, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    // F50..F54
    0, 0, 0, 0, 0,
    // C00..C09
    0, 0, 200, 0, 200, 0, 200, 0, 30, 1,
    // C10..C19
    0, 50, 50, 1, 0, 0, 0, 0, 1000, 0,
    // C20..C29
    500, 0, 10, 0, 0, 0, 0, 0, 0, 0,
    // C30..C39
    0, 100, 10, 100, 0, 0, 0, 0, 0, 0,
    // C40..C49
    0, 0, 7, 9, 10, 50, 5, 0, 0, 1,
    // C50..C55
    3, 0, 0, 0, 0, 0,
}};

}  // namespace

std::string ModelName(int model) {
    if (model < 0 || model >= kModelCount) return {};
    return kModels[static_cast<std::size_t>(model)].name;
}

std::string ModelInfoText(int model) {
    if (model < 0 || model >= kModelCount) return {};
    const ModelRow& m = kModels[static_cast<std::size_t>(model)];
    std::string t;
    t += " ";
    t += m.name;
    t += ":\n";
    t += " 1. Horsepower:";
    t += m.horsepower;
    t += " 2. Suitable motor capacity:";
    t += m.motor;
    t += " 3. Rated output current:";
    t += m.current;
    t += " 4. Rated capacity:";
    t += m.capacity;
    t += " 5. Input voltage: ";
    t += m.inputVoltage;
    t += " 6. Output voltage: ";
    t += m.outputVoltage;
    return t;
}

std::int32_t DefaultValue(int number, int model, bool hz50) {
    const int slot = SlotOfNumber(number);
    if (slot < 0) return 0;
    const bool knownModel = model >= 0 && model < kModelCount;
    const ModelDefaults* md = knownModel ? &kModelDefaults[static_cast<std::size_t>(model)] : nullptr;
    switch (number) {
        case 0: return knownModel ? model : 0;
        case 7: return hz50 ? 5000 : 6000;
        case 43: return md ? md->f43 : 0;
        case 44: return md ? md->f44 : 0;
        case 45: return hz50 ? 500 : 600;
        case 46: return md ? md->f46 : 0;
        case 47: return hz50 ? 1400 : 1700;
        case 48:
        case 49: return md ? (hz50 ? md->f48_50 : md->f48_60) : 0;
        case 50: return md ? (hz50 ? md->f50_50 : md->f50_60) : 0;
        case 115: return hz50 ? 1 : 4;
        case 116: return md ? md->c16 : 0;
        case 117: return hz50 ? 5000 : 6000;
        case 119: return hz50 ? 2500 : 3000;
        case 121: return hz50 ? 50 : 60;
        case 125: return md ? md->c25 : 0;
        default: return kFixedDefaults[static_cast<std::size_t>(slot)];
    }
}

std::string DefaultText(int number, int model) {
    if (number == 53) return "x.x";
    if (number == 54) return {};
    if (SlotOfNumber(number) < 0) return {};
    const std::int32_t v50 = DefaultValue(number, model, true);
    const std::int32_t v60 = DefaultValue(number, model, false);
    std::string text = FormatParamValue(v50, number);
    if (v60 != v50) {
        text += "/";
        text += FormatParamValue(v60, number);
    }
    return text;
}

}  // namespace kolt
