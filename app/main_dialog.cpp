#include "main_dialog.h"

#include "dialogs/operation_messages.h"
#include "dialogs/phone_number_dialog.h"
#include "dialogs/transfer_dialog.h"
#include "file_rules.h"
#include "framework/application.h"
#include "framework/file_dialog.h"
#include "framework/text.h"
#include "link/phone_number.h"
#include "registry_value.h"
#include "resource.h"

#include <commdlg.h>

#include <array>

namespace tarvo {

namespace {

constexpr const wchar_t* kPortKey = L"Hardware\\DeviceMap\\SerialComm";
constexpr const wchar_t* kPortValue = L"\\Device\\ZELICOM";
constexpr const wchar_t* kShellFoldersKey =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const wchar_t* kCommonAppDataValue = L"Common AppData";
constexpr const wchar_t* kCompanionList = L"\\Hesk_Vollin\\Vollin.txt";

constexpr const wchar_t* kPhoneBookFilter = L"vCard Files(*.vcf)|*.vcf|CSV Files(*.csv)|*.csv|";
constexpr const wchar_t* kFirmwareFilter = L"Software Package(*.zip)|*.zip|";
constexpr DWORD kBackupFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_LONGNAMES;
constexpr DWORD kOpenFlags = OFN_HIDEREADONLY | OFN_EXPLORER | OFN_LONGNAMES;

constexpr std::array kOperationButtons = {IDC_BACKUP, IDC_RESTORE, IDC_SET_CONFIGURATION,
                                          IDC_SET_PHONE_NUMBER, IDC_UPGRADE_FIRMWARE};

HICON LoadProgramIcon(int size) {
    return static_cast<HICON>(LoadImageW(ui::Application::ResourceModule(),
                                         MAKEINTRESOURCEW(IDI_PHONE), IMAGE_ICON, size, size, 0));
}

class AboutDialog final : public ui::Dialog {
public:
    explicit AboutDialog(HWND parent) : Dialog(IDD_ABOUT, parent) {}
};

}  // namespace

MainDialog::MainDialog(HWND parent)
    : Dialog(IDD_MAIN, parent),
      m_hIcon(LoadProgramIcon(GetSystemMetrics(SM_CXICON))),
      m_hSmallIcon(LoadProgramIcon(GetSystemMetrics(SM_CXSMICON))) {}

BOOL MainDialog::OnInitDialog() {
    AddAboutToSystemMenu();
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hSmallIcon));
    m_bPortPresent = true;
    m_pActiveDialog = nullptr;
    wchar_t directory[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, directory);
    m_strStartDir = directory;
    ToggleLayout();  // always opens compact
    StartPortPolling();
    return TRUE;
}

void MainDialog::AddAboutToSystemMenu() {
    HMENU menu = GetSystemMenu(Handle(), FALSE);
    const std::wstring about = ui::LoadText(IDS_ABOUT_MENU);
    if (!menu || about.empty()) return;
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, IDM_ABOUT, about.c_str());
}

int MainDialog::ToggleLayout() {
    RECT button;
    GetWindowRect(Item(IDC_UPGRADE_FIRMWARE), &button);
    const int delta = button.bottom - button.top + 10;
    RECT window;
    GetWindowRect(Handle(), &window);
    int bottom = window.bottom;
    if (!m_bFullLayout) {
        m_bFullLayout = true;
        ShowItem(IDC_UPGRADE_FIRMWARE, true);
        ShowItem(IDC_EXIT_COMPACT, false);
        ShowItem(IDC_GROUP_COMPACT, false);
        ShowItem(IDC_EXIT_FULL, true);
        ShowItem(IDC_GROUP_FULL, true);
        bottom += delta;
    } else {
        m_bFullLayout = false;
        ShowItem(IDC_UPGRADE_FIRMWARE, false);
        ShowItem(IDC_EXIT_FULL, false);
        ShowItem(IDC_GROUP_FULL, false);
        ShowItem(IDC_EXIT_COMPACT, true);
        ShowItem(IDC_GROUP_COMPACT, true);
        bottom -= delta;
    }
    MoveWindow(Handle(), window.left, window.top, window.right - window.left, bottom - window.top,
               TRUE);
    return m_bFullLayout ? 1 : 0;
}

