#include "virtual_drive.h"

#include "catalogue/catalogue.h"
#include "catalogue/models.h"
#include "catalogue/value_text.h"
#include "frame_receiver.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <pty.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace kolt::sim {
namespace {

speed_t SpeedOf(int baud) {
    switch (baud) {
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 57600: return B57600;
    case 115200: return B115200;
    case 38400: return B38400;
    default: return B0;
    }
}

// The same reply with its LRC off by one.
std::string CorruptLrc(std::string reply) {
    if (reply.size() < 5) return reply;
    const std::size_t at = reply.size() - 4;
    const unsigned lrc = static_cast<unsigned>(std::strtoul(reply.substr(at, 2).c_str(), nullptr, 16));
    char buf[4];
    std::snprintf(buf, sizeof buf, "%02X", (lrc + 1) & 0xFF);
    reply[at] = buf[0];
    reply[at + 1] = buf[1];
    return reply;
}

bool ParseInt(const std::string& text, long low, long high, long& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < low || v > high) return false;
    value = v;
    return true;
}

}  // namespace

VirtualDrive::VirtualDrive(DriveSimOptions options) : options_(std::move(options)) {
    for (int s : options_.stations)
        stations_[s] = std::make_unique<VirtualStation>(s, options_.model, options_.version, options_.hz50);
    for (const ParamPreset& p : options_.presets) SetParamValue(p.station, p.number, p.value);
    for (const BlockRefusal& r : options_.blockRefusals) SetRefuseBlocks(r.station, r.reg, true);
}

VirtualDrive::~VirtualDrive() { Stop(); }

double VirtualDrive::CharTime() const {
    return options_.baud > 0 ? static_cast<double>(options_.bitsPerChar) / options_.baud : 0.0;
}

bool VirtualDrive::Start() {
    if (Running()) return true;
    char name[256] = {};
    if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0) {
        error_ = std::string("openpty: ") + std::strerror(errno);
        return false;
    }
    slavePath_ = name;
    termios tio {};
    if (::tcgetattr(slave_, &tio) == 0) {
        ::cfmakeraw(&tio);
        tio.c_cflag |= CLOCAL | CREAD;
        const speed_t speed = SpeedOf(options_.baud) == B0 ? B38400 : SpeedOf(options_.baud);
        ::cfsetispeed(&tio, speed);
        ::cfsetospeed(&tio, speed);
        ::tcsetattr(slave_, TCSANOW, &tio);
    }
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave_, F_SETFD, FD_CLOEXEC);
    stopFd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (stopFd_ < 0) {
        error_ = std::string("eventfd: ") + std::strerror(errno);
        Stop();
        return false;
    }
    const auto start = SimClock::now();
    for (const FaultPlan& f : options_.faults) {
        const auto at = start + std::chrono::duration_cast<SimClock::duration>(std::chrono::duration<double>(f.seconds));
        WithStation(f.station, [&](VirtualStation& s) { s.ScheduleFault(f.code, at); });
    }
    if (!options_.listenHost.empty() && !Listen()) {
        Stop();
        return false;
    }
    thread_ = std::thread([this] { Run(); });
    return true;
}

bool VirtualDrive::Listen() {
    sockaddr_in addr {};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(options_.listenPort));
    const std::string host = options_.listenHost == "localhost" ? "127.0.0.1" : options_.listenHost;
    // Loopback only: the bus of a test drive is nobody else's business.
    if (::inet_pton(AF_INET, host.c_str(), &addr.sin_addr) != 1 || (ntohl(addr.sin_addr.s_addr) >> 24) != 127) {
        error_ = "--listen: only a loopback address (127.x.x.x) is served, not \"" + options_.listenHost + "\"";
        return false;
    }
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const int one = 1;
    ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (listenFd_ < 0 || ::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(listenFd_, 4) != 0) {
        error_ = std::string("--listen: ") + std::strerror(errno);
        return false;
    }
    socklen_t len = sizeof addr;
    ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len);
    boundPort_ = ntohs(addr.sin_port);
    return true;
}

