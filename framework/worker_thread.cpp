#include "worker_thread.h"

#include <system_error>

namespace tarvo::ui {

bool WorkerThread::Start(std::function<void()> body) {
    if (Started()) return false;
    m_done = false;
    try {
        m_thread = std::thread([this, body = std::move(body)] {
            body();
            m_done = true;
        });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void WorkerThread::Wait() {
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id()) m_thread.join();
}

}  // namespace tarvo::ui
