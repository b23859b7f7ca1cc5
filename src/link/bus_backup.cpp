#include "link/bus_backup.h"

#include "base/atomic_write.h"
#include "base/prompts.h"
#include "base/sha256.h"
#include "base/texts.h"
#include "catalogue/catalogue.h"
#include "catalogue/models.h"
#include "catalogue/value_text.h"
#include "document/compare.h"
#include "document/doc_file.h"
#include "link/link_procedure.h"
#include "link/modbus_port.h"
#include "link/transaction_report.h"
#include "link/write_procedure.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace kolt {

namespace fs = std::filesystem;

namespace {

constexpr int kColumns = 10;
constexpr int kVersionSlot = 53;  // F53
// A new file waits under this suffix until the run ends.
constexpr const char* kNewSuffix = ".new";

std::string VersionText(int version) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "%d.%d", version / 10, version % 10);
    return buf;
}

std::string UtcNow() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm tm{};
    gmtime_r(&now, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return buf;
}

std::string CsvField(const std::string& s) {
    if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
    std::string out = "\"";
    for (char c : s) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

// Splits CSV text into records of fields; quoted fields may hold anything.
std::vector<std::vector<std::string>> CsvRecords(std::string_view text) {
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false, any = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = any = true;
        } else if (c == ',') {
            fields.push_back(std::move(field));
            field.clear();
            any = true;
        } else if (c == '\n') {
            fields.push_back(std::move(field));
            records.push_back(std::move(fields));
            field.clear();
            fields.clear();
            any = false;
        } else if (c != '\r') {
            field += c;
            any = true;
        }
    }
    if (any || !field.empty()) {
        fields.push_back(std::move(field));
        records.push_back(std::move(fields));
    }
    return records;
}

