// The fault soak: for a set time, reads, writes and saves against a bus of
// virtual drives while the drives misbehave at random (repeatably from the
// seed), and checks after every step that nothing was lost or wrong:
//   - a completed read holds exactly the drive's registers (late replies included);
//   - a failed read leaves the open document as it was and writes no file;
//   - a station reported written holds the document's values;
//   - no write request ever reached a read-only register or F52;
//   - a failed save (a file-size limit) leaves the old file byte for byte;
//   - resident memory at the end is within 10 % of its size after the first minute.
//
//   soak --minutes N --seed S [--baud B] [--fault-percent P]
//
// Prints the operations done, the faults injected, the failures seen by kind
// and the memory figures; exits 1 on any lost or wrong value, 2 on bad usage.
#include "base/document_host.h"
#include "base/marben_app.h"
#include "base/prompts.h"
#include "catalogue/catalogue.h"
#include "document/doc_commands.h"
#include "document/doc_file.h"
#include "document/marben_doc.h"
#include "drive-sim/virtual_drive.h"
#include "link/link_context.h"
#include "link/link_procedure.h"
#include "link/modbus_port.h"
#include "link/read_procedure.h"
#include "link/write_procedure.h"

#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

using namespace kolt;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kModel = 5;
const std::vector<int> kStations{1, 2, 3, 4};

// The user: answers as a commissioning engineer at the bus would (Continue to
// the next station, No to saving the open document first) and counts what was
// shown, by text, without keeping every message (memory must stay flat).
class CountingPrompts : public CUnattendedPrompts {
public:
    std::map<std::string, long> shown;

    CountingPrompts() { yesNoCancelAnswer = Answer::No; }

protected:
    void Shown(const std::string& message) override {
        std::string text = message;
        // "Could not save <path>: <reason>": one kind whatever the path.
        if (text.rfind("Could not save ", 0) == 0) text = "Could not save <file>: " + text.substr(text.rfind(": ") + 2);
        while (!text.empty() && (text.back() == '\n')) text.pop_back();
        ++shown[text];
    }
};

class SoakHost : public IDocumentHost {
public:
    explicit SoakHost(CMarbenApp& app) : app_(app) {}
    std::unique_ptr<CMarbenDoc> doc;

    CMarbenDoc* ActiveDocument() override { return doc.get(); }
    bool InPrintPreview() override { return false; }
    void CloseActiveDocument() override { doc.reset(); }
    CMarbenDoc* CreateNewDocument() override {
        doc = kolt::CreateNewDocument(app_);
        return doc.get();
    }
    void RefreshStatusPanes() override {}
    void CloseMonitorWindows() override {}

private:
    CMarbenApp& app_;
};

long ResidentKiB() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void SetFileSizeLimit(rlim_t bytes) {
    rlimit lim{};
    ::getrlimit(RLIMIT_FSIZE, &lim);
    lim.rlim_cur = bytes == RLIM_INFINITY ? lim.rlim_max : std::min(bytes, lim.rlim_max);
    ::setrlimit(RLIMIT_FSIZE, &lim);
}

struct Options {
    double minutes = 1;
    unsigned long long seed = 1;
    int baud = 38400;
    int faultPercent = 60;  // steps that inject a fault
};

bool ParseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (i + 1 >= argc) return false;
        const std::string v = argv[++i];
        char* end = nullptr;
        if (a == "--minutes") {
            o.minutes = std::strtod(v.c_str(), &end);
            if (*end || o.minutes <= 0) return false;
        } else if (a == "--seed") {
            o.seed = std::strtoull(v.c_str(), &end, 10);
            if (*end) return false;
        } else if (a == "--fault-percent") {
            o.faultPercent = static_cast<int>(std::strtol(v.c_str(), &end, 10));
            if (*end || o.faultPercent < 0 || o.faultPercent > 100) return false;
        } else if (a == "--baud") {
            o.baud = static_cast<int>(std::strtol(v.c_str(), &end, 10));
            if (*end || (o.baud != 4800 && o.baud != 9600 && o.baud != 19200 && o.baud != 38400)) return false;
        } else {
            return false;
        }
    }
    return true;
}

