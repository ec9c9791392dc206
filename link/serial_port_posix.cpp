// SerialPort on Linux and other POSIX systems: a tty device opened exclusively
// (TIOCEXCL plus an advisory lock, since TIOCEXCL does not stop root), raw
// 8N1 at exactly the requested rate, and the Windows read time-out semantics
// built on poll().
#include "serial_port.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#if defined(__linux__)
#include <asm/termbits.h>  // termios2 and BOTHER: any baud rate, 230000 included
#else
#include <termios.h>
#endif

namespace tarvo {

namespace {

constexpr intptr_t kNoHandle = -1;

int Fd(intptr_t handle) { return static_cast<int>(handle); }

bool IsGoneError(int error) { return error == EIO || error == ENXIO || error == ENODEV; }

using SteadyClock = std::chrono::steady_clock;

int RemainingMs(SteadyClock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now());
    return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

}  // namespace

SerialPort::SerialPort() : m_hComm(kNoHandle) {}

SerialPort::~SerialPort() = default;

bool SerialPort::IsOpen() const { return m_hComm != kNoHandle; }

int SerialPort::Open(const std::string& name) {
    ResetReadAhead();
    m_bDisconnected = false;
    int fd = ::open(name.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        m_hComm = kNoHandle;
        return 0;
    }
    if (!::isatty(fd) || ::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd, TIOCEXCL) != 0) {
        ::close(fd);
        m_hComm = kNoHandle;
        return 0;
    }
    m_hComm = fd;
    return 1;
}

namespace {

// Lets what was written last (a cancel sequence, the reboot line) leave the
// port before it is closed, for at most a second: a peer that has stopped
// reading must not hold the close.
void DrainOutput(int fd) {
    for (int waited = 0; waited < 1000; waited += 5) {
        int pending = 0;
        if (::ioctl(fd, TIOCOUTQ, &pending) != 0 || pending == 0) return;
        ::usleep(5000);
    }
}

}  // namespace

void SerialPort::CloseHandleOnly() {
    if (m_hComm == kNoHandle) return;
    ::ioctl(Fd(m_hComm), TIOCNXCL);  // the flag outlives us on a pty otherwise
    ::close(Fd(m_hComm));
    m_hComm = kNoHandle;
}

int SerialPort::Close() {
    ResetReadAhead();
    if (m_hComm == kNoHandle) return 0;
    int fd = Fd(m_hComm);
    DrainOutput(fd);
    ::ioctl(fd, TIOCNXCL);
    m_hComm = kNoHandle;
    return ::close(fd) == 0 ? 1 : 0;
}

namespace {

#if defined(__linux__)
using TermiosType = struct termios2;
bool GetAttributes(int fd, TermiosType& t) { return ::ioctl(fd, TCGETS2, &t) == 0; }
bool SetAttributes(int fd, const TermiosType& t) { return ::ioctl(fd, TCSETS2, &t) == 0; }
void SetSpeed(TermiosType& t, uint32_t baud) {
    t.c_cflag &= ~CBAUD;
    t.c_cflag |= BOTHER;
    t.c_ispeed = baud;
    t.c_ospeed = baud;
}
#else
using TermiosType = struct termios;
bool GetAttributes(int fd, TermiosType& t) { return ::tcgetattr(fd, &t) == 0; }
bool SetAttributes(int fd, const TermiosType& t) { return ::tcsetattr(fd, TCSANOW, &t) == 0; }
void SetSpeed(TermiosType& t, uint32_t baud) { ::cfsetspeed(&t, static_cast<speed_t>(baud)); }
#endif

bool SetByteSize(TermiosType& t, uint8_t byteSize) {
    t.c_cflag &= ~CSIZE;
    switch (byteSize) {
        case 5: t.c_cflag |= CS5; return true;
        case 6: t.c_cflag |= CS6; return true;
        case 7: t.c_cflag |= CS7; return true;
        case 8: t.c_cflag |= CS8; return true;
        default: return false;
    }
}

// Parity and stop bits use the Win32 DCB codes: parity 0 none, 1 odd, 2 even;
// stop bits 0 one, 2 two.
bool SetParity(TermiosType& t, uint8_t parityCheck, uint8_t parity) {
    t.c_cflag &= ~(PARENB | PARODD);
    if (parity == 1) t.c_cflag |= PARENB | PARODD;
    else if (parity == 2) t.c_cflag |= PARENB;
    else if (parity != 0) return false;
    if (parityCheck & 1) t.c_iflag |= INPCK;
    return true;
}

bool SetStopBits(TermiosType& t, uint8_t stopBits) {
    if (stopBits == 0) t.c_cflag &= ~CSTOPB;
    else if (stopBits == 2) t.c_cflag |= CSTOPB;
    else return false;
    return true;
}

void MakeRaw(TermiosType& t) {
    t.c_iflag = 0;  // no break, parity marking, CR/LF mapping or XON/XOFF
    t.c_oflag = 0;
    t.c_lflag = 0;
    t.c_cflag &= ~CRTSCTS;
    t.c_cflag |= CREAD | CLOCAL;
    t.c_cc[VMIN] = 0;  // time-outs are kept by poll()
    t.c_cc[VTIME] = 0;
}

// DTR and RTS held off. A pseudo-terminal has no modem lines and answers
// ENOTTY (or EINVAL): harmless there.
bool DropModemLines(int fd) {
    int lines = TIOCM_DTR | TIOCM_RTS;
    return ::ioctl(fd, TIOCMBIC, &lines) == 0 || errno == ENOTTY || errno == EINVAL;
}

}  // namespace

