#include "arguments.h"

#include "exit_status.h"

#include <CLI/CLI.hpp>

namespace tarvo::cli {

namespace {

struct Parser {
    CLI::App app{"tarvomgr: sets up the desk phone attached by USB", "tarvomgr"};
    Invocation invocation;
    std::string language;

    Parser() {
        app.require_subcommand(1);
        app.fallthrough();
        app.add_option("--port", invocation.port,
                       "the phone's port (else TARVOMGR_PORT, else discovery)");
        app.add_option("--lang", language, "language of the texts")
            ->check(CLI::IsMember({"en", "ja"}));
        app.add_flag("--json", invocation.json, "one JSON event per line on stdout");
        app.add_flag("--quiet", invocation.quiet, "no progress bar and no status lines");
        app.add_option("--trace", invocation.tracePath, "write every line and control byte here");
        app.add_option("--stall-timeout", invocation.stallTimeoutSeconds,
                       "give up when the phone sends nothing for this many seconds")
            ->check(CLI::PositiveNumber);
        AddCommands();
    }

    void AddCommands() {
        Add("port", "print the phone's port name", Command::Port);
        Add("backup", "receive the phone book into FILE (.vcf or .csv)", Command::Backup)
            ->add_option("FILE", invocation.file)->required();
        auto* restore = Add("restore", "send a .vcf or .csv phone book", Command::Restore);
        restore->add_option("FILE", invocation.file)->required();
        AddReboot(restore);
        auto* config = Add("config", "send the configuration list as \"mcascfg.txt\"", Command::Config);
        config->add_option("FILE", invocation.file);
        AddReboot(config);
        Add("phone-number", "start the phone-number setting", Command::PhoneNumber);
        auto* firmware = Add("firmware", "send a .zip package as \"firmapp.zip\"", Command::Firmware);
        firmware->add_option("FILE", invocation.file)->required();
        firmware->add_flag("--yes", invocation.yes, "do not ask for confirmation");
        AddReboot(firmware);
        Add("reboot", "send the reboot line", Command::Reboot);
    }

    CLI::App* Add(const char* name, const char* description, Command command) {
        CLI::App* sub = app.add_subcommand(name, description);
        sub->parse_complete_callback([this, command] { invocation.command = command; });
        return sub;
    }

    void AddReboot(CLI::App* sub) {
        sub->add_flag("--reboot", invocation.reboot, "reboot the phone after a successful send");
    }
};

}  // namespace

std::variant<Invocation, int> ParseArguments(int argc, const char* const* argv, std::ostream& out,
                                             std::ostream& err) {
    Parser parser;
    try {
        parser.app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int status = parser.app.exit(error, out, err);
        return status == 0 ? kExitOk : kExitUsage;
    }
    if (parser.language == "en") parser.invocation.language = Language::English;
    if (parser.language == "ja") parser.invocation.language = Language::Japanese;
    return parser.invocation;
}

}  // namespace tarvo::cli
