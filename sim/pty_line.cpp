#include "pty_line.h"

#include <cerrno>
#include <csignal>
#include <pthread.h>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <pty.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

namespace tarvo::sim {

namespace fs = std::filesystem;

namespace {

constexpr Micros kHangupRecheck{10000};
// The last stretch before a deadline is spun rather than slept: a sleeping
// wake-up comes tens of microseconds late, and at 23,000 B/s a byte lasts 43.
constexpr Micros kSpinWindow{200};

std::atomic<bool>* g_stop = nullptr;

void OnStopSignal(int) {
    if (g_stop) g_stop->store(true);
}

timespec ToTimespec(Micros duration) {
    const auto count = std::max<int64_t>(0, duration.count());
    return timespec{time_t(count / 1000000), long(count % 1000000) * 1000};
}

// The host has closed the slave: the master reports a hang-up with no data.
bool HostHungUp(int master) {
    pollfd p{master, POLLIN, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & POLLHUP) && !(p.revents & POLLIN);
}

std::optional<Micros> Earliest(std::initializer_list<std::optional<Micros>> times) {
    std::optional<Micros> first;
    for (const auto& t : times)
        if (t && (!first || *t < *first)) first = t;
    return first;
}

class LineLoop {
public:
    LineLoop(PtyLine& pty, FarEnd& far, const PacingOptions& pacing)
        : m_master(pty.MasterFd()), m_far(far), m_slice(pacing.slice),
          m_toFar(pacing.bytesPerSecond), m_toHost(pacing.bytesPerSecond) {}

    void Run(const std::atomic<bool>& stop, const sigset_t& waitMask) {
        ::prctl(PR_SET_TIMERSLACK, 1UL);  // wake-ups when asked, not up to 50 us later
        m_hungUp = HostHungUp(m_master);
        while (!stop.load() && m_far.Alive()) {
            Exchange(MonotonicNow());
            Wait(waitMask);
        }
    }

private:
    void Exchange(Micros now) {
        for (const auto& [byte, at] : m_toFar.TakeDue(now)) m_far.Deliver(byte, at);
        m_far.Tick(now);
        m_toHost.Push(m_far.TakeOutput(), now);
        for (const auto& due : m_toHost.TakeDue(now)) m_unsent.push_back(due.first);
        if (!m_hungUp) WritePending();
    }

    void WritePending() {
        while (!m_unsent.empty()) {
            ssize_t n = ::write(m_master, m_unsent.data(), m_unsent.size());
            if (n > 0) {
                m_unsent.erase(m_unsent.begin(), m_unsent.begin() + n);
            } else if (n < 0 && errno == EINTR) {
                continue;
            } else {
                if (n < 0 && errno != EAGAIN) HangUp();
                return;
            }
        }
    }

    void Wait(const sigset_t& waitMask) {
        const Micros now = MonotonicNow();
        std::optional<Micros> wake = Earliest({m_toFar.NextWake(now, m_slice),
                                               m_toHost.NextWake(now, m_slice),
                                               m_far.NextDeadline()});
        if (!m_unsent.empty() && !m_hungUp) wake = Earliest({wake, now + m_slice});
        if (m_hungUp) wake = Earliest({wake, now + kHangupRecheck});
        pollfd fds[2] = {{m_hungUp ? -1 : m_master, POLLIN, 0}, {m_far.WatchedFd(), POLLIN, 0}};
        if (!m_unsent.empty()) fds[0].events |= POLLOUT;
        timespec timeout{};
        if (wake) {
            const Micros left = *wake - now;
            timeout = ToTimespec(left <= kSpinWindow ? Micros(0) : left - kSpinWindow);
        }
        int ready = ::ppoll(fds, 2, wake ? &timeout : nullptr, &waitMask);
        if (ready < 0) return;  // a signal: the caller's flag decides
        if (m_hungUp) {
            m_hungUp = HostHungUp(m_master);
            return;
        }
        if (fds[0].revents & POLLIN) ReadHost();
        else if (fds[0].revents & POLLHUP) HangUp();
    }

    void ReadHost() {
        uint8_t buffer[4096];
        for (;;) {
            ssize_t n = ::read(m_master, buffer, sizeof buffer);
            if (n > 0) {
                m_toFar.Push(buffer, size_t(n), MonotonicNow());
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && errno == EAGAIN) return;
            HangUp();  // EIO: the last slave descriptor was closed
            return;
        }
    }

    // Bytes the host wrote before it closed are on the line already: they
    // still reach the far end. What was on its way to the host is lost.
    void HangUp() {
        if (m_hungUp) return;
        m_hungUp = true;
        for (const auto& [byte, at] : m_toFar.TakeDue(Micros::max())) m_far.Deliver(byte, at);
        m_far.Tick(MonotonicNow());
        m_toFar.Clear();
        m_toHost.Clear();
        m_unsent.clear();
        m_far.HostClosed();
    }

    int m_master;
    FarEnd& m_far;
    Micros m_slice;
    PacedQueue m_toFar;
    PacedQueue m_toHost;
    std::vector<uint8_t> m_unsent;
    bool m_hungUp = true;
};

}  // namespace

sigset_t CatchStopSignals(std::atomic<bool>& stop) {
    g_stop = &stop;
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);
    sigset_t stopSignals, waitMask;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, &waitMask);
    sigdelset(&waitMask, SIGTERM);
    sigdelset(&waitMask, SIGINT);
    return waitMask;
}

Micros MonotonicNow() {
    static const auto start = std::chrono::steady_clock::now();
    return std::chrono::duration_cast<Micros>(std::chrono::steady_clock::now() - start);
}

PtyLine::~PtyLine() {
    std::error_code error;
    if (!m_link.empty() && fs::is_symlink(m_link, error) &&
        fs::read_symlink(m_link, error) == m_slavePath)
        fs::remove(m_link, error);
    if (m_master >= 0) ::close(m_master);
}

bool PtyLine::Open(const std::string& linkPath, std::string& error) {
    int slave = -1;
    char name[256] = {};
    if (::openpty(&m_master, &slave, name, nullptr, nullptr) != 0) {
        error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    termios t{};
    ::tcgetattr(slave, &t);
    ::cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    ::tcsetattr(slave, TCSANOW, &t);
    ::close(slave);  // the host opens it through the link
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    m_slavePath = name;

    std::error_code ec;
    if (fs::is_symlink(linkPath, ec)) {
        fs::remove(linkPath, ec);
    } else if (fs::exists(linkPath, ec)) {
        error = linkPath + " exists and is not a symbolic link";
        return false;
    }
    fs::create_symlink(m_slavePath, linkPath, ec);
    if (ec) {
        error = "cannot link " + linkPath + ": " + ec.message();
        return false;
    }
    m_link = linkPath;
    return true;
}

void RunPacedLine(PtyLine& pty, FarEnd& far, const PacingOptions& pacing,
                  const std::atomic<bool>& stop, const sigset_t& waitMask) {
    LineLoop(pty, far, pacing).Run(stop, waitMask);
}

}  // namespace tarvo::sim
