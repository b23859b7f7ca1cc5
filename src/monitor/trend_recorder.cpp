#include "monitor/trend_recorder.h"

#include "monitor/monitor_texts.h"

#include <algorithm>
#include <chrono>

namespace kolt {

namespace {

// Register values are 16 bits wide; anything else in a record is clamped.
std::uint16_t Reg(std::int32_t v) { return static_cast<std::uint16_t>(std::clamp<std::int32_t>(v, 0, 0xFFFF)); }

}  // namespace

TrendSample SampleOf(const StationRecord& r, std::int64_t timeMs) {
    TrendSample s;
    s.timeMs = timeMs;
    s.setFreq = Reg(r.setFreq);
    s.outFreq = Reg(r.outFreq);
    s.outVolt = Reg(r.outVolt);
    s.busVolt = Reg(r.busVolt);
    s.outAmp = Reg(r.outAmp);
    s.faultCode = Reg(r.faultCode);
    s.running = r.running ? 1 : 0;
    s.reverse = r.reverse ? 1 : 0;
    for (int t = 0; t < kTerminalCount; ++t)
        if (r.terminals[static_cast<std::size_t>(t)]) s.terminals |= static_cast<std::uint8_t>(1u << t);
    return s;
}

// ------------------------------------------------------------------ ring

TrendRing::TrendRing(std::size_t capacity) : buffer_(std::max<std::size_t>(capacity, 1)) {}

void TrendRing::Push(const TrendSample& sample) {
    if (size_ < buffer_.size()) {
        buffer_[(first_ + size_) % buffer_.size()] = sample;
        ++size_;
    } else {
        buffer_[first_] = sample;
        first_ = (first_ + 1) % buffer_.size();
    }
    ++pushed_;
}

std::size_t TrendRing::FirstAtOrAfter(std::int64_t timeMs) const {
    // Time stamps only grow along the ring (a clock set back merely ends the search early).
    std::size_t lo = 0, hi = size_;
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (At(mid).timeMs < timeMs) lo = mid + 1;
        else hi = mid;
    }
    return lo;
}

// ------------------------------------------------------------------ recorder

std::int64_t SystemTimeMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

CTrendRecorder::CTrendRecorder(std::size_t capacity, Clock clock) : capacity_(capacity), clock_(std::move(clock)) {}

void CTrendRecorder::Record(int station, const StationRecord& record) {
    if (!StationMonitorTable::Holds(station) || station == 0) return;
    auto& ring = rings_[static_cast<std::size_t>(station)];
    if (!ring) ring = std::make_unique<TrendRing>(capacity_);
    ring->Push(SampleOf(record, clock_ ? clock_() : SystemTimeMs()));
}

void CTrendRecorder::Clear() {
    for (auto& ring : rings_) ring.reset();
    ++generation_;
}

const TrendRing* CTrendRecorder::Ring(int station) const {
    if (!StationMonitorTable::Holds(station)) return nullptr;
    return rings_[static_cast<std::size_t>(station)].get();
}

std::vector<int> CTrendRecorder::Stations() const {
    std::vector<int> out;
    for (int s = 1; s < kMonitorRecords; ++s)
        if (rings_[static_cast<std::size_t>(s)]) out.push_back(s);
    return out;
}

// ------------------------------------------------------------------ events

std::vector<TrendEvent> FindTrendEvents(const TrendRing& ring, std::size_t first, std::size_t count) {
    std::vector<TrendEvent> out;
    const std::size_t end = std::min(ring.Size(), first + count);
    for (std::size_t i = first + 1; i < end; ++i) {
        const TrendSample& a = ring.At(i - 1);
        const TrendSample& b = ring.At(i);
        if (b.faultCode != a.faultCode && DriveTripped(b.faultCode))
            out.push_back({i, TrendEventKind::Trip, b.faultCode});
        if (b.running != a.running) out.push_back({i, b.running ? TrendEventKind::Run : TrendEventKind::Stop, 0});
        if (b.reverse != a.reverse)
            out.push_back({i, b.reverse ? TrendEventKind::Reverse : TrendEventKind::Forward, 0});
    }
    return out;
}

}  // namespace kolt
