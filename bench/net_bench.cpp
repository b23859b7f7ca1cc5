// One drive read the way Read does it (113 requests) over every way a drive can
// be reached, side by side: the local pty, ser2net in raw mode with chardelay
// off and with its defaults, ser2net speaking RFC 2217, and the virtual drive's
// own --listen. Beside each, a bare request-and-reply loop over the same path,
// which shows what the path itself costs. Then transactions through --listen
// with one-byte segments and with joined replies, counting wrong values.
// Arguments: [transactions per soak, default 10000] [baud, default 38400].
#include "catalogue/catalogue.h"
#include "drive-sim/ser2net_runner.h"
#include "drive-sim/virtual_drive.h"
#include "link/modbus_port.h"
#include "link/port_line.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

using namespace kolt;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRounds = 3;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

std::vector<ModbusRequest> ReadRequests() {
    std::vector<ModbusRequest> requests{ModbusRequest::Version(1), ModbusRequest::Capacity(1)};
    for (const auto& p : AllParams()) requests.push_back(ModbusRequest::ReadParam(1, p.number));
    return requests;
}

// The program's Read over the port: best of the rounds, and the failed requests.
double TimeRead(const std::string& name, int baud, int& failures) {
    CModbusPort port;
    if (port.Open(name, 2048, 2048) != 0) {
        std::fprintf(stderr, "cannot open %s: %s (error %u)\n", name.c_str(), port.FailureText().c_str(), port.LastError());
        failures = -1;
        return 0;
    }
    port.Setup(baud, 8, 0, 0);
    double best = 1e9;
    failures = 0;
    const auto requests = ReadRequests();
    for (int round = 0; round < kRounds; ++round) {
        const auto start = Clock::now();
        for (const auto& r : requests) {
            int value = 0;
            if (port.TransactWithRetry(r, value) != kNormalReply) ++failures;
        }
        best = std::min(best, Seconds(start));
    }
    port.Close();
    return best;
}

// Sends one frame and reads up to its reply's LF through `receive`; false after 2 s.
template <class Send, class Receive>
bool Exchange(int fd, const char* frame, int length, Send send, Receive receive) {
    if (!send(frame, static_cast<std::size_t>(length))) return false;
    char buf[256];
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 2000) <= 0) return false;
        const ssize_t n = receive(buf, sizeof buf);
        if (n > 0 && std::find(buf, buf + n, '\n') != buf + n) return true;
        if (n < 0 && errno != EAGAIN) return false;
    }
}

// 113 single-register reads, no pause, no purge: through the port's line (our
// socket options included), or through a plain socket with the system's defaults.
double TimeBareLoop(const std::string& name, bool plainSocket, int& failures) {
    char frames[113][kFrameBufferSize];
    int lengths[113];
    const auto requests = ReadRequests();
    for (std::size_t i = 0; i < requests.size() && i < 113; ++i) lengths[i] = BuildRequest(requests[i], frames[i]);
    double best = 1e9;
    failures = 0;
    for (int round = 0; round < kRounds; ++round) {
        std::unique_ptr<CPortLine> line = MakePortLine(PortKindOf(name));
        if (line->Open(name, -1) != 0) {
            failures = -1;
            return 0;
        }
        int fd = line->Fd();
        if (plainSocket) {
            // The same connection's socket, with the options we set put back to the system's.
            const int zero = 0;
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &zero, sizeof zero);
            ::setsockopt(fd, IPPROTO_TCP, TCP_QUICKACK, &zero, sizeof zero);
        }
        const auto start = Clock::now();
        for (int i = 0; i < 113; ++i) {
            const bool ok = plainSocket
                                ? Exchange(fd, frames[i], lengths[i],
                                           [&](const char* b, std::size_t n) { return ::send(fd, b, n, 0) == ssize_t(n); },
                                           [&](char* b, std::size_t n) { return ::recv(fd, b, n, 0); })
                                : Exchange(fd, frames[i], lengths[i],
                                           [&](const char* b, std::size_t n) { return line->Send(b, n) == ssize_t(n); },
                                           [&](char* b, std::size_t n) { return line->Receive(b, n); });
            if (!ok) ++failures;
        }
        best = std::min(best, Seconds(start));
    }
    return best;
}

