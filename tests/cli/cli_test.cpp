// tarvomgr's own pieces: the command line, the file rules, the watched and
// traced channels around the link core, and what the reporters print.
#include "cli/arguments.h"
#include "cli/exit_status.h"
#include "cli/file_rules.h"
#include "cli/reporter.h"
#include "cli/trace_channel.h"
#include "cli/watched_channel.h"

#include "link/xmodem.h"
#include "scripted_phone.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

namespace tarvo::cli {
namespace {

using tarvo::test::Rig;

// ---- command line ----

struct Parsed {
    std::variant<Invocation, int> result;
    std::string out, err;
};

Parsed Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "tarvomgr");
    std::ostringstream out, err;
    auto result = ParseArguments(int(args.size()), args.data(), out, err);
    return {result, out.str(), err.str()};
}

TEST(Arguments, GlobalOptionsGoBeforeOrAfterTheCommand) {
    for (auto args : {std::vector<const char*>{"--port", "/dev/x", "--json", "restore", "a.vcf", "--reboot"},
                      std::vector<const char*>{"restore", "a.vcf", "--port", "/dev/x", "--json", "--reboot"}}) {
        auto parsed = Parse(args);
        ASSERT_TRUE(std::holds_alternative<Invocation>(parsed.result)) << parsed.err;
        const auto& inv = std::get<Invocation>(parsed.result);
        EXPECT_EQ(inv.command, Command::Restore);
        EXPECT_EQ(inv.port, "/dev/x");
        EXPECT_EQ(inv.file, "a.vcf");
        EXPECT_TRUE(inv.json);
        EXPECT_TRUE(inv.reboot);
    }
}

TEST(Arguments, DefaultsAndLanguage) {
    auto parsed = Parse({"--lang", "ja", "phone-number"});
    const auto& inv = std::get<Invocation>(parsed.result);
    EXPECT_EQ(inv.command, Command::PhoneNumber);
    EXPECT_EQ(inv.language, Language::Japanese);
    EXPECT_DOUBLE_EQ(inv.stallTimeoutSeconds, 120);
    EXPECT_FALSE(inv.reboot);
    EXPECT_FALSE(std::get<Invocation>(Parse({"port"}).result).language.has_value());
}

TEST(Arguments, ConfigFileIsOptionalFirmwareTakesYes) {
    auto config = std::get<Invocation>(Parse({"config"}).result);
    EXPECT_EQ(config.command, Command::Config);
    EXPECT_TRUE(config.file.empty());
    auto firmware = std::get<Invocation>(Parse({"firmware", "fw.zip", "--yes"}).result);
    EXPECT_TRUE(firmware.yes);
    EXPECT_EQ(firmware.file, "fw.zip");
}

TEST(Arguments, UsageErrorsGiveStatusTwo) {
    for (auto args : {std::vector<const char*>{},                    // no command
                      std::vector<const char*>{"backup"},            // no file
                      std::vector<const char*>{"--lang", "fr", "port"},
                      std::vector<const char*>{"--stall-timeout", "0", "port"},
                      std::vector<const char*>{"backup", "a.vcf", "--yes"},  // not an option of backup
                      std::vector<const char*>{"frobnicate"}}) {
        auto parsed = Parse(args);
        ASSERT_TRUE(std::holds_alternative<int>(parsed.result));
        EXPECT_EQ(std::get<int>(parsed.result), kExitUsage);
        EXPECT_FALSE(parsed.err.empty());
    }
}

TEST(Arguments, HelpIsNoError) {
    auto parsed = Parse({"--help"});
    EXPECT_EQ(std::get<int>(parsed.result), kExitOk);
    EXPECT_NE(parsed.out.find("firmware"), std::string::npos);
}

// ---- file rules ----

TEST(FileRules, PhoneBookNameFollowsTheExtensionInAnyCase) {
    EXPECT_EQ(PhoneBookAnnouncedName("book.vcf"), "backup.vcf");
    EXPECT_EQ(PhoneBookAnnouncedName("C:\\Data\\BOOK.VCF"), "backup.vcf");
    EXPECT_EQ(PhoneBookAnnouncedName("list.Csv"), "backup.csv");
    EXPECT_EQ(PhoneBookAnnouncedName("book.txt"), std::nullopt);
    EXPECT_EQ(PhoneBookAnnouncedName("x.csv/notes.txt"), std::nullopt);
    EXPECT_EQ(PhoneBookAnnouncedName("vcf"), std::nullopt);
}

