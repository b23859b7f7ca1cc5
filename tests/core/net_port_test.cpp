// Network ports: raw TCP to the virtual drive's --listen and through ser2net,
// RFC 2217, the failures a network brings, and the echo and RS-485 options.
#include "link/bus.h"
#include "link/rfc2217_line.h"
#include "drive-sim/ser2net_runner.h"
#include "cli_run_support.h"
#include "link_test_support.h"
#include "wait_for.h"

#include <algorithm>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace kolt::testing {
namespace {

constexpr int kF07 = 7;

// A listening socket on a free loopback port; its port, and the socket.
int ListenLoopback(int& port, int backlog = 4) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(fd, backlog) != 0) return -1;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    port = ntohs(a.sin_port);
    return fd;
}

// A server that plays a script with each connection it accepts, in turn.
class ScriptedServer {
public:
    using Script = std::function<void(int fd)>;
    explicit ScriptedServer(std::vector<Script> scripts) {
        listen_ = ListenLoopback(port_);
        thread_ = std::thread([this, scripts = std::move(scripts)] {
            for (const Script& script : scripts) {
                pollfd p{listen_, POLLIN, 0};
                if (::poll(&p, 1, 10000) <= 0) return;
                const int fd = ::accept(listen_, nullptr, nullptr);
                script(fd);
                ::close(fd);
            }
        });
    }
    ~ScriptedServer() {
        thread_.join();
        ::close(listen_);
    }
    std::string Url(const char* scheme = "tcp") const { return std::string(scheme) + "://127.0.0.1:" + std::to_string(port_); }
    std::string Where() const { return "127.0.0.1:" + std::to_string(port_); }

    // Reads up to the LF of one request frame (or until the peer goes).
    static std::string ReadFrame(int fd) {
        std::string got;
        char c = 0;
        while (got.empty() || got.back() != '\n') {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 5000) <= 0 || ::read(fd, &c, 1) != 1) break;
            got += c;
        }
        return got;
    }
    static void Send(int fd, const std::string& bytes) { [[maybe_unused]] auto n = ::write(fd, bytes.data(), bytes.size()); }

private:
    int listen_ = -1;
    int port_ = 0;
    std::thread thread_;
};

class NetPort : public LinkBench {
protected:
    // The virtual drive on a pty, serving it on a loopback port as well.
    void StartListening(bool join = false, int segment = 0, bool echo = false) {
        auto o = QuickDrive({1, 2});
        o.silent = {2};
        o.listenHost = "127.0.0.1";
        o.listenPort = 0;
        o.join = join;
        o.segment = segment;
        o.echo = echo;
        StartDrive(o);
    }
    std::string DriveUrl() const { return "tcp://127.0.0.1:" + std::to_string(drive->ListenPort()); }
    LinkOutcome LinkNet(const std::string& url, std::vector<int> stations = {1}) {
        LinkRequest r = LinkTo(std::move(stations));
        r.portName = url;
        return RunLinkCommand(ctx, r);
    }
    // Reads F07 and writes it back changed: the values cross the network unchanged.
    void ReadAndWrite() {
        drive->SetParamValue(1, kF07, 4321);
        int value = 0;
        EXPECT_EQ(port.TransactWithRetry(ModbusRequest::ReadParam(1, kF07), value), kNormalReply);
        EXPECT_EQ(value, 4321);
        EXPECT_EQ(port.TransactWithRetry(ModbusRequest::WriteParam(1, kF07, 4500)), kNormalReply);
        EXPECT_EQ(drive->ParamValue(1, kF07), 4500);
    }
};

