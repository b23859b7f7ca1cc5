#include "cli_command.h"

#include <array>

namespace kolt::cli {

namespace {

constexpr std::array<CliCommand, 4> kCommands{{
    {"new", "write a new parameter file with a model's factory defaults",
     "Usage: kolt-cli new --model MODEL [--60hz] -o FILE\n"
     "\n"
     "Writes a new parameter file (.kpf) holding the factory defaults of MODEL,\n"
     "as File New makes it.\n"
     "\n"
     "Options:\n"
     "  --model MODEL   model index 0..10 or model name (see kolt-cli --help)\n"
     "  --60hz          60 Hz defaults (default: 50 Hz)\n"
     "  -o, --output FILE  the file to write (replaced if it exists)\n",
     &RunNew},
    {"show", "print a parameter or compare file as the grid shows it",
     "Usage: kolt-cli show FILE [--csv]\n"
     "\n"
     "Prints a parameter file with the columns Description, Code, Range, Default\n"
     "and Setting, or a compare file with its compare columns (differing\n"
     "parameters only).\n"
     "\n"
     "Options:\n"
     "  --csv           comma-separated values with a header row, for programs\n",
     &RunShow},
    {"set", "change settings in a parameter file",
     "Usage: kolt-cli set FILE CODE=VALUE...\n"
     "\n"
     "Changes the settings of a parameter file, for example F07=60 C02=150.\n"
     "Each value is entered as in the grid (digits and one decimal point) and\n"
     "checked against the parameter's range. When any value is refused nothing\n"
     "is written and the file stays as it was.\n",
     &RunSet},
    {"compare", "compare parameter files with each other or with defaults",
     "Usage: kolt-cli compare A.kpf B.kpf [-o OUT.kcf] [--csv]\n"
     "       kolt-cli compare --defaults --model MODEL [--60hz] A.kpf [B.kpf [C.kpf]]\n"
     "                        [-o OUT.kcf] [--csv]\n"
     "\n"
     "File with file: the parameters in use in both files whose settings differ.\n"
     "Files with default: the parameters where any file differs from the factory\n"
     "default of MODEL. The comparison is printed, or saved as a compare file\n"
     "with -o.\n"
     "\n"
     "Options:\n"
     "  --defaults      compare one to three files with the factory defaults\n"
     "  --model MODEL   model index 0..10 or model name (with --defaults)\n"
     "  --60hz          60 Hz defaults (with --defaults; default: 50 Hz)\n"
     "  -o, --output FILE  save the compare file instead of printing it\n"
     "  --csv           print comma-separated values\n",
     &RunCompare},
}};

}  // namespace

std::span<const CliCommand> Commands() { return kCommands; }

const CliCommand* FindCommand(std::string_view name) {
    for (const auto& c : kCommands)
        if (name == c.name) return &c;
    return nullptr;
}

}  // namespace kolt::cli
