#include "link/line_exchange.h"
#include "link/xmodem.h"
#include "scripted_phone.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

using namespace xmodem;
using test::MakeBlock;
using test::Pattern;

class MemorySink final : public ReceiveSink {
public:
    bool Store(const uint8_t* data, size_t size) override {
        ++stores;
        if (failStore) return false;
        stored.assign(data, data + size);
        return true;
    }
    std::vector<uint8_t> stored;
    int stores = 0;
    bool failStore = false;
};

struct Receiving : test::Rig {
    MemorySink sink;
    std::vector<uint8_t> book;
    int64_t lineMs = 0;  // virtual time the line reader spends on the upload line

    void Announce(const std::string& size) {
        std::string line = "upload backup.vcf ";
        line += size;  // appended, not concatenated: GCC 12 warns falsely on the latter
        line += '\n';
        phone.Say(line);
        lineMs = 5 * int64_t(line.size() - 1);  // no pause after the awaited LF
    }
    void Announce(size_t size) { Announce(std::to_string(size)); }
    // The phone book in blocks of `blockSize`, numbered from 1.
    void SendBook(bool crc = true, size_t blockSize = 128) {
        uint8_t number = 1;
        for (size_t at = 0; at < book.size(); at += blockSize, ++number) {
            std::vector<uint8_t> part(book.begin() + at,
                                      book.begin() + std::min(book.size(), at + blockSize));
            phone.Say(MakeBlock(number, part, crc, blockSize));
        }
    }
    void End() { phone.Byte(EOT); }
    bool Run() { return ReceiveFile(context, sink, "backup.vcf"); }
    std::string Replies() const {  // what the host wrote after its two command lines
        std::string lines = ReceiveInitLine() + BackupLine("backup.vcf");
        return phone.WrittenText().substr(lines.size());
    }
};

std::string Repeat(uint8_t byte, size_t n) { return std::string(n, char(byte)); }

TEST(Receive, StoresExactlyTheAnnouncedSize) {
    Receiving r;
    r.book = Pattern(300);
    r.Announce(300);
    r.SendBook();
    r.End();
    ASSERT_TRUE(r.Run());
    EXPECT_EQ(r.phone.WrittenText().substr(0, 31), "\ninit aa 0\nbackup backup.vcf 0\n");
    EXPECT_EQ(r.sink.stored, r.book);
    // One C poll, an ACK per block, then ACK, quiet line, ACK for the EOT.
    EXPECT_EQ(r.Replies(), "C" + Repeat(ACK, 3) + Repeat(ACK, 2));
    EXPECT_EQ(r.observer.events,
              (std::vector<std::string>{"status 104", "size 300", "status 116", "progress 128",
                                        "progress 256", "progress 300", "status 107", "hide",
                                        "done 1"}));
    // The upload line's byte pauses, the drain's quiet second, the final pause.
    EXPECT_EQ(r.clock.now, r.lineMs + 1000 + 2000);
}

TEST(Receive, TakesOneKilobyteBlocks) {
    Receiving r;
    r.book = Pattern(2500);
    r.Announce(2500);
    r.SendBook(true, 1024);
    r.End();
    ASSERT_TRUE(r.Run());
    EXPECT_EQ(r.sink.stored, r.book);
    EXPECT_TRUE(r.observer.Has("progress 2048"));
}

TEST(Receive, FallsBackToNakPollingAndSumChecks) {
    Receiving r;
    r.book = Pattern(200);
    r.Announce(200);
    r.phone.Silence(16);
    r.SendBook(false);
    r.End();
    ASSERT_TRUE(r.Run());
    EXPECT_EQ(r.sink.stored, r.book);
    EXPECT_EQ(r.Replies().substr(0, 17), Repeat('C', 16) + Repeat(NAK, 1));
}

TEST(Receive, BlockNumbersWrapAndRepeatsAreAcknowledgedNotStored) {
    Receiving r;
    r.book = Pattern(300 * 128);
    r.Announce(r.book.size());
    r.phone.Say(MakeBlock(0, Pattern(128, 9), true));  // block 0 before 1: a repeat
    uint8_t number = 1;
    for (size_t at = 0; at < r.book.size(); at += 128, ++number) {
        std::vector<uint8_t> part(r.book.begin() + at, r.book.begin() + at + 128);
        r.phone.Say(MakeBlock(number, part, true));
        if (number == 0) r.phone.Say(MakeBlock(0, part, true));  // block 256, sent again
    }
    r.End();
    ASSERT_TRUE(r.Run());
    EXPECT_EQ(r.sink.stored, r.book);
}

TEST(Receive, TwentyFiveRepeatsInARowEndTheTransfer) {
    for (int repeats : {24, 25}) {
        Receiving r;
        r.book = Pattern(256);
        r.Announce(256);
        auto first = MakeBlock(1, Pattern(128), true);
        r.phone.Say(first);
        for (int i = 0; i < repeats; ++i) r.phone.Say(first);
        r.phone.Say(MakeBlock(2, std::vector<uint8_t>(r.book.begin() + 128, r.book.end()), true));
        r.End();
        bool ok = r.Run();
        if (repeats == 24) {
            EXPECT_TRUE(r.observer.Has("progress 256")) << repeats;
            continue;
        }
        EXPECT_FALSE(ok);
        std::string replies = r.Replies();
        EXPECT_EQ(replies.substr(replies.size() - 3), Repeat(CAN, 3));
        EXPECT_EQ(r.observer.Statuses().back(), "105");
        EXPECT_EQ(r.sink.stores, 0);
    }
}