TEST(Telnet, CommandsAreEscapedAndStrippedAndTheComPortOptionIsSeen) {
    EXPECT_EQ(ComPortCommand(1, std::string("\x00\x00\x25\x80", 4)),
              std::string("\xFF\xFA\x2C\x01\x00\x00\x25\x80\xFF\xF0", 10));
    EXPECT_EQ(ComPortCommand(12, "\x01"), std::string("\xFF\xFA\x2C\x0C\x01\xFF\xF0"));
    EXPECT_EQ(TelnetEscape(":\xFF\r\n", 4), std::string(":\xFF\xFF\r\n"));

    CTelnetParser telnet;
    telnet.MarkAsked();
    std::string data, reply;
    // Data with a doubled 0xFF, DO COM-PORT-OPTION, the server's answer to a baud
    // rate, WILL ECHO (which we refuse) and a NOP, split at awkward places.
    const std::string in("\x3A\x30\xFF\xFF\xFF\xFD\x2C\xFF\xFA\x2C\x65\x00\x00\x25\x80\xFF\xF0\xFF\xFB\x01\xFF\xF1\x0D\x0A", 24);
    for (std::size_t at = 0; at < in.size(); at += 5) telnet.Feed(in.data() + at, std::min<std::size_t>(5, in.size() - at), data, reply);
    EXPECT_EQ(std::tuple(data, reply, telnet.ComPortAccepted(), telnet.ServerNotes()),
              std::tuple(std::string(":0\xFF\r\n"), std::string("\xFF\xFE\x01"), true,
                         std::vector<std::string>{std::string("\x65\x00\x00\x25\x80", 5)}));

    CTelnetParser refusing;
    refusing.MarkAsked();
    refusing.Feed("\xFF\xFE\x2C", 3, data, reply);
    EXPECT_TRUE(refusing.ComPortRefused());
}

// Whole replies, replies in one-byte segments, and a reply repeated in the same
// segment: each request gets its own reply and nothing else.
TEST_F(NetPort, LinkReadAndWriteOverTheVirtualDrivesListen) {
    const struct {
        bool join;
        int segment;
    } cases[] = {{false, 0}, {false, 1}, {true, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "join " << c.join << " segment " << c.segment);
        StartListening(c.join, c.segment);
        ASSERT_EQ(LinkNet(DriveUrl()), LinkOutcome::Linked) << ::testing::PrintToString(Boxes(prompts));
        EXPECT_EQ(std::tuple(port.ReadTimeoutMs(), port.CharGapMs()), std::tuple(1000, 200));
        ReadAndWrite();
        const auto heard = drive->FramesHeard();
        ASSERT_GE(heard.size(), 5u);
        EXPECT_EQ(std::vector<std::string>(heard.begin(), heard.begin() + 4),
                  (std::vector<std::string>{":01080000A5371B", ":0103002C0001CF", ":010300000001FB", ":010300080001F3"}));
        port.Close();
        drive->Stop();
    }
}

// The scan follows the time-outs given: a silent station costs two calls of 300 ms.
TEST_F(NetPort, ScanFindsTheStationBehindTheServer) {
    StartListening();
    LinkRequest r = LinkTo({2, 1});
    r.line.readTimeoutMs = 300;
    r.portName = DriveUrl();
    ASSERT_EQ(RunLinkCommand(ctx, r), LinkOutcome::Linked);
    EXPECT_EQ(std::tuple(app.currentStation, port.ReadTimeoutMs(), port.CharGapMs(), drive->FramesHeard()[0]),
              std::tuple(1, 300, 200, ":02080000A5371A"));
}

TEST_F(NetPort, AServerThatCannotBeReachedEndsInItsMessage) {
    // Refused: nobody listens on the port.
    const int closed = sim::FreeLoopbackPort();
    EXPECT_EQ(LinkNet("tcp://127.0.0.1:" + std::to_string(closed)), LinkOutcome::OpenFailed);
    EXPECT_EQ(Boxes(prompts), Texts{"Communication Message: Communication error!!\nCan not open COM port!\n\n"
                                    "Cannot connect to 127.0.0.1:" + std::to_string(closed) + ": Connection refused."});
    // Unanswered: a listener whose queue is full drops the handshake.
    int port = 0;
    const int full = ListenLoopback(port, 0);
    std::vector<int> queued;
    for (int i = 0; i < 8; ++i) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<std::uint16_t>(port));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        queued.push_back(fd);
    }
    prompts.shown.clear();
    EXPECT_EQ(LinkNet("tcp://127.0.0.1:" + std::to_string(port)), LinkOutcome::OpenFailed);
    EXPECT_EQ(Boxes(prompts), Texts{"Communication Message: Communication error!!\nCan not open COM port!\n\n"
                                    "Cannot connect to 127.0.0.1:" + std::to_string(port) + ": Connection timed out."});
    for (int fd : queued) ::close(fd);
    ::close(full);
}