bool ParseNumber(const std::string& s, int& out) {
    if (s.empty() || s.size() > 6 || !std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    out = std::stoi(s);
    return true;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream all;
    all << in.rdbuf();
    bytes = all.str();
    return true;
}

// The image Read's new document would save: every parameter in use and read,
// the station's title in its place, nothing else.
DocFileImage BackupImage(int station, int capacity, bool hz50, const BlockReadResult& read, const std::string& title) {
    DocFileImage im;
    im.versionLine = text::kVersionLine;
    im.docType = text::kTypeParameter;
    im.model = capacity;
    im.hz50 = hz50 ? 1 : 0;
    for (int slot = 0; slot < kParamCount; ++slot) im.differs[static_cast<std::size_t>(slot)] = 1;
    im.values[0] = read.values;
    im.stationTitles[static_cast<std::size_t>(station - 1)] = title;
    return im;
}

std::string FailureAt(const std::string& failure, int number) {
    return number < 0 ? failure : failure + " at " + CodeText(number);
}

// The cancel of the user, or of the bus (closing the program).
bool Stop(LinkContext& ctx, IBusJobProgress& progress) {
    return progress.CancelRequested() || (ctx.cancel != nullptr && ctx.cancel->load());
}

// What restore and drift share: the backup's list, the stations to work on,
// and a station's file checked against the list.
class BackupFolder {
public:
    bool Load(const std::string& folder, std::string& error) {
        folder_ = folder;
        std::string text;
        const std::string path = (fs::path(folder) / text::kBusCsvName).string();
        if (!ReadWholeFile(path, text)) {
            error = std::string(text::kBusNoBackup) + folder;
            return false;
        }
        std::string why;
        if (!DecodeBusCsv(text, rows_, why)) {
            error = std::string(text::kBusBadCsv) + why;
            return false;
        }
        return true;
    }

    // The rows to work on: those named (a station not listed gets an empty
    // row), or every saved one.
    std::vector<BusCsvRow> Select(const std::vector<int>& stations) const {
        std::vector<BusCsvRow> out;
        if (stations.empty()) {
            for (const BusCsvRow& r : rows_)
                if (r.Saved()) out.push_back(r);
            return out;
        }
        for (int s : stations) {
            const auto it = std::find_if(rows_.begin(), rows_.end(), [s](const BusCsvRow& r) { return r.station == s; });
            BusCsvRow row = it != rows_.end() ? *it : BusCsvRow{};
            row.station = s;
            out.push_back(row);
        }
        return out;
    }

    // The station's file, whole and as bus.csv describes it. False with the reason.
    bool LoadFile(const BusCsvRow& row, DocFileImage& image, std::string& why) const {
        if (row.result.empty() && row.file.empty()) {
            why = text::kBusNotInBackup;
            return false;
        }
        std::string bytes;
        if (!row.Saved() || !ReadWholeFile((fs::path(folder_) / row.file).string(), bytes)) {
            why = text::kBusNoFile;
            return false;
        }
        if (Sha256Hex(bytes) != row.sha256) {
            why = text::kBusChecksumDiffers;
            return false;
        }
        std::istringstream in(bytes);
        if (DecodeDocFile(in, image) != DocReadResult::Ok || image.compareMode != 0) {
            why = text::kBusNotParameterFile;
            return false;
        }
        return true;
    }

private:
    std::string folder_;
    std::vector<BusCsvRow> rows_;
};

// The parameters Write sends, in its order (F group, then C group).
std::vector<int> RestoredNumbers() {
    std::vector<int> numbers;
    for (int n = 0; n < kFCount; ++n)
        if (IsWrittenByWriteCommand(n)) numbers.push_back(n);
    for (int n = kCFirstNumber; n < kCFirstNumber + kCCount; ++n)
        if (IsWrittenByWriteCommand(n)) numbers.push_back(n);
    return numbers;
}

std::int32_t ValueOf(const SlotValues& values, int number) {
    return values[static_cast<std::size_t>(SlotOfNumber(number))];
}

class RestoreRun {
public:
    RestoreRun(LinkContext& ctx, BlockReadMemory& memory, IBusJobProgress& progress)
        : ctx_(ctx), memory_(memory), progress_(progress) {}

    void Station(const BackupFolder& folder, const BusCsvRow& row, RestoreStationReport& r) {
        r.station = row.station;
        DocFileImage image;
        if (!folder.LoadFile(row, image, r.message)) {
            r.result = RestoreResult::Refused;
            return;
        }
        const SlotValues& file = image.values[0];
        r.fileVersion = ValueOf(file, kVersionSlot);

        const StationProbe probe = ProbeStation(ctx_, row.station);
        if (probe.result != kNormalReply) {
            r.result = probe.echoResult == kNoReply || probe.result == kNoReply ? RestoreResult::NoAnswer
                                                                                 : RestoreResult::Failed;
            r.message = probe.echoResult == kNoReply ? text::kBusNoAnswer : FailureText(probe.result, ctx_.port);
            return;
        }
        r.driveVersion = probe.version;
        // Another model's settings would be out of place, or out of range, on this drive.
        if (probe.capacity != ValueOf(file, 0)) {
            r.result = RestoreResult::Refused;
            r.message = text::kCapacityError;
            return;
        }
        if (probe.version != r.fileVersion) {
            char question[256];
            std::snprintf(question, sizeof question, text::kBusVersionQuestion, row.station, probe.version / 10,
                          probe.version % 10, r.fileVersion / 10, r.fileVersion % 10);
            if (!ctx_.prompts.YesNo(question, text::kBusRestoreCaption, Icon::Exclamation)) {
                r.result = RestoreResult::Refused;
                r.message = text::kBusVersionDeclined;
                return;
            }
        }

        for (int number : RestoredNumbers()) {
            if (Stop(ctx_, progress_)) {
                r.result = RestoreResult::NotDone;
                r.message = text::kBusNotDone;
                return;
            }
            const int result =
                ctx_.port.TransactWithRetry(ModbusRequest::WriteParam(row.station, number, ValueOf(file, number)));
            if (result != kNormalReply) {
                r.result = result == kNoReply ? RestoreResult::NoAnswer : RestoreResult::Failed;
                r.message = FailureAt(FailureText(result, ctx_.port), number);
                return;
            }
            r.written.push_back(number);
        }

        const BlockReadResult back = ReadParameterBlocks(ctx_.port, row.station, memory_, [this] {
            return Stop(ctx_, progress_);
        });
        if (back.cancelled) {
            r.result = RestoreResult::NotDone;
            r.message = text::kBusNotDone;
            return;
        }
        if (!back.Ok()) {
            r.result = back.result == kNoReply ? RestoreResult::NoAnswer : RestoreResult::Failed;
            r.message = "read-back: " + FailureAt(back.message, back.failedNumber);
            return;
        }
        for (int number : r.written)
            if (ValueOf(back.values, number) != ValueOf(file, number))
                r.differences.push_back({number, ValueOf(file, number), ValueOf(back.values, number)});
        r.result = r.differences.empty() ? RestoreResult::Verified : RestoreResult::Differs;
    }

private:
    LinkContext& ctx_;
    BlockReadMemory& memory_;
    IBusJobProgress& progress_;
};

void DriftStation(LinkContext& ctx, BlockReadMemory& memory, IBusJobProgress& progress, const BackupFolder& folder,
                  const BusCsvRow& row, DriftStationReport& r) {
    r.station = row.station;
    r.file = row.file;
    DocFileImage image;
    if (!folder.LoadFile(row, image, r.message)) return;
    const StationProbe probe = ProbeStation(ctx, row.station);
    if (probe.result != kNormalReply) {
        r.message = probe.echoResult == kNoReply ? text::kBusNoAnswer : FailureText(probe.result, ctx.port);
        return;
    }
    const BlockReadResult read = ReadParameterBlocks(ctx.port, row.station, memory, [&] { return Stop(ctx, progress); });
    if (read.cancelled) {
        r.message = text::kBusNotDone;
        return;
    }
    if (!read.Ok()) {
        r.message = FailureAt(read.message, read.failedNumber);
        return;
    }
    LoadedParamFile backup, drive;
    backup.slotFlags = image.differs;
    backup.settings = image.values[0];
    for (int slot = 0; slot < kParamCount; ++slot) drive.slotFlags[static_cast<std::size_t>(slot)] = 1;
    drive.settings = read.values;
    const SlotFlags differs = FileWithFileDiffers(backup, drive);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const auto i = static_cast<std::size_t>(slot);
        if (differs[i]) r.differences.push_back({NumberOfSlot(slot), backup.settings[i], drive.settings[i]});
    }
    r.read = true;
    r.backupInUse = backup.slotFlags;
    r.backup = backup.settings;
    r.drive = drive.settings;
}