enum Fault {
    kNoFault,
    kIgnoreNext,    // the next request or two go unanswered (retries recover)
    kSilent,        // the station addressed says nothing this step
    kSilentAfter,   // the bus goes quiet after some more replies
    kBadLrc,        // the station's replies carry a wrong LRC
    kOverRange,     // the document holds a value the drive refuses (exception reply)
    kVanish,        // a station leaves the bus for some steps, then comes back
    kLate,          // a reply or two come after the read time-out, within what the line drain catches
    kFaultKinds,
};
const char* const kFaultNames[kFaultKinds] = {"none",    "ignore next requests", "silent station", "silent after N",
                                              "bad LRC", "exception reply",      "station vanishes",
                                              "late replies"};

enum Op { kReadNew, kReadIntoOpen, kWrite, kSave, kOpKinds };
const char* const kOpNames[kOpKinds] = {"read into a new document", "read into the open document", "write",
                                        "save"};

class Soak {
public:
    explicit Soak(const Options& o) : options_(o), rng_(o.seed) {}

    int Run();

private:
    bool Setup();
    void Step();
    void InjectFault(int station, Op op);
    void ClearStepFaults();
    void ReadStep(int station, bool intoOpen);
    void WriteStep(int station);
    void SaveStep();
    void CheckNoForbiddenWrites();
    void Wrong(const std::string& what);
    int Random(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
    void FillRandomSettings(CMarbenDoc& doc);
    std::int32_t DriveValue(int station, int number) { return drive_->ParamValue(station, number); }

    Options options_;
    std::mt19937_64 rng_;
    std::unique_ptr<sim::VirtualDrive> drive_;
    CMarbenApp app_;
    CountingPrompts prompts_;
    CModbusPort port_{&prompts_};
    SoakHost host_{app_};
    LinkContext ctx_{app_, port_, prompts_, host_};
    std::string dir_;
    long ops_[kOpKinds] = {};
    long opsFailed_[kOpKinds] = {};
    long faults_[kFaultKinds] = {};
    long wrong_ = 0;
    std::map<int, int> vanished_;  // station -> steps left away
    int stepFault_ = kNoFault;
    int savesFailed_ = 0;
    long step_ = 0;
};

bool Soak::Setup() {
    std::signal(SIGXFSZ, SIG_IGN);  // a write past the size limit fails with EFBIG instead
    char tmpl[] = "/tmp/kolt-soak-XXXXXX";
    if (!::mkdtemp(tmpl)) return false;
    dir_ = tmpl;

    sim::DriveSimOptions o;
    o.stations = kStations;
    o.model = kModel;
    o.baud = options_.baud;
    drive_ = std::make_unique<sim::VirtualDrive>(o);
    if (!drive_->Start()) {
        std::fprintf(stderr, "soak: cannot start the virtual drives: %s\n", drive_->Error().c_str());
        return false;
    }
    LinkRequest link;
    link.button = LinkButton::Link;
    link.line.baudRate = options_.baud;
    link.stations = {kStations.front()};
    link.portName = drive_->SlavePath();
    if (RunLinkCommand(ctx_, link) != LinkOutcome::Linked) {
        std::fprintf(stderr, "soak: cannot link station %d\n", kStations.front());
        return false;
    }
    return true;
}

void Soak::Wrong(const std::string& what) {
    ++wrong_;
    std::fprintf(stderr, "soak: step %ld: %s\n", step_, what.c_str());
}

void Soak::FillRandomSettings(CMarbenDoc& doc) {
    for (const ParamDef& p : AllParams()) {
        if (!IsWrittenByWriteCommand(p.number)) continue;
        const int slot = SlotOfNumber(p.number);
        doc.values[0][static_cast<std::size_t>(slot)] = Random(p.min, p.max);
    }
}

void Soak::InjectFault(int station, Op op) {
    stepFault_ = Random(0, 99) < options_.faultPercent ? Random(1, kFaultKinds - 1) : kNoFault;
    if (stepFault_ == kOverRange && op != kWrite) stepFault_ = kNoFault;
    if (stepFault_ == kSilentAfter && op == kSave) stepFault_ = kNoFault;
    ++faults_[stepFault_];
    switch (stepFault_) {
    case kIgnoreNext: drive_->SetIgnoreNext(Random(1, 2)); break;
    case kSilent: drive_->SetSilent(station, true); break;
    case kSilentAfter: drive_->SetSilentAfter(drive_->RepliesSent() + Random(0, 150)); break;
    case kBadLrc: drive_->SetBadLrc(station, true); break;
    case kVanish: {
        const int s = kStations[static_cast<std::size_t>(Random(0, static_cast<int>(kStations.size()) - 1))];
        vanished_[s] = Random(2, 8);
        drive_->SetSilent(s, true);
        break;
    }
    // 430..470 ms after the request: past the read's 400 ms, and before the 500 ms
    // up to which the next transaction lets the line fall quiet first.
    case kLate: drive_->SetLateNext(Random(1, 2), Random(430, 470)); break;
    default: break;
    }
}

void Soak::ClearStepFaults() {
    drive_->SetIgnoreNext(0);
    drive_->SetLateNext(0, 0);
    drive_->SetSilentAfter(-1);
    for (int s : kStations) {
        drive_->SetBadLrc(s, false);
        const auto it = vanished_.find(s);
        if (it != vanished_.end() && --it->second <= 0) vanished_.erase(it);
        drive_->SetSilent(s, vanished_.count(s) != 0);
    }
}

void Soak::ReadStep(int station, bool intoOpen) {
    const Op op = intoOpen ? kReadIntoOpen : kReadNew;
    ++ops_[op];
    ReadRequest r;
    r.station = station;
    const int groups = Random(0, 2);  // both, F only, C only
    r.readF = groups != 2;
    r.readC = groups != 1;

    std::array<SlotValues, 3> before{};
    if (intoOpen) {
        if (!host_.doc) host_.CreateNewDocument();
        FillRandomSettings(*host_.doc);
        before = host_.doc->values;
    } else {
        host_.CloseActiveDocument();
    }
    const std::string output = dir_ + "/read.kpf";
    std::filesystem::remove(output);

    const bool ok = RunReadCommand(ctx_, r);
    if (!ok) {
        ++opsFailed_[op];
        if (intoOpen && (!host_.doc || host_.doc->values != before)) Wrong("a failed read changed the open document");
        if (!intoOpen && host_.doc) Wrong("a failed read left a new document");
        if (std::filesystem::exists(output)) Wrong("a failed read left a file");
        return;
    }
    if (!host_.doc) {
        Wrong("a completed read left no document");
        return;
    }
    for (const ParamDef& p : AllParams()) {
        const int slot = SlotOfNumber(p.number);
        const bool fGroup = p.number < 100;
        if ((fGroup && !r.readF) || (!fGroup && !r.readC)) continue;
        const std::int32_t got = host_.doc->values[0][static_cast<std::size_t>(slot)];
        const std::int32_t want = DriveValue(station, p.number);
        if (got != want)
            Wrong("read of station " + std::to_string(station) + ": " + p.code + " is " + std::to_string(got) +
                  ", the drive holds " + std::to_string(want));
    }
    // The read goes to a file, as the command line's read -o does.
    if (!WriteDocFile(*host_.doc, output, prompts_)) {
        Wrong("saving a read document failed without a size limit");
        return;
    }
    std::istringstream in(FileBytes(output));
    DocFileImage image;
    if (DecodeDocFile(in, image) != DocReadResult::Ok || image.values[0] != host_.doc->values[0])
        Wrong("the saved read does not read back");
}

void Soak::WriteStep(int station) {
    ++ops_[kWrite];
    if (!host_.doc || host_.doc->compareMode != 0) host_.CreateNewDocument();
    CMarbenDoc& doc = *host_.doc;
    FillRandomSettings(doc);
    int refusedNumber = -1;
    if (stepFault_ == kOverRange) {
        std::vector<int> writable;
        for (const ParamDef& p : AllParams())
            if (IsWrittenByWriteCommand(p.number) && p.max < 0xFFFF) writable.push_back(p.number);
        refusedNumber = writable[static_cast<std::size_t>(Random(0, static_cast<int>(writable.size()) - 1))];
        doc.values[0][static_cast<std::size_t>(SlotOfNumber(refusedNumber))] = MaxValue(refusedNumber) + 1;
    }

    WriteRequest w;
    w.stations = {station};
    if (Random(0, 3) == 0) w.stations = kStations;  // the whole bus
    const int groups = Random(0, 2);
    w.writeBasic = groups != 2;
    w.writeAdvanced = groups != 1;

    std::map<int, std::map<int, std::int32_t>> refusedBefore;
    if (refusedNumber >= 0)
        for (int s : w.stations) refusedBefore[s][refusedNumber] = DriveValue(s, refusedNumber);

    bool allWritten = true;
    RunWriteCommand(ctx_, doc, w, [&](const StationWriteReport& report) {
        if (report.result != StationWriteResult::Written) {
            allWritten = false;
            if (refusedNumber >= 0 && report.result == StationWriteResult::Refused &&
                DriveValue(report.station, refusedNumber) != refusedBefore[report.station][refusedNumber])
                Wrong("a refused value reached the drive");
            return;
        }
        for (const ParamDef& p : AllParams()) {
            if (!IsWrittenByWriteCommand(p.number)) continue;
            const bool fGroup = p.number < 100;
            if ((fGroup && !w.writeBasic) || (!fGroup && !w.writeAdvanced)) continue;
            const std::int32_t want = doc.values[0][static_cast<std::size_t>(SlotOfNumber(p.number))];
            const std::int32_t got = DriveValue(report.station, p.number);
            if (got != want)
                Wrong("station " + std::to_string(report.station) + " reported written holds " + p.code + " = " +
                      std::to_string(got) + ", the document " + std::to_string(want));
        }
    });
    if (!allWritten) ++opsFailed_[kWrite];
}

void Soak::SaveStep() {
    ++ops_[kSave];
    if (!host_.doc) host_.CreateNewDocument();
    CMarbenDoc& doc = *host_.doc;
    FillRandomSettings(doc);
    doc.stationTitles[static_cast<std::size_t>(Random(0, kStationMax - 1))] = "Pump " + std::to_string(step_);
    const std::string path = dir_ + "/saved.kpf";
    const std::string old = FileBytes(path);
    const bool limited = Random(0, 2) == 0;
    if (limited) SetFileSizeLimit(static_cast<rlim_t>(Random(0, 1800)));
    const bool ok = WriteDocFile(doc, path, prompts_);
    SetFileSizeLimit(RLIM_INFINITY);
    if (!ok) {
        ++opsFailed_[kSave];
        ++savesFailed_;
        if (!limited) Wrong("a save failed without a size limit");
        if (FileBytes(path) != old) Wrong("a failed save changed the old file");
        return;
    }
    if (limited) Wrong("a save past the size limit reported success");
    std::istringstream in(FileBytes(path));
    DocFileImage image;
    if (DecodeDocFile(in, image) != DocReadResult::Ok || image.values[0] != doc.values[0] ||
        image.stationTitles != doc.stationTitles)
        Wrong("a saved file does not read back as the document");
}

void Soak::CheckNoForbiddenWrites() {
    for (int s : kStations) {
        drive_->WithStation(s, [&](sim::VirtualStation& st) {
            for (const ParamDef& p : AllParams()) {
                if (IsWrittenByWriteCommand(p.number)) continue;
                if (const long n = st.WriteRequestsTo(p.reg))
                    Wrong("station " + std::to_string(s) + ": " + std::to_string(n) + " write requests reached " +
                          p.code);
            }
        });
    }
}

void Soak::Step() {
    ++step_;
    const int station = kStations[static_cast<std::size_t>(Random(0, static_cast<int>(kStations.size()) - 1))];
    const Op op = static_cast<Op>(Random(0, kOpKinds - 1));
    InjectFault(station, op);
    switch (op) {
    case kReadNew: ReadStep(station, false); break;
    case kReadIntoOpen: ReadStep(station, true); break;
    case kWrite: WriteStep(station); break;
    case kSave: SaveStep(); break;
    default: break;
    }
    ClearStepFaults();
    CheckNoForbiddenWrites();
    // The virtual drive keeps the last 20,000 frames it heard for tests; the soak
    // never reads them, and that log filling up after the first minute would be
    // counted as the program's memory growing.
    drive_->ClearFramesHeard();
}

int Soak::Run() {
    if (!Setup()) return 1;
    const auto start = Clock::now();
    const double total = options_.minutes * 60.0;
    // The baseline is taken after the first minute (a quarter of a shorter run).
    const double baselineAt = std::min(60.0, total / 4);
    long baseline = -1;
    std::printf("soak: %.1f min, seed %llu, stations 1-%zu of model %d at %d baud on %s, faults in %d %% of the steps\n",
                options_.minutes, options_.seed, kStations.size(), kModel, options_.baud, drive_->SlavePath().c_str(),
                options_.faultPercent);
    std::fflush(stdout);
    double elapsed = 0;
    while ((elapsed = std::chrono::duration<double>(Clock::now() - start).count()) < total) {
        if (baseline < 0 && elapsed >= baselineAt) baseline = ResidentKiB();
        Step();
    }
    if (baseline < 0) baseline = ResidentKiB();
    const long final = ResidentKiB();
    port_.Close();
    drive_->Stop();
    std::filesystem::remove_all(dir_);

    long opsTotal = 0;
    std::printf("steps: %ld in %.1f s\n", step_, elapsed);
    std::printf("operations (done / failed as the faults made them):\n");
    for (int k = 0; k < kOpKinds; ++k) {
        opsTotal += ops_[k];
        std::printf("  %-30s %7ld / %ld\n", kOpNames[k], ops_[k], opsFailed_[k]);
    }
    std::printf("faults injected:\n");
    for (int k = 1; k < kFaultKinds; ++k) std::printf("  %-30s %7ld\n", kFaultNames[k], faults_[k]);
    std::printf("  %-30s %7ld\n", "(steps without a fault)", faults_[kNoFault]);
    std::printf("failures shown to the user, by kind:\n");
    for (const auto& [text, n] : prompts_.shown) std::printf("  %-50s %7ld\n", ("\"" + text + "\"").c_str(), n);
    std::printf("drive frames: %ld seen, %ld replies, %ld rejected\n", drive_->FramesSeen(), drive_->RepliesSent(),
                drive_->FramesRejected());
    const double growth = baseline > 0 ? 100.0 * static_cast<double>(final - baseline) / static_cast<double>(baseline) : 0;
    std::printf("memory: resident %ld KiB after %.0f s, %ld KiB at the end (%+.1f %%)\n", baseline, baselineAt, final,
                growth);
    const bool memoryFlat = final <= baseline + baseline / 10;
    if (!memoryFlat) std::printf("memory grew by more than 10 %%\n");
    std::printf("lost or wrong values: %ld\n", wrong_);
    return wrong_ == 0 && memoryFlat && opsTotal > 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!ParseOptions(argc, argv, o)) {
        std::fprintf(stderr, "usage: soak --minutes N --seed S [--baud 4800|9600|19200|38400] [--fault-percent P]\n");
        return 2;
    }
    Soak soak(o);
    return soak.Run();
}