// Dropped while a reply is awaited: the read ends at once with the message, and
// the next transaction opens the connection again.
TEST_F(NetPort, ADroppedConnectionEndsTheReadAndIsOpenedAgainOnce) {
    ScriptedServer server({
        [](int fd) { ScriptedServer::ReadFrame(fd); },  // takes the request, then hangs up
        [](int fd) {
            if (ScriptedServer::ReadFrame(fd) == ":01080000A5371B\r\n") ScriptedServer::Send(fd, ":01080000A5371B\r\n");
            ScriptedServer::ReadFrame(fd);
        },
    });
    port.SetReplyTimeouts(30000, 0);
    ASSERT_EQ(port.Open(server.Url(), 2048, 2048), 0u);
    EXPECT_EQ(port.Transact(ModbusRequest::Echo(1)), kNoReply);
    EXPECT_EQ(port.LastError(), static_cast<std::uint32_t>(ECONNRESET)) << "the read waited out its time-out";
    EXPECT_EQ(Boxes(prompts), Texts{": The connection to " + server.Where() + " was lost: closed by the server."});
    EXPECT_EQ(port.Transact(ModbusRequest::Echo(1)), kNormalReply);
    port.Close();
}

// A cancel on the bus ends the wait for a reply from a server that stays silent.
TEST(NetBus, CancelEndsTheWaitForAnUnansweredRequest) {
    std::atomic<bool> heard{false};
    ScriptedServer server({[&](int fd) {
        heard = !ScriptedServer::ReadFrame(fd).empty();
        ScriptedServer::ReadFrame(fd);  // until the client goes
    }});
    CBus bus;
    std::uint32_t opened = 1;
    bus.Run([&](CModbusPort& port) {
        port.SetReplyTimeouts(30000, 0);
        opened = port.Open(server.Url(), 2048, 2048);
    });
    ASSERT_EQ(opened, 0u);
    std::atomic<int> result{-1};
    bus.Post([&](CModbusPort& port) { result = port.TransactWithRetry(ModbusRequest::Echo(1)); });
    ASSERT_TRUE(WaitFor([&] { return heard.load(); }));
    bus.Cancel();
    EXPECT_TRUE(WaitFor([&] { return result.load() == kNoReply; }));
    bus.Shutdown();
}

TEST_F(NetPort, AServerRefusingTheComPortOptionIsNamed) {
    ScriptedServer server({[](int fd) {
        ScriptedServer::Send(fd, std::string("\xFF\xFE\x2C", 3));  // DONT COM-PORT-OPTION
        ScriptedServer::ReadFrame(fd);
    }});
    EXPECT_EQ(LinkNet(server.Url("rfc2217")), LinkOutcome::OpenFailed);
    EXPECT_EQ(Boxes(prompts), Texts{"Communication Message: Communication error!!\nCan not open COM port!\n\n" +
                                    server.Where() +
                                    " refuses the COM-PORT-OPTION of RFC 2217 (Telnet option 44), so the line settings "
                                    "cannot be set. Use tcp:// for a server in raw mode."});
}

// An adapter that echoes: without the option the copy of a read request passes
// for its reply (a wrong value); with it the copy is dropped, and a copy that
// differs from what was sent is a bad frame.
TEST_F(NetPort, EchoOptionDropsTheCopyOfEachRequest) {
    StartListening(false, 0, true);
    drive->SetParamValue(1, kF07, 4321);
    ASSERT_EQ(port.Open(drive->SlavePath(), 2048, 2048), 0u);
    int value = 0;
    EXPECT_EQ(port.TransactWithRetry(ModbusRequest::ReadParam(1, kF07), value), kNormalReply);
    EXPECT_EQ(value, 0x0800);  // digits of the request, read as a value
    port.Close();
    LinkRequest r = LinkTo({1});
    r.line.echo = true;
    ASSERT_EQ(RunLinkCommand(ctx, r), LinkOutcome::Linked);
    ReadAndWrite();
    port.Close();

    ScriptedServer server({[](int fd) {
        std::string frame = ScriptedServer::ReadFrame(fd);
        frame[1] = '2';
        ScriptedServer::Send(fd, frame + ":01080000A5371B\r\n");
        ScriptedServer::ReadFrame(fd);
    }});
    port.SetEcho(true);
    ASSERT_EQ(port.Open(server.Url(), 2048, 2048), 0u);
    EXPECT_EQ(port.Transact(ModbusRequest::Echo(1)), kBadFrame);
    port.Close();
}