// The stations of a backup's list one after another (those of the request,
// or every saved one): `work` fills each station's report. After a cancel
// the rest are not done. True when cancelled.
template <class Report, class Work, class IsNotDone>
bool RunListed(LinkContext& ctx, const BusJobRequest& request, IBusJobProgress& progress, std::string& error,
               std::vector<Report>& out, Work work, IsNotDone isNotDone) {
    BackupFolder folder;
    if (!folder.Load(request.folder, error)) return false;
    const std::vector<BusCsvRow> rows = folder.Select(request.stations);
    const int count = static_cast<int>(rows.size());
    bool cancelled = false;
    for (int i = 0; i < count; ++i) {
        const BusCsvRow& row = rows[static_cast<std::size_t>(i)];
        Report r;
        r.station = row.station;
        if (cancelled || Stop(ctx, progress)) {
            cancelled = true;
            r.message = text::kBusNotDone;
        } else {
            progress.Station(row.station, i + 1, count);
            work(folder, row, r);
            cancelled = isNotDone(r);
        }
        progress.Done(r);
        out.push_back(std::move(r));
    }
    return cancelled;
}

}  // namespace

bool BusCsvRow::Saved() const { return result == text::kBusSaved && !file.empty(); }

std::string BackupFileName(int station) {
    char buf[32];
    std::snprintf(buf, sizeof buf, text::kBackupFileName, station);
    return buf;
}

std::string EncodeBusCsv(const std::vector<BusCsvRow>& rows) {
    std::string out = std::string(text::kBusCsvHeader) + "\n";
    for (const BusCsvRow& r : rows) {
        const bool read = r.capacity >= 0;
        const std::string fields[kColumns] = {
            std::to_string(r.station),
            r.title,
            read ? std::to_string(r.capacity) : "",
            read ? ModelName(r.capacity) : "",
            r.version >= 0 ? VersionText(r.version) : "",
            r.hz50 < 0 ? "" : r.hz50 ? "50 Hz" : "60 Hz",
            r.file,
            r.sha256,
            r.time,
            r.result,
        };
        for (int k = 0; k < kColumns; ++k) out += (k ? "," : "") + CsvField(fields[k]);
        out += "\n";
    }
    return out;
}

