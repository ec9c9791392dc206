// Turns a worker's reports into messages posted to its dialog. The worker
// never sends and never touches a control, so the dialog's thread can block
// waiting for it without a deadlock.
#pragma once

#include "link/operation.h"

#include <windows.h>

#include <atomic>
#include <functional>

namespace tarvo {

class PostingObserver final : public OperationObserver {
public:
    using Post = std::function<void(UINT message, WPARAM wParam, LPARAM lParam)>;

    // `reportsSendSuccess`: WM_OP_DONE carries the outcome only for a send;
    // the dialog closes itself after any other end.
    PostingObserver(Post post, bool reportsSendSuccess)
        : m_post(std::move(post)), m_reportsSendSuccess(reportsSendSuccess) {}
    // Posts to a window.
    PostingObserver(HWND dialog, bool reportsSendSuccess);

    void OnStatus(int stringId) override;
    void OnErrors(int count) override;
    void OnProgress(int64_t bytes) override;
    void OnSize(int64_t bytes) override;
    void OnDone(bool success) override;
    void OnHideCancel() override;

    // Progress comes once per block, faster than a slow display repaints.
    // Only one WM_OP_PROGRESS waits in the queue at a time, so the dialog's
    // thread still gets to its timers and input; its handler takes the
    // latest count here.
    int64_t TakeProgress();

private:
    Post m_post;
    bool m_reportsSendSuccess;
    std::atomic<int64_t> m_latestProgress{0};
    std::atomic<bool> m_progressQueued{false};
};

}  // namespace tarvo
