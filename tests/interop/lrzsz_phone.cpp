// A phone made of an implementation we did not write: it answers the command
// lines itself and hands the block phase to lrzsz over the same pty, `sx` for
// a backup and `rx` for a download, so tarvomgr's XMODEM meets a foreign one.
//
// lrzsz_phone --link PATH --phonebook FILE --store DIR [--sx-option -k] [--rx-option -c]
#include "sim/pty_line.h"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <poll.h>
#include <sstream>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::atomic<bool> g_stop{false};

struct Settings {
    std::string link, phoneBook, store, sxOption, rxOption;
};

void WriteAll(int fd, const char* data, ssize_t length) {
    while (length > 0) {
        ssize_t n = write(fd, data, size_t(length));
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd p{fd, POLLOUT, 0};
            poll(&p, 1, 100);
            continue;
        }
        if (n <= 0) return;
        data += n;
        length -= n;
    }
}

// Copies what is there from one descriptor to the other: the count read,
// 0 or -1 at the end or when nothing was there (errno tells which).
ssize_t Relay(int from, int to) {
    char buffer[4096];
    ssize_t n = read(from, buffer, sizeof buffer);
    if (n > 0) WriteAll(to, buffer, n);
    return n;
}


// Runs an lrzsz program on the line. It gets a terminal of its own, a second
// pty whose master this process relays to and from the host's line: on a
// terminal lrzsz keeps the tenth-of-a-second timing it has on a serial port
// (on a pipe its waits round up to whole seconds, as long as the host's).
bool RunOnLine(int master, std::vector<std::string> args, const std::string& workDir) {
    int programMaster = -1, programSlave = -1;
    if (openpty(&programMaster, &programSlave, nullptr, nullptr, nullptr) != 0) return false;
    termios raw{};
    tcgetattr(programSlave, &raw);
    cfmakeraw(&raw);
    tcsetattr(programSlave, TCSANOW, &raw);
    // Its output goes through a pipe: on exit lrzsz drains and then flushes
    // its terminal, and on a pty that flush can throw away its last ACK
    // before we have read it. A pipe never discards what was written.
    int output[2];
    if (pipe2(output, O_CLOEXEC) != 0) return false;
    pid_t pid = fork();
    if (pid == 0) {
        setsid();
        ioctl(programSlave, TIOCSCTTY, 0);  // lrzsz sets its modes through /dev/tty
        dup2(programSlave, 0);
        dup2(output[1], 1);
        close(programMaster);
        int log = open((workDir + "/lrzsz.log").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (log >= 0) dup2(log, 2);
        if (chdir(workDir.c_str()) != 0) _exit(126);
        std::vector<char*> argv;
        for (auto& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(output[1]);  // the pipe ends (reads 0) once the program has gone
    fcntl(programMaster, F_SETFL, fcntl(programMaster, F_GETFL) | O_NONBLOCK);
    fcntl(output[0], F_SETFL, fcntl(output[0], F_GETFL) | O_NONBLOCK);
    int status = 0;
    bool running = true;
    bool outputOpen = true;
    while (running || outputOpen) {
        pollfd fds[2] = {{master, POLLIN, 0}, {outputOpen ? output[0] : -1, POLLIN, 0}};
        poll(fds, 2, 100);
        if (running && (fds[0].revents & POLLIN)) Relay(master, programMaster);
        if (fds[1].revents & (POLLIN | POLLHUP)) {
            ssize_t n = Relay(output[0], master);
            if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) outputOpen = false;
        }
        if (running && !(fds[0].revents & POLLIN) && (fds[0].revents & POLLHUP)) usleep(10000);
        if (running && waitpid(pid, &status, WNOHANG) == pid) running = false;
    }
    close(output[0]);
    close(programSlave);
    close(programMaster);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void AddOptions(std::vector<std::string>& args, const std::string& options) {
    std::istringstream in(options);
    for (std::string option; in >> option;) args.push_back(option);
}

void Answer(int master, const std::string& line) {
    std::string text = line + "\n";
    if (write(master, text.data(), text.size()) < 0) std::perror("lrzsz_phone: write");
}

class Phone {
public:
    explicit Phone(Settings settings) : m_settings(std::move(settings)) {}

    void HandleLine(int master, const std::string& line) {
        std::istringstream in(line);
        std::string verb, name, length;
        in >> verb >> name >> length;
        if (verb == "backup") {
            Answer(master, "upload " + name + " " + std::to_string(fs::file_size(m_settings.phoneBook)));
            std::vector<std::string> args{"sx", "-q"};
            AddOptions(args, m_settings.sxOption);
            args.push_back(fs::absolute(m_settings.phoneBook).string());
            RunOnLine(master, args, m_settings.store);
        } else if (verb == "download") {
            m_name = name;
            m_length = std::stoll(length);
            std::vector<std::string> args{"rx", "-q"};
            AddOptions(args, m_settings.rxOption);
            args.push_back("received.bin");
            fs::remove(m_settings.store + "/received.bin");
            bool ok = RunOnLine(master, args, m_settings.store);
            if (ok) AcknowledgeLateEots(master);
            Answer(master, "result download " + std::to_string(ok ? Trim() : -1));
        } else if (verb == "write") {
            fs::rename(m_settings.store + "/received.bin", m_settings.store + "/" + m_name);
            Answer(master, "result write 0");
        }
    }

private:
    // rx takes about a second to make sure an EOT is the end; the sender may
    // have sent the EOT again meanwhile, and rx has gone by the time it comes.
    // Such an EOT gets the ACK that rx gave the first.
    static void AcknowledgeLateEots(int master) {
        constexpr char kEot = 0x04, kAck = 0x06;
        for (pollfd p{master, POLLIN, 0}; poll(&p, 1, 1200) > 0;) {
            char byte = 0;
            if (read(master, &byte, 1) != 1) break;
            if (byte == kEot && write(master, &kAck, 1) != 1) break;
        }
    }

    // rx keeps the fill of the last blocks: the download line's length says
    // where the file ends.
    long long Trim() {
        const std::string path = m_settings.store + "/received.bin";
        const auto size = (long long)fs::file_size(path);
        if (size < m_length) return size;
        fs::resize_file(path, uintmax_t(m_length));
        return m_length;
    }

    Settings m_settings;
    std::string m_name;
    long long m_length = 0;
};

void Serve(int master, Phone& phone) {
    std::string line;
    while (!g_stop) {
        pollfd p{master, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) continue;
        if (!(p.revents & POLLIN)) {  // no host on the line
            usleep(10000);
            continue;
        }
        char byte = 0;
        if (read(master, &byte, 1) != 1) continue;
        if (byte == '\n') {
            phone.HandleLine(master, line);
            line.clear();
        } else if (byte >= 0x20 && byte < 0x7F) {
            line.push_back(byte);
        }
    }
}

void OnStop(int) { g_stop = true; }

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"lrzsz_phone: command lines answered here, blocks by lrzsz"};
    Settings settings;
    app.add_option("--link", settings.link)->required();
    app.add_option("--phonebook", settings.phoneBook)->required()->check(CLI::ExistingFile);
    app.add_option("--store", settings.store)->required()->check(CLI::ExistingDirectory);
    app.add_option("--sx-option", settings.sxOption);
    app.add_option("--rx-option", settings.rxOption);
    CLI11_PARSE(app, argc, argv);

    signal(SIGTERM, OnStop);
    signal(SIGINT, OnStop);
    signal(SIGPIPE, SIG_IGN);  // lrzsz may end while bytes are still relayed to it
    tarvo::sim::PtyLine pty;
    std::string error;
    if (!pty.Open(settings.link, error)) {
        std::cerr << "lrzsz_phone: " << error << "\n";
        return 1;
    }
    Phone phone(settings);
    std::cout << settings.link << std::endl;
    Serve(pty.MasterFd(), phone);
    return 0;
}
