#include "link/rfc2217_line.h"

#include "base/texts.h"
#include "link/serial_port.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <poll.h>

namespace kolt {
namespace {

constexpr unsigned char kIac = 255, kDont = 254, kDo = 253, kWont = 252, kWill = 251, kSb = 250, kSe = 240;
constexpr unsigned char kOptBinary = 0, kOptSga = 3, kOptComPort = 44;
// COM-PORT-OPTION commands, client to server.
constexpr unsigned char kSetBaud = 1, kSetDataSize = 2, kSetParity = 3, kSetStopSize = 4, kSetControl = 5,
                        kPurgeData = 12;
constexpr unsigned char kControlNoFlow = 1, kControlXonXoff = 2, kControlDtrOn = 8, kControlDtrOff = 9,
                        kControlRtsOn = 11, kControlRtsOff = 12;

// The options we take up: binary both ways (CR and 0xFF pass as they are),
// no go-ahead, and the com port.
bool Wanted(unsigned char option) { return option == kOptBinary || option == kOptSga || option == kOptComPort; }

std::string Three(unsigned char a, unsigned char b, unsigned char c) { return std::string{char(a), char(b), char(c)}; }

}  // namespace

std::string TelnetEscape(const char* bytes, std::size_t length) {
    std::string out;
    out.reserve(length + 4);
    for (std::size_t i = 0; i < length; ++i) {
        out += bytes[i];
        if (static_cast<unsigned char>(bytes[i]) == kIac) out += char(kIac);
    }
    return out;
}

std::string ComPortCommand(unsigned char command, const std::string& value) {
    std::string out = Three(kIac, kSb, kOptComPort);
    out += char(command);
    out += TelnetEscape(value.data(), value.size());
    out += char(kIac);
    out += char(kSe);
    return out;
}

void CTelnetParser::MarkAsked() {
    for (unsigned char o : {kOptComPort, kOptBinary, kOptSga}) weWill_[o] = true;
    for (unsigned char o : {kOptBinary, kOptSga}) weDo_[o] = true;
}

void CTelnetParser::Negotiate(unsigned char command, unsigned char option, std::string& reply) {
    switch (command) {
    case kDo:
        if (option == kOptComPort) accepted_ = true;
        if (Wanted(option)) {
            if (!weWill_[option]) reply += Three(kIac, kWill, option);
            weWill_[option] = true;
        } else {
            reply += Three(kIac, kWont, option);
        }
        break;
    case kDont:
        if (option == kOptComPort) refused_ = true;
        if (weWill_[option]) reply += Three(kIac, kWont, option);
        weWill_[option] = false;
        break;
    case kWill:
        if (Wanted(option) && option != kOptComPort) {
            if (!weDo_[option]) reply += Three(kIac, kDo, option);
            weDo_[option] = true;
        } else if (option != kOptComPort) {
            reply += Three(kIac, kDont, option);
        }
        break;
    case kWont:
        if (weDo_[option]) reply += Three(kIac, kDont, option);
        weDo_[option] = false;
        break;
    default: break;
    }
}

void CTelnetParser::Feed(const char* bytes, std::size_t length, std::string& data, std::string& reply) {
    for (std::size_t i = 0; i < length; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        switch (state_) {
        case State::Data:
            if (c == kIac)
                state_ = State::Iac;
            else
                data += char(c);
            break;
        case State::Iac:
            if (c == kIac) {
                data += char(c);
                state_ = State::Data;
            } else if (c == kSb) {
                sb_.clear();
                state_ = State::Sb;
            } else if (c >= kWill && c <= kDont) {
                command_ = c;
                state_ = State::Option;
            } else {
                state_ = State::Data;  // NOP, GA, and the like
            }
            break;
        case State::Option:
            Negotiate(command_, c, reply);
            state_ = State::Data;
            break;
        case State::Sb:
            if (c == kIac)
                state_ = State::SbIac;
            else
                sb_ += char(c);
            break;
        case State::SbIac:
            if (c == kSe) {
                if (sb_.size() >= 2 && static_cast<unsigned char>(sb_[0]) == kOptComPort) notes_.push_back(sb_.substr(1));
                if (notes_.size() > 64) notes_.erase(notes_.begin());
                state_ = State::Data;
            } else {
                sb_ += char(c);  // IAC IAC inside: one 0xFF
                state_ = State::Sb;
            }
            break;
        }
    }
}

std::uint32_t CRfc2217Line::Open(const std::string& name, int cancelFd) {
    telnet_ = CTelnetParser{};
    data_.clear();
    if (const std::uint32_t err = CTcpLine::Open(name, cancelFd); err != 0) return err;
    std::string hello = Three(kIac, kWill, kOptComPort) + Three(kIac, kWill, kOptBinary) + Three(kIac, kDo, kOptBinary) +
                        Three(kIac, kWill, kOptSga) + Three(kIac, kDo, kOptSga);
    telnet_.MarkAsked();
    if (!SendAll(hello.data(), hello.size())) {
        Close();
        return ECONNRESET;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kConnectTimeoutMs);
    while (!telnet_.ComPortAccepted() && !telnet_.ComPortRefused()) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0) break;
        pollfd fds[2] = {{Fd(), POLLIN, 0}, {cancelFd, POLLIN, 0}};
        const int r = ::poll(fds, cancelFd >= 0 ? 2 : 1, static_cast<int>(left));
        if (cancelFd >= 0 && (fds[1].revents & POLLIN)) break;
        if (r <= 0) continue;
        char buf[256];
        if (Receive(buf, sizeof buf) < 0 && errno != EAGAIN) break;
    }
    if (!telnet_.ComPortAccepted()) {
        const std::string where = Where();
        if (failure_.empty() || telnet_.ComPortRefused()) {
            failure_ = text::kNetNoComPortOption;
            failure_.replace(failure_.find("%s"), 2, where);
        }
        Close();
        return EPROTONOSUPPORT;
    }
    data_.clear();  // nothing was asked yet: whatever came is no reply
    // Opened again after a loss: the server starts from its own settings.
    if (configured_ && !SetAttributes(tio_)) {
        Close();
        return ECONNRESET;
    }
    return 0;
}

