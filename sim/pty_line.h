// A pseudo-terminal that stands in for the phone's serial port, and the loop
// that carries bytes between its master side and whatever plays the far end,
// paced as a UART at a given line rate.
#pragma once

#include "paced_queue.h"

#include <atomic>
#include <csignal>
#include <optional>
#include <string>
#include <vector>

namespace tarvo::sim {

// The far end of the line: the phone's logic, or a program behind a pipe.
class FarEnd {
public:
    virtual ~FarEnd() = default;
    // A byte from the host, at its emulated arrival time.
    virtual void Deliver(uint8_t byte, Micros at) = 0;
    virtual void Tick(Micros now) = 0;
    virtual std::optional<Micros> NextDeadline() const = 0;
    virtual std::vector<uint8_t> TakeOutput() = 0;
    // The host closed its side of the line.
    virtual void HostClosed() = 0;
    // A descriptor the loop watches for input on the far end's behalf; -1 for none.
    virtual int WatchedFd() const { return -1; }
    // False once the far end has nothing more to do.
    virtual bool Alive() const { return true; }
};

class PtyLine {
public:
    PtyLine() = default;
    ~PtyLine();
    PtyLine(const PtyLine&) = delete;
    PtyLine& operator=(const PtyLine&) = delete;

    // Creates the pty pair, makes the slave raw and points `linkPath` (a
    // symbolic link, replaced if it already is one) at the slave.
    bool Open(const std::string& linkPath, std::string& error);
    int MasterFd() const { return m_master; }
    const std::string& SlavePath() const { return m_slavePath; }

private:
    int m_master = -1;
    std::string m_link;
    std::string m_slavePath;
};

struct PacingOptions {
    double bytesPerSecond = 0;  // 0: no pacing
    Micros slice{1000};
};

// Carries bytes between the pty and `far` until `stop` is set (or the far end
// dies). Signals in `waitMask`'s complement wake it; the caller blocks them
// outside the wait, so a stop request is never missed.
void RunPacedLine(PtyLine& pty, FarEnd& far, const PacingOptions& pacing,
                  const std::atomic<bool>& stop, const sigset_t& waitMask);

// SIGTERM and SIGINT set `stop` from now on. They stay blocked except while
// RunPacedLine waits, with the mask returned here, so none is missed.
sigset_t CatchStopSignals(std::atomic<bool>& stop);

// Monotonic time since the first call.
Micros MonotonicNow();

}  // namespace tarvo::sim
