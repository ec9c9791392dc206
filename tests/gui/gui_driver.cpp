// Drives TarvoMgr.exe like a user, against phonesim on a virtual COM port, and
// checks what the windows show and what the phone received.
//
// gui_driver APP WORKDIR PHONEDIR [ja | FAULTYDIR]
//   APP       TarvoMgr.exe
//   WORKDIR   an empty folder for the files of the run (Unix or Windows path)
//   PHONEDIR  phonesim's folder on COM7: store/ for the files it received,
//             log.jsonl, phonebook.vcf (what it sends for a backup)
//   ja        the program runs with Japanese resources: a shorter run that
//             checks the texts
//   FAULTYDIR the folder of a second phonesim on COM8 that answers block 2
//             with CAN CAN (--cancel-at-block 2); adds the failure cases
#include "framework/text.h"
#include "res/string_table.h"
#include "window_probe.h"

#include <shellapi.h>
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace tarvo::gui;

namespace {

constexpr const wchar_t* kPortKey = L"Hardware\\DeviceMap\\SerialComm";
constexpr const wchar_t* kPortValue = L"\\Device\\ZELICOM";
constexpr const wchar_t* kShellFolders =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const wchar_t* kPortName = L"COM7";
constexpr const wchar_t* kFaultyPortName = L"COM8";
constexpr int kWindowTimeout = 10000;
// The poll runs every 500 ms; Wine adds its own scheduling delay on top.
constexpr int kPollBound = 900;

enum Control {
    kExitFull = 1, kExitCompact = 2, kReboot = 3, kBackup = 1000, kRestore = 1001,
    kTransmitted = 1004, kPhoneNumber = 1004, kSetConfiguration = 1005, kFileSize = 1003,
    kPath = 1006, kPhoneStatus = 1006, kFirmware = 1007, kStatus = 1007,
    kGroupFull = 1010, kGroupCompact = 1011,
};

// --- Results ----------------------------------------------------------------

int g_passed = 0;
int g_failed = 0;
bool g_caseFailed = false;

void Check(bool ok, const std::string& what) {
    if (ok) return;
    g_caseFailed = true;
    std::printf("    FAILED: %s\n", what.c_str());
    std::fflush(stdout);
}

template <typename Body>
void RunCase(const char* name, Body body) {
    g_caseFailed = false;
    std::printf("[ RUN  ] %s\n", name);
    std::fflush(stdout);
    body();
    (g_caseFailed ? g_failed : g_passed)++;
    std::printf("[ %s ] %s\n", g_caseFailed ? "FAIL" : " OK ", name);
    std::fflush(stdout);
}

std::string Narrow(const std::wstring& text) { return tarvo::ui::WideToUtf8(text); }

// --- Environment --------------------------------------------------------------

tarvo::Language g_language = tarvo::Language::English;

std::wstring Text(int id) { return tarvo::ui::Utf8ToWide(tarvo::LoadText(id, g_language)); }

fs::path WindowsPath(const std::wstring& path) {
    if (path.empty() || path[0] != L'/') return path;
    std::wstring windows = L"Z:" + path;
    for (auto& c : windows) if (c == L'/') c = L'\\';
    return windows;
}

void SetPort(const wchar_t* name) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, kPortKey, 0, nullptr, REG_OPTION_VOLATILE, KEY_WRITE,
                    nullptr, &key, nullptr);
    RegSetValueExW(key, kPortValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(name),
                   DWORD((wcslen(name) + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

void Plug() { SetPort(kPortName); }

void Unplug() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPortKey, 0, KEY_WRITE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueW(key, kPortValue);
    RegCloseKey(key);
}

std::wstring ReadCommonAppData() {
    wchar_t value[MAX_PATH] = {};
    DWORD size = sizeof value;
    RegGetValueW(HKEY_LOCAL_MACHINE, kShellFolders, L"Common AppData", RRF_RT_REG_SZ, nullptr,
                 value, &size);
    return value;
}

void WriteCommonAppData(const std::wstring* value) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kShellFolders, 0, KEY_WRITE, &key) != ERROR_SUCCESS) return;
    if (value) {
        RegSetValueExW(key, L"Common AppData", 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(value->c_str()),
                       DWORD((value->size() + 1) * sizeof(wchar_t)));
    } else {
        RegDeleteValueW(key, L"Common AppData");
    }
    RegCloseKey(key);
}