void VirtualDrive::Accept() {
    const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) return;
    // A new client takes the bus over, as a serial server's one connection.
    if (clientFd_ >= 0) ::close(clientFd_);
    clientFd_ = fd;
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
}

bool VirtualDrive::LineAttributes(termios& tio) const { return slave_ >= 0 && ::tcgetattr(slave_, &tio) == 0; }

void VirtualDrive::Output(const char* bytes, std::size_t length) {
    std::size_t sent = 0;
    while (sent < length) {
        const ssize_t n = outFd_ == clientFd_ ? ::send(outFd_, bytes + sent, length - sent, MSG_NOSIGNAL)
                                              : ::write(outFd_, bytes + sent, length - sent);
        if (n > 0)
            sent += static_cast<std::size_t>(n);
        else if (n < 0 && errno != EINTR)
            return;  // nobody reads the line: the rest is lost, as on a wire
    }
}

void VirtualDrive::Stop() {
    if (thread_.joinable()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] auto n = ::write(stopFd_, &one, sizeof one);
        thread_.join();
    }
    for (int* fd : {&master_, &slave_, &stopFd_, &listenFd_, &clientFd_}) {
        if (*fd >= 0) ::close(*fd);
        *fd = -1;
    }
}

void VirtualDrive::Run() {
    // One receiver per way in: the pseudo-terminal and the TCP client.
    FrameReceiver receivers[2];
    SimClock::time_point firstChar[2]{};
    char buf[256];
    for (;;) {
        pollfd fds[4] = {{master_, POLLIN, 0}, {stopFd_, POLLIN, 0}, {listenFd_, POLLIN, 0}, {clientFd_, POLLIN, 0}};
        if (::poll(fds, 4, -1) < 0 && errno != EINTR) return;
        if (fds[1].revents & POLLIN) return;
        if (fds[2].revents & POLLIN) {
            Accept();
            receivers[1] = FrameReceiver{};
            continue;
        }
        for (int way = 0; way < 2; ++way) {
            const pollfd& in = fds[way == 0 ? 0 : 3];
            if (in.fd < 0 || !(in.revents & (POLLIN | POLLHUP | POLLERR))) continue;
            const ssize_t n = ::read(in.fd, buf, sizeof buf);
            if (n <= 0) {
                if (way == 1 && (n == 0 || (errno != EAGAIN && errno != EINTR))) {
                    ::close(clientFd_);  // the client went away
                    clientFd_ = -1;
                    continue;
                }
                // EIO: no client on the line; wait rather than spin.
                if (n < 0 && errno != EAGAIN && errno != EINTR) ::usleep(10'000);
                continue;
            }
            outFd_ = in.fd;
            const auto now = SimClock::now();
            FrameReceiver& receiver = receivers[way];
            for (ssize_t i = 0; i < n; ++i) {
                switch (receiver.Take(buf[i])) {
                case FrameReceiver::Event::BeginCut:  // a frame cut short by the next one
                    ++framesRejected_;
                    [[fallthrough]];
                case FrameReceiver::Event::Begin: firstChar[way] = now; break;
                case FrameReceiver::Event::Complete:
                    // The adapter hands back what went out, before any drive can answer.
                    if (options_.echo) Output(receiver.Frame().data(), receiver.Frame().size());
                    HandleFrame(receiver.Frame(), firstChar[way]);
                    break;
                case FrameReceiver::Event::Overlong: ++framesRejected_; break;
                case FrameReceiver::Event::None: break;
                }
            }
        }
    }
}

void VirtualDrive::HandleFrame(const std::string& frame, SimClock::time_point firstChar) {
    ++framesSeen_;
    const auto decoded = DecodeFrame(frame);
    if (!decoded) {
        ++framesRejected_;
        return;
    }
    if (options_.checkBaud && options_.baud > 0) {
        termios tio {};
        if (::tcgetattr(slave_, &tio) == 0 && ::cfgetospeed(&tio) != SpeedOf(options_.baud)) {
            ++framesRejected_;  // at another rate the drive hears only garbage
            return;
        }
    }
    std::string reply;
    int delayMs = 0;
    {
        std::lock_guard lock(mutex_);
        heard_.push_back(frame.substr(0, frame.size() - 2));
        if (heard_.size() > kFramesKept) heard_.pop_front();
        const auto it = stations_.find(decoded->address);
        if (it == stations_.end()) return;  // another drive's frame
        ++requestsForUs_;
        if (options_.silent.count(decoded->address)) return;
        if (ignoreNext_ > 0) {
            --ignoreNext_;
            return;
        }
        if (options_.silentAfter >= 0 && repliesSent_ >= options_.silentAfter) return;
        if (decoded->function == 0x03 && decoded->data.size() >= 2) {
            const auto start = static_cast<std::uint16_t>((static_cast<unsigned char>(decoded->data[0]) << 8) |
                                                          static_cast<unsigned char>(decoded->data[1]));
            if (ignoredReads_.count({decoded->address, start})) return;
        }
        reply = it->second->Answer(*decoded, frame, SimClock::now());
        if (const auto as = replyAddress_.find(decoded->address); as != replyAddress_.end()) {
            if (const auto r = DecodeFrame(reply)) reply = EncodeFrame(static_cast<std::uint8_t>(as->second), r->function, r->data);
        }
        if (options_.badLrc.count(decoded->address)) reply = CorruptLrc(reply);
        delayMs = options_.delayMs;
        if (lateNext_ > 0) {
            --lateNext_;
            delayMs += lateMs_;
        }
        // Counted before its first character leaves: a client that has the reply in
        // hand always sees it in RepliesSent(), so a switch armed from that count
        // acts on the next request, not on this one.
        ++repliesSent_;
    }
    // The drive hears the request only once its last character is on the line.
    const auto wire = std::chrono::duration<double>(CharTime() * static_cast<double>(frame.size()));
    const auto notBefore = firstChar + std::chrono::duration_cast<SimClock::duration>(wire) +
                           std::chrono::milliseconds(delayMs);
    SendPaced(reply, notBefore);
}

void VirtualDrive::SendPaced(const std::string& reply, SimClock::time_point notBefore) {
    const auto start = std::max(SimClock::now(), notBefore);
    std::this_thread::sleep_until(start);
    const double charTime = CharTime();
    const bool tcp = outFd_ >= 0 && outFd_ == clientFd_;
    // Over TCP a reply goes as a server would pack it: whole once it is off the
    // wire, in segments of --segment bytes, or twice in one (--join).
    const std::string out = tcp && options_.join ? reply + reply : reply;
    const std::size_t chunk = tcp ? (options_.segment > 0 ? static_cast<std::size_t>(options_.segment) : out.size()) : 1;
    std::size_t sent = 0;
    while (sent < out.size()) {
        std::size_t due = out.size();
        if (charTime > 0) {
            const double elapsed = std::chrono::duration<double>(SimClock::now() - start).count();
            due = std::min(out.size(), static_cast<std::size_t>(elapsed / charTime));
        }
        const std::size_t next = std::min(out.size(), sent + chunk);
        if (due >= next || (!tcp && due > sent)) {
            const std::size_t upTo = tcp ? next : due;
            Output(out.data() + sent, upTo - sent);
            sent = upTo;
            continue;
        }
        const auto wake = start + std::chrono::duration_cast<SimClock::duration>(
                                      std::chrono::duration<double>(charTime * static_cast<double>(tcp ? next : sent + 1)));
        std::this_thread::sleep_until(wake);
    }
}

void VirtualDrive::SetSilent(int station, bool on) {
    std::lock_guard lock(mutex_);
    if (on)
        options_.silent.insert(station);
    else
        options_.silent.erase(station);
}

void VirtualDrive::SetBadLrc(int station, bool on) {
    std::lock_guard lock(mutex_);
    if (on)
        options_.badLrc.insert(station);
    else
        options_.badLrc.erase(station);
}

void VirtualDrive::SetSilentAfter(long replies) {
    std::lock_guard lock(mutex_);
    options_.silentAfter = replies;
}

void VirtualDrive::SetIgnoreNext(long n) {
    std::lock_guard lock(mutex_);
    ignoreNext_ = n;
}

void VirtualDrive::SetIgnoreReads(int station, std::uint16_t startRegister, bool on) {
    std::lock_guard lock(mutex_);
    if (on)
        ignoredReads_.insert({station, startRegister});
    else
        ignoredReads_.erase({station, startRegister});
}

void VirtualDrive::SetReplyAddress(int station, int address) {
    std::lock_guard lock(mutex_);
    if (address == 0)
        replyAddress_.erase(station);
    else
        replyAddress_[station] = address;
}

std::vector<std::string> VirtualDrive::FramesHeard() {
    std::lock_guard lock(mutex_);
    return {heard_.begin(), heard_.end()};
}

void VirtualDrive::ClearFramesHeard() {
    std::lock_guard lock(mutex_);
    heard_.clear();
}

void VirtualDrive::SetLateNext(long n, int ms) {
    std::lock_guard lock(mutex_);
    lateNext_ = n;
    lateMs_ = ms;
}

void VirtualDrive::SetDelayMs(int ms) {
    std::lock_guard lock(mutex_);
    options_.delayMs = ms;
}

bool VirtualDrive::WithStation(int address, const std::function<void(VirtualStation&)>& f) {
    std::lock_guard lock(mutex_);
    const auto it = stations_.find(address);
    if (it == stations_.end()) return false;
    f(*it->second);
    return true;
}

std::int32_t VirtualDrive::ParamValue(int address, int number) {
    std::int32_t v = 0;
    WithStation(address, [&](VirtualStation& s) { v = s.ParamValue(number); });
    return v;
}

void VirtualDrive::SetParamValue(int address, int number, std::int32_t value) {
    WithStation(address, [&](VirtualStation& s) { s.SetParamValue(number, value); });
}

void VirtualDrive::SetKeepValue(int address, int number, bool on) {
    WithStation(address, [&](VirtualStation& s) { s.SetKeepValue(number, on); });
}

void VirtualDrive::SetRefuseBlocks(int address, int reg, bool on) {
    WithStation(address, [&](VirtualStation& s) { s.SetRefuseBlocks(reg, on); });
}

void VirtualDrive::SetFault(int address, int code) {
    WithStation(address, [&](VirtualStation& s) { s.SetFault(code); });
}

bool ParseStationList(const std::string& text, std::vector<int>& stations) {
    std::vector<int> out;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        const std::size_t comma = std::min(text.find(',', pos), text.size());
        const std::string item = text.substr(pos, comma - pos);
        const std::size_t dash = item.find('-');
        long a = 0, b = 0;
        if (dash == std::string::npos) {
            if (!ParseInt(item, 1, 254, a)) return false;
            b = a;
        } else if (!ParseInt(item.substr(0, dash), 1, 254, a) || !ParseInt(item.substr(dash + 1), 1, 254, b)) {
            return false;
        }
        for (long s = std::min(a, b); s <= std::max(a, b); ++s) out.push_back(static_cast<int>(s));
        pos = comma + 1;
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    stations = std::move(out);
    return true;
}

bool ParseParamPreset(const std::string& text, ParamPreset& preset) {
    const std::size_t colon = text.find(':');
    const std::size_t equals = text.find('=');
    long station = 0;
    if (colon == std::string::npos || equals == std::string::npos || equals < colon ||
        !ParseInt(text.substr(0, colon), 1, 254, station))
        return false;
    const int number = NumberFromCode(text.substr(colon + 1, equals - colon - 1));
    if (number < 0) return false;
    // Digits, then at most as many decimals as the parameter shows.
    const std::string value = text.substr(equals + 1);
    const std::size_t point = value.find('.');
    const std::string whole = value.substr(0, point);
    const std::string fraction = point == std::string::npos ? "" : value.substr(point + 1);
    const int decimals = DecimalsOf(Attribute(number));
    if (static_cast<int>(fraction.size()) > decimals || (point != std::string::npos && fraction.empty())) return false;
    long stored = 0, part = 0;
    if (!ParseInt(whole, 0, 65535, stored)) return false;
    if (!fraction.empty() && !ParseInt(fraction, 0, 99, part)) return false;
    for (int d = 0; d < decimals; ++d) stored *= 10;
    for (int d = static_cast<int>(fraction.size()); d < decimals; ++d) part *= 10;
    stored += part;
    if (stored > 65535) return false;
    preset = {static_cast<int>(station), number, static_cast<std::int32_t>(stored)};
    return true;
}

bool ParseBlockRefusal(const std::string& text, BlockRefusal& refusal) {
    const std::size_t colon = text.find(':');
    long station = 0;
    if (!ParseInt(text.substr(0, colon), 1, 254, station)) return false;
    int reg = kEveryBlock;
    if (colon != std::string::npos) {
        std::string hex = text.substr(colon + 1);
        if (hex.rfind("0x", 0) == 0 || hex.rfind("0X", 0) == 0) hex = hex.substr(2);
        char* end = nullptr;
        errno = 0;
        const unsigned long v = std::strtoul(hex.c_str(), &end, 16);
        if (hex.empty() || errno != 0 || *end != '\0' || v > 0xFFFF || !std::isxdigit(static_cast<unsigned char>(hex[0])))
            return false;
        reg = static_cast<int>(v);
    }
    refusal = {static_cast<int>(station), reg};
    return true;
}

bool ParseFaultPlan(const std::string& text, FaultPlan& plan) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos) return false;
    const std::size_t at = text.find('@', colon);
    long station = 0, code = 0;
    if (!ParseInt(text.substr(0, colon), 1, 254, station)) return false;
    if (!ParseInt(text.substr(colon + 1, at == std::string::npos ? std::string::npos : at - colon - 1), 0, 65535, code))
        return false;
    double seconds = 0;
    if (at != std::string::npos) {
        const std::string t = text.substr(at + 1);
        char* end = nullptr;
        errno = 0;
        seconds = std::strtod(t.c_str(), &end);
        if (t.empty() || errno != 0 || *end != '\0' || !(seconds >= 0 && seconds <= 1e6)) return false;
    }
    plan = {static_cast<int>(station), static_cast<int>(code), seconds};
    return true;
}

