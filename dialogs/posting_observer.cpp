#include "posting_observer.h"

#include "operation_messages.h"

namespace tarvo {

PostingObserver::PostingObserver(HWND dialog, bool reportsSendSuccess)
    : PostingObserver([dialog](UINT message, WPARAM wParam,
                               LPARAM lParam) { PostMessageW(dialog, message, wParam, lParam); },
                      reportsSendSuccess) {}

void PostingObserver::OnStatus(int stringId) { m_post(WM_OP_STATUS, WPARAM(stringId), 0); }

void PostingObserver::OnErrors(int count) { m_post(WM_OP_ERRORS, WPARAM(count), 0); }

void PostingObserver::OnProgress(int64_t bytes) {
    m_latestProgress = bytes;
    if (!m_progressQueued.exchange(true)) m_post(WM_OP_PROGRESS, WPARAM(bytes), 0);
}

int64_t PostingObserver::TakeProgress() {
    m_progressQueued = false;
    return m_latestProgress;
}

void PostingObserver::OnSize(int64_t bytes) { m_post(WM_OP_SIZE, WPARAM(bytes), 0); }

void PostingObserver::OnDone(bool success) {
    m_post(WM_OP_DONE, 0, m_reportsSendSuccess && success ? 1 : 0);
}

void PostingObserver::OnHideCancel() { m_post(WM_OP_HIDE_CANCEL, 0, 0); }

}  // namespace tarvo
