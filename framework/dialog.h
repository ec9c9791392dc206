// A modal dialog on a resource template, with its own message loop so that a
// dialog can look at keystrokes before the dialog manager does.
#pragma once

#include <windows.h>

#include <string>

namespace tarvo::ui {

// Moves texts between controls and members: into the controls, or back.
class TextExchange {
public:
    TextExchange(HWND dialog, bool fromControls) : m_dialog(dialog), m_fromControls(fromControls) {}
    void Text(int controlId, std::wstring& value);

private:
    HWND m_dialog;
    bool m_fromControls;
};

class Dialog {
public:
    Dialog(UINT templateId, HWND parent);
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Creates the dialog, disables its owner and runs until EndDialog. The
    // result given to EndDialog, or -1 when the window could not be created.
    INT_PTR DoModal();
    HWND Handle() const { return m_hwnd; }

protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    virtual void DoDataExchange(TextExchange&) {}
    // Sees every message of the modal loop first; true swallows it.
    virtual bool PreTranslateMessage(const MSG&) { return false; }
    // The dialog's own messages: true when handled. `result` is what the
    // dialog procedure returns, TRUE unless the handler sets it.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);

    void EndDialog(INT_PTR result);
    bool IsEnding() const { return m_ended; }
    // Controls to members (true) or members to controls (false).
    void UpdateData(bool fromControls);

    HWND Item(int id) const { return GetDlgItem(m_hwnd, id); }
    void ShowItem(int id, bool visible) const;
    void EnableItem(int id, bool enabled) const;
    // A message box owned by this dialog, both texts from the string table.
    int ShowMessage(UINT textId, UINT captionId, UINT type) const;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void CenterOverOwner() const;
    void RunModalLoop();

    UINT m_templateId;
    HWND m_parent;
    HWND m_hwnd = nullptr;
    bool m_ended = false;
    INT_PTR m_result = IDCANCEL;
};

}  // namespace tarvo::ui