std::vector<char> ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<char> MakeContent(size_t size, unsigned seed) {
    std::vector<char> data(size);
    for (size_t i = 0; i < size; ++i) data[i] = char((i * 131 + seed * 7 + (i >> 7)) & 0xFF);
    return data;
}

void WriteBytes(const fs::path& path, const std::vector<char>& data) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(data.data(), std::streamsize(data.size()));
}

struct Phone {
    fs::path dir;
    fs::path Store(const char* name) const { return dir / "store" / name; }
    std::string Log() const {
        std::ifstream in(dir / "log.jsonl", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    size_t Count(const std::string& part) const {
        const std::string log = Log();
        size_t count = 0;
        for (size_t at = log.find(part); at != std::string::npos; at = log.find(part, at + 1)) ++count;
        return count;
    }
    size_t Reboots() const { return Count("{\"event\":\"reboot\"}"); }
    bool SawLine(const std::string& text) const {
        return Count("{\"event\":\"line\",\"text\":\"" + text + "\"}") > 0;
    }
};

// --- The program under test ---------------------------------------------------

struct Program {
    PROCESS_INFORMATION process{};
    bool Start(const fs::path& exe, const fs::path& directory) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
        return CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              directory.c_str(), &startup, &process) != 0;
    }
    bool WaitExit(int timeoutMs) const {
        return WaitForSingleObject(process.hProcess, DWORD(timeoutMs)) == WAIT_OBJECT_0;
    }
    void Kill() const {
        if (!WaitExit(0)) TerminateProcess(process.hProcess, 1);
    }
    DWORD Id() const { return process.dwProcessId; }
};

struct Context {
    fs::path app;
    fs::path work;
    Phone phone;
    Phone faulty;
    Program program;
    WindowProbe probe{0};
    HWND main = nullptr;
};

// --- Steps --------------------------------------------------------------------

bool AllOperations(HWND main, bool enabled) {
    for (int id : {kBackup, kRestore, kSetConfiguration, kPhoneNumber, kFirmware}) {
        if (ItemEnabled(main, id) != enabled) return false;
    }
    return true;
}

// Picks `path` in the file dialog the program has just opened; with
// `replace`, also confirms replacing the existing file.
bool ChooseInFileDialog(Context& c, const fs::path& path, bool replace = false) {
    HWND dialog = nullptr;
    if (!WaitUntil([&] { return (dialog = c.probe.FindFileDialog()) != nullptr; }, kWindowTimeout)) {
        Check(false, "file dialog appears; windows: " + Narrow(c.probe.Describe()));
        return false;
    }
    const int nameId = GetDlgItem(dialog, 0x47C) ? 0x47C : 0x480;
    SetItemTextRemote(dialog, nameId, path.wstring());
    Click(dialog, IDOK);
    if (replace) {
        HWND confirm = c.probe.WaitFor(L"", L"#32770", kWindowTimeout, [](HWND w) {
            return GetDlgItem(w, IDYES) != nullptr && !MessageText(w).empty();
        });
        Check(confirm != nullptr, "replacing an existing file is confirmed first");
        if (confirm) Click(confirm, IDYES);
    }
    const bool closed = WaitUntil([&] { return !IsWindowVisible(dialog); }, kWindowTimeout);
    Check(closed, "file dialog closes after OK; windows: " + Narrow(c.probe.Describe()));
    return closed;
}

// Answers the message box with `expectedText`; false when none came.
bool AnswerMessage(Context& c, int textId, int button) {
    HWND box = c.probe.WaitFor(Text(125), L"#32770", kWindowTimeout,
                               [](HWND w) { return !MessageText(w).empty(); });
    Check(box != nullptr, "message box " + std::to_string(textId) + " appears");
    if (!box) return false;
    Check(MessageText(box) == Text(textId),
          "message box shows string " + std::to_string(textId) + ", got: " + Narrow(MessageText(box)));
    Click(box, button);
    Check(WaitUntil([&] { return !IsWindow(box); }, kWindowTimeout), "message box closes");
    return true;
}