TEST(Receive, ABadBlockIsRejectedOnceAndFailsTheTransfer) {
    auto good = MakeBlock(1, Pattern(128), true);
    std::vector<std::vector<uint8_t>> bad = {good, good, good};
    bad[0][3 + 10] ^= 1;   // data damaged
    bad[1][2] ^= 1;        // complement wrong
    bad[2][1] = 3;         // neither expected nor its repeat
    bad[2][2] = uint8_t(~3);
    for (auto& block : bad) {
        Receiving r;
        r.Announce(128);
        r.phone.Say(block).Silence(3);
        EXPECT_FALSE(r.Run());
        EXPECT_EQ(r.Replies(), "C" + Repeat(NAK, 1));
        EXPECT_EQ(r.sink.stores, 0);
        EXPECT_EQ(r.observer.Statuses().back(), "105");
        EXPECT_EQ(r.observer.Last(), "done 0");
    }
}

TEST(Receive, AnnouncedSizeZeroOrUnparsableMeansNoEntries) {
    for (std::string size : {"0", "-5", "many", ""}) {
        Receiving r;
        r.Announce(size);
        EXPECT_FALSE(r.Run()) << size;
        EXPECT_EQ(r.Replies(), "") << "no poll for size " << size;
        EXPECT_EQ(r.observer.Statuses().back(), "115");
        EXPECT_EQ(r.observer.Last(), "done 0");
        EXPECT_EQ(r.clock.now, r.lineMs + 2000);
    }
}

TEST(Receive, MissingUploadLineFails) {
    Receiving r;
    r.phone.Say("result backup 0\n");
    EXPECT_FALSE(r.Run());
    EXPECT_EQ(r.phone.timeouts, 11);
    EXPECT_EQ(r.observer.Statuses().back(), "105");
}

TEST(Receive, HostileSizesFailWithoutAllocating) {
    for (std::string size : {"67108865", "2147483647", "99999999999999"}) {
        Receiving r;
        r.Announce(size);
        EXPECT_FALSE(r.Run()) << size;
        EXPECT_EQ(r.Replies(), "") << size;
        EXPECT_EQ(r.observer.Statuses().back(), "105");
        EXPECT_FALSE(r.observer.Has("status 116"));
    }
    Receiving limit;  // 64 MiB itself is still taken
    limit.Announce(64 * 1024 * 1024);
    limit.phone.Byte(EOT);
    EXPECT_FALSE(limit.Run());
    EXPECT_TRUE(limit.observer.Has("size 67108864"));
}

TEST(Receive, AnEarlyEotIsAFailureNotAPaddedFile) {
    Receiving r;
    r.book = Pattern(200);
    r.Announce(300);
    r.SendBook();
    r.End();
    EXPECT_FALSE(r.Run());
    EXPECT_EQ(r.sink.stores, 0);
    EXPECT_EQ(r.observer.Statuses().back(), "105");
    EXPECT_FALSE(r.observer.Has("hide"));
}

TEST(Receive, AFileThatCannotBeStoredIsAFailure) {
    Receiving r;
    r.book = Pattern(100);
    r.Announce(100);
    r.SendBook();
    r.End();
    r.sink.failStore = true;
    EXPECT_FALSE(r.Run());
    EXPECT_EQ(r.observer.Statuses().back(), "105");
    EXPECT_FALSE(r.observer.Has("hide"));
}

TEST(Receive, PhoneCancelIsAcknowledgedTwice) {
    Receiving r;
    r.book = Pattern(300);
    r.Announce(300);
    r.phone.Say(MakeBlock(1, Pattern(128), true)).Byte(CAN).Byte(CAN);
    EXPECT_FALSE(r.Run());
    EXPECT_EQ(r.Replies(), "C" + Repeat(ACK, 1) + Repeat(ACK, 2));
    EXPECT_EQ(r.observer.Statuses().back(), "105");
}

TEST(Receive, SixteenSilentSecondsBetweenBlocksEndTheTransfer) {
    Receiving r;
    r.Announce(300);
    r.phone.Say(MakeBlock(1, Pattern(128), true)).Silence(16);
    EXPECT_FALSE(r.Run());
    EXPECT_EQ(r.Replies(), "C" + Repeat(ACK, 1) + Repeat(CAN, 3));
    EXPECT_TRUE(r.observer.Has("errors 16"));
    EXPECT_EQ(r.observer.Statuses().back(), "105");
}

TEST(Receive, CancelSendsFourCansAndNoDone) {
    Receiving r;
    r.Announce(300);
    r.phone.Say(MakeBlock(1, Pattern(128), true)).Then([&] { r.cancel = true; }).Silence(3);
    EXPECT_FALSE(r.Run());
    std::string replies = r.Replies();
    EXPECT_EQ(replies.substr(replies.size() - 4), Repeat(CAN, 4));
    EXPECT_EQ(r.observer.Count("done"), 0);
    EXPECT_EQ(r.sink.stores, 0);
}

TEST(Receive, AFailedReadMakesTheBlockBad) {
    Receiving r;
    r.Announce(300);
    auto block = MakeBlock(1, Pattern(128), true);
    r.phone.Say(std::vector<uint8_t>(block.begin(), block.begin() + 40)).ReadsFail();
    EXPECT_FALSE(r.Run());
    EXPECT_EQ(r.observer.Statuses().back(), "105");
}

}  // namespace
}  // namespace tarvo
