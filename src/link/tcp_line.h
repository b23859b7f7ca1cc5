// A raw TCP connection to a serial device server: the bus's bytes pass
// unchanged; the line settings are the server's own and only kept here.
#pragma once

#include "link/port_line.h"

#include <termios.h>

namespace kolt {

// The connect gives up after this long.
inline constexpr int kConnectTimeoutMs = 3000;

class CTcpLine : public CPortLine {
public:
    CTcpLine();
    ~CTcpLine() override;
    std::uint32_t Open(const std::string& name, int cancelFd) override;
    void Close() override;
    int Fd() const override { return fd_; }
    ssize_t Receive(char* buffer, std::size_t capacity) override;
    ssize_t Send(const char* bytes, std::size_t length) override;
    bool GetAttributes(termios& tio) override;
    bool SetAttributes(const termios& tio) override;
    bool SetModemLines(bool) override { return true; }
    bool Flush(bool input, bool output) override;
    // The server's business, not the client's.
    bool SetRs485(bool) override { return true; }
    bool Dropped() override;
    PortKind Kind() const override { return PortKind::RawTcp; }
    std::string Where() const override { return where_; }

protected:
    // Reads what the socket has; 0 when the peer closed, -1 with errno otherwise.
    ssize_t ReceiveRaw(char* buffer, std::size_t capacity);
    // Sends all of it, waiting a little for room; false when the connection failed.
    bool SendAll(const char* bytes, std::size_t length);
    void Lost(int err);
    int cancelFd_ = -1;
    termios tio_ {};

private:
    int fd_ = -1;
    bool dropped_ = false;
    std::string where_;
};

}  // namespace kolt