HWND WaitTransferDialog(Context& c, int titleId) {
    HWND dialog = c.probe.WaitFor(Text(titleId), L"#32770", kWindowTimeout);
    Check(dialog != nullptr, "transfer dialog titled " + Narrow(Text(titleId)) +
                                 " appears; windows: " + Narrow(c.probe.Describe()));
    return dialog;
}

bool WaitStatus(HWND dialog, int control, int textId, int timeoutMs) {
    return WaitUntil([&] { return ItemText(dialog, control) == Text(textId); }, timeoutMs);
}

bool WaitGone(HWND window, int timeoutMs) {
    return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs);
}

void CheckSameBytes(const fs::path& got, const std::vector<char>& expected, const std::string& what) {
    const auto bytes = ReadBytes(got);
    Check(bytes == expected, what + ": " + std::to_string(bytes.size()) + " bytes, expected " +
                                 std::to_string(expected.size()) + " identical bytes");
}

void ToggleLayout(Context& c) {
    const bool wasFull = ItemVisible(c.main, kFirmware);
    const int height = WindowHeight(c.main);
    Check(PressAltKey(c.main, 'F'), "the main dialog comes to the front for the layout key");
    // The buttons change first, the window's height last.
    WaitUntil([&] {
        return ItemVisible(c.main, kFirmware) != wasFull && WindowHeight(c.main) != height;
    }, 5000);
}

// A send that the phone stores: OK alone, then OK sends the reboot line.
void FinishSendWithReboot(Context& c, HWND dialog, int successText, const char* storedName,
                          const std::vector<char>& content) {
    Check(WaitStatus(dialog, kStatus, successText, 60000),
          "status becomes string " + std::to_string(successText) + ", is: " +
              Narrow(ItemText(dialog, kStatus)));
    Check(WaitUntil([&] { return ItemVisible(dialog, IDOK); }, 3000), "OK is offered");
    Check(!ItemVisible(dialog, IDCANCEL) && !ItemVisible(dialog, kReboot),
          "only OK is offered after a stored send");
    const std::wstring bytes = std::to_wstring(content.size()) + L" bytes";
    Check(ItemText(dialog, kTransmitted) == bytes && ItemText(dialog, kFileSize) == bytes,
          "size and transmitted show the file's length: " + Narrow(ItemText(dialog, kTransmitted)));
    CheckSameBytes(c.phone.Store(storedName), content, std::string("phone stored ") + storedName);
    const size_t reboots = c.phone.Reboots();
    Click(dialog, IDOK);
    Check(WaitGone(dialog, 5000), "OK closes the transfer dialog");
    Check(WaitUntil([&] { return c.phone.Reboots() == reboots + 1; }, 3000),
          "OK sends the reboot line");
}

// Lets Wine finish painting before the screen is read.
void Screenshot(HWND window, const fs::path& path) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(800);
    Check(SaveWindowBitmap(window, path.wstring()), "screenshot " + path.filename().string());
}

bool StartProgram(Context& c) {
    if (!c.program.Start(c.app, c.work)) return false;
    c.probe.SetProcess(c.program.Id());
    c.main = c.probe.WaitFor(Text(125), L"TarvoMgr", 20000);
    return c.main != nullptr;
}

void CheckSecondCopyEnds(Context& c) {
    Program second;
    Check(second.Start(c.app, c.work), "second copy starts");
    const bool ended = second.WaitExit(20000);
    Check(ended, "second copy ends by itself");
    if (!ended) second.Kill();
    Check(IsWindow(c.main), "the first copy's window stays");
}

// After a port change: the program's thread is free again (a dialog may
// still be waiting for its worker) and a poll has run since.
void SettlePoll(Context& c) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(c.main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
    Sleep(700);
}

// --- English cases ------------------------------------------------------------

