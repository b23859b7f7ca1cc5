// Time to read a whole drive the way Read does (version, capacity, then one request
// per parameter) against the virtual drive paced at 38400 baud, compared with the
// time the same characters need on the wire; then the same drive read a run of
// registers per request, beside it.
#include "catalogue/catalogue.h"
#include "link/block_read.h"
#include "drive-sim/virtual_drive.h"
#include "link/modbus_port.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace kolt;

// Optional argument: the baud rate (default 38400).
int main(int argc, char** argv) {
    const int kBaud = argc > 1 ? std::atoi(argv[1]) : 38400;
    constexpr int kRounds = 3;
    sim::DriveSimOptions options;
    options.stations = {1};
    options.model = 5;
    options.baud = kBaud;
    sim::VirtualDrive drive(options);
    if (!drive.Start()) {
        std::fprintf(stderr, "cannot start the virtual drive: %s\n", drive.Error().c_str());
        return 1;
    }
    CModbusPort port;
    if (port.Open(drive.SlavePath(), 2048, 2048) != 0 || port.Setup(kBaud, 8, 0, 0) != 0) {
        std::fprintf(stderr, "cannot open %s: error %u\n", drive.SlavePath().c_str(), port.LastError());
        return 1;
    }

    std::vector<ModbusRequest> requests{ModbusRequest::Version(1), ModbusRequest::Capacity(1)};
    for (const auto& p : AllParams()) requests.push_back(ModbusRequest::ReadParam(1, p.number));

    std::printf("read_all_bench: %zu requests per read, %d baud, 10 bits per character\n", requests.size(), kBaud);
    double bestRatio = 1e9, bestSingle = 1e9, singleWire = 0;
    for (int round = 1; round <= kRounds; ++round) {
        long characters = 0;
        int failures = 0;
        const auto start = std::chrono::steady_clock::now();
        for (const auto& r : requests) {
            int value = 0;
            if (port.TransactWithRetry(r, value) != kNormalReply) ++failures;
            characters += RequestLength(r.kind) + port.ReceivedCount();
        }
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const double wire = static_cast<double>(characters) * 10.0 / kBaud;
        const double ratio = elapsed / wire;
        bestRatio = std::min(bestRatio, ratio);
        bestSingle = std::min(bestSingle, elapsed);
        singleWire = wire;
        std::printf("round %d: elapsed %.3f s, wire time %.3f s (%ld characters), ratio %.2f, failures %d\n", round,
                    elapsed, wire, characters, ratio, failures);
    }
    std::printf("best ratio %.2f (goal: under 1.5)\n", bestRatio);

    // The same drive by blocks: the characters of every block request and its reply.
    const auto blocks = ParameterBlocks(BlockLimitForBaud(kBaud));
    long blockCharacters = 0;
    for (const auto& b : blocks) blockCharacters += kShortRequestLength + 11 + 4 * static_cast<long>(b.numbers.size());
    const double blockWire = static_cast<double>(blockCharacters) * 10.0 / kBaud;
    double bestBlock = 1e9;
    int blockFailures = 0;
    BlockReadMemory memory;
    for (int round = 1; round <= kRounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        if (!ReadParameterBlocks(port, 1, memory).Ok()) ++blockFailures;
        bestBlock = std::min(bestBlock, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::printf("one drive at %d baud: Read's %zu single reads %.3f s (wire %.3f s); block read, %zu requests, "
                "%.3f s (wire %.3f s, %ld characters), failures %d\n",
                kBaud, requests.size(), bestSingle, singleWire, blocks.size(), bestBlock, blockWire, blockCharacters,
                blockFailures);
    port.Close();
    drive.Stop();
    return 0;
}