bool DecodeBusCsv(std::string_view text, std::vector<BusCsvRow>& rows, std::string& error) {
    auto records = CsvRecords(text);
    if (records.empty() || records[0].size() != kColumns) {
        error = "its first line is not the header";
        return false;
    }
    rows.clear();
    for (std::size_t i = 1; i < records.size(); ++i) {
        const auto& f = records[i];
        BusCsvRow r;
        if (f.size() != kColumns || !ParseNumber(f[0], r.station) || r.station < 1 || r.station > kStationMax) {
            error = "line " + std::to_string(i + 1) + " is not a station's row";
            return false;
        }
        r.title = f[1];
        if (!ParseNumber(f[2], r.capacity)) r.capacity = -1;
        int major = 0, minor = 0;
        const auto point = f[4].find('.');
        if (point != std::string::npos && ParseNumber(f[4].substr(0, point), major) &&
            ParseNumber(f[4].substr(point + 1), minor))
            r.version = major * 10 + minor;
        r.hz50 = f[5] == "50 Hz" ? 1 : f[5] == "60 Hz" ? 0 : -1;
        r.file = f[6];
        r.sha256 = f[7];
        r.time = f[8];
        r.result = f[9];
        // A file name is a name in the folder, never a path elsewhere.
        if (r.file.find('/') != std::string::npos) r.file.clear();
        rows.push_back(std::move(r));
    }
    return true;
}

BackupReport BackupBus(LinkContext& ctx, const BackupRequest& request, BlockReadMemory& memory,
                       IBusJobProgress& progress) {
    BackupReport report;
    const fs::path folder(request.folder);
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder)) {
        report.error = text::kBusCannotWrite + request.folder + ": " + (ec ? ec.message() : "not a folder");
        return report;
    }
    // Titles of an earlier backup, for stations the caller has none for.
    std::vector<BusCsvRow> earlier;
    std::string csv, ignored;
    if (ReadWholeFile((folder / text::kBusCsvName).string(), csv)) DecodeBusCsv(csv, earlier, ignored);

    // Left by a run that never ended.
    for (int s : request.stations) fs::remove(folder / (BackupFileName(s) + kNewSuffix), ec);

    const int count = static_cast<int>(request.stations.size());
    for (int i = 0; i < count; ++i) {
        BusCsvRow row;
        row.station = request.stations[static_cast<std::size_t>(i)];
        row.title = request.titles[static_cast<std::size_t>(row.station - 1)];
        if (row.title.empty())
            for (const BusCsvRow& e : earlier)
                if (e.station == row.station) row.title = e.title;

        if (report.cancelled || Stop(ctx, progress)) {
            report.cancelled = true;
            row.result = text::kBusNotDone;
            report.rows.push_back(row);
            progress.Done(row);
            continue;
        }
        progress.Station(row.station, i + 1, count);
        const StationProbe probe = ProbeStation(ctx, row.station);
        row.time = UtcNow();
        if (probe.echoResult == kNoReply) {
            row.result = text::kBusNoAnswer;
            report.rows.push_back(row);
            progress.Done(row);
            continue;
        }
        if (probe.result == kNormalReply) {
            row.capacity = probe.capacity;
            row.version = probe.version;
        }
        BlockReadResult read;
        if (probe.result == kNormalReply)
            read = ReadParameterBlocks(ctx.port, row.station, memory, [&] { return Stop(ctx, progress); });
        if (read.cancelled) {
            report.cancelled = true;
            row.result = text::kBusNotDone;
        } else if (probe.result != kNormalReply) {
            row.result = FailureText(probe.result, ctx.port);
        } else if (!read.Ok()) {
            row.result = FailureAt(read.message, read.failedNumber);
        } else {
            const std::string bytes =
                EncodeDocFile(BackupImage(row.station, probe.capacity, request.hz50, read, row.title));
            const std::string name = BackupFileName(row.station);
            std::string error;
            if (ReplaceFileContents((folder / (name + kNewSuffix)).string(), bytes, error)) {
                row.hz50 = request.hz50 ? 1 : 0;
                row.file = name;
                row.sha256 = Sha256Hex(bytes);
                row.result = text::kBusSaved;
            } else {
                row.result = text::kBusCannotWrite + name + ": " + error;
            }
        }
        report.rows.push_back(row);
        progress.Done(row);
    }

    // The run is over: the new files take the old ones' places, then the list.
    for (BusCsvRow& row : report.rows) {
        if (!row.Saved()) continue;
        fs::rename(folder / (row.file + kNewSuffix), folder / row.file, ec);
        if (ec) {
            row.result = text::kBusCannotWrite + row.file + ": " + ec.message();
            row.file.clear();
            row.sha256.clear();
            row.hz50 = -1;
        }
    }
    for (const BusCsvRow& row : report.rows) {
        if (row.Saved())
            ++report.saved;
        else if (row.result == text::kBusNoAnswer)
            ++report.absent;
        else if (row.result == text::kBusNotDone)
            ++report.notDone;
        else
            ++report.failed;
    }
    std::string error;
    if (!ReplaceFileContents((folder / text::kBusCsvName).string(), EncodeBusCsv(report.rows), error))
        report.error = text::kBusCannotWrite + (folder / text::kBusCsvName).string() + ": " + error;
    return report;
}

