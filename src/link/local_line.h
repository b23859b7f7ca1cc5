// A serial device of this machine: termios, exclusive open, modem lines.
#pragma once

#include "link/port_line.h"

namespace kolt {

class CLocalLine : public CPortLine {
public:
    ~CLocalLine() override;
    // name: "COMn" or a device path. A refused setup leaves FailureText() set
    // to the port's own message, which the port shows.
    std::uint32_t Open(const std::string& name, int cancelFd) override;
    void Close() override;
    int Fd() const override { return fd_; }
    ssize_t Receive(char* buffer, std::size_t capacity) override;
    ssize_t Send(const char* bytes, std::size_t length) override;
    bool GetAttributes(termios& tio) override;
    bool SetAttributes(const termios& tio) override;
    bool SetModemLines(bool raise) override;
    bool Flush(bool input, bool output) override;
    bool SetRs485(bool on) override;
    PortKind Kind() const override { return PortKind::Local; }
    std::string Where() const override { return device_; }

private:
    int fd_ = -1;
    std::string device_;
};

}  // namespace kolt
