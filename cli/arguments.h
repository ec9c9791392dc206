// tarvomgr's command line: the global options and one command.
#pragma once

#include "res/string_table.h"

#include <optional>
#include <ostream>
#include <string>
#include <variant>

namespace tarvo::cli {

enum class Command { Port, Backup, Restore, Config, PhoneNumber, Firmware, Reboot };

struct Invocation {
    Command command = Command::Port;
    std::string port;                    // --port; empty: environment, then discovery
    std::optional<Language> language;    // --lang; empty: from the locale
    bool json = false;
    bool quiet = false;
    std::string tracePath;
    double stallTimeoutSeconds = 120;
    std::string file;                    // backup, restore, config, firmware
    bool reboot = false;                 // restore, config, firmware
    bool yes = false;                    // firmware
};

// The invocation, or the exit status when there is nothing to run (--help
// gives 0, a usage error 2, with the text written to `out` or `err`).
std::variant<Invocation, int> ParseArguments(int argc, const char* const* argv, std::ostream& out,
                                             std::ostream& err);

}  // namespace tarvo::cli
