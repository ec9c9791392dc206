// The clock of an operation's worker: its pauses (the final status kept
// readable for two seconds) end early once the dialog is going away, so
// closing the dialog never waits for the rest of a pause.
#pragma once

#include "link/byte_channel.h"

#include <condition_variable>
#include <mutex>

namespace tarvo {

class InterruptibleClock final : public Clock {
public:
    void Sleep(std::chrono::milliseconds duration) override {
        std::unique_lock lock(m_mutex);
        m_wake.wait_for(lock, duration, [this] { return m_interrupted; });
    }

    // Ends the current pause and every later one at once.
    void Interrupt() {
        {
            std::lock_guard lock(m_mutex);
            m_interrupted = true;
        }
        m_wake.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_interrupted = false;
};

}  // namespace tarvo
