#include "monitor/trend_texts.h"

#include "base/texts.h"
#include "monitor/monitor_texts.h"

#include <cstdio>
#include <ctime>

namespace kolt {

namespace {

// A stored value with `decimals` decimals as a plain decimal number.
std::string Decimal(std::int64_t value, int decimals) {
    char buf[40];
    if (decimals == 0) {
        std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(value));
        return buf;
    }
    const std::int64_t scale = decimals == 2 ? 100 : 10;
    const char* sign = value < 0 ? "-" : "";
    const std::int64_t magnitude = value < 0 ? -value : value;
    std::snprintf(buf, sizeof buf, "%s%lld.%0*lld", sign, static_cast<long long>(magnitude / scale), decimals,
                  static_cast<long long>(magnitude % scale));
    return buf;
}

std::string FaultCell(int code) {
    std::string name = FaultName(code);
    if (!name.empty() && name.front() == ' ') name.erase(0, 1);  // the window's blank is no part of a cell
    return name;
}

constexpr TrendQuantityInfo kInfo[kTrendQuantities] = {
    {text::kSetFreqLabel, text::kUnitHz, 2},    {text::kOutputFreqLabel, text::kUnitHz, 2},
    {text::kOutputVoltLabel, text::kUnitV, 1},  {text::kBusVoltLabel, text::kUnitV, 1},
    {text::kOutputAmpLabel, text::kUnitA, 1},   {text::kOutputPowerLabel, text::kUnitW, 2},
};

std::int64_t StoredValue(const TrendSample& s, TrendQuantity q) {
    switch (q) {
    case TrendQuantity::SetFreq: return s.setFreq;
    case TrendQuantity::OutFreq: return s.outFreq;
    case TrendQuantity::OutVolt: return s.outVolt;
    case TrendQuantity::BusVolt: return s.busVolt;
    case TrendQuantity::OutAmp: return s.outAmp;
    case TrendQuantity::OutPower: return s.OutputPower();
    }
    return 0;
}

}  // namespace

std::string IsoTimeText(std::int64_t timeMs) {
    std::int64_t seconds = timeMs / 1000;
    std::int64_t ms = timeMs % 1000;
    if (ms < 0) ms += 1000, --seconds;
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    ::gmtime_r(&t, &tm);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                  tm.tm_hour, tm.tm_min, tm.tm_sec, static_cast<int>(ms));
    return buf;
}

std::string TrendCsvHeader() { return text::kTrendCsvHeader; }

std::string TrendCsvRow(int station, const TrendSample& s) {
    std::string row = IsoTimeText(s.timeMs) + "," + std::to_string(station) + "," + std::to_string(s.running) + "," +
                      std::to_string(s.reverse) + "," + Decimal(s.setFreq, 2) + "," + Decimal(s.outFreq, 2) + "," +
                      Decimal(s.outVolt, 1) + "," + Decimal(s.outAmp, 1) + "," + Decimal(s.OutputPower(), 2) + "," +
                      Decimal(s.busVolt, 1) + "," + std::to_string(s.faultCode) + "," + FaultCell(s.faultCode);
    for (int t = 0; t < kTerminalCount; ++t) row += s.Terminal(t) ? ",1" : ",0";
    return row;
}

std::string TrendCsv(int station, const TrendRing& ring) {
    std::string out = TrendCsvHeader() + "\n";
    out.reserve(out.size() + ring.Size() * 96);
    for (std::size_t i = 0; i < ring.Size(); ++i) out += TrendCsvRow(station, ring.At(i)) + "\n";
    return out;
}

const TrendQuantityInfo& QuantityInfo(TrendQuantity q) { return kInfo[static_cast<int>(q)]; }

double QuantityValue(const TrendSample& s, TrendQuantity q) {
    const double scale = QuantityInfo(q).decimals == 2 ? 100.0 : 10.0;
    return static_cast<double>(StoredValue(s, q)) / scale;
}

std::string TrendValuesText(const TrendSample& s) {
    std::string line;
    for (int i = 0; i < kTrendQuantities; ++i) {
        const auto q = static_cast<TrendQuantity>(i);
        const TrendQuantityInfo& info = QuantityInfo(q);
        if (!line.empty()) line += "  ";
        line += std::string(info.label) + " " + Decimal(StoredValue(s, q), info.decimals) + " " + info.unit;
    }
    line += "  " + RunStateText(s.running) + "  " + DirectionText(s.reverse);
    const std::string fault = FaultCell(s.faultCode);
    if (!fault.empty()) line += "  " + fault;
    return line;
}

}  // namespace kolt