// Reads parameters round and round through `url`; wrong values and failed requests.
void Soak(const char* what, const std::string& url, sim::VirtualDrive& drive, long transactions) {
    CModbusPort port;
    if (port.Open(url, 2048, 2048) != 0) {
        std::fprintf(stderr, "cannot open %s\n", url.c_str());
        return;
    }
    const auto& params = AllParams();
    for (std::size_t i = 0; i < params.size(); ++i) drive.SetParamValue(1, params[i].number, static_cast<std::int32_t>(1000 + 37 * i));
    long wrong = 0, failed = 0;
    const auto start = Clock::now();
    for (long t = 0; t < transactions; ++t) {
        const auto& p = params[static_cast<std::size_t>(t) % params.size()];
        int value = -1;
        if (port.TransactWithRetry(ModbusRequest::ReadParam(1, p.number), value) != kNormalReply)
            ++failed;
        else if (value != drive.ParamValue(1, p.number))
            ++wrong;
    }
    std::printf("soak %-28s %ld transactions in %.1f s: %ld wrong values, %ld failed requests, %ld calls\n", what,
                transactions, Seconds(start), wrong, failed, port.TransactionCount());
    port.Close();
}

}  // namespace

int main(int argc, char** argv) {
    const long transactions = argc > 1 ? std::atol(argv[1]) : 10000;
    const int baud = argc > 2 ? std::atoi(argv[2]) : 38400;
    sim::DriveSimOptions options;
    options.stations = {1};
    options.model = 5;
    options.baud = baud;
    options.listenHost = "127.0.0.1";
    options.listenPort = 0;
    sim::VirtualDrive drive(options);
    if (!drive.Start()) {
        std::fprintf(stderr, "cannot start the virtual drive: %s\n", drive.Error().c_str());
        return 1;
    }
    struct Path {
        std::string name;
        std::string url;
        std::unique_ptr<sim::Ser2net> server;
    };
    std::vector<Path> paths;
    paths.push_back({"local pty", drive.SlavePath(), nullptr});
    if (sim::Ser2netInstalled()) {
        const struct {
            const char* name;
            sim::Ser2net::Mode mode;
            bool chardelay;
        } servers[] = {{"ser2net raw, chardelay off", sim::Ser2net::Mode::Raw, false},
                       {"ser2net raw, defaults", sim::Ser2net::Mode::Raw, true},
                       {"ser2net RFC 2217, defaults", sim::Ser2net::Mode::Rfc2217, true}};
        for (const auto& s : servers) {
            auto server = std::make_unique<sim::Ser2net>();
            const std::string url = server->Start(drive.SlavePath(), s.mode, s.chardelay);
            if (url.empty()) std::fprintf(stderr, "%s did not start\n", s.name);
            else paths.push_back({s.name, url, std::move(server)});
        }
    } else {
        std::printf("ser2net is not installed: its paths are left out (scripts/deps.sh installs it)\n");
    }
    paths.push_back({"virtual drive --listen", "tcp://127.0.0.1:" + std::to_string(drive.ListenPort()), nullptr});

    std::printf("net_bench: one drive, %d baud, best of %d rounds; Read = the program's %zu requests "
                "(2 ms pause, purge, retries), bare = %d requests written and read back, nothing else\n",
                baud, kRounds, ReadRequests().size(), 113);
    double localRead = 0, localBare = 0;
    for (const Path& p : paths) {
        int readFailures = 0, bareFailures = 0;
        const double read = TimeRead(p.url, baud, readFailures);
        const double bare = TimeBareLoop(p.url, false, bareFailures);
        if (p.server == nullptr && p.url == drive.SlavePath()) {
            localRead = read;
            localBare = bare;
        }
        std::printf("%-28s Read %.3f s (failures %d)   bare loop %.3f s (failures %d)", p.name.c_str(), read,
                    readFailures, bare, bareFailures);
        if (p.url != drive.SlavePath()) {
            // What the path adds by itself shows in the bare loop; Read may add 5 % beyond it.
            const double goal = 1.05 * localRead + std::max(0.0, bare - localBare);
            std::printf("   goal %.3f s: %s", goal, read <= goal ? "met" : "missed");
            int plainFailures = 0;
            const double plain = TimeBareLoop(p.url, true, plainFailures);
            std::printf("   bare loop without our socket options %.3f s", plain);
        }
        std::printf("\n");
    }
    paths.clear();
    drive.Stop();

    // The transactions at full speed: no pacing, so segments and joins come as fast as they can.
    for (const bool join : {false, true}) {
        sim::DriveSimOptions o = options;
        o.baud = 0;
        o.segment = join ? 0 : 1;
        o.join = join;
        sim::VirtualDrive fast(o);
        if (!fast.Start()) return 1;
        Soak(join ? "--listen --join" : "--listen --segment 1", "tcp://127.0.0.1:" + std::to_string(fast.ListenPort()),
             fast, transactions);
        fast.Stop();
    }
    return 0;
}
