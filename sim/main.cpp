// phonesim: plays the phone on a pseudo-terminal for the tests, the demo and
// the benchmark. See `phonesim --help`.
#include "phone_logic.h"
#include "phone_record.h"
#include "pty_line.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>

namespace {

using namespace tarvo::sim;

const char kSamplePhoneBook[] =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Tanaka;Hana;;;\r\nFN:Hana Tanaka\r\n"
    "TEL;TYPE=WORK:+81-3-5555-0101\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Berg;Lars;;;\r\nFN:Lars Berg\r\n"
    "TEL;TYPE=CELL:+46-70-555-0199\r\nEND:VCARD\r\n";

class PhoneFarEnd final : public FarEnd {
public:
    PhoneFarEnd(PhoneSettings settings, PhoneRecord& record)
        : m_record(record), m_logic(std::move(settings), record) {}
    void Deliver(uint8_t byte, Micros at) override { m_logic.Receive(byte, at); }
    void Tick(Micros now) override { m_logic.Tick(now); }
    std::optional<Micros> NextDeadline() const override { return m_logic.NextDeadline(); }
    std::vector<uint8_t> TakeOutput() override { return m_logic.TakeOutput(); }
    void HostClosed() override {
        m_logic.Reset();
        m_record.OnHostClosed();
    }

private:
    PhoneRecord& m_record;
    PhoneLogic m_logic;
};

struct Arguments {
    std::string link;
    std::string store;
    std::string phoneBook;
    std::string log;
    double rate = 0;
    PhoneSettings settings;
};

void AddFaultOptions(CLI::App& app, PhoneFaults& faults) {
    app.add_option("--command-result", faults.commandResult, "code of \"result command\"");
    app.add_option("--download-result", faults.downloadResult,
                   "code of \"result download\" (default: the length received)");
    app.add_option("--write-result", faults.writeResult, "code of \"result write\"");
    app.add_option("--silent", faults.silentOn, "do not answer these commands")
        ->check(CLI::IsMember({"command", "backup", "download", "write"}));
    app.add_option("--nak-at-block", faults.nakAtBlock, "NAK the first sending of block K");
    app.add_option("--corrupt-block", faults.corruptAtBlock, "send block K once with a bad check");
    app.add_option("--cancel-at-block", faults.cancelAtBlock, "send CAN CAN at block K");
    app.add_option("--silence-at-block", faults.silenceAtBlock, "fall silent at block K");
    app.add_option("--noise-lines", faults.noiseLines, "unrelated lines before every answer");
    app.add_option("--announce-size", faults.announcedSize, "size field of the upload line, verbatim");
    app.add_option("--eot-after-blocks", faults.eotAfterBlocks, "end an upload with EOT after K blocks");
    app.add_flag("--poll-nak", faults.pollWithNak, "poll with NAK (8-bit sum) instead of C");
    app.add_option_function<int>("--write-delay", [&faults](int ms) {
        faults.writeDelay = std::chrono::milliseconds(ms);
    }, "milliseconds before the write result");
}

bool LoadPhoneBook(const std::string& path, std::vector<uint8_t>& book) {
    if (path.empty()) {
        book.assign(std::begin(kSamplePhoneBook), std::end(kSamplePhoneBook) - 1);
        return true;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    book.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"phonesim: the phone's side of the line, on a pseudo-terminal"};
    Arguments args;
    app.add_option("--link", args.link, "path of the link to the pty's slave side")->required();
    app.add_option("--store", args.store, "folder for the files the host stores")
        ->check(CLI::ExistingDirectory);
    app.add_option("--phonebook", args.phoneBook, "file sent for a phone-book backup");
    app.add_option("--log", args.log, "JSON-lines log of everything received");
    app.add_option("--rate", args.rate, "line rate in bytes per second (0: unpaced)")
        ->check(CLI::NonNegativeNumber);
    app.add_option("--block-size", args.settings.blockSize, "block size of the phone's sends")
        ->check(CLI::IsMember({128, 1024}));
    AddFaultOptions(app, args.settings.faults);
    CLI11_PARSE(app, argc, argv);

    if (!LoadPhoneBook(args.phoneBook, args.settings.phoneBook)) {
        std::cerr << "phonesim: cannot read " << args.phoneBook << "\n";
        return 2;
    }
    PhoneRecord record(args.store, args.log);
    if (!args.log.empty() && !record.LogOpen()) {
        std::cerr << "phonesim: cannot write " << args.log << "\n";
        return 2;
    }
    std::atomic<bool> stop{false};
    const sigset_t waitMask = CatchStopSignals(stop);
    PtyLine pty;
    std::string error;
    if (!pty.Open(args.link, error)) {
        std::cerr << "phonesim: " << error << "\n";
        return 1;
    }
    PhoneFarEnd phone(args.settings, record);
    std::cout << args.link << std::endl;
    PacingOptions pacing;
    pacing.bytesPerSecond = args.rate;
    RunPacedLine(pty, phone, pacing, stop, waitMask);
    return 0;
}