TEST(FileRules, FirmwareIsAZipPackage) {
    EXPECT_TRUE(IsFirmwarePackage("new.ZIP"));
    EXPECT_FALSE(IsFirmwarePackage("a.zip.old/image.bin"));
}

// ---- the watched channel with the link core ----

struct Watched {
    explicit Watched(Watch watch) : channel(rig.phone, cancel, std::move(watch)) {}
    Rig rig;
    std::atomic<bool> cancel{false};
    WatchedChannel channel;
    OperationContext Context() {
        OperationContext context{channel, cancel, rig.clock, rig.observer};
        context.finalPause = std::chrono::milliseconds(0);
        return context;
    }
};

struct NullSink final : ReceiveSink {
    bool Store(const uint8_t*, size_t) override { return stored = true; }
    bool stored = false;
};

TEST(WatchedChannel, StallEndsAWaitTheCoreLeavesUnbounded) {
    Watched w(Watch{nullptr, nullptr, 3});
    w.rig.phone.Say("upload backup.vcf 300\n").Byte(xmodem::SOH).Byte(1);  // then nothing
    NullSink sink;
    auto context = w.Context();
    EXPECT_FALSE(ReceiveFile(context, sink, "backup.vcf"));
    EXPECT_EQ(w.channel.Reason(), StopReason::Stalled);
    EXPECT_FALSE(sink.stored);
    EXPECT_LE(w.rig.clock.now, 5000);  // three silent reads and the drain, not forever
    EXPECT_EQ(w.rig.observer.Count("done"), 0);  // cancelled: no final report
}

TEST(WatchedChannel, DataResetsTheStallCount) {
    Watched w(Watch{nullptr, nullptr, 2});
    w.rig.phone.Silence(1).Byte('a').Silence(1).Byte('b');
    uint8_t byte = 0;
    for (int i = 0; i < 4; ++i) w.channel.ReadByte(byte);
    EXPECT_EQ(w.channel.Reason(), StopReason::None);
    EXPECT_FALSE(w.cancel.load());
}

TEST(WatchedChannel, AGonePhoneStopsAtTheFirstEmptyRead) {
    bool gone = false;
    Watched w(Watch{nullptr, [&gone] { return gone; }, 100});
    w.rig.phone.Say("result command 0\n").Then([&gone] { gone = true; });
    uint8_t buffer[32];
    EXPECT_GT(w.channel.Read(buffer, sizeof buffer), 0);
    EXPECT_EQ(w.channel.Reason(), StopReason::None);
    EXPECT_EQ(w.channel.Read(buffer, sizeof buffer), 0);
    EXPECT_EQ(w.channel.Reason(), StopReason::Disconnected);
    EXPECT_TRUE(w.cancel.load());
}

TEST(WatchedChannel, InterruptCancelsAndTheCoreSendsItsCancelSequence) {
    std::atomic<bool> interrupted{false};
    Watched w(Watch{&interrupted, nullptr, 0});
    w.rig.phone.Byte('C').Then([&interrupted] { interrupted = true; });
    std::vector<uint8_t> data(1000, 0x55);
    struct Source final : SendSource {
        explicit Source(std::vector<uint8_t>& d) : bytes(d) {}
        int64_t Length() const override { return int64_t(bytes.size()); }
        size_t Read(uint8_t* b, size_t n) override {
            n = std::min(n, bytes.size() - at);
            std::copy_n(bytes.begin() + ptrdiff_t(at), n, b);
            at += n;
            return n;
        }
        std::vector<uint8_t>& bytes;
        size_t at = 0;
    } source(data);
    auto context = w.Context();
    EXPECT_FALSE(SendFile(context, source, SendOptions{"backup.vcf", false}));
    EXPECT_EQ(w.channel.Reason(), StopReason::Interrupted);
    const std::string written = w.rig.phone.WrittenText();
    const std::string cancelSequence = std::string(8, char(xmodem::CAN)) + std::string(10, char(xmodem::BS)) + '\0';
    EXPECT_EQ(written.substr(written.size() - cancelSequence.size()), cancelSequence);
}

TEST(WatchedChannel, StallReadsRoundUp) {
    EXPECT_EQ(StallReads(120, 1000), 120);
    EXPECT_EQ(StallReads(2.5, 1000), 3);
    EXPECT_EQ(StallReads(0.1, 1000), 1);
}

