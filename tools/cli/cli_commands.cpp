#include "cli_command.h"
#include "line_options.h"

#include <array>

namespace kolt::cli {

namespace {

// The closing paragraph of each bus command's help.
#define KOLT_BUS_TAIL                                                                 \
    "Exit status: 0 done, 1 refused or failed (the program's message on stderr),\n" \
    "2 usage error.\n"

constexpr std::array<CliCommand, 15> kCommands{{
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
    {"set", "change settings in a parameter file, or one parameter of a drive",
     "Usage: kolt-cli set FILE CODE=VALUE...\n"
     "       kolt-cli set --station N [--port PORT] [--yes] CODE=VALUE\n"
     "\n"
     "Changes the settings of a parameter file, for example F07=60 C02=150.\n"
     "Each value is entered as in the grid (digits and one decimal point) and\n"
     "checked against the parameter's range. When any value is refused nothing\n"
     "is written and the file stays as it was.\n"
     "\n"
     "With --station (or --port) the value goes to that drive instead, as an\n"
     "online edit does: it is checked the same way before anything is sent,\n"
     "and \"Write Parameter Successfully !!\" reports the drive's acceptance.\n"
     "F52=10 or F52=20 resets the drive to its 50 Hz or 60 Hz factory defaults\n"
     "and is sent only with --yes; F52=0 resets nothing and sends nothing.\n"
     "\n"
     "Options (drive form):\n"
     "  --station N     the drive's station number 1..254\n"
     "  -y, --yes       answer Yes to the factory-default question\n"
     KOLT_LINE_OPTIONS_HELP
     "\n"
     KOLT_BUS_TAIL,
     &RunSet},
    {"compare", "compare parameter files with each other, or files or a drive with defaults",
     "Usage: kolt-cli compare A.kpf B.kpf [-o OUT.kcf] [--csv]\n"
     "       kolt-cli compare --defaults --model MODEL [--60hz] A.kpf [B.kpf [C.kpf]]\n"
     "                        [-o OUT.kcf] [--csv]\n"
     "       kolt-cli compare --station N [--port PORT] [--50hz|--60hz] [-o OUT.kcf]\n"
     "                        [--csv] [line options]\n"
     "\n"
     "File with file: the parameters in use in both files whose settings differ.\n"
     "Files with default: the parameters where any file differs from the factory\n"
     "default of MODEL. Inverter with default (--station): links the station,\n"
     "reads all its parameters and lists those that differ from the factory\n"
     "defaults of the drive's own model (its capacity code), at the mains\n"
     "frequency of koltinf.ini unless --50hz or --60hz is given. The comparison\n"
     "is printed, or saved as a compare file with -o.\n"
     "\n"
     "Options:\n"
     "  --defaults      compare one to three files with the factory defaults\n"
     "  --model MODEL   model index 0..10 or model name (with --defaults)\n"
     "  --60hz          60 Hz defaults (with --defaults; default: 50 Hz)\n"
     "  --station N     compare the drive at station 1..254 (no files then)\n"
     "  --50hz, --60hz  with --station: the defaults' mains frequency\n"
     "  -o, --output FILE  save the compare file instead of printing it\n"
     "  --csv           print comma-separated values\n"
     KOLT_LINE_OPTIONS_HELP
     "\n"
     KOLT_BUS_TAIL,
     &RunCompare},
    {"scan", "list the stations that answer on the bus",
     "Usage: kolt-cli scan --stations LIST [--port PORT] [line options]\n"
     "\n"
     "Asks every station of LIST with the Link's echo test (one retry) and\n"
     "prints, for each station that answers, its model (from its capacity\n"
     "code) and software version:\n"
     "  Station 001: D200-0.75, software version 1.2\n"
     "A silent station costs about 0.8 s. Progress shows on stderr when it is\n"
     "a terminal. Exit status 1 when no station answers.\n"
     "\n"
     "Options:\n"
     "  --stations LIST stations as in the Link dialog (1,3,5-12), or all\n"
     KOLT_LINE_OPTIONS_HELP
     "\n"
     KOLT_BUS_TAIL,
     &RunScan},
    {"read", "read a drive's parameters into a parameter file",
     "Usage: kolt-cli read --station N [--groups F,C] -o FILE [--port PORT]\n"
     "\n"
     "Links the station and reads its parameters as Read does into a new\n"
     "document: the groups read hold the drive's values, the others the\n"
     "factory defaults of the drive's model (its capacity code) at the mains\n"
     "frequency of koltinf.ini. The document is saved as FILE.\n"
     "\n"
     "Options:\n"
     "  --station N     the drive's station number 1..254\n"
     "  --groups G      F (F00..F54), C (C00..C55) or F,C (default)\n"
     "  -o, --output FILE  the parameter file to write (replaced if it exists)\n"
     KOLT_LINE_OPTIONS_HELP
     "\n"
     KOLT_BUS_TAIL,
     &RunRead},
    {"write", "write a parameter file's settings to drives",
     "Usage: kolt-cli write FILE --stations LIST [--groups F,C] [--stop-on-error]\n"
     "                      [--port PORT]\n"
     "\n"
     "Links the first answering station of LIST, then writes the file's\n"
     "settings to every station of LIST as Write does: a station whose\n"
     "capacity code differs from the file's F00 gets nothing; F00, F52 and\n"
     "read-only parameters are never sent. One line per station on stdout:\n"
     "  Station 001: written (99 parameters)\n"
     "  Station 002: no reply\n"
     "  Station 003: capacity code 5 differs from the file's F00 007\n"
     "After a failing station the write goes on with the next one (the\n"
     "program's question is answered Continue) unless --stop-on-error is given.\n"
     "A garbled reply always ends the write. Exit status 0 only when every\n"
     "station was written.\n"
     "\n"
     "Options:\n"
     "  --stations LIST stations as in the Write dialog (1,3,5-12), or all\n"
     "  --groups G      F (F00..F54), C (C00..C55) or F,C (default)\n"
     "  --stop-on-error answer Abort: end the write at the first failing station\n"
     KOLT_LINE_OPTIONS_HELP
     "\n"
     KOLT_BUS_TAIL,
     &RunWrite},
    {"backup", "back up every drive of the bus, one parameter file each",
     "Usage: kolt-cli backup [--stations TEXT] -o FOLDER [--port PORT]\n"
     "\n"
     "Asks each station of TEXT (1,3,5-12 as in the Monitor dialog; all when not\n"
     "given) with the scan's echo test, reads every station that answers (its\n"
     "software version, capacity code and all F and C parameters, a run of\n"
     "registers a request) and saves it as FOLDER/station_NNN.kpf. FOLDER/bus.csv\n"
     "lists every station named: station, title, model_code, model,\n"
     "software_version, mains_frequency, file, sha256, time (ISO 8601, UTC) and\n"
     "result (saved, no answer, not done (cancelled) or the failure). The files of\n"
     "an earlier backup in FOLDER stay until the new one ends; bus.csv is replaced\n"
     "last. Ctrl+C stops after the request in progress; the stations done are\n"
     "kept. Exit status 0 only when every station that answered was saved.\n"
     "\n"
     "Options:\n"
     "  --stations TEXT the stations to ask (empty or not given: 1..254)\n"
     "  -o, --output FOLDER  the backup's folder (made when missing)\n"
     KOLT_LINE_OPTIONS_HELP
     "\n"
     KOLT_BUS_TAIL,
     &RunBackup},
    {"restore", "write a backup back to its drives and read every value back",
     "Usage: kolt-cli restore FOLDER [--stations TEXT] [--yes] [--port PORT]\n"
     "\n"
     "For each station that FOLDER/bus.csv lists as saved (or each of TEXT):\n"
     "checks the file's SHA-256 against bus.csv and the drive's capacity code\n"
     "against the file's F00 (a mismatch refuses the station with Write's\n"
     "message); a drive running another software version is restored only with\n"
     "--yes. Then writes the parameters Write sends (never F00, F52 or a\n"
     "read-only one), reads them all back and compares. One line per station:\n"
     "  Station 001: written 99, verified 99\n"
     "with every parameter read back otherwise listed below it, or the reason\n"
     "and the parameters written before a drive stopped answering. Ctrl+C stops\n"
     "after the request in progress. Exit status 0 only when every station was\n"
     "restored and verified.\n"
     "\n"
     "Options:\n"
     "  --stations TEXT the stations to restore (1,3,5-12)\n"
     "  -y, --yes       restore also a drive whose software version differs\n"
     KOLT_LINE_OPTIONS_HELP
     "\n"
     KOLT_BUS_TAIL,
     &RunRestore},
    {"drift", "list what changed on the drives since a backup",
     "Usage: kolt-cli drift FOLDER [--stations TEXT] [--csv] [--port PORT]\n"
     "\n"
     "Reads each station that FOLDER/bus.csv lists as saved (or each of TEXT) and\n"
     "compares it with its file as File with File does (parameters in use in\n"
     "both). One line per difference: station, code, name, backup value, drive\n"
     "value; with --csv the columns station,code,name,backup,drive. Stations that\n"
     "could not be read (or whose file fails its checksum) are named on stderr.\n"
     "\n"
     "Options:\n"
     "  --stations TEXT the stations to compare (1,3,5-12)\n"
     "  --csv           comma-separated values with a header row\n"
     KOLT_LINE_OPTIONS_HELP
     "\n"
     "Exit status: 0 no drift, 1 drift found, 2 a station could not be read (or a\n"
     "usage error).\n",
     &RunDrift},
    {"get", "print one parameter of a drive",
     "Usage: kolt-cli get --station N [--verbose] CODE [--port PORT]\n"
     "\n"
     "Links the station and prints the setting of one parameter (F00..F54,\n"
     "C00..C55) as the grid shows it, for example 50.00 for F07.\n"
     "\n"
     "Options:\n"
     "  --station N     the drive's station number 1..254\n"
     "  -v, --verbose   also print the code, description and range\n"
     KOLT_LINE_OPTIONS_HELP
     "\n"
     KOLT_BUS_TAIL,
     &RunGet},
#ifdef KOLT_CLI_HAS_QT
#define KOLT_PRINT_SUMMARY "print a parameter or compare file as a PDF parameter list"
#else
#define KOLT_PRINT_SUMMARY "(left out of this build: printing needs Qt)"
#endif
    {"print", KOLT_PRINT_SUMMARY,
     "Usage: kolt-cli print FILE [-o OUT.pdf] [--landscape] [--title|--no-title]\n"
     "                      [--groups F,C]\n"
     "\n"
     "Renders FILE as the window program prints it: the heading, the title block\n"
     "(the file's print title texts, with the page number), the column headings\n"
     "and the parameter lines, on A4 with 0.25-inch margins. A parameter file\n"
     "prints the groups chosen; a compare file prints every differing parameter\n"
     "and ignores --groups. Needs no display. Prints the PDF's name and its page\n"
     "count.\n"
     "\n"
     "Options:\n"
     "  -o, --output OUT.pdf  the PDF to write (default: FILE with .pdf instead of\n"
     "                  its extension, beside it; replaced if it exists)\n"
     "  --landscape     landscape pages (33 lines, 27 with the title block;\n"
     "                  portrait: 50 and 44)\n"
     "  --title, --no-title  with or without the title block (default:\n"
     "                  koltinf.ini's Print Title)\n"
     "  --groups G      F (F00..F54), C (C00..C55) or F,C (default: koltinf.ini's\n"
     "                  Print FxxFlag and Print CxxFlag)\n"
     "\n"
     "Exit status: 0 written, 1 refused (the reason on stderr), 2 usage error or\n"
     "a kolt-cli built without Qt.\n",
     &RunPrint},
    {"monitor", "watch drives running, as the monitor windows do",
     "Usage: kolt-cli monitor --station N [--count K] [--csv] [--stop-on-error]\n"
     "       kolt-cli monitor --stations TEXT [--count K] [--csv] [--stop-on-error]\n"
     "\n"
     "With --station, links the station and starts as the single-station\n"
     "monitor does; with --stations, runs the all-station monitor's echo scan\n"
     "over TEXT (1,3,5-12; an empty text is every station) and watches every\n"
     "station that answered, in ascending order. Every 400 ms each station's\n"
     "frequency limits, monitor values, status and F00 are read, and one line\n"
     "per station is printed with the window's texts:\n"
     "  2026-12-06T10:15:00.400Z Station 003  RUN  FWD >>  Set freq. 050.00 Hz ...\n"
     "With --csv a header line, then one row per station and cycle, the same\n"
     "columns as the trend window's \"Save as CSV\": time (ISO 8601, UTC),\n"
     "station, running, reverse (0 or 1), set_freq_Hz, output_freq_Hz,\n"
     "output_volt_V, output_amp_A, output_power_W, bus_volt_V, fault_code,\n"
     "fault_name, S1, S2, S3, S4, AIN, RY1 (0 or 1). A station that stops\n"
     "answering prints the monitor's error text on stderr and is polled again\n"
     "(as Continue does); with --stop-on-error the first failure ends the\n"
     "monitor with exit status 1.\n"
     "--count cycles or Ctrl+C end it after the cycle in progress (status 0).\n"
     "\n"
     "Options:\n"
     "  --station N     the drive's station number 1..254\n"
     "  --stations TEXT the stations to scan, as in the Monitor dialog\n"
     "  --count K       stop after K poll cycles\n"
     "  --csv           comma-separated rows with a header, values in Hz, V, A, W\n"
     "  --stop-on-error end at the first failure (the monitor's Abort)\n"
     KOLT_LINE_OPTIONS_HELP
     "\n"
     KOLT_BUS_TAIL,
     &RunMonitor},
    {"control", "run, stop, reverse, reset or set a drive, as the monitor window's buttons do",
     "Usage: kolt-cli control --station N [run|stop|fwd|rev|reset]... [--freq HZ]\n"
     "                        [--toggle S1,S2,S3,S4,AIN,RY1] [--param CODE=VALUE] [--yes]\n"
     "\n"
     "Reads the drive's frequency limits and status, then sends, in this\n"
     "order: the frequency command (--freq), one control word made of the word\n"
     "the drive holds and every word given (where two conflict, the later one\n"
     "wins, as two button presses would; --toggle switches a terminal function\n"
     "by the state the drive reports), and the parameter (--param). The\n"
     "frequency must lie within the drive's F08..F07 and the parameter within\n"
     "its range (F52 only 0, 10 or 20) before anything is sent. F52=10 or 20\n"
     "resets the drive to its factory defaults and is sent only with --yes.\n"
     "\n"
     "Options:\n"
     "  --station N     the drive's station number 1..254\n"
     "  --freq HZ       frequency command, e.g. 50 or 12.5\n"
     "  --toggle LIST   terminal functions to switch\n"
     "  --param CODE=VALUE  one parameter, as \"Set data\" writes it\n"
     "  -y, --yes       answer Yes to the factory-default question\n"
     KOLT_LINE_OPTIONS_HELP
     "\n"
     KOLT_BUS_TAIL,
     &RunControl},
    {"ports", "list the serial devices this machine has",
     "Usage: kolt-cli ports\n"
     "\n"
     "Prints one line per serial device (ttyUSB, ttyACM and ttyS ports with\n"
     "hardware behind them): the device to give --port, its driver, the USB\n"
     "vendor:product of an adapter, the adapter's latency timer, whether you may\n"
     "open it (when not: the dialout group), and its stable name under\n"
     "/dev/serial/by-id, which stays the same whichever socket the adapter is in.\n"
     "An adapter that holds received bytes longer than 1 ms slows every reply;\n"
     "linking sets it to 1 ms where it may, else says on stderr how to.\n",
     &RunPorts},
}};

#undef KOLT_BUS_TAIL
#undef KOLT_PRINT_SUMMARY

}  // namespace

std::span<const CliCommand> Commands() { return kCommands; }

const CliCommand* FindCommand(std::string_view name) {
    for (const auto& c : kCommands)
        if (name == c.name) return &c;
    return nullptr;
}

}  // namespace kolt::cli
