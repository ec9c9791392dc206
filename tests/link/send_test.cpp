#include "link/line_exchange.h"
#include "link/xmodem.h"
#include "scripted_phone.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace tarvo {
namespace {

using namespace xmodem;
using test::Bytes;
using test::Pattern;

class MemorySource final : public SendSource {
public:
    explicit MemorySource(std::vector<uint8_t> data, int64_t length = -1)
        : m_data(std::move(data)), m_length(length < 0 ? int64_t(m_data.size()) : length) {}
    int64_t Length() const override { return m_length; }
    size_t Read(uint8_t* buffer, size_t wanted) override {
        size_t n = std::min(wanted, m_data.size() - m_offset);
        std::memcpy(buffer, m_data.data() + m_offset, n);
        m_offset += n;
        return n;
    }

private:
    std::vector<uint8_t> m_data;
    int64_t m_length;
    size_t m_offset = 0;
};

// The blocks the host wrote after its command lines, split by their size.
std::vector<std::vector<uint8_t>> BlocksWritten(const std::vector<uint8_t>& written,
                                                size_t blockLength, size_t start) {
    std::vector<std::vector<uint8_t>> blocks;
    for (size_t at = start; at + blockLength <= written.size() && written[at] == SOH;
         at += blockLength)
        blocks.emplace_back(written.begin() + at, written.begin() + at + blockLength);
    return blocks;
}

struct Sending : test::Rig {
    std::vector<uint8_t> data;
    std::string announced = "backup.vcf";
    bool firmware = false;

    std::string Lines() const {
        return SendInitLine(WireName(announced)) + DownloadLine(WireName(announced), data.size());
    }
    size_t LinesLength() const { return Lines().size(); }

