#include "operations.h"

#include "exit_status.h"
#include "file_rules.h"
#include "platform.h"
#include "trace_channel.h"
#include "watched_channel.h"

#include "link/line_exchange.h"
#include "link/local_file.h"
#include "link/phone_number.h"
#include "link/serial_port.h"
#include "link/xmodem.h"

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>

namespace tarvo::cli {

namespace {

constexpr int kStatusStartPhoneNumber = 119;
constexpr int kTextFailInitPort = 102;
constexpr int kTextFailOpenFile = 103;
constexpr int kTextUnavailableFile = 112;
constexpr int kTextNoCompanionList = 117;
constexpr int kTextConfirmFirmware = 127;

using Operation = std::function<bool(OperationContext&)>;

class Runner {
public:
    Runner(const Invocation& invocation, Language language, Reporter& reporter,
           const std::atomic<bool>& interrupted)
        : m_inv(invocation), m_language(language), m_reporter(reporter), m_interrupted(interrupted) {}

    int Run() {
        switch (m_inv.command) {
            case Command::Port: return ShowPort();
            case Command::Backup: return Backup();
            case Command::Restore: return Restore();
            case Command::Config: return Config();
            case Command::PhoneNumber: return PhoneNumber();
            case Command::Firmware: return Firmware();
            case Command::Reboot: return Reboot();
        }
        return kExitUsage;
    }

private:
    std::string Text(int id) const { return LoadText(id, m_language); }

    int Fail(int status, const std::string& message) {
        m_reporter.Error(message);
        return status;
    }

    int Unavailable(const char* expected) {
        return Fail(kExitUsage, Text(kTextUnavailableFile) + ": " + m_inv.file + " (" + expected + ")");
    }

    // --port, then TARVOMGR_PORT, then what the system shows.
    std::optional<std::string> ResolvePort() {
        if (!m_inv.port.empty()) return m_inv.port;
        const char* fromEnvironment = std::getenv("TARVOMGR_PORT");
        if (fromEnvironment && *fromEnvironment) return std::string(fromEnvironment);
        PortSearch search = DiscoverPhonePort();
        if (search.port) return search.port;
        if (search.candidates.empty()) {
            m_reporter.Error("no phone attached (give its port with --port PORT)");
        } else {
            std::string names;
            for (const auto& name : search.candidates) names += (names.empty() ? "" : ", ") + name;
            m_reporter.Error("several ports could be the phone: " + names + " (choose one with --port)");
        }
        return std::nullopt;
    }

    int ShowPort() {
        auto port = ResolvePort();
        if (!port) return kExitFailed;
        m_reporter.PortFound(*port);
        return kExitOk;
    }

    int Backup() {
        auto announced = PhoneBookAnnouncedName(m_inv.file);
        if (!announced)
            return Unavailable("a phone book is a .vcf or .csv file");
        AtomicFile file(m_inv.file);
        if (!file.CheckWritable())
            return Fail(kExitUsage, Text(kTextFailOpenFile) + ": " + m_inv.file + " cannot be written");
        return WithPhone([&](OperationContext& context) {
            return ReceiveFile(context, file, *announced);
        });
    }

    int Restore() {
        auto announced = PhoneBookAnnouncedName(m_inv.file);
        if (!announced)
            return Unavailable("a phone book is a .vcf or .csv file");
        return Send(m_inv.file, *announced, false);
    }

    int Config() {
        std::string path = m_inv.file;
        if (path.empty()) {
            auto companion = CompanionListPath();
            if (!companion) return Fail(kExitUsage, Text(kTextNoCompanionList));
            path = *companion;
        }
        return Send(path, kConfigAnnouncedName, false);
    }

    int Firmware() {
        if (!IsFirmwarePackage(m_inv.file))
            return Unavailable("a firmware package is a .zip file");
        return Send(m_inv.file, kFirmwareAnnouncedName, true);
    }

    // On a terminal the user confirms the upgrade; a script says --yes.
    bool ConfirmFirmware() {
        if (m_inv.yes) return true;
        if (!IsTerminal(stdin)) {
            m_reporter.Error("a firmware upgrade needs --yes when no one can confirm it");
            return false;
        }
        std::cerr << Text(kTextConfirmFirmware) << " [y/N] " << std::flush;
        std::string answer;
        std::getline(std::cin, answer);
        if (answer == "y" || answer == "Y" || answer == "yes") return true;
        m_reporter.Error("firmware upgrade not confirmed");
        return false;
    }

