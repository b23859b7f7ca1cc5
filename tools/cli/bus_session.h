// What the bus commands share: the one port, a document host without windows,
// the link context the procedures run with, and the options that say which
// line, stations and groups a command talks to.
#pragma once

#include "base/document_host.h"
#include "cli_context.h"
#include "document/marben_doc.h"
#include "line_options.h"
#include "link/link_context.h"
#include "link/bus.h"
#include "link/link_procedure.h"
#include "link/modbus_port.h"

#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

namespace kolt::cli {

// The window program's part for the procedures: a Read with no document open
// creates one here; status panes and monitor windows do not exist.
class CliDocumentHost : public IDocumentHost {
public:
    explicit CliDocumentHost(CMarbenApp& app) : app_(app) {}

    std::unique_ptr<CMarbenDoc> doc;

    CMarbenDoc* ActiveDocument() override { return doc.get(); }
    bool InPrintPreview() override { return false; }
    void CloseActiveDocument() override { doc.reset(); }
    CMarbenDoc* CreateNewDocument() override;
    void RefreshStatusPanes() override {}
    void CloseMonitorWindows() override {}

private:
    CMarbenApp& app_;
};

// The bus (the port on its own thread) and the procedures' context for one
// command. The port is closed when the session ends, however the command ends.
class BusSession {
public:
    explicit BusSession(CliContext& ctx);
    BusSession(const BusSession&) = delete;
    BusSession& operator=(const BusSession&) = delete;

    // The Link command for `stations` on the line of `request` (its station
    // list is replaced).
    LinkOutcome Link(LinkRequest request, const std::vector<int>& stations);

    // Runs a procedure on the bus thread and waits for what it returns. The
    // command line has nothing else to do meanwhile; it reaches the line the
    // way the window program does.
    template <class Procedure>
    auto Call(Procedure&& procedure) -> decltype(procedure()) {
        using Result = decltype(procedure());
        if constexpr (std::is_void_v<Result>) {
            bus.Run([&](CModbusPort&) { procedure(); });
        } else {
            std::optional<Result> result;
            bus.Run([&](CModbusPort&) { result.emplace(procedure()); });
            return std::move(*result);
        }
    }

    CBus bus;
    CModbusPort& port;  // the bus's: used on the bus thread, or read between calls
    CliDocumentHost host;
    LinkContext link;
};

// ParseCommandArgs for a bus command: its own options and the line options.
std::optional<int> ParseBusCommandArgs(CliContext& ctx, const CliCommand& cmd, const Args& args,
                                       std::span<const OptionSpec> own, ParsedArgs& parsed);

// The serial line options (defaults from koltinf.ini) as a Link request.
// False with `error` set for a value outside the choices.
bool BusLineRequest(const CliContext& ctx, const ParsedArgs& args, LinkRequest& request, std::string& error);

// The line (BusLineRequest) and --station N (SingleStation) of a bus command.
// Nothing when both are right; else the usage error's exit status.
std::optional<int> ParseLineAndStation(CliContext& ctx, const CliCommand& cmd, const ParsedArgs& args,
                                       LinkRequest& request, int& station);
// The same with --stations LIST (StationList).
std::optional<int> ParseLineAndStations(CliContext& ctx, const CliCommand& cmd, const ParsedArgs& args,
                                        LinkRequest& request, std::vector<int>& stations);

// --station N: one station 1..254. Nothing (and `error` set) when missing or wrong.
std::optional<int> SingleStation(const ParsedArgs& args, std::string& error);
// --stations TEXT: the Link dialog's station grammar ("1,3,5-12"), or "all"
// for 1..254. Empty (and `error` set) when missing or naming no station.
std::vector<int> StationList(const ParsedArgs& args, std::string& error);
// --groups F, C, or F,C (any order and case); both when not given.
bool ParseGroups(const ParsedArgs& args, bool& basic, bool& advanced, std::string& error);

// "Station 007"
std::string StationLabel(int station);
// "1.2" for version 12
std::string VersionText(int version);
// The model name of a capacity code, or "unknown (code N)".
std::string ModelOfCapacity(int capacity);

}  // namespace kolt::cli