ssize_t CRfc2217Line::Receive(char* buffer, std::size_t capacity) {
    char raw[512];
    for (;;) {
        if (!data_.empty()) {
            const std::size_t n = std::min(capacity, data_.size());
            std::memcpy(buffer, data_.data(), n);
            data_.erase(0, n);
            return static_cast<ssize_t>(n);
        }
        const ssize_t n = CTcpLine::Receive(raw, sizeof raw);
        if (n < 0) return -1;
        std::string reply;
        telnet_.Feed(raw, static_cast<std::size_t>(n), data_, reply);
        if (!reply.empty()) SendAll(reply.data(), reply.size());
    }
}

ssize_t CRfc2217Line::Send(const char* bytes, std::size_t length) {
    const std::string escaped = TelnetEscape(bytes, length);
    return SendAll(escaped.data(), escaped.size()) ? static_cast<ssize_t>(length) : -1;
}

bool CRfc2217Line::SetAttributes(const termios& tio) {
    CTcpLine::SetAttributes(tio);
    configured_ = true;
    const auto baud = static_cast<std::uint32_t>(BaudOf(tio));
    const std::string baudBytes{char(baud >> 24), char(baud >> 16), char(baud >> 8), char(baud)};
    const int size = (tio.c_cflag & CSIZE) == CS7 ? 7 : (tio.c_cflag & CSIZE) == CS6 ? 6 : (tio.c_cflag & CSIZE) == CS5 ? 5 : 8;
    const char parity = !(tio.c_cflag & PARENB) ? 1 : (tio.c_cflag & PARODD) ? 2 : 3;
    const char stop = (tio.c_cflag & CSTOPB) ? 2 : 1;
    const char flow = (tio.c_iflag & IXON) ? kControlXonXoff : kControlNoFlow;
    const std::string all = ComPortCommand(kSetBaud, baudBytes) + ComPortCommand(kSetDataSize, std::string(1, char(size))) +
                            ComPortCommand(kSetParity, std::string(1, parity)) +
                            ComPortCommand(kSetStopSize, std::string(1, stop)) +
                            ComPortCommand(kSetControl, std::string(1, flow));
    return SendAll(all.data(), all.size());
}

bool CRfc2217Line::SetModemLines(bool raise) {
    const std::string all = ComPortCommand(kSetControl, std::string(1, char(raise ? kControlDtrOn : kControlDtrOff))) +
                            ComPortCommand(kSetControl, std::string(1, char(raise ? kControlRtsOn : kControlRtsOff)));
    return SendAll(all.data(), all.size());
}

bool CRfc2217Line::Flush(bool input, bool output) {
    if (!input && !output) return true;
    if (input) {
        // Through the parser, so that no Telnet command is cut in half.
        char chunk[512];
        while (Receive(chunk, sizeof chunk) > 0) {
        }
        data_.clear();
    }
    const std::string purge = ComPortCommand(kPurgeData, std::string(1, char(input && output ? 3 : input ? 1 : 2)));
    return SendAll(purge.data(), purge.size());
}

}  // namespace kolt
