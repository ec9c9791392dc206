// The program's one window: the five operations, the phone's port followed
// twice a second, the compact and full layouts, and About in the system menu.
#pragma once

#include "framework/dialog.h"

#include <string>

namespace tarvo {

class OperationDialog;

// Alt + this key switches between the compact and the full layout (the full
// one shows Upgrade Firmware). No visible button uses F as its mnemonic.
inline constexpr WPARAM kLayoutKey = 'F';
inline constexpr UINT kPortPollMs = 500;

class MainDialog final : public ui::Dialog {
public:
    explicit MainDialog(HWND parent);

    // 1 when the phone's port exists; its name is then in m_strPort.
    int FindPhonePort();
    // The new layout: 1 full, 0 compact.
    int ToggleLayout();

private:
    BOOL OnInitDialog() override;
    bool PreTranslateMessage(const MSG& msg) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

    bool OnCommand(WORD id);
    bool OnSysCommand(WPARAM command);
    bool OnPaint();
    void OnTimer();
    void OnDestroy();
    void OnBackup();
    void OnRestore();
    void OnSetConfiguration();
    void OnSetPhoneNumber();
    void OnUpgradeFirmware();

    void AddAboutToSystemMenu();
    void StartPortPolling();
    void EnableOperations(bool enable);
    std::wstring ChooseFile(bool open, const wchar_t* defaultExtension, const wchar_t* initialName,
                            DWORD flags, const wchar_t* filter);
    std::wstring GetCompanionListPath() const;
    void RunOperation(OperationDialog& dialog);
    void ShowMessage(UINT textId, UINT type) const;

    bool m_bPortPresent = true;
    HICON m_hIcon;
    HICON m_hSmallIcon;
    std::wstring m_strPort;
    OperationDialog* m_pActiveDialog = nullptr;
    std::wstring m_strStartDir;
    bool m_bFullLayout = true;
};

}  // namespace tarvo