// ---- trace ----

TEST(Trace, DescribesLinesControlBytesAndBlocks) {
    EXPECT_EQ(DescribeBytes({'o', 'k', '\n'}), "\"ok\\n\"");
    EXPECT_EQ(DescribeBytes({xmodem::ACK}), "ACK");
    EXPECT_EQ(DescribeBytes({'C'}), "C");
    EXPECT_EQ(DescribeBytes({xmodem::CAN, xmodem::CAN, xmodem::BS, xmodem::NUL}), "CAN CAN BS NUL");
    std::vector<uint8_t> block = tarvo::test::MakeBlock(7, std::vector<uint8_t>(128, 0), true);
    EXPECT_EQ(DescribeBytes(block), "SOH block 7 +130 bytes");
    EXPECT_EQ(DescribeBytes({xmodem::ACK, 'r', 'e', '\n'}), "ACK \"re\\n\"");
}

TEST(Trace, RecordsBothDirectionsInOrder) {
    Rig rig;
    std::ostringstream out;
    {
        TraceChannel trace(rig.phone, out);
        rig.phone.Say("result command 0\n");
        trace.Write("\ninit 1 1\n", 10);
        trace.Write("network restart 1\n", 18);
        uint8_t byte = 0;
        while (trace.ReadByte(byte) && byte != '\n') {}
        trace.ReadByte(byte);  // nothing more: a time-out
    }
    const std::string text = out.str();
    const auto init = text.find("host>  \"\\ninit 1 1\\n\"");
    const auto command = text.find("host>  \"network restart 1\\n\"");
    const auto result = text.find("phone> \"result command 0\\n\"");
    const auto timeout = text.find("(nothing within the read time-out)");
    ASSERT_NE(init, std::string::npos) << text;
    ASSERT_NE(result, std::string::npos) << text;
    EXPECT_LT(init, command);
    EXPECT_LT(command, result);
    EXPECT_LT(result, timeout);
}

// ---- reporters ----

TEST(Reporter, JsonEventsOnePerLine) {
    std::ostringstream out;
    JsonReporter reporter(Language::English, out);
    reporter.OnStatus(104);
    reporter.OnSize(300);
    reporter.OnProgress(128);
    reporter.OnErrors(2);
    reporter.OnDone(true);
    std::istringstream lines(out.str());
    std::vector<nlohmann::json> events;
    for (std::string line; std::getline(lines, line);) events.push_back(nlohmann::json::parse(line));
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[0]["event"], "status");
    EXPECT_EQ(events[0]["id"], 104);
    EXPECT_EQ(events[0]["text"], "Wait Sync.");
    EXPECT_EQ(events[1]["bytes"], 300);
    EXPECT_EQ(events[2]["bytes"], 128);
    EXPECT_EQ(events[2]["total"], 300);
    EXPECT_EQ(events[3]["count"], 2);
    EXPECT_EQ(events[4]["success"], true);
}

TEST(Reporter, JapaneseTextsComeFromTheStringTable) {
    std::ostringstream out, err;
    TextReporter reporter(Language::Japanese, out, err, false, false);
    reporter.OnStatus(104);
    EXPECT_EQ(out.str(), "同期中\n");
}

TEST(Reporter, QuietPrintsOnlyTheFailure) {
    std::ostringstream out, err;
    TextReporter reporter(Language::English, out, err, true, true);
    reporter.OnStatus(104);
    reporter.OnProgress(10);
    reporter.OnStatus(105);
    reporter.OnDone(false);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), "Fail to transmit.\n");
}

TEST(Reporter, ProgressLineShowsPercentSpeedAndTimeLeft) {
    const std::string line = FormatProgress(524288, 1048576, 20.0, 0);
    EXPECT_NE(line.find(" 50%"), std::string::npos) << line;
    EXPECT_NE(line.find("524288/1048576 bytes"), std::string::npos) << line;
    EXPECT_NE(line.find("26.2 kB/s"), std::string::npos) << line;
    EXPECT_NE(line.find("0:20 left"), std::string::npos) << line;
    EXPECT_NE(FormatProgress(10, 100, 1.0, 3).find("retries 3"), std::string::npos);
    EXPECT_NE(FormatProgress(200, 100, 1.0, 0).find("100%"), std::string::npos);
}

}  // namespace
}  // namespace tarvo::cli