    // A phone that polls, acknowledges every block and EOT, and stores the file.
    void PhoneAccepts(uint8_t poll = POLL_CRC) {
        phone.Byte(poll);
        const size_t blocks = (data.size() + kBlockSize - 1) / kBlockSize + 1;  // + the SUB block
        for (size_t i = 0; i < blocks; ++i) phone.Byte(ACK);
        PhoneStores();
    }
    void PhoneStores() {
        phone.Byte(ACK);  // EOT
        phone.Say("result download " + std::to_string(data.size()) + "\n");
        phone.Say("result write 0\n");
    }
    bool Run() {
        MemorySource source(data);
        return SendFile(context, source, SendOptions{announced, firmware});
    }
    std::vector<std::vector<uint8_t>> Blocks(size_t blockLength = 133) const {
        return BlocksWritten(phone.written, blockLength, LinesLength());
    }
};

TEST(SendLayout, ThreeHundredBytesGoAsTwoFullBlocksAPartialOneAndTheSubBlock) {
    Sending s;
    s.data = Pattern(300);
    s.PhoneAccepts();
    ASSERT_TRUE(s.Run());

    EXPECT_EQ(s.phone.WrittenText().substr(0, s.LinesLength()),
              "\ninit backup.vcf 0\ndownload backup.vcf 300\n");
    auto blocks = s.Blocks();
    ASSERT_EQ(blocks.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(blocks[i][1], i + 1);
        EXPECT_EQ(blocks[i][2], uint8_t(~(i + 1)));
        EXPECT_EQ(CheckBlock(true, blocks[i].data() + 3, 128), 1);
    }
    EXPECT_TRUE(std::equal(s.data.begin(), s.data.begin() + 128, blocks[0].begin() + 3));
    EXPECT_TRUE(std::equal(s.data.begin() + 256, s.data.end(), blocks[2].begin() + 3));
    EXPECT_EQ(blocks[2][3 + 44], SUB);
    EXPECT_TRUE(std::all_of(blocks[2].begin() + 3 + 45, blocks[2].begin() + 131,
                            [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(blocks[3][3], SUB);
    EXPECT_TRUE(std::all_of(blocks[3].begin() + 4, blocks[3].begin() + 131,
                            [](uint8_t b) { return b == 0; }));

    std::string tail = s.phone.WrittenText().substr(s.LinesLength() + 4 * 133);
    EXPECT_EQ(tail, "\x04\nwrite backup.vcf 300\n");
    EXPECT_EQ(s.observer.Statuses(),
              (std::vector<std::string>{"104", "111", "107", "106", "114"}));
    EXPECT_EQ(s.observer.Count("progress"), 4);
    EXPECT_TRUE(s.observer.Has("progress 300"));
    EXPECT_EQ(s.observer.Last(), "done 1");
    EXPECT_EQ(s.phone.purges, 1);
}

TEST(SendLayout, BlocksGoInPiecesOfSixtyFourBytes) {
    for (uint8_t poll : {POLL_CRC, NAK}) {
        Sending s;
        s.data = Pattern(10);
        s.PhoneAccepts(poll);
        ASSERT_TRUE(s.Run());
        size_t last = poll == NAK ? 4 : 5;
        // init line, download line, then the first block
        std::vector<size_t> expected = {s.Lines().find("download"),
                                        s.LinesLength() - s.Lines().find("download"), 64, 64,
                                        last};
        std::vector<size_t> actual(s.phone.writeSizes.begin(), s.phone.writeSizes.begin() + 5);
        EXPECT_EQ(actual, expected) << "poll " << int(poll);
    }
}

TEST(SendLayout, SumModeWhenThePhonePollsWithNak) {
    Sending s;
    s.data = Pattern(200);
    s.PhoneAccepts(NAK);
    ASSERT_TRUE(s.Run());
    auto blocks = s.Blocks(132);
    ASSERT_EQ(blocks.size(), 3u);
    for (auto& block : blocks) EXPECT_EQ(CheckBlock(false, block.data() + 3, 128), 1);
}

TEST(SendLayout, BlockBoundaries) {
    struct Case {
        size_t length;
        size_t blocks;
        size_t subAt;  // SUB position in the last data block, or 128 for none
    } cases[] = {{129, 3, 1}, {128, 2, 128}, {256, 3, 128}, {1, 2, 1}};
    for (auto c : cases) {
        Sending s;
        s.data = Pattern(c.length);
        s.PhoneAccepts();
        ASSERT_TRUE(s.Run()) << c.length;
        auto blocks = s.Blocks();
        ASSERT_EQ(blocks.size(), c.blocks) << c.length;
        auto& lastData = blocks[c.blocks - 2];
        if (c.subAt < 128) {
            EXPECT_EQ(lastData[3 + c.subAt], SUB) << c.length;
        }
        EXPECT_EQ(blocks.back()[3], SUB) << c.length;
    }
}

TEST(SendLayout, BlockNumbersWrapFrom255ToZero) {
    Sending s;
    s.data = Pattern(256 * 128 + 10);
    s.PhoneAccepts();
    ASSERT_TRUE(s.Run());
    auto blocks = s.Blocks();
    ASSERT_EQ(blocks.size(), 258u);
    EXPECT_EQ(blocks[254][1], 255);
    EXPECT_EQ(blocks[255][1], 0);
    EXPECT_EQ(blocks[255][2], 255);
    EXPECT_EQ(blocks[256][1], 1);
}

TEST(SendSync, IgnoresStrayBytesAndFailsAfterSixteenTimeouts) {
    Sending s;
    s.data = Pattern(10);
    s.phone.Say("xyz").Silence(16).Byte(POLL_CRC);
    EXPECT_FALSE(s.Run());
    std::string after = s.phone.WrittenText().substr(s.LinesLength());
    EXPECT_EQ(after, std::string(8, char(CAN)));
    EXPECT_EQ(s.observer.Count("errors"), 16);
    EXPECT_TRUE(s.observer.Has("errors 16"));
    EXPECT_EQ(s.observer.Statuses(), (std::vector<std::string>{"104", "108"}));
    EXPECT_EQ(s.observer.Last(), "done 0");
}

TEST(SendSync, PhoneCancelWithTwoCansIsAcknowledged) {
    Sending s;
    s.data = Pattern(10);
    s.phone.Say(std::vector<uint8_t>{CAN, 'x', CAN, CAN});  // CAN then x keeps waiting
    EXPECT_FALSE(s.Run());
    EXPECT_EQ(s.phone.WrittenText().substr(s.LinesLength()), std::string(1, char(ACK)));
    EXPECT_EQ(s.observer.Statuses(), (std::vector<std::string>{"104", "110"}));
    EXPECT_EQ(s.observer.Last(), "done 0");
}

TEST(SendRetries, NakOrStrayByteResendsAtOnceAndSilenceReportsTheTry) {
    Sending s;
    s.data = Pattern(10);
    s.phone.Byte(POLL_CRC).Byte(NAK).Byte('?').Silence().Byte(ACK).Byte(ACK);
    s.PhoneStores();
    ASSERT_TRUE(s.Run());
    auto blocks = s.Blocks();
    ASSERT_EQ(blocks.size(), 5u);  // block 1 four times, then the SUB block
    for (int i = 0; i < 4; ++i) EXPECT_EQ(blocks[i], blocks[0]);
    EXPECT_EQ(s.observer.Count("errors"), 1);
    EXPECT_TRUE(s.observer.Has("errors 3"));  // the silence answered the third sending
}

TEST(SendRetries, AnAckToTheTwentyFourthSendingStillAbandons) {
    for (int sendings : {23, 24, 25}) {
        Sending s;
        s.data = Pattern(10);
        s.phone.Byte(POLL_CRC);
        for (int i = 1; i < sendings; ++i) s.phone.Byte(NAK);
        s.phone.Byte(ACK).Byte(ACK);
        s.PhoneStores();
        bool ok = s.Run();
        if (sendings == 23) {
            EXPECT_TRUE(ok);
            continue;
        }
        EXPECT_FALSE(ok) << sendings;
        auto blocks = s.Blocks();
        EXPECT_EQ(blocks.size(), size_t(sendings));
        std::string tail = s.phone.WrittenText().substr(s.LinesLength() + sendings * 133);
        EXPECT_EQ(tail, std::string(3, char(CAN))) << sendings;
        // The abandoned send ends with a failure status shown for two seconds.
        EXPECT_EQ(s.observer.Statuses().back(), "105") << sendings;
        EXPECT_EQ(s.observer.Last(), "done 0");
        EXPECT_GE(s.clock.now, 2000);
    }
}

TEST(SendRetries, AFailedWriteOfABlockPieceEndsWithAFailureStatus) {
    Sending s;
    s.data = Pattern(300);
    s.phone.Byte(POLL_CRC).Byte(ACK);
    s.phone.failWritesFrom = 2 + 3;  // after the two lines and block 1's pieces
    EXPECT_FALSE(s.Run());
    EXPECT_EQ(s.phone.written.size(), s.LinesLength() + 133);  // no EOT, nothing more
    EXPECT_EQ(s.observer.Statuses().back(), "105");
    EXPECT_EQ(s.observer.Last(), "done 0");
    EXPECT_EQ(s.clock.now, 2000);
}

TEST(SendEot, OtherRepliesShowSuccessAndRepeatTheEotUpToTenTimes) {
    Sending s;
    s.data = Pattern(10);
    s.phone.Byte(POLL_CRC).Byte(ACK).Byte(ACK);
    s.phone.Byte(NAK).Silence(9);  // ten EOTs, none acknowledged
    s.phone.Say("result download 10\nresult write 0\n");
    ASSERT_TRUE(s.Run());
    std::string tail = s.phone.WrittenText().substr(s.LinesLength() + 2 * 133);
    EXPECT_EQ(tail.substr(0, 10), std::string(10, char(EOT)));
    EXPECT_EQ(s.observer.Count("status 107"), 1);
    EXPECT_EQ(s.observer.Last(), "done 1");
}

TEST(SendResult, DownloadCodeMustEqualTheLength) {
    Sending s;
    s.data = Pattern(10);
    s.phone.Byte(POLL_CRC).Byte(ACK).Byte(ACK).Byte(ACK);
    s.phone.Say("result download 9\n");
    EXPECT_FALSE(s.Run());
    EXPECT_EQ(s.phone.WrittenText().find("write"), std::string::npos);
    EXPECT_EQ(s.observer.Statuses().back(), "105");
    EXPECT_GE(s.clock.now, 2000);  // the failure stays readable
    EXPECT_EQ(s.observer.Last(), "done 0");
}

TEST(SendResult, MissingDownloadResultGivesUpAfterElevenSilentSeconds) {
    Sending s;
    s.data = Pattern(10);
    s.phone.Byte(POLL_CRC).Byte(ACK).Byte(ACK).Byte(ACK);
    EXPECT_FALSE(s.Run());
    EXPECT_EQ(s.phone.timeouts, 11);
    EXPECT_EQ(s.observer.Statuses().back(), "105");
}

TEST(SendResult, WriteCodeMustBeZero) {
    Sending s;
    s.data = Pattern(10);
    s.phone.Byte(POLL_CRC).Byte(ACK).Byte(ACK).Byte(ACK);
    s.phone.Say("result download 10\n").Silence(30).Say("status busy\nresult write 3\n");
    EXPECT_FALSE(s.Run());
    EXPECT_EQ(s.observer.Statuses(),
              (std::vector<std::string>{"104", "111", "107", "106", "113"}));
    EXPECT_EQ(s.observer.Last(), "done 0");
}

TEST(SendResult, CancelDuringTheWriteWaitFailsThenSendsTheCancelSequence) {
    Sending s;
    s.data = Pattern(10);
    s.phone.Byte(POLL_CRC).Byte(ACK).Byte(ACK).Byte(ACK);
    s.phone.Say("result download 10\n").Silence(5).Then([&] { s.cancel = true; }).Silence();
    EXPECT_FALSE(s.Run());
    EXPECT_EQ(s.observer.Statuses().back(), "113");
    EXPECT_EQ(s.observer.Count("done"), 0);
    std::string written = s.phone.WrittenText();
    std::string cancelSequence = std::string(8, char(CAN)) + std::string(10, char(BS)) + '\0';
    EXPECT_EQ(written.substr(written.size() - 19), cancelSequence);
}

TEST(SendFirmware, UsesTheFirmwareTexts) {
    Sending s;
    s.data = Pattern(10);
    s.announced = "firmapp.zip";
    s.firmware = true;
    s.PhoneAccepts();
    ASSERT_TRUE(s.Run());
    EXPECT_EQ(s.observer.Statuses(),
              (std::vector<std::string>{"104", "129", "107", "106", "128"}));
}

TEST(SendCancel, CancelDuringBlocksSendsTheCancelSequenceAndNoDone) {
    Sending s;
    s.data = Pattern(1000);
    s.phone.Byte(POLL_CRC).Byte(ACK).Then([&] { s.cancel = true; }).Byte(ACK);
    EXPECT_FALSE(s.Run());
    EXPECT_EQ(s.observer.Count("done"), 0);
    std::string written = s.phone.WrittenText();
    EXPECT_EQ(written.substr(written.size() - 19, 8), std::string(8, char(CAN)));
    EXPECT_EQ(written.find(char(EOT), s.LinesLength() + 133 * 2), std::string::npos);
}

TEST(SendLimits, FilesTooLongForTheLengthFieldsAreRefusedBeforeAnythingIsSent) {
    test::Rig rig;
    MemorySource huge({}, int64_t(1) << 31);
    EXPECT_FALSE(SendFile(rig.context, huge, SendOptions{"firmapp.zip", true}));
    EXPECT_TRUE(rig.phone.written.empty());
    EXPECT_EQ(rig.observer.Statuses().back(), "105");
    EXPECT_EQ(rig.observer.Last(), "done 0");
}

TEST(SendLimits, AFileThatShrinksWhileSendingIsAbandoned) {
    test::Rig rig;
    MemorySource shrunk(Pattern(100), 300);  // claims 300 bytes, has 100
    rig.phone.Byte(POLL_CRC).Byte(ACK);
    EXPECT_FALSE(SendFile(rig.context, shrunk, SendOptions{"backup.vcf", false}));
    EXPECT_EQ(rig.observer.Statuses().back(), "105");
    std::string written = rig.phone.WrittenText();
    EXPECT_EQ(written.substr(written.size() - 3), std::string(3, char(CAN)));
}

}  // namespace
}  // namespace tarvo
