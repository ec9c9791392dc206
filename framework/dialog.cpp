#include "dialog.h"

#include "application.h"
#include "text.h"

namespace tarvo::ui {

void TextExchange::Text(int controlId, std::wstring& value) {
    HWND control = GetDlgItem(m_dialog, controlId);
    if (!m_fromControls) {
        SetWindowTextW(control, value.c_str());
        return;
    }
    std::wstring text(size_t(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(control, text.data(), int(text.size()))));
    value = std::move(text);
}

Dialog::Dialog(UINT templateId, HWND parent) : m_templateId(templateId), m_parent(parent) {}

INT_PTR Dialog::DoModal() {
    m_ended = false;
    m_result = IDCANCEL;
    bool disabledOwner = m_parent && IsWindowEnabled(m_parent);
    if (disabledOwner) EnableWindow(m_parent, FALSE);
    HWND hwnd = CreateDialogParamW(Application::ResourceModule(), MAKEINTRESOURCEW(m_templateId),
                                   m_parent, DialogProc, reinterpret_cast<LPARAM>(this));
    if (hwnd) {
        if (!m_ended) {
            ShowWindow(hwnd, SW_SHOW);
            RunModalLoop();
        }
        // The owner is enabled before the dialog goes, so that it is activated again.
        if (disabledOwner) EnableWindow(m_parent, TRUE);
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        DestroyWindow(hwnd);
    } else if (disabledOwner) {
        EnableWindow(m_parent, TRUE);
    }
    m_hwnd = nullptr;
    return hwnd ? m_result : -1;
}

void Dialog::RunModalLoop() {
    MSG msg;
    while (!m_ended) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(int(msg.wParam));  // leave it for the outer loop too
            break;
        }
        if (got < 0) break;
        if (PreTranslateMessage(msg) || IsDialogMessageW(m_hwnd, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void Dialog::EndDialog(INT_PTR result) {
    m_result = result;
    m_ended = true;
    if (m_hwnd) PostMessageW(m_hwnd, WM_NULL, 0, 0);  // wakes the modal loop
}

void Dialog::UpdateData(bool fromControls) {
    TextExchange exchange(m_hwnd, fromControls);
    DoDataExchange(exchange);
}

void Dialog::ShowItem(int id, bool visible) const {
    ShowWindow(Item(id), visible ? SW_SHOW : SW_HIDE);
}

void Dialog::EnableItem(int id, bool enabled) const { EnableWindow(Item(id), enabled); }

int Dialog::ShowMessage(UINT textId, UINT captionId, UINT type) const {
    return MessageBoxW(m_hwnd, LoadText(textId).c_str(), LoadText(captionId).c_str(), type);
}

void Dialog::CenterOverOwner() const {
    RECT area;
    HWND owner = GetWindow(m_hwnd, GW_OWNER);
    if (owner && IsWindowVisible(owner)) {
        GetWindowRect(owner, &area);
    } else {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    }
    RECT self;
    GetWindowRect(m_hwnd, &self);
    int width = self.right - self.left;
    int height = self.bottom - self.top;
    int x = area.left + (area.right - area.left - width) / 2;
    int y = area.top + (area.bottom - area.top - height) / 2;
    SetWindowPos(m_hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Dialog::OnMessage(UINT, WPARAM, LPARAM, INT_PTR&) { return false; }

INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    INT_PTR result = TRUE;  // handled, unless a handler returns a value of its own
    if (OnMessage(message, wParam, lParam, result)) return result;
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
        case IDOK:
            OnOK();
            return TRUE;
        case IDCANCEL:
            OnCancel();
            return TRUE;
        }
    }
    return FALSE;
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<Dialog*>(lParam);
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        self->m_hwnd = hwnd;
        self->CenterOverOwner();
        return self->OnInitDialog();
    }
    auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self) return FALSE;
    INT_PTR result = self->Dispatch(message, wParam, lParam);
    if (message == WM_NCDESTROY) SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    return result;
}

}  // namespace tarvo::ui
