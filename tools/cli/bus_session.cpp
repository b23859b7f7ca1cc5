#include "bus_session.h"

#include "catalogue/models.h"
#include "document/doc_commands.h"
#include "link/station_list.h"

#include <cctype>
#include <cstdio>

namespace kolt::cli {

CMarbenDoc* CliDocumentHost::CreateNewDocument() {
    doc = kolt::CreateNewDocument(app_);
    return doc.get();
}

BusSession::BusSession(CliContext& ctx)
    : bus(&ctx.prompts), port(bus.Port()), host(ctx.app), link{ctx.app, port, ctx.prompts, host, &bus.CancelFlag()} {}

LinkOutcome BusSession::Link(LinkRequest request, const std::vector<int>& stations) {
    request.button = LinkButton::Link;
    request.stations = stations;
    return Call([&] { return RunLinkCommand(link, request); });
}

std::optional<int> ParseBusCommandArgs(CliContext& ctx, const CliCommand& cmd, const Args& args,
                                       std::span<const OptionSpec> own, ParsedArgs& parsed) {
    const std::span<const OptionSpec> tables[] = {own, kLineOptionSpecs};
    return ParseCommandArgs(ctx, cmd, args, tables, parsed);
}

bool BusLineRequest(const CliContext& ctx, const ParsedArgs& args, LinkRequest& request, std::string& error) {
    LineOptions line = LineOptionsFromSettings(ctx.app.settings);
    if (!ApplyLineOptions(args, line, error)) return false;
    request.line.comPort = line.port;
    request.line.baudRate = line.baud;
    request.line.dataBits = line.dataBits;
    request.line.parity = line.parity;
    request.line.stopBits = line.stopBits;
    request.line.readTimeoutMs = line.readTimeoutMs;
    request.line.charGapMs = line.charGapMs;
    request.line.echo = line.echo;
    request.line.rs485 = line.rs485;
    request.portName = line.device;
    return true;
}

std::optional<int> ParseLineAndStation(CliContext& ctx, const CliCommand& cmd, const ParsedArgs& args,
                                       LinkRequest& request, int& station) {
    std::string error;
    if (!BusLineRequest(ctx, args, request, error)) return UsageError(ctx, cmd, error);
    const auto single = SingleStation(args, error);
    if (!single) return UsageError(ctx, cmd, error);
    station = *single;
    return std::nullopt;
}

std::optional<int> ParseLineAndStations(CliContext& ctx, const CliCommand& cmd, const ParsedArgs& args,
                                        LinkRequest& request, std::vector<int>& stations) {
    std::string error;
    if (!BusLineRequest(ctx, args, request, error)) return UsageError(ctx, cmd, error);
    stations = StationList(args, error);
    if (stations.empty()) return UsageError(ctx, cmd, error);
    return std::nullopt;
}

std::optional<int> SingleStation(const ParsedArgs& args, std::string& error) {
    const auto text = args.Value("--station");
    if (!text) {
        error = "--station N is required";
        return std::nullopt;
    }
    const auto n = ParseInt(*text);
    if (!n || *n < kFirstStation || *n > kLastStation) {
        error = "--station must be 1..254, not '" + *text + "'";
        return std::nullopt;
    }
    return n;
}

std::vector<int> StationList(const ParsedArgs& args, std::string& error) {
    const auto text = args.Value("--stations");
    if (!text) {
        error = "--stations LIST is required (for example 1,3,5-12, or all)";
        return {};
    }
    std::string lower = *text;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::vector<int> stations = lower == "all" ? AllStations() : ParseStationList(*text);
    if (stations.empty()) error = "--stations '" + *text + "' names no station";
    return stations;
}

bool ParseGroups(const ParsedArgs& args, bool& basic, bool& advanced, std::string& error) {
    basic = advanced = true;
    const auto text = args.Value("--groups");
    if (!text) return true;
    basic = advanced = false;
    std::size_t start = 0;
    while (start <= text->size()) {
        const auto comma = text->find(',', start);
        const std::string item = text->substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (item == "F" || item == "f") {
            basic = true;
        } else if (item == "C" || item == "c") {
            advanced = true;
        } else {
            error = "--groups must be F, C or F,C, not '" + *text + "'";
            return false;
        }
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return true;
}

std::string StationLabel(int station) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "Station %03d", station);
    return buf;
}

std::string VersionText(int version) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d.%d", version / 10, version % 10);
    return buf;
}

std::string ModelOfCapacity(int capacity) {
    const std::string name = ModelName(capacity);
    return name.empty() ? "unknown (code " + std::to_string(capacity) + ")" : name;
}

}  // namespace kolt::cli
