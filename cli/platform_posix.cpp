#include "platform.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace tarvo::cli {

namespace {

std::atomic<bool>* g_interrupted = nullptr;

void OnInterrupt(int) {
    if (g_interrupted) g_interrupted->store(true);
}

}  // namespace

PortSearch DiscoverPhonePort() {
    PortSearch search;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/dev", error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("ttyACM", 0) == 0) search.candidates.push_back(entry.path().string());
    }
    std::sort(search.candidates.begin(), search.candidates.end());
    if (search.candidates.size() == 1) {
        search.port = search.candidates.front();
        search.candidates.clear();
    }
    return search;
}

std::function<bool()> PortPresence(const std::string& port) {
    return [port] {
        std::error_code error;
        return std::filesystem::exists(port, error);
    };
}

std::optional<std::string> CompanionListPath() { return std::nullopt; }

void InstallInterruptHandler(std::atomic<bool>& interrupted) {
    g_interrupted = &interrupted;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool IsTerminal(std::FILE* stream) { return ::isatty(::fileno(stream)) != 0; }

Language SystemLanguage() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) {
            return std::string(value).rfind("ja", 0) == 0 ? Language::Japanese : Language::English;
        }
    }
    return Language::English;
}

void PrepareConsole() {}

}  // namespace tarvo::cli
