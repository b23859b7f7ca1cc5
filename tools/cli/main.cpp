// kolt-cli: the parameter files and the drives on the bus from a shell, for
// scripted commissioning.
#include "catalogue/models.h"
#include "cli_command.h"
#include "cli_context.h"

#include <iostream>
#include <string>
#include <unistd.h>

namespace {

void PrintOverview(std::ostream& out) {
    out << "Usage: kolt-cli COMMAND [ARGS...]\n"
           "\n"
           "Commands:\n";
    for (const auto& c : kolt::cli::Commands()) {
        std::string name = c.name;
        name.resize(10, ' ');
        out << "  " << name << c.summary << "\n";
    }
    out << "\n"
           "Models (--model takes the index or the name):\n";
    for (int m = 0; m < kolt::kModelCount; ++m) out << "  " << (m < 10 ? " " : "") << m << "  " << kolt::ModelName(m) << "\n";
    out << "\n"
           "'kolt-cli COMMAND --help' describes a command. Exit status: 0 done,\n"
           "1 input refused or a drive failed (the reason on stderr, files untouched),\n"
           "2 usage error. koltinf.ini is read from the folder the window program\n"
           "keeps it in: $KOLT_HOME, else this program's folder when you may write\n"
           "there, else ~/.config/kolt ($XDG_CONFIG_HOME/kolt). The bus commands\n"
           "(scan, read, write, get, set --station) take their serial line defaults\n"
           "from it.\n";
}

}  // namespace

int main(int argc, char** argv) {
    using namespace kolt::cli;
    CliContext ctx(std::cout, std::cerr);
    if (argc < 2) {
        PrintOverview(std::cerr);
        return kExitUsage;
    }
    const std::string first = argv[1];
    if (first == "--help" || first == "-h" || first == "help") {
        PrintOverview(std::cout);
        return kExitOk;
    }
    const CliCommand* cmd = FindCommand(first);
    if (cmd == nullptr) {
        std::cerr << "kolt-cli: unknown command '" << first << "'\nTry 'kolt-cli --help'.\n";
        return kExitUsage;
    }
    LoadInstallSettings(ctx);
    // A progress line is for someone watching, not for a log.
    ctx.prompts.SetShowProgress(::isatty(STDERR_FILENO) == 1);
    const Args args(argv + 2, argv + argc);
    return cmd->run(ctx, args);
}