    int Send(const std::string& path, const std::string& announced, bool firmware) {
        auto file = std::make_unique<InputFile>();
        switch (file->Open(path)) {
            case InputFile::OpenResult::Ok: break;
            case InputFile::OpenResult::CannotOpen:
                return Fail(kExitUsage, Text(kTextFailOpenFile) + ": " + path + " cannot be read");
            case InputFile::OpenResult::Empty:
                return Fail(kExitUsage, Text(kTextFailOpenFile) + ": " + path + " is empty");
            case InputFile::OpenResult::TooLarge:
                return Fail(kExitUsage, Text(kTextFailOpenFile) + ": " + path + " is 2 GiB or more");
        }
        if (firmware && !ConfirmFirmware()) return kExitUsage;
        m_reporter.SetTotal(file->Length());
        return WithPhone([&](OperationContext& context) {
            return SendFile(context, *file, SendOptions{announced, firmware});
        }, m_inv.reboot);
    }

    int PhoneNumber() {
        return WithPhone([&](OperationContext& context) {
            m_reporter.OnStatus(kStatusStartPhoneNumber);
            return RunPhoneNumber(context, kPhoneNumberCommand);
        });
    }

    int Reboot() {
        return WithPhone([](OperationContext&) { return true; }, true);
    }

    // Opens the port, runs the operation with the watched (and maybe traced)
    // channel, sends the reboot line after a success when asked, and turns
    // the outcome into the exit status.
    int WithPhone(const Operation& operation, bool rebootAfter = false) {
        auto portName = ResolvePort();
        if (!portName) return kExitPort;
        if (m_interrupted.load()) return kExitInterrupted;
        SerialPort serial;
        if (!serial.OpenForPhone(*portName))
            return Fail(kExitPort, Text(kTextFailInitPort) + " (" + *portName + ")");

        std::ofstream traceFile;
        std::unique_ptr<TraceChannel> trace;
        if (!m_inv.tracePath.empty()) {
            traceFile.open(m_inv.tracePath, std::ios::trunc);
            if (!traceFile) {
                serial.Close();
                return Fail(kExitUsage, "cannot write the trace file " + m_inv.tracePath);
            }
            trace = std::make_unique<TraceChannel>(serial, traceFile);
        }
        ByteChannel& line = trace ? static_cast<ByteChannel&>(*trace) : serial;
        std::atomic<bool> cancel{false};
        Watch watch{&m_interrupted,
                    [&serial, present = PortPresence(*portName)] { return serial.Disconnected() || !present(); },
                    StallReads(m_inv.stallTimeoutSeconds, int(kReadTimeoutMs))};
        WatchedChannel watched(line, cancel, watch);
        OperationContext context{watched, cancel, SystemClock::Instance(), m_reporter};
        context.finalPause = std::chrono::milliseconds(0);

        bool success = operation(context);
        if (success && rebootAfter && watched.Reason() == StopReason::None) success = SendReboot(watched);
        trace.reset();
        serial.Close();
        return Outcome(watched.Reason(), success);
    }

    bool SendReboot(ByteChannel& line) {
        const std::string reboot = RebootLine();
        if (line.Write(reboot.data(), reboot.size()) <= 0) {
            m_reporter.Error("the reboot line could not be sent");
            return false;
        }
        m_reporter.RebootSent();
        return true;
    }

    int Outcome(StopReason reason, bool success) {
        switch (reason) {
            case StopReason::Interrupted: return Fail(kExitInterrupted, "interrupted");
            case StopReason::Disconnected: return Fail(kExitFailed, "phone disconnected");
            case StopReason::Stalled:
                return Fail(kExitFailed, "the phone sent nothing for " +
                                             std::to_string(int(m_inv.stallTimeoutSeconds + 0.5)) +
                                             " s; operation cancelled");
            case StopReason::None: break;
        }
        return success ? kExitOk : kExitFailed;
    }

    const Invocation& m_inv;
    Language m_language;
    Reporter& m_reporter;
    const std::atomic<bool>& m_interrupted;
};

}  // namespace

int RunCommand(const Invocation& invocation, Language language, Reporter& reporter,
               const std::atomic<bool>& interrupted) {
    return Runner(invocation, language, reporter, interrupted).Run();
}

}  // namespace tarvo::cli
