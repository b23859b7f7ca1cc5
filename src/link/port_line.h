// One way of reaching the bus: a local serial line, a raw TCP connection to a
// serial device server, or such a connection speaking RFC 2217. CSerialPort
// keeps the time-outs, the cancel and the frame logic; a line only moves bytes
// and carries the line settings where its kind has them.
#pragma once

#include "base/port_name.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <sys/types.h>

struct termios;

namespace kolt {

// The kind of line a name opens: a name starting "tcp://" or "rfc2217://" (any
// case) goes to the network even when the rest is malformed, so that its open
// fails with a message about the network name; anything else is a COM name or
// a device path.
PortKind LineKindOf(const std::string& name);
bool IsNetworkPort(const std::string& name);

class CPortLine {
public:
    virtual ~CPortLine() = default;

    // 0, or errno (or a code of the port) on failure; FailureText() then says
    // what went wrong in words worth showing ("" when the code says it all).
    // cancelFd ends a connect in progress when it becomes readable.
    virtual std::uint32_t Open(const std::string& name, int cancelFd) = 0;
    virtual void Close() = 0;
    virtual int Fd() const = 0;
    // As ::read / ::write on a non-blocking descriptor: -1 with errno EAGAIN when
    // nothing moves now. A peer that went away reads as -1 with ECONNRESET.
    virtual ssize_t Receive(char* buffer, std::size_t capacity) = 0;
    virtual ssize_t Send(const char* bytes, std::size_t length) = 0;
    // The line settings (false with errno set when they cannot be had).
    virtual bool GetAttributes(termios& tio) = 0;
    virtual bool SetAttributes(const termios& tio) = 0;
    // Raises (or drops) DTR and RTS.
    virtual bool SetModemLines(bool raise) = 0;
    virtual bool Flush(bool input, bool output) = 0;
    // Kernel RS-485 mode with RTS driving the transmitter; errno when refused.
    virtual bool SetRs485(bool on) = 0;
    // For the next transaction: the connection is gone and may be opened again.
    virtual bool Dropped() { return false; }
    virtual PortKind Kind() const = 0;
    // The device, or HOST:PORT, for messages.
    virtual std::string Where() const = 0;
    const std::string& FailureText() const { return failure_; }

protected:
    std::string failure_;
};

std::unique_ptr<CPortLine> MakePortLine(PortKind kind);

}  // namespace kolt