TEST_F(NetPort, Rs485RefusedByAPseudoTerminalNamesTheDevice) {
    StartDrive(QuickDrive({1}));
    LinkRequest r = LinkTo({1});
    r.line.rs485 = true;
    EXPECT_EQ(RunLinkCommand(ctx, r), LinkOutcome::OpenFailed);
    EXPECT_EQ(std::tuple(Boxes(prompts), port.IsOpen()),
              std::tuple(Texts{"Communication Message: " + drive->SlavePath() +
                               " refuses the RS-485 mode (TIOCSRS485): Inappropriate ioctl for device."},
                         false));
}

// kolt-cli takes the network name like a device: scan, Read, an online write and the monitor.
TEST_F(NetPort, CliScansReadsAndMonitorsOverTcp) {
    StartListening(false, 1);
    TempDir home;
    ::setenv("KOLT_HOME", home.Path().c_str(), 1);
    const auto cli = [&](std::vector<std::string> args) {
        args.insert(args.end(), {"--port", DriveUrl()});
        return RunCli(args, home.File("out"), home.File("err"));
    };
    CliRun r = cli({"scan", "--stations", "1-2", "--timeout", "200"});
    EXPECT_EQ(std::tie(r.status, r.out), std::make_tuple(0, std::string("Station 001: D200-0.2, software version 1.2\n")))
        << r.err;
    r = cli({"read", "--station", "1", "-o", home.File("drive.kpf")});
    EXPECT_EQ(std::tie(r.status, r.out),
              std::make_tuple(0, "Station 001: D200-0.2, software version 1.2; 111 parameters read into " +
                                     home.File("drive.kpf") + "\n"))
        << r.err;
    r = cli({"set", "--station", "1", "F07=43.21"});
    EXPECT_EQ(std::make_tuple(r.status, drive->ParamValue(1, kF07)), std::make_tuple(0, 4321)) << r.err;
    r = cli({"monitor", "--station", "1", "--count", "1", "--csv"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Lines(r.out).size(), 2u) << r.out;
    ::unsetenv("KOLT_HOME");
}

// ser2net in front of the virtual drive's pty, raw and RFC 2217, on free ports.
class Ser2netPort : public NetPort {
protected:
    void SetUp() override {
        if (!sim::Ser2netInstalled()) GTEST_SKIP() << "ser2net is not installed (scripts/deps.sh)";
    }
    std::string Serve(sim::Ser2net::Mode mode) {
        const std::string url = server_.Start(drive->SlavePath(), mode, false);
        EXPECT_NE(url, "") << "ser2net did not start";
        return url;
    }
    sim::Ser2net server_;
};

TEST_F(Ser2netPort, RawModeCarriesTheBus) {
    StartDrive(QuickDrive({1}));
    ASSERT_EQ(LinkNet(Serve(sim::Ser2net::Mode::Raw)), LinkOutcome::Linked) << ::testing::PrintToString(Boxes(prompts));
    ReadAndWrite();
}

// The server sets the drive's line to what the Link dialog says.
TEST_F(Ser2netPort, Rfc2217SetsTheLineAndCarriesTheBus) {
    StartDrive(QuickDrive({1}));
    LinkRequest r = LinkTo({1});
    r.portName = Serve(sim::Ser2net::Mode::Rfc2217);
    r.line.baudRate = 9600;
    r.line.dataBits = 7;
    r.line.parity = 2;  // even
    r.line.stopBits = 2;
    ASSERT_EQ(RunLinkCommand(ctx, r), LinkOutcome::Linked) << ::testing::PrintToString(Boxes(prompts));
    ReadAndWrite();
    // The server answers each setting with what it set (RFC 2217's 101..104).
    const auto* line = dynamic_cast<const CRfc2217Line*>(port.Line());
    ASSERT_NE(line, nullptr);
    const auto& notes = line->Telnet().ServerNotes();
    for (const std::string& note : {std::string("\x65\x00\x00\x25\x80", 5), std::string("\x66\x07"),
                                   std::string("\x67\x03"), std::string("\x68\x02")})
        EXPECT_NE(std::find(notes.begin(), notes.end(), note), notes.end()) << ::testing::PrintToString(note);
    // A pseudo-terminal keeps 8 bits without parity whatever it is told; the
    // rate and the stop bits show on the drive's side.
    termios tio{};
    EXPECT_TRUE(WaitFor([&] {
        return drive->LineAttributes(tio) && ::cfgetospeed(&tio) == B9600 && (tio.c_cflag & CSTOPB);
    }));
}

}  // namespace
}  // namespace kolt::testing
