#include "operation_dialog.h"

#include "framework/text.h"
#include "resource.h"

namespace tarvo {

OperationDialog::OperationDialog(UINT templateId, HWND parent, std::wstring portName)
    : Dialog(templateId, parent), m_strPortName(std::move(portName)) {}

bool OperationDialog::OpenPort() {
    m_bPortOpen = m_port.OpenForPhone(ui::WideToUtf8(m_strPortName)) != 0;
    if (!m_bPortOpen) ShowMessage(IDS_PORT_FAILED, MB_ICONHAND);
    return m_bPortOpen;
}

bool OperationDialog::StartWorker(std::function<void()> body) {
    m_bCancel = false;
    if (m_worker.Start(std::move(body))) return true;
    ShowMessage(IDS_WORKER_FAILED, MB_ICONHAND);
    return false;
}

void OperationDialog::StopWorkerAndClosePort() {
    // Enter reaching OK, or OK during the final pause, ends the dialog while
    // the worker still runs: it is stopped here before its port goes.
    if (m_worker.Running()) {
        m_bCancel = true;
        m_clock.Interrupt();
    }
    m_worker.Wait();
    if (m_bPortOpen) m_port.Close();
    m_bPortOpen = false;
}

void OperationDialog::OnCancel() {
    m_bCancel = true;
    EndDialog(IDCANCEL);
}

void OperationDialog::ShowMessage(UINT textId, UINT type) const {
    Dialog::ShowMessage(textId, IDS_APP_TITLE, type);
}

}  // namespace tarvo
