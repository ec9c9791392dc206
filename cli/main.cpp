// tarvomgr: every operation of TarvoManager from the command line.
#include "arguments.h"
#include "operations.h"
#include "platform.h"

#include <iostream>
#include <memory>

int main(int argc, char** argv) {
    using namespace tarvo::cli;
    PrepareConsole();
    auto parsed = ParseArguments(argc, argv, std::cout, std::cerr);
    if (const int* status = std::get_if<int>(&parsed)) return *status;
    const Invocation& invocation = std::get<Invocation>(parsed);

    const tarvo::Language language = invocation.language.value_or(SystemLanguage());
    std::unique_ptr<Reporter> reporter;
    if (invocation.json) {
        reporter = std::make_unique<JsonReporter>(language, std::cout);
    } else {
        reporter = std::make_unique<TextReporter>(language, std::cout, std::cerr, invocation.quiet,
                                                  IsTerminal(stderr));
    }
    static std::atomic<bool> interrupted{false};
    InstallInterruptHandler(interrupted);
    return RunCommand(invocation, language, *reporter, interrupted);
}
