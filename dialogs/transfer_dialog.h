// The progress dialog of one file transfer between the PC and the phone: a
// send (restore, configuration, firmware) or a receive (backup).
#pragma once

#include "link/local_file.h"
#include "operation_dialog.h"
#include "posting_observer.h"

#include <optional>
#include <string>

namespace tarvo {

struct TransferRequest {
    std::wstring title;
    std::wstring path;           // the local file
    bool send = false;           // true: the file goes to the phone
    std::string announcedName;   // the name the phone knows the file by
    bool rebootOnOk = false;     // after a send that the phone stored, OK reboots it
    bool firmware = false;       // no Cancel, the close box ignored, firmware texts
};

class TransferDialog final : public OperationDialog {
public:
    TransferDialog(HWND parent, std::wstring portName, TransferRequest request);

private:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(ui::TextExchange& exchange) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

    bool OpenFile();
    bool OpenFileToSend();
    bool OpenFileToReceive();
    void RunTransfer();
    void OnClose();
    void OnDestroy();
    void OnReboot();
    void OnOpErrors(WPARAM count);
    void OnOpProgress();
    void OnOpSize(WPARAM bytes);
    void OnOpStatus(int stringId);
    void OnOpDone(LPARAM stored);
    void OnOpHideCancel() { ShowItem(IDCANCEL, false); }
    void SendReboot();
    void ShowTexts() { UpdateData(false); }

    TransferRequest m_request;
    std::wstring m_strSize = L"Unknown";
    std::wstring m_strTransmitted = L"0 bytes";
    std::wstring m_strErrors = L"0";
    std::wstring m_strStatus;
    bool m_bFileOpen = false;
    bool m_bRebootPending = false;
    InputFile m_input;
    std::optional<AtomicFile> m_output;
    std::optional<PostingObserver> m_observer;
};

}  // namespace tarvo