bool ParseSimArguments(const std::vector<std::string>& args, DriveSimOptions& o, std::string& message) {
    auto listOption = [&](const std::string& name, const std::string& value, std::set<int>& into) {
        std::vector<int> list;
        if (!ParseStationList(value, list)) {
            message = name + ": expected stations 1..254 such as 1,3,5-7, got \"" + value + "\"";
            return false;
        }
        into.insert(list.begin(), list.end());
        return true;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--hz60") {
            o.hz50 = false;
            continue;
        }
        if (a == "--hz50") {
            o.hz50 = true;
            continue;
        }
        if (a == "--check-baud") {
            o.checkBaud = true;
            continue;
        }
        if (a == "--join" || a == "--echo") {
            (a == "--join" ? o.join : o.echo) = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            message = a.rfind("--", 0) == 0 ? a + " needs a value" : "unknown argument \"" + a + "\"";
            return false;
        }
        const std::string& v = args[++i];
        long n = 0;
        if (a == "--stations") {
            if (!ParseStationList(v, o.stations)) {
                message = "--stations: expected stations 1..254 such as 1,3,5-7, got \"" + v + "\"";
                return false;
            }
        } else if (a == "--listen") {
            const std::size_t colon = v.rfind(':');
            if (colon == std::string::npos || colon == 0 || !ParseInt(v.substr(colon + 1), 0, 65535, n)) {
                message = "--listen: expected HOST:PORT such as 127.0.0.1:5020, got \"" + v + "\"";
                return false;
            }
            o.listenHost = v.substr(0, colon);
            o.listenPort = static_cast<int>(n);
        } else if (a == "--segment") {
            if (!ParseInt(v, 1, 4096, n)) {
                message = "--segment: expected 1..4096 bytes, got \"" + v + "\"";
                return false;
            }
            o.segment = static_cast<int>(n);
        } else if (a == "--model") {
            if (!ParseInt(v, 0, kModelCount - 1, n)) {
                message = "--model: expected 0..10, got \"" + v + "\"";
                return false;
            }
            o.model = static_cast<int>(n);
        } else if (a == "--baud") {
            if (!ParseInt(v, 0, 115200, n)) {
                message = "--baud: expected a baud rate such as 38400 (0: no pacing), got \"" + v + "\"";
                return false;
            }
            o.baud = static_cast<int>(n);
        } else if (a == "--version") {
            if (!ParseInt(v, 0, 65535, n)) {
                message = "--version: expected 0..65535 (12 reads as 1.2), got \"" + v + "\"";
                return false;
            }
            o.version = static_cast<int>(n);
        } else if (a == "--silent") {
            if (!listOption(a, v, o.silent)) return false;
        } else if (a == "--bad-lrc") {
            if (!listOption(a, v, o.badLrc)) return false;
        } else if (a == "--silent-after") {
            if (!ParseInt(v, 0, 1'000'000'000, n)) {
                message = "--silent-after: expected a number of replies, got \"" + v + "\"";
                return false;
            }
            o.silentAfter = n;
        } else if (a == "--fault") {
            FaultPlan plan;
            if (!ParseFaultPlan(v, plan)) {
                message = "--fault: expected STATION:CODE[@SECONDS] such as 3:11@5, got \"" + v + "\"";
                return false;
            }
            o.faults.push_back(plan);
        } else if (a == "--set") {
            ParamPreset preset;
            if (!ParseParamPreset(v, preset)) {
                message = "--set: expected STATION:CODE=VALUE with the value as the parameter shows it,"
                          " such as 3:F07=45.00, got \"" + v + "\"";
                return false;
            }
            o.presets.push_back(preset);
        } else if (a == "--no-block") {
            BlockRefusal refusal;
            if (!ParseBlockRefusal(v, refusal)) {
                message = "--no-block: expected STATION or STATION:REGISTER (hex) such as 3:0064, got \"" + v + "\"";
                return false;
            }
            o.blockRefusals.push_back(refusal);
        } else if (a == "--delay-ms") {
            if (!ParseInt(v, 0, 60'000, n)) {
                message = "--delay-ms: expected 0..60000, got \"" + v + "\"";
                return false;
            }
            o.delayMs = static_cast<int>(n);
        } else {
            message = "unknown argument \"" + a + "\"";
            return false;
        }
    }
    // A setting for a station that is not there would silently do nothing.
    auto known = [&](int station) { return std::find(o.stations.begin(), o.stations.end(), station) != o.stations.end(); };
    for (const ParamPreset& p : o.presets) {
        if (!known(p.station)) {
            message = "--set: station " + std::to_string(p.station) + " is not one of --stations";
            return false;
        }
    }
    for (const BlockRefusal& r : o.blockRefusals) {
        if (!known(r.station)) {
            message = "--no-block: station " + std::to_string(r.station) + " is not one of --stations";
            return false;
        }
    }
    return true;
}

}  // namespace kolt::sim
