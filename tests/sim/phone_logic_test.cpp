// The simulated phone against the real link core, in virtual time: every
// exchange the host can run, and every fault the integration tests rely on.
#include "virtual_line.h"

#include "link/phone_number.h"
#include "link/xmodem.h"
#include "sim/phone_logic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <memory>

namespace tarvo::sim::test {
namespace {

using namespace std::chrono_literals;

struct Recorder final : PhoneListener {
    void OnLine(const std::string& text) override { lines.push_back(text); }
    std::optional<std::string> OnFile(const std::string& name,
                                      const std::vector<uint8_t>& data) override {
        files[name] = data;
        return refuseFiles ? std::nullopt : std::optional<std::string>("");
    }
    void OnReboot() override { ++reboots; }
    void OnUploadEnd(const std::string&, size_t bytes, bool complete) override {
        uploaded = bytes;
        uploadComplete = complete;
    }
    void OnHostCancel() override { ++cancels; }

    int Count(const std::string& line) const { return int(std::count(lines.begin(), lines.end(), line)); }

    std::vector<std::string> lines;
    std::map<std::string, std::vector<uint8_t>> files;
    bool refuseFiles = false;
    int reboots = 0;
    size_t uploaded = 0;
    bool uploadComplete = false;
    int cancels = 0;
};

struct Observer final : OperationObserver {
    void OnStatus(int id) override { statuses.push_back(id); }
    void OnErrors(int) override {}
    void OnProgress(int64_t) override {}
    void OnSize(int64_t bytes) override { size = bytes; }
    void OnDone(bool success) override { done = success; }
    void OnHideCancel() override {}
    bool Saw(int id) const { return std::count(statuses.begin(), statuses.end(), id) > 0; }

    std::vector<int> statuses;
    int64_t size = -1;
    std::optional<bool> done;
};

struct MemorySource final : SendSource {
    explicit MemorySource(std::vector<uint8_t> bytes) : data(std::move(bytes)) {}
    int64_t Length() const override { return int64_t(data.size()); }
    size_t Read(uint8_t* buffer, size_t wanted) override {
        size_t count = std::min(wanted, data.size() - position);
        std::copy_n(data.begin() + ptrdiff_t(position), count, buffer);
        position += count;
        return count;
    }
    std::vector<uint8_t> data;
    size_t position = 0;
};

struct MemorySink final : ReceiveSink {
    bool Store(const uint8_t* bytes, size_t size) override {
        stored = std::vector<uint8_t>(bytes, bytes + size);
        return true;
    }
    std::optional<std::vector<uint8_t>> stored;
};

std::vector<uint8_t> Pattern(size_t length, uint8_t last = 0) {
    std::vector<uint8_t> bytes(length);
    for (size_t i = 0; i < length; ++i) bytes[i] = uint8_t(i * 7 + i / 251);
    if (last && length) bytes.back() = last;
    return bytes;
}

struct Rig {
    explicit Rig(PhoneSettings settings = {})
        : phone(std::move(settings), recorder), line(phone, clock),
          context{line, cancel, clock, observer} {
        context.finalPause = 0ms;
    }

    bool Send(const std::vector<uint8_t>& bytes, const std::string& name = "mcascfg.txt") {
        MemorySource source(bytes);
        return SendFile(context, source, SendOptions{name, false});
    }
    bool Receive(MemorySink& sink, const std::string& name = "backup.vcf") {
        return ReceiveFile(context, sink, name);
    }

