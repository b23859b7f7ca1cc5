#include "base/port_name.h"

#include <algorithm>
#include <cctype>

namespace kolt {

namespace {

struct Scheme {
    std::string_view prefix;
    PortKind kind;
};
constexpr Scheme kSchemes[] = {{"tcp://", PortKind::RawTcp}, {"rfc2217://", PortKind::Rfc2217}};

bool HostCharsOk(std::string_view host) {
    return std::none_of(host.begin(), host.end(), [](unsigned char c) {
        return std::isspace(c) || std::iscntrl(c) || c == '/' || c == '@' || c == '?' || c == '#';
    });
}

}  // namespace

std::optional<NetworkPort> ParseNetworkPort(std::string_view name) {
    for (const Scheme& s : kSchemes) {
        // The scheme in any case, as the open takes it.
        const std::string_view head = name.substr(0, s.prefix.size());
        if (head.size() != s.prefix.size() ||
            !std::equal(head.begin(), head.end(), s.prefix.begin(),
                        [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; }))
            continue;
        const std::string_view rest = name.substr(s.prefix.size());
        const auto colon = rest.rfind(':');
        if (colon == std::string_view::npos) return std::nullopt;
        const std::string_view host = rest.substr(0, colon), digits = rest.substr(colon + 1);
        // A bare IPv6 address has colons of its own: it must come in brackets.
        const bool bracketed = host.size() > 2 && host.front() == '[' && host.back() == ']';
        if (host.empty() || !HostCharsOk(host) || (!bracketed && host.find_first_of(":[]") != std::string_view::npos))
            return std::nullopt;
        if (digits.empty() || digits.size() > 5 ||
            !std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c); }))
            return std::nullopt;
        const int port = std::stoi(std::string(digits));
        if (port < 1 || port > 65535) return std::nullopt;
        return NetworkPort{s.kind, std::string(host), port};
    }
    return std::nullopt;
}

std::string NetworkPortName(const NetworkPort& p) {
    const std::string_view prefix = p.kind == PortKind::Rfc2217 ? kSchemes[1].prefix : kSchemes[0].prefix;
    return std::string(prefix) + p.host + ":" + std::to_string(p.port);
}

PortKind PortKindOf(std::string_view name) {
    const auto p = ParseNetworkPort(name);
    return p ? p->kind : PortKind::Local;
}

int DefaultReadTimeoutMs(PortKind kind) { return kind == PortKind::Local ? 400 : 1000; }
int DefaultCharGapMs(PortKind kind) { return kind == PortKind::Local ? 50 : 200; }

}  // namespace kolt