bool MainDialog::PreTranslateMessage(const MSG& msg) {
    const bool altDown = (msg.lParam & (1 << 29)) != 0;
    if (msg.message != WM_SYSKEYDOWN || !altDown || msg.wParam != kLayoutKey) return false;
    ToggleLayout();
    return true;
}

bool MainDialog::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result) {
    switch (message) {
    case WM_SYSCOMMAND:
        return OnSysCommand(wParam);
    case WM_PAINT:
        return OnPaint();
    case WM_QUERYDRAGICON:
        result = reinterpret_cast<INT_PTR>(m_hIcon);
        return true;
    case WM_COMMAND:
        return HIWORD(wParam) == BN_CLICKED && OnCommand(LOWORD(wParam));
    case WM_TIMER:
        OnTimer();
        return true;
    case WM_DESTROY:
        OnDestroy();
        return true;
    }
    return false;
}

bool MainDialog::OnCommand(WORD id) {
    switch (id) {
    case IDC_BACKUP:
        OnBackup();
        return true;
    case IDC_RESTORE:
        OnRestore();
        return true;
    case IDC_SET_CONFIGURATION:
        OnSetConfiguration();
        return true;
    case IDC_SET_PHONE_NUMBER:
        OnSetPhoneNumber();
        return true;
    case IDC_UPGRADE_FIRMWARE:
        OnUpgradeFirmware();
        return true;
    }
    return false;
}

bool MainDialog::OnSysCommand(WPARAM command) {
    if ((command & 0xFFF0) != IDM_ABOUT) return false;
    AboutDialog(Handle()).DoModal();
    return true;
}

