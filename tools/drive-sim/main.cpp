// kolt-drive-sim: virtual drives on a pseudo-terminal for testing without hardware.
#include "virtual_drive.h"

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    "usage: kolt-drive-sim [--stations 1,3,5-7] [--model 0..10] [--version 12] [--hz60]\n"
    "                      [--baud 38400] [--silent LIST] [--bad-lrc LIST]\n"
    "                      [--silent-after N] [--delay-ms D] [--check-baud]\n"
    "                      [--fault STATION:CODE[@SECONDS]]... [--set STATION:CODE=VALUE]...\n"
    "                      [--no-block STATION[:REGISTER]]...\n"
    "                      [--listen 127.0.0.1:PORT [--segment N] [--join]] [--echo]\n"
    "Prints the device to open (set KOLT_COM1 to it) and answers until stopped.\n"
    "--check-baud: answer only while the line is set to the same baud rate.\n"
    "--fault 3:11@5: station 3 trips with fault code 11 (\" E.S.\") 5 s after start\n"
    "(at once without @); the output stops and the code stays until a fault reset.\n"
    "--set 3:F07=45.00: station 3 starts with F07 at 45.00 instead of its default; the\n"
    "value is written as the parameter shows it (its decimals), any parameter, 0..65535.\n"
    "--no-block 3: station 3 refuses reads of more than one register that take in a\n"
    "parameter register (exception 53), so they must be read one at a time;\n"
    "--no-block 3:0064 refuses only those that take in register 0x0064.\n"
    "--listen 127.0.0.1:5020: serve the bus over raw TCP as well (loopback only; port 0\n"
    "picks one, printed as tcp://HOST:PORT); --segment N sends replies in TCP segments\n"
    "of N bytes, --join sends each reply twice in one segment; --echo returns each\n"
    "request's bytes before the reply, as a half-duplex adapter that echoes.\n";

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    for (const auto& a : args) {
        if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    kolt::sim::DriveSimOptions options;
    std::string message;
    if (!kolt::sim::ParseSimArguments(args, options, message)) {
        std::fprintf(stderr, "kolt-drive-sim: %s\n%s", message.c_str(), kUsage);
        return 2;
    }

    // Block the stop signals before the drive's thread starts so only sigwait sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    kolt::sim::VirtualDrive drive(options);
    if (!drive.Start()) {
        std::fprintf(stderr, "kolt-drive-sim: %s\n", drive.Error().c_str());
        return 1;
    }
    std::printf("%s\n", drive.SlavePath().c_str());
    if (drive.ListenPort() >= 0) std::printf("tcp://%s:%d\n", options.listenHost.c_str(), drive.ListenPort());
    std::fflush(stdout);
    std::fprintf(stderr, "kolt-drive-sim: %zu station(s), model %d, %d baud; run the program with KOLT_COM1=%s\n",
                 options.stations.size(), options.model, options.baud, drive.SlavePath().c_str());

    int signal = 0;
    sigwait(&stopSignals, &signal);
    drive.Stop();
    std::fprintf(stderr, "kolt-drive-sim: stopped after %ld request(s), %ld reply(ies)\n", drive.RequestsForUs(),
                 drive.RepliesSent());
    return 0;
}
