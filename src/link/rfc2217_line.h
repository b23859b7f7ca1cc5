// A Telnet connection with the COM-PORT-OPTION (RFC 2217): the server sets its
// serial line as we say, purges when we purge; 0xFF is doubled on the way out,
// and Telnet commands are taken out of what comes in.
#pragma once

#include "link/tcp_line.h"

#include <string>
#include <vector>

namespace kolt {

// Takes Telnet commands out of a byte stream and answers the negotiation.
class CTelnetParser {
public:
    // Feeds received bytes; the data among them go to `data`, answers the
    // other side needs go to `reply`.
    void Feed(const char* bytes, std::size_t length, std::string& data, std::string& reply);
    // We have offered the com port, binary both ways and no go-ahead: the
    // server's yes to them needs no answer.
    void MarkAsked();
    bool ComPortAccepted() const { return accepted_; }
    bool ComPortRefused() const { return refused_; }
    // The server's COM-PORT-OPTION subnegotiations (replies and notifications),
    // each as its command byte and value bytes.
    const std::vector<std::string>& ServerNotes() const { return notes_; }

private:
    enum class State { Data, Iac, Option, Sb, SbIac };
    void Negotiate(unsigned char command, unsigned char option, std::string& reply);
    State state_ = State::Data;
    unsigned char command_ = 0;
    std::string sb_;
    bool accepted_ = false;
    bool refused_ = false;
    bool weWill_[256] = {};
    bool weDo_[256] = {};
    std::vector<std::string> notes_;
};

// 0xFF doubled, as Telnet data must carry it.
std::string TelnetEscape(const char* bytes, std::size_t length);
// IAC SB COM-PORT-OPTION command value... IAC SE, the value escaped.
std::string ComPortCommand(unsigned char command, const std::string& value);

class CRfc2217Line : public CTcpLine {
public:
    // Connects and negotiates the option; a server that refuses it (or says
    // nothing within the connect time-out) fails with FailureText() naming it.
    std::uint32_t Open(const std::string& name, int cancelFd) override;
    ssize_t Receive(char* buffer, std::size_t capacity) override;
    ssize_t Send(const char* bytes, std::size_t length) override;
    // Sends baud rate, data size, parity, stop size and flow control.
    bool SetAttributes(const termios& tio) override;
    bool SetModemLines(bool raise) override;
    bool Flush(bool input, bool output) override;
    PortKind Kind() const override { return PortKind::Rfc2217; }
    const CTelnetParser& Telnet() const { return telnet_; }

private:
    CTelnetParser telnet_;
    std::string data_;  // data taken in but not yet handed over
    bool configured_ = false;  // settings were sent: send them again on a new connection
};

}  // namespace kolt
