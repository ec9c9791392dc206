// What tarvomgr asks of the system it runs on. One implementation file per
// platform: platform_posix.cpp, platform_win32.cpp.
#pragma once

#include "res/string_table.h"

#include <atomic>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tarvo::cli {

struct PortSearch {
    std::optional<std::string> port;
    std::vector<std::string> candidates;  // when there is more than one
};

// Windows: the registry's serial-port map entry of the phone's driver.
// Linux: the single /dev/ttyACM* device, when there is exactly one.
PortSearch DiscoverPhonePort();

// A check that the port is still there: its device node exists (POSIX); the
// serial-port map still names it (Windows, when the map named it at the
// start; a port given by a name the driver never registered is not watched).
std::function<bool()> PortPresence(const std::string& port);

// Windows: the companion tool's list in the common application-data folder;
// nothing when the folder cannot be read (and always nothing elsewhere).
std::optional<std::string> CompanionListPath();

// Ctrl-C (and SIGTERM, or the console's close) sets `interrupted`.
void InstallInterruptHandler(std::atomic<bool>& interrupted);

bool IsTerminal(std::FILE* stream);
Language SystemLanguage();
// Makes the console take UTF-8 text.
void PrepareConsole();

}  // namespace tarvo::cli