int SerialPort::Configure(uint32_t baudRate, uint8_t byteSize, uint8_t parityCheck,
                          uint8_t parity, uint8_t stopBits) {
    int fd = Fd(m_hComm);
    TermiosType t{};
    m_bLastResult = m_hComm != kNoHandle && GetAttributes(fd, t);
    if (m_bLastResult) {
        MakeRaw(t);
        SetSpeed(t, baudRate);
        m_bLastResult = SetByteSize(t, byteSize) && SetParity(t, parityCheck, parity) &&
                        SetStopBits(t, stopBits) && SetAttributes(fd, t) && DropModemLines(fd);
    }
    if (!m_bLastResult) {
        CloseHandleOnly();
        return 0;
    }
    return 1;
}

int SerialPort::SetTimeouts(uint32_t readInterval, uint32_t readMultiplier, uint32_t readConstant,
                            uint32_t /*writeMultiplier*/, uint32_t /*writeConstant*/) {
    m_bLastResult = m_hComm != kNoHandle;
    if (!m_bLastResult) return 0;
    m_readIntervalMs = readInterval;
    m_readMultiplierMs = readMultiplier;
    m_readConstantMs = readConstant;
    return 1;
}

// One read call with the Windows time-out rules: it returns when `wanted`
// bytes have come, when the total time-out (multiplier * wanted + constant)
// has run out, or when the interval between two bytes exceeds the interval
// time-out. All zero means no time-out at all; an interval of MAXDWORD alone
// returns at once with what is there.
int SerialPort::RawRead(uint8_t* buffer, size_t wanted) {
    if (m_hComm == kNoHandle || m_bDisconnected) return -1;
    if (wanted == 0) return 0;
    int fd = Fd(m_hComm);
    const bool immediate = m_readIntervalMs == UINT32_MAX && m_readMultiplierMs == 0 &&
                           m_readConstantMs == 0;
    const uint64_t totalMs = uint64_t(m_readMultiplierMs) * wanted + m_readConstantMs;
    const bool unbounded = totalMs == 0 && m_readIntervalMs == 0;
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(totalMs);

    size_t got = 0;
    while (got < wanted) {
        int waitMs = -1;
        if (immediate) waitMs = 0;
        else if (!unbounded && totalMs != 0) waitMs = RemainingMs(deadline);
        if (got > 0 && m_readIntervalMs != 0 && m_readIntervalMs != UINT32_MAX)
            waitMs = waitMs < 0 ? int(m_readIntervalMs) : std::min<int>(waitMs, m_readIntervalMs);

        pollfd p{fd, POLLIN, 0};
        int ready = ::poll(&p, 1, waitMs);
        if (ready < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (ready == 0) break;  // time-out: hand out what has come
        if (!(p.revents & POLLIN) && (p.revents & (POLLHUP | POLLERR | POLLNVAL))) {
            m_bDisconnected = true;
            break;
        }
        ssize_t n = ::read(fd, buffer + got, wanted - got);
        if (n > 0) {
            got += size_t(n);
        } else if (n == 0) {
            m_bDisconnected = true;  // end of file on a tty: the other side hung up
            break;
        } else if (errno != EAGAIN && errno != EINTR) {
            if (IsGoneError(errno)) m_bDisconnected = true;
            return got > 0 ? int(got) : -1;
        }
    }
    if (got == 0 && m_bDisconnected) return -1;
    return int(got);
}

// Blocks until every byte is taken, as a write without write time-outs does.
int SerialPort::RawWrite(const uint8_t* data, size_t length) {
    if (m_hComm == kNoHandle || m_bDisconnected) return -1;
    int fd = Fd(m_hComm);
    size_t done = 0;
    while (done < length) {
        ssize_t n = ::write(fd, data + done, length - done);
        if (n > 0) {
            done += size_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) {
            pollfd p{fd, POLLOUT, 0};
            if (::poll(&p, 1, -1) < 0 && errno != EINTR) return -1;
            if (p.revents & (POLLHUP | POLLERR | POLLNVAL)) {
                m_bDisconnected = true;
                return -1;
            }
            continue;
        }
        if (n < 0 && IsGoneError(errno)) m_bDisconnected = true;
        return done > 0 ? int(done) : -1;
    }
    return int(done);
}

int SerialPort::Purge() {
    if (m_hComm == kNoHandle) return 0;
#if defined(__linux__)
    return ::ioctl(Fd(m_hComm), TCFLSH, TCIOFLUSH) == 0 ? 1 : 0;
#else
    return ::tcflush(Fd(m_hComm), TCIOFLUSH) == 0 ? 1 : 0;
#endif
}

}  // namespace tarvo
