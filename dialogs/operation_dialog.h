// What the phone-number and transfer dialogs share: the port, opened on the
// dialog's thread; one worker on it; cancelling; and the rule that neither
// the port nor the dialog goes away while the worker still runs.
#pragma once

#include "framework/dialog.h"
#include "framework/worker_thread.h"
#include "interruptible_clock.h"
#include "link/serial_port.h"

#include <atomic>
#include <functional>
#include <string>

namespace tarvo {

class OperationDialog : public ui::Dialog {
public:
    OperationDialog(UINT templateId, HWND parent, std::wstring portName);

protected:
    // Opens and configures the phone's port; message 102 when that fails.
    bool OpenPort();
    // Starts the worker; message 109 when no thread could be started.
    bool StartWorker(std::function<void()> body);
    bool WorkerRunning() const { return m_worker.Running(); }
    void WaitForWorker() { m_worker.Wait(); }
    // Stops a running worker through the cancel flag and waits for it; then
    // closes the port. Called from WM_DESTROY on every path.
    void StopWorkerAndClosePort();

    void OnCancel() override;
    void OnOpAbort() { OnCancel(); }
    void ShowMessage(UINT textId, UINT type) const;

    std::atomic<bool> m_bCancel{false};
    InterruptibleClock m_clock;
    SerialPort m_port;
    std::wstring m_strPortName;

private:
    bool m_bPortOpen = false;
    ui::WorkerThread m_worker;
};

}  // namespace tarvo
