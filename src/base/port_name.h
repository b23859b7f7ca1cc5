// Names of the ports a Link may open besides COMn and device paths: a serial
// device server on the network, "tcp://HOST:PORT" (raw bytes, the server's own
// line settings) or "rfc2217://HOST:PORT" (the line settings are sent to it).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kolt {

enum class PortKind { Local, RawTcp, Rfc2217 };

struct NetworkPort {
    PortKind kind = PortKind::RawTcp;
    std::string host;  // a name, an IPv4 address or an IPv6 address in brackets
    int port = 0;      // 1..65535
};

// The parts of a network port name; nothing for a name that is not one
// (COMn, a device path) or that is malformed.
std::optional<NetworkPort> ParseNetworkPort(std::string_view name);
std::string NetworkPortName(const NetworkPort& p);
// Local for anything that is not a well-formed network port name.
PortKind PortKindOf(std::string_view name);

// What a line setting of 0 stands for: a reply time-out and the gap between
// its characters. Gateways pack bytes into segments on timers of their own,
// so a network port waits longer than a local line.
int DefaultReadTimeoutMs(PortKind kind);
int DefaultCharGapMs(PortKind kind);

}  // namespace kolt