void StartAndFollowPort(Context& c) {
    Unplug();
    const fs::path marker = c.work / "~user.ini";
    WriteBytes(marker, {'x'});
    Check(StartProgram(c), "main window of class TarvoMgr titled with string 125");
    if (!c.main) return;
    Check(WaitUntil([&] { return AllOperations(c.main, false); }, 1500),
          "without a phone the five buttons are disabled");
    Plug();
    DWORD start = GetTickCount();
    Check(WaitUntil([&] { return AllOperations(c.main, true); }, 3000), "plugging enables them");
    Check(int(GetTickCount() - start) <= kPollBound,
          "enabled within one poll: " + std::to_string(GetTickCount() - start) + " ms");
    Unplug();
    start = GetTickCount();
    Check(WaitUntil([&] { return AllOperations(c.main, false); }, 3000), "unplugging disables them");
    Check(int(GetTickCount() - start) <= kPollBound,
          "disabled within one poll: " + std::to_string(GetTickCount() - start) + " ms");
    Plug();
    WaitUntil([&] { return AllOperations(c.main, true); }, 3000);
}

void CompactLayoutAndLayoutKey(Context& c) {
    Check(!ItemVisible(c.main, kFirmware) && !ItemVisible(c.main, kExitFull) &&
              !ItemVisible(c.main, kGroupFull),
          "compact at start: Upgrade Firmware, Exit 1 and the tall group hidden");
    Check(ItemVisible(c.main, kExitCompact) && ItemVisible(c.main, kGroupCompact),
          "compact at start: Exit 2 and the short group shown");
    const int compact = WindowHeight(c.main);
    const int grow = ItemHeight(c.main, kFirmware) + 10;
    ToggleLayout(c);
    Check(ItemVisible(c.main, kFirmware) && ItemVisible(c.main, kExitFull) &&
              ItemVisible(c.main, kGroupFull) && !ItemVisible(c.main, kExitCompact) &&
              !ItemVisible(c.main, kGroupCompact),
          "the layout key shows the full layout");
    Check(WindowHeight(c.main) == compact + grow,
          "full layout is taller by the button's height + 10: " +
              std::to_string(WindowHeight(c.main)) + " vs " + std::to_string(compact + grow));
    ToggleLayout(c);
    Check(!ItemVisible(c.main, kFirmware), "a second press hides Upgrade Firmware again");
    Check(WindowHeight(c.main) == compact, "two presses give back the exact height");
}

void SecondCopyAndAbout(Context& c) {
    CheckSecondCopyEnds(c);
    PostMessageW(c.main, WM_SYSCOMMAND, 16, 0);
    const std::wstring title = g_language == tarvo::Language::English
                                   ? L"About TarvoMgr" : L" 初期設定ツールについて...";
    HWND about = c.probe.WaitFor(title, L"#32770", kWindowTimeout);
    Check(about != nullptr, "About opens from the system menu");
    if (!about) return;
    Check(!IsWindowEnabled(c.main), "the main dialog waits while About is open");
    Click(about, IDOK);
    Check(WaitGone(about, 3000), "OK closes About");
}

void SetPhoneNumber(Context& c) {
    Click(c.main, kPhoneNumber);
    HWND dialog = c.probe.WaitFor(L"", L"#32770", kWindowTimeout,
                                  [](HWND w) { return GetDlgItem(w, kPhoneStatus) != nullptr &&
                                                      GetDlgItem(w, kReboot) == nullptr; });
    Check(dialog != nullptr, "phone-number dialog appears; windows: " + Narrow(c.probe.Describe()));
    if (!dialog) return;
    const std::wstring first = ItemText(dialog, kPhoneStatus);
    Check(first == Text(119) || first == Text(107), "first status is string 119: " + Narrow(first));
    Check(WaitStatus(dialog, kPhoneStatus, 107, 10000), "phone answers: string 107");
    Check(ItemVisible(dialog, IDOK) && !ItemVisible(dialog, IDCANCEL), "107 brings OK instead of Cancel");
    Check(WaitGone(dialog, 5000), "the dialog closes itself after the pause");
    Check(c.phone.SawLine("network restart 1"), "phone received \"network restart 1\"");
}

