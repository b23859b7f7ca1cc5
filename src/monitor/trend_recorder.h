// The trend record: one time-stamped sample per station and poll cycle, taken
// when the station's values and status polls both succeeded, kept in a ring
// of fixed size per station. A station's ring is made the first time it is
// recorded, so only polled stations cost memory, and a full ring overwrites
// its oldest sample, so the memory stays the same however long the monitor
// runs. The engine owns the recorder: the trend windows and kolt-cli read it.
#pragma once

#include "monitor/station_table.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace kolt {

// One hour of the 400 ms tick.
inline constexpr std::size_t kTrendCapacity = 9000;

// One poll cycle's values of a station, in the registers' own units.
struct TrendSample {
    std::int64_t timeMs = 0;  // milliseconds since 1970-01-01 00:00 UTC
    std::uint16_t setFreq = 0;    // hundredths of a hertz
    std::uint16_t outFreq = 0;    // hundredths of a hertz
    std::uint16_t outVolt = 0;    // tenths of a volt
    std::uint16_t busVolt = 0;    // tenths of a volt
    std::uint16_t outAmp = 0;     // tenths of an ampere
    std::uint16_t faultCode = 0;
    std::uint8_t running = 0;
    std::uint8_t reverse = 0;
    std::uint8_t terminals = 0;   // bit i: terminal i (S1, S2, S3, S4, AIN, RY1)

    // Output power in hundredths of a watt: volts times amperes, as the monitor shows it.
    std::int64_t OutputPower() const { return static_cast<std::int64_t>(outVolt) * outAmp; }
    bool Terminal(int i) const { return (terminals >> i) & 1u; }
};

// The sample of a station record at `timeMs`.
TrendSample SampleOf(const StationRecord& record, std::int64_t timeMs);

// A bounded ring of samples, oldest first.
class TrendRing {
public:
    explicit TrendRing(std::size_t capacity);

    void Push(const TrendSample& sample);
    std::size_t Size() const { return size_; }
    std::size_t Capacity() const { return buffer_.size(); }
    bool Empty() const { return size_ == 0; }
    // Sample i, 0 the oldest kept, Size() - 1 the newest.
    const TrendSample& At(std::size_t i) const { return buffer_[(first_ + i) % buffer_.size()]; }
    const TrendSample& Newest() const { return At(size_ - 1); }
    // Samples pushed since the ring was made, including those overwritten.
    std::uint64_t Pushed() const { return pushed_; }
    // The index of the first kept sample at or after `timeMs` (Size() when none).
    std::size_t FirstAtOrAfter(std::int64_t timeMs) const;

private:
    std::vector<TrendSample> buffer_;
    std::size_t first_ = 0;
    std::size_t size_ = 0;
    std::uint64_t pushed_ = 0;
};

// Milliseconds since 1970-01-01 00:00 UTC by the system clock.
std::int64_t SystemTimeMs();

class CTrendRecorder {
public:
    using Clock = std::function<std::int64_t()>;

    explicit CTrendRecorder(std::size_t capacity = kTrendCapacity, Clock clock = SystemTimeMs);

    // The time stamps' source (tests give a clock of their own).
    void SetClock(Clock clock) { clock_ = std::move(clock); }
    // One sample of `station` from its record, stamped now. Stations outside 1..254 are ignored.
    void Record(int station, const StationRecord& record);
    // Every ring goes, with its memory: a monitor has started.
    void Clear();

    // The station's ring, or nullptr when it has not been recorded since the last Clear.
    const TrendRing* Ring(int station) const;
    // The stations with a ring, ascending.
    std::vector<int> Stations() const;
    // Counts the Clear calls: a view that saw another number starts over.
    std::uint64_t Generation() const { return generation_; }
    std::size_t Capacity() const { return capacity_; }

private:
    std::size_t capacity_;
    Clock clock_;
    std::array<std::unique_ptr<TrendRing>, kMonitorRecords> rings_;
    std::uint64_t generation_ = 0;
};

// What the trend view marks on its time axis.
enum class TrendEventKind { Run, Stop, Forward, Reverse, Trip };
struct TrendEvent {
    std::size_t index;  // the sample that first shows the change
    TrendEventKind kind;
    int faultCode;  // Trip: the fault
};
// The changes between consecutive samples of [first, first + count) of
// `ring`: run state, direction, and a trip (the fault code turning to one with
// a name). The first sample has nothing before it and so starts no event.
std::vector<TrendEvent> FindTrendEvents(const TrendRing& ring, std::size_t first, std::size_t count);

}  // namespace kolt
