#include "platform.h"

#include <windows.h>

#include <io.h>

namespace tarvo::cli {

namespace {

std::atomic<bool>* g_interrupted = nullptr;

BOOL WINAPI OnConsoleEvent(DWORD) {
    if (g_interrupted) g_interrupted->store(true);
    return TRUE;
}

// A text value (REG_SZ, REG_EXPAND_SZ taken verbatim, REG_LINK) of a key under
// HKEY_LOCAL_MACHINE; any other type counts as absent.
std::optional<std::string> ReadTextValue(const char* subkey, const char* valueName) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0;
    DWORD size = 0;
    std::optional<std::string> text;
    if (RegQueryValueExA(key, valueName, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_LINK)) {
        std::string data(size, '\0');
        if (RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                             &size) == ERROR_SUCCESS) {
            data.resize(std::min<size_t>(size, data.size()));
            text = data.substr(0, data.find('\0'));
        }
    }
    RegCloseKey(key);
    return text;
}

std::optional<std::string> RegisteredPhonePort() {
    return ReadTextValue("Hardware\\DeviceMap\\SerialComm", "\\Device\\ZELICOM");
}

}  // namespace

PortSearch DiscoverPhonePort() {
    PortSearch search;
    search.port = RegisteredPhonePort();
    return search;
}

std::function<bool()> PortPresence(const std::string& port) {
    if (RegisteredPhonePort() != port) return [] { return true; };
    return [port] { return RegisteredPhonePort() == port; };
}

std::optional<std::string> CompanionListPath() {
    auto folder = ReadTextValue("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                                "Common AppData");
    if (!folder) return std::nullopt;
    return *folder + "\\Hesk_Vollin\\Vollin.txt";
}

void InstallInterruptHandler(std::atomic<bool>& interrupted) {
    g_interrupted = &interrupted;
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

bool IsTerminal(std::FILE* stream) { return _isatty(_fileno(stream)) != 0; }

Language SystemLanguage() {
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE ? Language::Japanese
                                                                      : Language::English;
}

void PrepareConsole() { SetConsoleOutputCP(CP_UTF8); }

}  // namespace tarvo::cli