// OK during the final pause ends the dialog while its worker still pauses.
void PhoneNumberClosedEarly(Context& c) {
    Click(c.main, kPhoneNumber);
    HWND dialog = c.probe.WaitFor(L"", L"#32770", kWindowTimeout, [](HWND w) {
        return GetDlgItem(w, kPhoneStatus) != nullptr && GetDlgItem(w, kReboot) == nullptr;
    });
    if (!dialog) return Check(false, "phone-number dialog appears");
    Check(WaitUntil([&] { return ItemVisible(dialog, IDOK); }, 10000), "OK is offered");
    Click(dialog, IDOK);
    Check(WaitGone(dialog, 3000), "OK closes the dialog at once");
    Check(WaitUntil([&] { return IsWindowEnabled(c.main) != 0; }, 3000), "the main dialog is back");
}

void Restore(Context& c) {
    const auto content = MakeContent(3000, 1);
    const fs::path source = c.work / L"電話帳" / "Book.VCF";
    WriteBytes(source, content);
    Click(c.main, kRestore);
    if (!ChooseInFileDialog(c, source)) return;
    HWND dialog = WaitTransferDialog(c, 123);
    if (!dialog) return;
    std::wstring lowered = source.wstring();
    CharLowerBuffW(lowered.data(), DWORD(lowered.size()));
    Check(ItemText(dialog, kPath) == lowered,
          "the lower-cased path is shown: " + Narrow(ItemText(dialog, kPath)));
    FinishSendWithReboot(c, dialog, 114, "backup.vcf", content);
}

void Backup(Context& c) {
    const fs::path target = c.work / "saved.csv";
    const auto book = ReadBytes(c.phone.dir / "phonebook.vcf");
    Click(c.main, kBackup);
    if (!ChooseInFileDialog(c, target)) return;
    HWND dialog = WaitTransferDialog(c, 122);
    if (!dialog) return;
    Check(WaitStatus(dialog, kStatus, 107, 30000), "backup ends with string 107");
    Check(!ItemVisible(dialog, IDCANCEL), "Cancel is hidden after a successful receive");
    Check(ItemText(dialog, kFileSize) == std::to_wstring(book.size()) + L" bytes",
          "size shows the phone's announced size");
    Check(WaitGone(dialog, 5000), "the dialog closes itself");
    Check(c.phone.SawLine("backup backup.csv 0"), "a .csv file is asked for as backup.csv");
    CheckSameBytes(target, book, "backup file");
}

void SetConfiguration(Context& c) {
    const auto content = MakeContent(1500, 2);
    const std::wstring appData = ReadCommonAppData();
    const fs::path list = fs::path(appData) / "Hesk_Vollin" / "Vollin.txt";
    WriteBytes(list, content);
    Click(c.main, kSetConfiguration);
    HWND dialog = WaitTransferDialog(c, 121);
    if (!dialog) return;
    FinishSendWithReboot(c, dialog, 114, "mcascfg.txt", content);

    WriteCommonAppData(nullptr);
    Click(c.main, kSetConfiguration);
    AnswerMessage(c, 117, IDOK);
    WriteCommonAppData(&appData);
}

void Firmware(Context& c) {
    const auto content = MakeContent(40000, 3);
    const fs::path first = c.work / "fw" / "OLD.ZIP";
    const fs::path second = c.work / "fw" / "NEW.ZIP";
    WriteBytes(first, MakeContent(100, 4));
    WriteBytes(second, content);
    ToggleLayout(c);
    Click(c.main, kFirmware);
    if (!ChooseInFileDialog(c, first)) return;
    AnswerMessage(c, 127, IDCANCEL);  // choose again
    if (!ChooseInFileDialog(c, second)) return;
    AnswerMessage(c, 127, IDYES);
    HWND dialog = WaitTransferDialog(c, 126);
    if (!dialog) return;
    Check(!ItemVisible(dialog, IDCANCEL), "no Cancel in firmware mode");
    Check(WaitStatus(dialog, kStatus, 129, 20000), "firmware status string 129 while sending");
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    Sleep(300);
    Check(IsWindowVisible(dialog), "the close box does nothing during a firmware transfer");
    FinishSendWithReboot(c, dialog, 128, "firmapp.zip", content);

    Click(c.main, kFirmware);
    if (ChooseInFileDialog(c, second)) AnswerMessage(c, 127, IDNO);
    Sleep(500);
    Check(!c.probe.Find(Text(126), L"#32770"), "No in the confirmation starts nothing");
    ToggleLayout(c);
}