bool RestoreReport::Ok() const {
    return error.empty() && !cancelled &&
           std::all_of(stations.begin(), stations.end(),
                       [](const RestoreStationReport& r) { return r.result == RestoreResult::Verified; });
}

RestoreReport RestoreBus(LinkContext& ctx, const BusJobRequest& request, BlockReadMemory& memory,
                         IBusJobProgress& progress) {
    RestoreReport report;
    RestoreRun run(ctx, memory, progress);
    report.cancelled = RunListed(
        ctx, request, progress, report.error, report.stations,
        [&](const BackupFolder& folder, const BusCsvRow& row, RestoreStationReport& r) { run.Station(folder, row, r); },
        [](const RestoreStationReport& r) { return r.result == RestoreResult::NotDone; });
    return report;
}

bool DriftReport::Drift() const {
    return std::any_of(stations.begin(), stations.end(), [](const DriftStationReport& r) { return !r.differences.empty(); });
}

bool DriftReport::AllRead() const {
    return error.empty() && std::all_of(stations.begin(), stations.end(), [](const DriftStationReport& r) { return r.read; });
}

DriftReport DriftBus(LinkContext& ctx, const BusJobRequest& request, BlockReadMemory& memory,
                     IBusJobProgress& progress) {
    DriftReport report;
    report.cancelled = RunListed(
        ctx, request, progress, report.error, report.stations,
        [&](const BackupFolder& folder, const BusCsvRow& row, DriftStationReport& r) {
            DriftStation(ctx, memory, progress, folder, row, r);
        },
        [](const DriftStationReport& r) { return r.message == text::kBusNotDone; });
    return report;
}

std::string BackupSummary(const BackupReport& report) {
    std::string out = std::to_string(report.saved) + " saved, " + std::to_string(report.absent) + " absent, " +
                      std::to_string(report.failed) + " failed";
    if (report.notDone) out += ", " + std::to_string(report.notDone) + " " + text::kBusNotDone;
    return out;
}

std::string RestoreOutcomeText(const RestoreStationReport& r) {
    if (r.result == RestoreResult::Verified || r.result == RestoreResult::Differs) {
        std::string out = "written " + std::to_string(r.written.size()) + ", verified " +
                          std::to_string(r.written.size() - r.differences.size());
        return r.differences.empty() ? out : out + "; read back differs:";
    }
    std::string out = r.message;
    if (!r.written.empty())
        out += "; " + std::to_string(r.written.size()) + " parameters written before (" + CodeText(r.written.front()) +
               ".." + CodeText(r.written.back()) + ")";
    return out;
}

std::string DifferenceText(const ValueDifference& d, const char* fileWord) {
    return CodeText(d.number) + " " + Description(d.number) + ": " + fileWord + " " +
           FormatParamValue(d.fileValue, d.number) + ", drive " + FormatParamValue(d.driveValue, d.number);
}

void StageDriftCompare(CMarbenApp& app, const DriftStationReport& station) {
    LoadedParamFile backup, drive;
    backup.fileName = station.file;
    backup.slotFlags = station.backupInUse;
    backup.settings = station.backup;
    drive.fileName = StationSourceName(station.station);
    for (int slot = 0; slot < kParamCount; ++slot) drive.slotFlags[static_cast<std::size_t>(slot)] = 1;
    drive.settings = station.drive;
    StageFileWithFile(app, backup, drive, FileWithFileDiffers(backup, drive));
}

}  // namespace kolt
