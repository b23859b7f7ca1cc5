#include "link/port_line.h"

#include "link/local_line.h"
#include "link/rfc2217_line.h"
#include "link/tcp_line.h"

#include <strings.h>

namespace kolt {

PortKind LineKindOf(const std::string& name) {
    if (::strncasecmp(name.c_str(), "tcp://", 6) == 0) return PortKind::RawTcp;
    if (::strncasecmp(name.c_str(), "rfc2217://", 10) == 0) return PortKind::Rfc2217;
    return PortKind::Local;
}

bool IsNetworkPort(const std::string& name) { return LineKindOf(name) != PortKind::Local; }

std::unique_ptr<CPortLine> MakePortLine(PortKind kind) {
    switch (kind) {
    case PortKind::RawTcp: return std::make_unique<CTcpLine>();
    case PortKind::Rfc2217: return std::make_unique<CRfc2217Line>();
    case PortKind::Local: break;
    }
    return std::make_unique<CLocalLine>();
}

}  // namespace kolt
