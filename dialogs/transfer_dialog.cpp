#include "transfer_dialog.h"

#include "framework/text.h"
#include "link/line_exchange.h"
#include "operation_messages.h"
#include "posting_observer.h"
#include "resource.h"

#include <filesystem>

namespace tarvo {

TransferDialog::TransferDialog(HWND parent, std::wstring portName, TransferRequest request)
    : OperationDialog(IDD_TRANSFER, parent, std::move(portName)), m_request(std::move(request)) {}

BOOL TransferDialog::OnInitDialog() {
    ShowItem(IDC_REBOOT, false);
    ShowItem(IDOK, false);
    if (m_request.firmware) ShowItem(IDCANCEL, false);
    if (!m_request.title.empty()) SetWindowTextW(Handle(), m_request.title.c_str());
    m_observer.emplace(Handle(), m_request.send);
    if (OpenPort() && OpenFile() && StartWorker([this] { RunTransfer(); })) {
        ShowTexts();
    } else {
        OnCancel();
    }
    return TRUE;
}

bool TransferDialog::OpenFile() {
    m_bFileOpen = m_request.send ? OpenFileToSend() : OpenFileToReceive();
    if (!m_bFileOpen) ShowMessage(IDS_FILE_FAILED, MB_ICONHAND);
    return m_bFileOpen;
}

// A missing, unreadable or empty file is refused before the phone hears of it.
bool TransferDialog::OpenFileToSend() {
    if (m_input.Open(std::filesystem::path(m_request.path)) != InputFile::OpenResult::Ok) {
        return false;
    }
    m_strSize = ui::ByteCountText(m_input.Length());
    return true;
}

// The target is only checked here: it is replaced once the whole phone book
// has come, so a failed backup leaves an existing file as it was.
bool TransferDialog::OpenFileToReceive() {
    m_output.emplace(std::filesystem::path(m_request.path));
    return m_output->CheckWritable();
}

void TransferDialog::RunTransfer() {
    OperationContext context{m_port, m_bCancel, m_clock, *m_observer};
    std::string announced = m_request.announcedName;
    if (announced.empty()) {
        announced = ui::WideToUtf8(std::filesystem::path(m_request.path).filename().wstring());
    }
    if (m_request.send) {
        SendFile(context, m_input, SendOptions{announced, m_request.firmware});
    } else {
        ReceiveFile(context, *m_output, announced);
    }
}

void TransferDialog::DoDataExchange(ui::TextExchange& exchange) {
    exchange.Text(IDC_PATH, m_request.path);
    exchange.Text(IDC_FILE_SIZE, m_strSize);
    exchange.Text(IDC_TRANSMITTED, m_strTransmitted);
    exchange.Text(IDC_ERRORS, m_strErrors);
    exchange.Text(IDC_STATUS, m_strStatus);
}

bool TransferDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR&) {
    switch (message) {
    case WM_CLOSE:
        OnClose();
        return true;
    case WM_DESTROY:
        OnDestroy();
        return true;
    case WM_COMMAND:
        if (LOWORD(wParam) != IDC_REBOOT || HIWORD(wParam) != BN_CLICKED) return false;
        OnReboot();
        return true;
    case WM_OP_ERRORS:
        OnOpErrors(wParam);
        return true;
    case WM_OP_PROGRESS:
        OnOpProgress();
        return true;
    case WM_OP_DONE:
        OnOpDone(lParam);
        return true;
    case WM_OP_STATUS:
        OnOpStatus(int(wParam));
        return true;
    case WM_OP_ABORT:
        OnOpAbort();
        return true;
    case WM_OP_SIZE:
        OnOpSize(wParam);
        return true;
    case WM_OP_HIDE_CANCEL:
        OnOpHideCancel();
        return true;
    }
    return false;
}

void TransferDialog::OnOpErrors(WPARAM count) {
    m_strErrors = ui::NumberText(static_cast<long long>(count));
    ShowTexts();
}

void TransferDialog::OnOpProgress() {
    m_strTransmitted = ui::ByteCountText(m_observer->TakeProgress());
    ShowTexts();
}

void TransferDialog::OnOpSize(WPARAM bytes) {
    m_strSize = ui::ByteCountText(static_cast<long long>(bytes));
    ShowTexts();
}

void TransferDialog::OnOpStatus(int stringId) {
    m_strStatus = ui::LoadText(UINT(stringId));
    ShowTexts();
    if (stringId == kStatusTimeout || stringId == kStatusCancelled) {
        ShowMessage(UINT(stringId), MB_ICONHAND);
    }
}

void TransferDialog::OnOpDone(LPARAM stored) {
    if (!stored) {
        Dialog::OnOK();
        return;
    }
    ShowItem(IDCANCEL, false);
    ShowItem(IDOK, true);
    if (m_request.rebootOnOk) {
        ShowItem(IDC_REBOOT, false);
        m_bRebootPending = true;
    } else {
        ShowItem(IDC_REBOOT, true);
    }
    SetFocus(Item(IDOK));
}

void TransferDialog::OnOK() {
    if (m_bRebootPending) SendReboot();
    Dialog::OnOK();
}

void TransferDialog::OnReboot() {
    SendReboot();
    Dialog::OnOK();
}

// Only after a send the phone stored: the worker has reported its end and
// touches the port no more.
void TransferDialog::SendReboot() {
    WaitForWorker();
    const std::string line = RebootLine();
    m_port.Write(line.data(), line.size());
}

void TransferDialog::OnClose() {
    if (m_request.firmware && WorkerRunning()) return;
    OnCancel();
}

void TransferDialog::OnDestroy() {
    StopWorkerAndClosePort();
    if (!m_bFileOpen) return;
    m_input = InputFile();
    DeleteFileW(L"~tmp.csv");
    DeleteFileW(L"~tmp.vcf");
}

}  // namespace tarvo
