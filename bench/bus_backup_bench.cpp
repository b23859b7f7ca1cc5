// A bus backup against Read of the same drives: one drive, then 30, on the
// virtual drive paced at 38400 baud (or the rate given). The backup asks each
// station with the scan's echo, reads version and capacity, then the
// parameters by blocks, and writes each file; Read sends one request per
// parameter. Prints the figures; the goal is at most 0.2 s a drive, and 30
// drives within 1.05 x 30 x one drive plus the scan's echoes.
#include "monitor_bench_line.h"
#include "link/bus_backup.h"
#include "link/link_procedure.h"
#include "link/modbus_port.h"
#include "link/read_procedure.h"
#include "drive-sim/virtual_drive.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <numeric>

using namespace kolt;

namespace {

template <class F>
double Seconds(F&& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

// Optional argument: the baud rate (default 38400).
int main(int argc, char** argv) {
    const int baud = argc > 1 ? std::atoi(argv[1]) : 38400;
    constexpr int kDrives = 30;
    sim::DriveSimOptions options;
    options.stations.resize(kDrives);
    std::iota(options.stations.begin(), options.stations.end(), 1);
    options.model = 5;
    options.baud = baud;
    sim::VirtualDrive drive(options);
    if (!drive.Start()) {
        std::fprintf(stderr, "cannot start the virtual drive: %s\n", drive.Error().c_str());
        return 1;
    }
    CMarbenApp app;
    CUnattendedPrompts prompts;
    CModbusPort port;
    bench::NoHost host;
    LinkContext ctx{app, port, prompts, host};
    LinkRequest link;
    link.portName = drive.SlavePath();
    link.line.baudRate = baud;
    if (OpenLinkPort(ctx, link) != LinkOutcome::Linked) {
        std::fprintf(stderr, "cannot open %s\n", drive.SlavePath().c_str());
        return 1;
    }
    app.linkedFlag = 1;
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "kolt-bus-backup-bench";
    BlockReadMemory memory;
    IBusJobProgress progress;
    auto backup = [&](int drives, int& saved) {
        BackupRequest request;
        request.folder = folder.string();
        for (int s = 1; s <= drives; ++s) request.stations.push_back(s);
        saved = BackupBus(ctx, request, memory, progress).saved;
    };
    auto read = [&](int drives, int& done) {
        done = 0;
        for (int s = 1; s <= drives; ++s) done += ReadParameters(ctx, s, true, true) ? 1 : 0;
    };

    std::printf("bus_backup_bench: %d baud, model 5\n", baud);
    int saved = 0, readOk = 0;
    double one = 1e9, oneRead = 1e9, oneBus = 1e9;
    for (int round = 0; round < 3; ++round) {
        one = std::min(one, Seconds([&] { backup(1, saved); }));
        oneRead = std::min(oneRead, Seconds([&] { read(1, readOk); }));
        // The bus's part alone: the echo, version and capacity, and the blocks.
        oneBus = std::min(oneBus, Seconds([&] {
            ProbeStation(ctx, 1);
            ReadParameterBlocks(port, 1, memory);
        }));
    }
    std::printf("one drive: backup %.3f s (saved %d), of it bus time %.3f s (goal <= 0.200 s) and files %.3f s; "
                "Read %.3f s\n", one, saved, oneBus, one - oneBus, oneRead);
    // The scan's share: one echo test per station.
    const double echoes = Seconds([&] {
        for (int s = 1; s <= kDrives; ++s) port.TransactWithRetry(ModbusRequest::Echo(s));
    });
    const double all = Seconds([&] { backup(kDrives, saved); });
    const double allRead = Seconds([&] { read(kDrives, readOk); });
    const double goal = 1.05 * kDrives * one + echoes;
    std::printf("%d drives: backup %.3f s (saved %d), %.3f s a drive; goal <= %.3f s (1.05 x %d x %.3f + echoes %.3f); "
                "Read %.3f s (%d read), %.1fx the backup\n",
                kDrives, all, saved, all / kDrives, goal, kDrives, one, echoes, allRead, readOk, allRead / all);
    std::filesystem::remove_all(folder);
    port.Close();
    drive.Stop();
    return 0;
}
