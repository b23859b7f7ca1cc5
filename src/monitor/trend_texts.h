// The trend record as text: the CSV file that "Save as CSV" and
// kolt-cli monitor --csv write, the quantities the trend view draws, and the
// view's line of values at the cursor.
#pragma once

#include "monitor/trend_recorder.h"

#include <cstdint>
#include <string>

namespace kolt {

// "2026-12-06T10:15:00.400Z": the UTC time of milliseconds since 1970.
std::string IsoTimeText(std::int64_t timeMs);

// The CSV columns: time, station, running, reverse, set_freq_Hz,
// output_freq_Hz, output_volt_V, output_amp_A, output_power_W, bus_volt_V,
// fault_code, fault_name, S1, S2, S3, S4, AIN, RY1. Values are plain decimals
// in the named unit ("50.00", "230.0"), flags 0 or 1, the fault name without
// the monitor's leading blank. Lines end with a line feed.
std::string TrendCsvHeader();
std::string TrendCsvRow(int station, const TrendSample& sample);
// The header and every sample of the ring, oldest first.
std::string TrendCsv(int station, const TrendRing& ring);

// The quantities a trend view can draw, in their order on the check boxes.
enum class TrendQuantity { SetFreq, OutFreq, OutVolt, BusVolt, OutAmp, OutPower };
inline constexpr int kTrendQuantities = 6;
struct TrendQuantityInfo {
    const char* label;  // the monitor window's label, "Output freq."
    const char* unit;   // "Hz"
    int decimals;       // the stored value is this many decimals of the unit
};
const TrendQuantityInfo& QuantityInfo(TrendQuantity q);
// The quantity's value in its unit (50.0 for a set frequency of 5000).
double QuantityValue(const TrendSample& sample, TrendQuantity q);

// The values of a sample in one line, as the monitor window words them:
// "Set freq. 50.00 Hz  Output freq. 48.20 Hz  ...  RUN  FWD >>  ER2".
std::string TrendValuesText(const TrendSample& sample);

}  // namespace kolt
