// paced_line: the same paced serial line that phonesim emulates, with a
// program in place of the phone, so the benchmark can run lrzsz over it.
//
// paced_line --link PATH --rate BYTES_PER_SEC -- PROGRAM [ARGS...]
// The program reads from a terminal of its own (its controlling terminal, so
// it sets its modes as on a serial port) and writes to a pipe; whatever it
// writes leaves at the line rate towards PATH, and what the other side writes
// to PATH reaches it at the line rate. Ends once the program has ended and
// the other side has closed the line.
//
// Its output goes through a pipe, not the terminal, because on a pty a drain
// does not wait for the other side to read: lrzsz's rx writes its last ACK,
// drains and then flushes both queues of its terminal before it exits, which
// on a pty throws that ACK away unless we happened to read it first, and the
// sender then waits for it until its time-out. A serial port sends the bytes
// before the drain returns; a pipe never discards them either.
#include "sim/pty_line.h"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <fcntl.h>
#include <iostream>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace {

using namespace tarvo::sim;

class ProgramFarEnd final : public FarEnd {
public:
    bool Start(std::vector<std::string> command) {
        int slave = -1;
        if (openpty(&m_master, &slave, nullptr, nullptr, nullptr) != 0) return false;
        int output[2];
        if (pipe2(output, O_CLOEXEC) != 0) return false;
        termios raw{};
        tcgetattr(slave, &raw);
        cfmakeraw(&raw);
        tcsetattr(slave, TCSANOW, &raw);
        m_pid = fork();
        if (m_pid == 0) {
            setsid();
            ioctl(slave, TIOCSCTTY, 0);
            dup2(slave, 0);
            dup2(output[1], 1);  // dup2 clears close-on-exec on the copy
            close(m_master);
            std::vector<char*> argv;
            for (auto& arg : command) argv.push_back(arg.data());
            argv.push_back(nullptr);
            execvp(argv[0], argv.data());
            _exit(127);
        }
        close(output[1]);  // the pipe ends (reads 0) once the program has gone
        m_output = output[0];
        m_slave = slave;  // kept open: writes to the master never fail with EIO
        fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
        fcntl(m_output, F_SETFL, fcntl(m_output, F_GETFL) | O_NONBLOCK);
        return m_pid > 0;
    }

    void Deliver(uint8_t byte, Micros) override {
        if (m_alive) m_toProgram.push_back(byte);
    }
    void Tick(Micros) override {
        Flush();
        ReadProgram();
        int status = 0;
        if (m_alive && waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_alive = false;
            m_exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 1;
        }
    }
    // While the program runs, look for its end now and then.
    std::optional<Micros> NextDeadline() const override {
        if (!m_alive) return std::nullopt;
        return MonotonicNow() + Micros(50000);
    }
    std::vector<uint8_t> TakeOutput() override {
        std::vector<uint8_t> out;
        out.swap(m_fromProgram);
        return out;
    }
    void HostClosed() override { m_hostClosed = true; }
    int WatchedFd() const override { return m_output; }
    // The line stays until the program has ended and the other side has
    // closed it, so the program's last bytes (its final ACK) still go out.
    bool Alive() const override { return m_alive || !m_hostClosed; }
    int ExitCode() const { return m_exitCode; }

private:
    // Reads what the program wrote; at the end of the pipe stops watching it,
    // or the loop would wake at once for ever.
    void ReadProgram() {
        if (m_output < 0) return;
        uint8_t buffer[4096];
        for (;;) {
            ssize_t n = read(m_output, buffer, sizeof buffer);
            if (n > 0) {
                m_fromProgram.insert(m_fromProgram.end(), buffer, buffer + n);
            } else if (n < 0 && errno == EINTR) {
                continue;
            } else {
                if (n == 0 || errno != EAGAIN) {
                    close(m_output);
                    m_output = -1;
                }
                return;
            }
        }
    }

    void Flush() {
        while (!m_toProgram.empty()) {
            ssize_t n = write(m_master, m_toProgram.data(), m_toProgram.size());
            if (n <= 0) return;
            m_toProgram.erase(m_toProgram.begin(), m_toProgram.begin() + n);
        }
    }

    int m_master = -1;
    int m_output = -1;
    int m_slave = -1;
    pid_t m_pid = -1;
    bool m_alive = true;
    int m_exitCode = 0;
    bool m_hostClosed = false;
    std::vector<uint8_t> m_toProgram;
    std::vector<uint8_t> m_fromProgram;
};

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"paced_line: a program behind a paced serial line"};
    std::string link;
    double rate = 0;
    std::vector<std::string> command;
    app.add_option("--link", link)->required();
    app.add_option("--rate", rate)->check(CLI::NonNegativeNumber);
    app.add_option("command", command)->required();
    app.allow_extras(false);
    CLI11_PARSE(app, argc, argv);

    std::atomic<bool> stop{false};
    const sigset_t waitMask = CatchStopSignals(stop);

    PtyLine pty;
    std::string error;
    if (!pty.Open(link, error)) {
        std::cerr << "paced_line: " << error << "\n";
        return 1;
    }
    ProgramFarEnd program;
    if (!program.Start(command)) {
        std::cerr << "paced_line: cannot start " << command.front() << "\n";
        return 1;
    }
    std::cout << link << std::endl;
    PacingOptions pacing;
    pacing.bytesPerSecond = rate;
    RunPacedLine(pty, program, pacing, stop, waitMask);
    return program.ExitCode();
}
