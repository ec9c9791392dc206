// The small box that sends one command to the phone (the phone-number
// setting) and shows one line of status.
#pragma once

#include "operation_dialog.h"

#include <string>

namespace tarvo {

class PhoneNumberDialog final : public OperationDialog {
public:
    PhoneNumberDialog(HWND parent, std::wstring portName, std::string command,
                      std::wstring firstStatus);

private:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    void OnOpStatus(int stringId);
    void OnOpDone() { OnOK(); }
    void OnDestroy() { StopWorkerAndClosePort(); }
    void ShowStatus();
    void RunExchange();

    std::string m_strCommand;
    std::wstring m_strStatus;
};

}  // namespace tarvo