void RefusedFiles(Context& c) {
    const fs::path text = c.work / "notes.txt";
    WriteBytes(text, {'a'});
    Click(c.main, kRestore);
    if (ChooseInFileDialog(c, text)) {
        HWND box = c.probe.WaitFor(Text(125), L"#32770", kWindowTimeout,
                                   [](HWND w) { return !MessageText(w).empty(); });
        CheckSecondCopyEnds(c);  // the message box carries the program's title
        (void)box;
        AnswerMessage(c, 112, IDOK);
    }
    const fs::path empty = c.work / "empty.vcf";
    WriteBytes(empty, {});
    const size_t downloads = c.phone.Count("download");
    Click(c.main, kRestore);
    if (ChooseInFileDialog(c, empty)) AnswerMessage(c, 103, IDOK);
    Check(c.phone.Count("download") == downloads, "an empty file is refused before the phone hears of it");
}

void PortThatCannotOpen(Context& c) {
    SetPort(L"COM9");  // listed, but no such device
    SettlePoll(c);
    Click(c.main, kPhoneNumber);
    AnswerMessage(c, 102, IDOK);
    Check(WaitUntil([&] { return IsWindowEnabled(c.main) != 0; }, 3000),
          "the phone-number dialog closes after the message");
    Plug();
    SettlePoll(c);
}

// The phone hears the cancel sequence, or the host closing the line when the
// pty drops the last bytes with the close; either way it stores nothing.
size_t StoppedTransfers(Context& c) {
    return c.phone.Count("\"event\":\"cancel\"") + c.phone.Count("\"event\":\"close\"");
}

void CheckTransferStopped(Context& c, size_t length, size_t endsBefore = 0) {
    Check(WaitUntil([&] { return StoppedTransfers(c) > endsBefore; }, 3000),
          "the phone saw the transfer stop");
    Check(c.phone.Count("\"length\":" + std::to_string(length) + ",") == 0,
          "the phone stored nothing of the stopped transfer");
}

void UnplugDuringTransfer(Context& c) {
    const auto content = MakeContent(200000, 5);
    const fs::path source = c.work / "big.vcf";
    WriteBytes(source, content);
    const size_t ends = StoppedTransfers(c);
    Click(c.main, kRestore);
    if (!ChooseInFileDialog(c, source)) return;
    HWND dialog = WaitTransferDialog(c, 123);
    if (!dialog) return;
    Check(WaitUntil([&] { return ItemText(dialog, kTransmitted) != L"0 bytes"; }, 20000),
          "blocks move");
    Check(WaitStatus(dialog, kStatus, 111, 1000), "status string 111 while sending");
    Screenshot(dialog, c.work / "transfer.bmp");
    Unplug();
    Check(WaitGone(dialog, 5000), "unplugging closes the transfer dialog");
    Check(AllOperations(c.main, false), "and the buttons are disabled");
    CheckTransferStopped(c, content.size(), ends);
    Plug();
    WaitUntil([&] { return AllOperations(c.main, true); }, 3000);
}

// Enter reaches OK while blocks move: the transfer is stopped, not orphaned,
// and the port is free again for the next operation.
void EnterDuringTransfer(Context& c) {
    const fs::path source = c.work / "big.vcf";
    const size_t ends = StoppedTransfers(c);
    Click(c.main, kRestore);
    if (!ChooseInFileDialog(c, source)) return;
    HWND dialog = WaitTransferDialog(c, 123);
    if (!dialog) return;
    Check(WaitUntil([&] { return ItemText(dialog, kTransmitted) != L"0 bytes"; }, 20000),
          "blocks move");
    PostMessageW(dialog, WM_KEYDOWN, VK_RETURN, 1);
    Check(WaitGone(dialog, 5000), "Enter closes the transfer dialog");
    CheckTransferStopped(c, fs::file_size(source), ends);
    PhoneNumberClosedEarly(c);
}