    Recorder recorder;
    VirtualClock clock;
    PhoneLogic phone;
    VirtualLine line;
    std::atomic<bool> cancel{false};
    Observer observer;
    OperationContext context;
};

PhoneSettings WithBook(std::vector<uint8_t> book, size_t blockSize = 1024, PhoneFaults faults = {}) {
    PhoneSettings settings;
    settings.phoneBook = std::move(book);
    settings.blockSize = blockSize;
    settings.faults = std::move(faults);
    return settings;
}

PhoneSettings WithFaults(PhoneFaults faults) { return WithBook(Pattern(3000), 1024, std::move(faults)); }

// ---- phone-number setting and reboot ----

TEST(PhoneCommands, AnswersThePhoneNumberCommandAtOnce) {
    Rig rig;
    EXPECT_TRUE(RunPhoneNumber(rig.context, "network restart 1"));
    EXPECT_EQ(rig.recorder.Count("network restart 1"), 1);
    EXPECT_EQ(rig.recorder.lines.front(), "init 1 1");
}

TEST(PhoneCommands, AFailingCodeMakesTheHostTryFiveTimes) {
    PhoneFaults faults;
    faults.commandResult = 1;
    Rig rig(WithFaults(faults));
    EXPECT_FALSE(RunPhoneNumber(rig.context, "network restart 1"));
    EXPECT_EQ(rig.recorder.Count("network restart 1"), 5);
    EXPECT_TRUE(rig.observer.Saw(kStatusPhoneNoResponse));
}

TEST(PhoneCommands, SilenceCostsTheHostItsReadTimeouts) {
    PhoneFaults faults;
    faults.silentOn = {"command"};
    Rig rig(WithFaults(faults));
    EXPECT_FALSE(RunPhoneNumber(rig.context, "network restart 1"));
    EXPECT_GE(rig.clock.now, Micros(15s));
}

TEST(PhoneCommands, NoiseBeforeTheResultIsSkippedByTheHost) {
    PhoneFaults faults;
    faults.noiseLines = 3;
    Rig rig(WithFaults(faults));
    EXPECT_TRUE(RunPhoneNumber(rig.context, "network restart 1"));
    EXPECT_EQ(rig.recorder.Count("network restart 1"), 1);
}

TEST(PhoneCommands, RecordsTheRebootLine) {
    Rig rig;
    rig.line.Write("\nreboot now 0\n", 14);
    EXPECT_EQ(rig.recorder.reboots, 1);
}

// ---- the host sends ----

class PhoneReceivesFiles : public ::testing::TestWithParam<std::vector<uint8_t>> {};

TEST_P(PhoneReceivesFiles, StoresExactlyTheBytesSent) {
    Rig rig;
    ASSERT_TRUE(rig.Send(GetParam()));
    EXPECT_EQ(rig.recorder.files["mcascfg.txt"], GetParam());
    EXPECT_EQ(rig.recorder.Count("download mcascfg.txt " + std::to_string(GetParam().size())), 1);
    EXPECT_EQ(rig.recorder.Count("write mcascfg.txt " + std::to_string(GetParam().size())), 1);
}

INSTANTIATE_TEST_SUITE_P(Lengths, PhoneReceivesFiles,
                         ::testing::Values(Pattern(1), Pattern(128), Pattern(129),
                                           Pattern(300, xmodem::SUB), Pattern(513, xmodem::CAN),
                                           Pattern(256 * 128 + 77)));  // block numbers wrap

TEST(PhoneReceives, SumModeWhenPollingWithNak) {
    PhoneFaults faults;
    faults.pollWithNak = true;
    Rig rig(WithFaults(faults));
    ASSERT_TRUE(rig.Send(Pattern(1000)));
    EXPECT_EQ(rig.recorder.files["mcascfg.txt"], Pattern(1000));
}

TEST(PhoneReceives, ANakedBlockIsSentAgainAndNothingIsLost) {
    PhoneFaults faults;
    faults.nakAtBlock = 2;
    Rig rig(WithFaults(faults));
    ASSERT_TRUE(rig.Send(Pattern(700)));
    EXPECT_EQ(rig.recorder.files["mcascfg.txt"], Pattern(700));
}

TEST(PhoneReceives, CancelAtABlockEndsTheSendAsCancelledByThePhone) {
    PhoneFaults faults;
    faults.cancelAtBlock = 3;
    Rig rig(WithFaults(faults));
    EXPECT_FALSE(rig.Send(Pattern(1000)));
    EXPECT_TRUE(rig.observer.Saw(kStatusCancelled));
    EXPECT_TRUE(rig.recorder.files.empty());
}

TEST(PhoneReceives, AWrongDownloadResultFailsTheTransfer) {
    PhoneFaults faults;
    faults.downloadResult = 5;
    Rig rig(WithFaults(faults));
    EXPECT_FALSE(rig.Send(Pattern(300)));
    EXPECT_TRUE(rig.observer.Saw(kStatusFailTransmit));
    EXPECT_EQ(rig.recorder.Count("write mcascfg.txt 300"), 0);
}

TEST(PhoneReceives, AFailedWriteIsReported) {
    PhoneFaults faults;
    faults.writeResult = 1;
    Rig rig(WithFaults(faults));
    EXPECT_FALSE(rig.Send(Pattern(300)));
    EXPECT_TRUE(rig.observer.Saw(kStatusFailWrite));
}

TEST(PhoneReceives, AFileThatCannotBeStoredAnswersTheWriteWithAFailure) {
    Rig rig;
    rig.recorder.refuseFiles = true;
    EXPECT_FALSE(rig.Send(Pattern(300)));
    EXPECT_TRUE(rig.observer.Saw(kStatusFailWrite));
}

TEST(PhoneReceives, TheWriteResultWaitsForItsDelay) {
    PhoneFaults faults;
    faults.writeDelay = 4000ms;
    faults.noiseLines = 2;
    Rig rig(WithFaults(faults));
    ASSERT_TRUE(rig.Send(Pattern(300)));
    EXPECT_GE(rig.clock.now, Micros(4s));
}

TEST(PhoneReceives, SilenceInsteadOfPollsTimesTheSenderOut) {
    PhoneFaults faults;
    faults.silentOn = {"download"};
    Rig rig(WithFaults(faults));
    EXPECT_FALSE(rig.Send(Pattern(300)));
    EXPECT_TRUE(rig.observer.Saw(kStatusTimeout));
}

TEST(PhoneReceives, TheHostsCancelSequenceReturnsThePhoneToCommands) {
    Rig rig;
    rig.line.Write("download mcascfg.txt 300\n", 25);
    const uint8_t cancel[] = {xmodem::CAN, xmodem::CAN, xmodem::BS, xmodem::NUL};
    rig.line.Write(cancel, sizeof cancel);
    EXPECT_EQ(rig.recorder.cancels, 1);
    EXPECT_TRUE(RunPhoneNumber(rig.context, "network restart 1"));
}

// ---- the phone sends ----

struct UploadCase {
    size_t length;
    size_t blockSize;
    uint8_t last;
};

class PhoneSendsPhoneBook : public ::testing::TestWithParam<UploadCase> {};

TEST_P(PhoneSendsPhoneBook, TheHostGetsExactlyTheAnnouncedBytes) {
    const UploadCase c = GetParam();
    Rig rig(WithBook(Pattern(c.length, c.last), c.blockSize));
    MemorySink sink;
    ASSERT_TRUE(rig.Receive(sink));
    EXPECT_EQ(rig.observer.size, int64_t(c.length));
    EXPECT_EQ(sink.stored, Pattern(c.length, c.last));
    EXPECT_TRUE(rig.recorder.uploadComplete);
}

INSTANTIATE_TEST_SUITE_P(Sizes, PhoneSendsPhoneBook,
                         ::testing::Values(UploadCase{3000, 128, 0}, UploadCase{3000, 1024, 0},
                                           UploadCase{1024, 1024, xmodem::SUB},
                                           UploadCase{129, 128, xmodem::CAN},
                                           UploadCase{300 * 128 + 5, 128, 0},
                                           UploadCase{300 * 1024, 1024, 0}));

TEST(PhoneSends, AnnouncesTheSizeOfItsPhoneBook) {
    Rig rig(WithBook(Pattern(3000)));
    rig.line.Write("backup backup.csv 0\n", 20);
    uint8_t reply[64] = {};
    int n = rig.line.Read(reply, sizeof reply);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(reply), size_t(n)), "upload backup.csv 3000\n");
}

