// The whole bus at once: every drive's parameters backed up to a file of its
// own with a list (bus.csv), restored from such a backup with every written
// value read back, and compared with it (drift). Synchronous procedures on an
// open port (the bus thread in the window program); the caller shows what they
// report. Parameters are read by blocks; writes stay one parameter a request.
#pragma once

#include "document/marben_doc.h"
#include "link/block_read.h"
#include "link/link_context.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kolt {

// One row of bus.csv: one station named by the backup.
struct BusCsvRow {
    int station = 0;
    std::string title;
    int capacity = -1;  // model code; -1 when the station was not read
    int version = -1;   // software version, 12 for 1.2; -1 when not read
    int hz50 = -1;      // mains frequency of the file: 1 50 Hz, 0 60 Hz, -1 no file
    std::string file;   // "station_003.kpf"; empty when no file was saved
    std::string sha256;
    std::string time;   // ISO 8601, UTC
    std::string result; // "saved", "no answer", "not done (cancelled)" or the failure's message

    bool Saved() const;
};

// "station_003.kpf"
std::string BackupFileName(int station);
// bus.csv's text: the header line, then one line per row (LF ends), fields
// quoted where they hold a comma, a quote or a line end.
std::string EncodeBusCsv(const std::vector<BusCsvRow>& rows);
// False with `error` when the text is not such a list.
bool DecodeBusCsv(std::string_view text, std::vector<BusCsvRow>& rows, std::string& error);

struct RestoreStationReport;
struct DriftStationReport;

// How a bus job shows its progress and learns that the user cancelled. Called
// on the thread the job runs on.
class IBusJobProgress {
public:
    virtual ~IBusJobProgress() = default;
    // `station` is in work, the index-th (from 1) of `count`.
    virtual void Station(int station, int index, int count) { (void)station, (void)index, (void)count; }
    // Asked before every request: true ends the job after the one in progress.
    virtual bool CancelRequested() { return false; }
    // A station is done (one of the three, by the job).
    virtual void Done(const BusCsvRow& row) { (void)row; }
    virtual void Done(const RestoreStationReport& station) { (void)station; }
    virtual void Done(const DriftStationReport& station) { (void)station; }
};

// ---- Backup ----

struct BackupRequest {
    std::string folder;
    std::vector<int> stations;  // ascending
    // Titles by station (entry k for station k + 1), from the open document;
    // an empty one is taken from an earlier backup in the folder, if any.
    std::array<std::string, kStationMax> titles{};
    bool hz50 = true;  // the files' mains frequency, as Read's documents take it
};

struct BackupReport {
    std::vector<BusCsvRow> rows;  // one per station named, in order
    int saved = 0, absent = 0, failed = 0, notDone = 0;
    bool cancelled = false;
    std::string error;  // the folder or bus.csv could not be written
    // Every station that answered was saved, and bus.csv written.
    bool Ok() const { return error.empty() && failed == 0 && notDone == 0; }
};

// Probes each station with the scan's echo, reads every one that answers (its
// version and capacity, then all parameters by blocks) and keeps its set as
// FOLDER/station_NNN.kpf. New files are written beside the old ones and put in
// their place only when the run ends; bus.csv is replaced last, so an earlier
// backup stays whole until then. A station that fails leaves no file; a cancel
// leaves the stations done and marks the others not done.
BackupReport BackupBus(LinkContext& ctx, const BackupRequest& request, BlockReadMemory& memory,
                       IBusJobProgress& progress);

// ---- Restore and drift ----

// A parameter whose drive value is not the backup's.
struct ValueDifference {
    int number = 0;
    std::int32_t fileValue = 0;
    std::int32_t driveValue = 0;
};

enum class RestoreResult {
    Verified,         // every parameter written and read back as in the file
    Differs,          // written, but the read-back differs (see differences)
    Refused,          // checksum, model or version: nothing was written
    NoAnswer,         // the drive did not answer (before or while writing)
    Failed,           // a write or the read-back failed otherwise
    NotDone,          // cancelled before or while this station was restored
};

struct RestoreStationReport {
    int station = 0;
    RestoreResult result = RestoreResult::NotDone;
    std::string message;                       // why, when not verified
    std::vector<int> written;                  // parameter numbers the drive took, in order
    std::vector<ValueDifference> differences;  // read-back against the file
    int fileVersion = -1, driveVersion = -1;
};

struct BusJobRequest {
    std::string folder;
    std::vector<int> stations;  // empty: every station bus.csv lists as saved
};

struct RestoreReport {
    std::vector<RestoreStationReport> stations;
    bool cancelled = false;
    std::string error;  // bus.csv missing or unreadable: nothing was done
    bool Ok() const;
};

// For each station: the file's SHA-256 against bus.csv, the drive's capacity
// code against the file's F00 (Write's message), a different software version
// only after a Yes to the question; then the parameters Write sends (never
// F00, F52 or a read-only one), one request each, and a block read-back of
// every parameter written.
RestoreReport RestoreBus(LinkContext& ctx, const BusJobRequest& request, BlockReadMemory& memory,
                         IBusJobProgress& progress);

struct DriftStationReport {
    int station = 0;
    bool read = false;     // the drive was read and compared
    std::string message;   // why not
    std::string file;      // the backup's file name
    std::vector<ValueDifference> differences;
    SlotFlags backupInUse{};
    SlotValues backup{}, drive{};
};

struct DriftReport {
    std::vector<DriftStationReport> stations;
    bool cancelled = false;
    std::string error;
    bool Drift() const;
    bool AllRead() const;
};

// Reads each station by blocks and compares it with its file by File with
// File's rule: a parameter counts when in use in both and the values differ.
DriftReport DriftBus(LinkContext& ctx, const BusJobRequest& request, BlockReadMemory& memory,
                     IBusJobProgress& progress);

// How the reports read, for the command line and the window alike.
// "2 saved, 1 absent, 1 failed" (", 2 not done (cancelled)" when some were not).
std::string BackupSummary(const BackupReport& report);
// "written 99, verified 99"; "written 99, verified 98; read back differs:";
// else the reason, with the parameters written before ("; 37 parameters
// written before (F01..F37)").
std::string RestoreOutcomeText(const RestoreStationReport& station);
// "C07 <description>: file 0.3, drive 0.4" (`fileWord` "file" or "backup").
std::string DifferenceText(const ValueDifference& d, const char* fileWord = "file");

// Stages one station's drift as a File with File compare document: the
// backup's file against "Station_007".
void StageDriftCompare(CMarbenApp& app, const DriftStationReport& station);

}  // namespace kolt
