// The application state that outlives a document: settings, the current model,
// the flags every command consults, the compare staging area and the link state.
#pragma once

#include "base/settings.h"
#include "catalogue/catalogue.h"

#include <array>
#include <cstdint>
#include <string>

namespace kolt {

// Inputs of the next new document. Value array 1 is also the read buffer.
struct CompareStaging {
    std::int32_t compareMode = 0;  // 0 parameter document, 1 inverter/default, 2 file/file, 3 files/default
    std::array<std::int32_t, 3> present{};
    std::array<std::string, 3> names{};
    std::array<std::uint8_t, kSlotCount> differs{};
    std::array<std::array<std::int32_t, kSlotCount>, 3> values{};
};

inline constexpr int kStationMax = 254;

class CMarbenApp {
public:
    std::string installDir;
    KoltSettings settings;

    std::int32_t currentModel = 0;

    // Re-entrancy guards: set around modal work, scans and monitoring.
    std::uint8_t busyFlag = 0;
    std::uint8_t scanFlag = 0;
    std::uint8_t cancelFlag = 0;
    std::uint8_t monitoringFlag = 0;

    // Link state
    std::uint8_t linkedFlag = 0;
    std::int32_t currentStation = 1;
    std::int32_t linkedCount = 0;
    std::array<std::int32_t, kStationMax + 1> linkedList{};  // entries 1..count
    std::int32_t softwareVersion = 0;

    // Compare staging area and the read results
    CompareStaging staging;
    std::uint8_t readF = 1;
    std::uint8_t readC = 1;
    std::uint8_t freshRead = 0;
    std::int32_t readVersion = 0;
    std::int32_t readCapacity = 0;

    // The write command's group choices
    std::uint8_t writeBasic = 1;
    std::uint8_t writeAdvanced = 1;

    // Full path of koltinf.ini in the install directory.
    std::string SettingsPath() const;
};

// A procedure that ran on a copy of the application (on the bus thread) hands
// back what it may change. TakeLinkState: the linked flag, current station,
// station list, software version and model. TakeProcedureResults: that, the
// line settings, the staging area and read results, the write choices and the
// cancel flag. The flags the window's thread owns (busy, scan, monitoring)
// stay as they are.
void TakeLinkState(const CMarbenApp& from, CMarbenApp& to);
void TakeProcedureResults(const CMarbenApp& from, CMarbenApp& to);

// Sets a flag for the life of a scope and clears it afterwards.
class FlagGuard {
public:
    explicit FlagGuard(std::uint8_t& flag) : flag_(flag) { flag_ = 1; }
    ~FlagGuard() { flag_ = 0; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

private:
    std::uint8_t& flag_;
};

// Sets a flag for the life of a scope and puts back what it was, so an inner
// holder (a prompt inside a busy command) does not clear the outer one's flag.
class NestedFlagGuard {
public:
    explicit NestedFlagGuard(std::uint8_t& flag) : flag_(flag), old_(flag) { flag_ = 1; }
    ~NestedFlagGuard() { flag_ = old_; }
    NestedFlagGuard(const NestedFlagGuard&) = delete;
    NestedFlagGuard& operator=(const NestedFlagGuard&) = delete;

private:
    std::uint8_t& flag_;
    std::uint8_t old_;
};

}  // namespace kolt