// The phone answers block 2 with CAN CAN: a send shows 110 in a message box
// and closes; a backup fails with 105 and leaves the existing file alone.
void PhoneThatCancels(Context& c) {
    SetPort(kFaultyPortName);
    SettlePoll(c);
    Click(c.main, kRestore);
    if (ChooseInFileDialog(c, c.work / "big.vcf")) {
        HWND dialog = WaitTransferDialog(c, 123);
        if (dialog) Check(WaitStatus(dialog, kStatus, 110, 10000), "status string 110");
        AnswerMessage(c, 110, IDOK);
        if (dialog) Check(WaitGone(dialog, 5000), "the dialog closes by itself after the message");
    }
    const fs::path existing = c.work / "saved.csv";
    const auto before = ReadBytes(existing);
    Click(c.main, kBackup);
    if (ChooseInFileDialog(c, existing, true)) {
        HWND dialog = WaitTransferDialog(c, 122);
        if (dialog) {
            Check(WaitStatus(dialog, kStatus, 105, 20000), "a cancelled backup shows string 105");
            Check(WaitGone(dialog, 5000), "the dialog closes by itself");
        }
    }
    Check(!before.empty() && ReadBytes(existing) == before, "a failed backup keeps the old file");
    Plug();
    SettlePoll(c);
}

void CloseRemovesUserIni(Context& c) {
    Screenshot(c.main, c.work / "main-en.bmp");
    Click(c.main, kExitCompact);
    Check(c.program.WaitExit(10000), "Exit ends the program");
    Check(!fs::exists(c.work / "~user.ini"), "~user.ini is removed from the start folder");
}

// --- Japanese cases -----------------------------------------------------------

void JapaneseTexts(Context& c) {
    Plug();
    Check(StartProgram(c), "main window titled with the Japanese string 125");
    if (!c.main) return;
    Check(ItemText(c.main, kBackup) == L"電話帳の保存" && ItemText(c.main, kExitCompact) == L"終了",
          "Japanese button texts: " + Narrow(ItemText(c.main, kBackup)));
    WaitUntil([&] { return AllOperations(c.main, true); }, 3000);
    Screenshot(c.main, c.work / "main-ja.bmp");
    CheckSecondCopyEnds(c);
    SetPhoneNumber(c);
    SecondCopyAndAbout(c);
    Click(c.main, kExitCompact);
    Check(c.program.WaitExit(10000), "Exit ends the program");
}

}  // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc < 4) {
        std::fprintf(stderr, "usage: gui_driver APP WORKDIR PHONEDIR [ja]\n");
        return 2;
    }
    Context c;
    c.app = WindowsPath(argv[1]);
    c.work = WindowsPath(argv[2]);
    c.phone.dir = WindowsPath(argv[3]);
    if (argc > 4 && std::wstring(argv[4]) == L"ja") {
        g_language = tarvo::Language::Japanese;
    } else if (argc > 4) {
        c.faulty.dir = WindowsPath(argv[4]);
    }

    if (g_language == tarvo::Language::Japanese) {
        RunCase("Japanese resources", [&] { JapaneseTexts(c); });
    } else {
        RunCase("start-up and the port poll", [&] { StartAndFollowPort(c); });
        if (c.main) {
            RunCase("compact layout and the layout key", [&] { CompactLayoutAndLayoutKey(c); });
            RunCase("second copy and About", [&] { SecondCopyAndAbout(c); });
            RunCase("set phone number", [&] { SetPhoneNumber(c); });
            RunCase("restore", [&] { Restore(c); });
            RunCase("backup", [&] { Backup(c); });
            RunCase("set configuration", [&] { SetConfiguration(c); });
            RunCase("firmware upgrade", [&] { Firmware(c); });
            RunCase("refused files", [&] { RefusedFiles(c); });
            RunCase("a port that cannot be opened", [&] { PortThatCannotOpen(c); });
            RunCase("unplugging during a transfer", [&] { UnplugDuringTransfer(c); });
            RunCase("enter during a transfer, OK during the pause", [&] { EnterDuringTransfer(c); });
            if (!c.faulty.dir.empty()) {
                RunCase("a phone that cancels", [&] { PhoneThatCancels(c); });
            }
            RunCase("closing", [&] { CloseRemovesUserIni(c); });
        }
    }
    c.program.Kill();
    std::printf("%d passed, %d failed\n", g_passed, g_failed);
    return g_failed == 0 ? 0 : 1;
}
