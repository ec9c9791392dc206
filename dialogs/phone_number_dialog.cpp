#include "phone_number_dialog.h"

#include "framework/text.h"
#include "link/phone_number.h"
#include "operation_messages.h"
#include "posting_observer.h"
#include "resource.h"

namespace tarvo {

PhoneNumberDialog::PhoneNumberDialog(HWND parent, std::wstring portName, std::string command,
                                     std::wstring firstStatus)
    : OperationDialog(IDD_PHONE_NUMBER, parent, std::move(portName)),
      m_strCommand(std::move(command)),
      m_strStatus(std::move(firstStatus)) {}

BOOL PhoneNumberDialog::OnInitDialog() {
    ShowStatus();
    ShowItem(IDCANCEL, true);
    ShowItem(IDOK, false);
    if (!OpenPort() || !StartWorker([this] { RunExchange(); })) OnCancel();
    return TRUE;
}

void PhoneNumberDialog::RunExchange() {
    PostingObserver observer(Handle(), false);
    OperationContext context{m_port, m_bCancel, m_clock, observer};
    RunPhoneNumber(context, m_strCommand);
}

bool PhoneNumberDialog::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR&) {
    switch (message) {
    case WM_DESTROY:
        OnDestroy();
        return true;
    case WM_OP_STATUS:
        OnOpStatus(int(wParam));
        return true;
    case WM_OP_DONE:
        OnOpDone();
        return true;
    case WM_OP_ABORT:
        OnOpAbort();
        return true;
    }
    return false;
}

void PhoneNumberDialog::OnOpStatus(int stringId) {
    m_strStatus = ui::LoadText(UINT(stringId));
    ShowStatus();
    if (stringId == kStatusSuccess) {
        ShowItem(IDOK, true);
        ShowItem(IDCANCEL, false);
    }
}

void PhoneNumberDialog::ShowStatus() { SetDlgItemTextW(Handle(), IDC_PHONE_STATUS, m_strStatus.c_str()); }

}  // namespace tarvo