TEST(PhoneSends, ACorruptedBlockFailsTheBackup) {
    PhoneFaults faults;
    faults.corruptAtBlock = 2;
    Rig rig(WithFaults(faults));
    MemorySink sink;
    EXPECT_FALSE(rig.Receive(sink));
    EXPECT_FALSE(sink.stored);
}

TEST(PhoneSends, CancelAtABlockFailsTheBackup) {
    PhoneFaults faults;
    faults.cancelAtBlock = 2;
    Rig rig(WithFaults(faults));
    MemorySink sink;
    EXPECT_FALSE(rig.Receive(sink));
    EXPECT_FALSE(sink.stored);
}

TEST(PhoneSends, AnEarlyEotIsNotASuccess) {
    PhoneFaults faults;
    faults.eotAfterBlocks = 1;
    Rig rig(WithFaults(faults));
    MemorySink sink;
    EXPECT_FALSE(rig.Receive(sink));
    EXPECT_FALSE(sink.stored);
}

TEST(PhoneSends, AShortAnnouncedSizeCutsTheFile) {
    PhoneFaults faults;
    faults.announcedSize = "100";
    Rig rig(WithFaults(faults));
    MemorySink sink;
    ASSERT_TRUE(rig.Receive(sink));
    const auto book = Pattern(3000);
    EXPECT_EQ(sink.stored, std::vector<uint8_t>(book.begin(), book.begin() + 100));
}

TEST(PhoneSends, ANonPositiveSizeMeansNoEntries) {
    for (const char* size : {"0", "-5", "many"}) {
        PhoneFaults faults;
        faults.announcedSize = size;
        Rig rig(WithFaults(faults));
        MemorySink sink;
        EXPECT_FALSE(rig.Receive(sink)) << size;
        EXPECT_TRUE(rig.observer.Saw(kStatusNoEntries)) << size;
    }
}

TEST(PhoneSends, AHostileSizeIsRefusedWithoutStoring) {
    PhoneFaults faults;
    faults.announcedSize = "2000000000";
    Rig rig(WithFaults(faults));
    MemorySink sink;
    EXPECT_FALSE(rig.Receive(sink));
    EXPECT_FALSE(sink.stored);
}

TEST(PhoneSends, SumModeWhenTheHostGivesUpOnCrc) {
    Rig rig(WithBook(Pattern(500), 128));
    rig.line.Write("backup backup.vcf 0\n", 20);
    uint8_t line[64];
    rig.line.Read(line, 23);  // the upload line
    rig.line.WriteByte(xmodem::NAK);
    uint8_t block[132];
    ASSERT_EQ(rig.line.Read(block, sizeof block), 132);
    EXPECT_EQ(block[0], xmodem::SOH);
    EXPECT_EQ(CheckBlock(false, block + 3, 128), 1);
}

TEST(PhoneSends, AResetReturnsToCommandsMidTransfer) {
    Rig rig(WithBook(Pattern(5000)));
    rig.line.Write("backup backup.vcf 0\nC", 21);
    rig.phone.Reset();
    rig.line.Purge();
    EXPECT_TRUE(RunPhoneNumber(rig.context, "network restart 1"));
}

}  // namespace
}  // namespace tarvo::sim::test
