// One worker thread per operation. The owner can ask whether it is still
// running without blocking, and waits for it before the resources it uses go.
#pragma once

#include <atomic>
#include <functional>
#include <thread>

namespace tarvo::ui {

class WorkerThread {
public:
    WorkerThread() = default;
    ~WorkerThread() { Wait(); }
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // False when no thread could be started.
    bool Start(std::function<void()> body);
    bool Started() const { return m_thread.joinable(); }
    // Started and its body has not returned yet.
    bool Running() const { return Started() && !m_done.load(); }
    // Blocks until the body has returned; nothing when none was started.
    void Wait();

private:
    std::thread m_thread;
    std::atomic<bool> m_done{false};
};

}  // namespace tarvo::ui