bool MainDialog::OnPaint() {
    if (!IsIconic(Handle())) return false;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle(), &paint);
    SendMessageW(Handle(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    const int iconWidth = GetSystemMetrics(SM_CXICON);
    const int iconHeight = GetSystemMetrics(SM_CYICON);
    RECT client;
    GetClientRect(Handle(), &client);
    DrawIcon(dc, (client.right - client.left - iconWidth + 1) / 2,
             (client.bottom - client.top - iconHeight + 1) / 2, m_hIcon);
    EndPaint(Handle(), &paint);
    return true;
}

void MainDialog::OnDestroy() {
    KillTimer(Handle(), 0);
    DeleteFileW((m_strStartDir + L"\\~user.ini").c_str());
}

// --- The phone's port ---------------------------------------------------

int MainDialog::FindPhonePort() {
    return RegistryValue(HKEY_LOCAL_MACHINE).QueryString(kPortKey, kPortValue, m_strPort);
}

void MainDialog::StartPortPolling() { SetTimer(Handle(), 0, kPortPollMs, nullptr); }

void MainDialog::EnableOperations(bool enable) {
    for (int id : kOperationButtons) EnableItem(id, enable);
}

void MainDialog::OnTimer() {
    if (FindPhonePort()) {
        if (!m_bPortPresent) EnableOperations(true);
        m_bPortPresent = true;
        return;
    }
    if (m_bPortPresent) EnableOperations(false);
    m_bPortPresent = false;
    if (m_pActiveDialog && m_pActiveDialog->Handle()) {
        SendMessageW(m_pActiveDialog->Handle(), WM_OP_ABORT, 0, 0);
    }
}

// --- The operations -------------------------------------------------------

std::wstring MainDialog::ChooseFile(bool open, const wchar_t* defaultExtension,
                                    const wchar_t* initialName, DWORD flags,
                                    const wchar_t* filter) {
    return ui::RunFileDialog({open, defaultExtension, initialName, flags, filter, Handle()});
}

void MainDialog::RunOperation(OperationDialog& dialog) {
    m_pActiveDialog = &dialog;
    dialog.DoModal();
    m_pActiveDialog = nullptr;
}

void MainDialog::ShowMessage(UINT textId, UINT type) const {
    Dialog::ShowMessage(textId, IDS_APP_TITLE, type);
}

void MainDialog::OnBackup() {
    const std::wstring path = ChooseFile(false, L"vcf", L"", kBackupFlags, kPhoneBookFilter);
    if (path.empty()) return;
    const PhoneBookFormat format = FormatFromPath(path);
    if (format == PhoneBookFormat::None) {
        ShowMessage(IDS_UNAVAILABLE_FILE, MB_ICONHAND);
        return;
    }
    TransferDialog dialog(Handle(), m_strPort,
                          {ui::LoadText(IDS_TITLE_BACKUP), path, false, AnnouncedName(format),
                           false, false});
    RunOperation(dialog);
}

void MainDialog::OnRestore() {
    std::wstring path = ChooseFile(true, L"vcf", L"", kOpenFlags, kPhoneBookFilter);
    if (path.empty()) return;
    path = LowerCasePath(path);
    const PhoneBookFormat format = FormatFromPath(path);
    const bool namesPhoneBook = PathContains(path, L".csv") || PathContains(path, L".vcf");
    // A path with ".csv" or ".vcf" only inside a folder name has no format either.
    if (!namesPhoneBook || format == PhoneBookFormat::None) {
        ShowMessage(IDS_UNAVAILABLE_FILE, MB_ICONHAND);
        return;
    }
    TransferDialog dialog(Handle(), m_strPort,
                          {ui::LoadText(IDS_TITLE_RESTORE), path, true, AnnouncedName(format),
                           true, false});
    RunOperation(dialog);
}

std::wstring MainDialog::GetCompanionListPath() const {
    std::wstring path;
    if (!RegistryValue(HKEY_LOCAL_MACHINE).QueryString(kShellFoldersKey, kCommonAppDataValue, path)) {
        return {};
    }
    return path + kCompanionList;
}

void MainDialog::OnSetConfiguration() {
    const std::wstring path = GetCompanionListPath();
    if (path.empty()) {
        ShowMessage(IDS_NO_COMPANION_LIST, MB_ICONHAND);
        return;
    }
    TransferDialog dialog(Handle(), m_strPort,
                          {ui::LoadText(IDS_TITLE_CONFIGURATION), path, true, "mcascfg.txt", true,
                           false});
    RunOperation(dialog);
}

void MainDialog::OnSetPhoneNumber() {
    PhoneNumberDialog dialog(Handle(), m_strPort, kPhoneNumberCommand,
                             ui::LoadText(IDS_PHONE_NUMBER_START));
    RunOperation(dialog);
}

// Yes upgrades with the chosen package, No gives up, Cancel chooses again.
void MainDialog::OnUpgradeFirmware() {
    for (;;) {
        std::wstring path = ChooseFile(true, L"zip", L"", kOpenFlags, kFirmwareFilter);
        if (path.empty()) return;
        path = LowerCasePath(path);
        if (!PathContains(path, L".zip")) {
            ShowMessage(IDS_UNAVAILABLE_FILE, MB_ICONHAND);
            return;
        }
        const int answer = MessageBoxW(Handle(), ui::LoadText(IDS_CONFIRM_FIRMWARE).c_str(),
                                       ui::LoadText(IDS_APP_TITLE).c_str(),
                                       MB_YESNOCANCEL | MB_ICONQUESTION);
        if (answer == IDCANCEL) continue;
        if (answer != IDYES) return;
        TransferDialog dialog(Handle(), m_strPort,
                              {ui::LoadText(IDS_TITLE_FIRMWARE), path, true, "firmapp.zip", true,
                               true});
        RunOperation(dialog);
        return;
    }
}

}  // namespace tarvo
