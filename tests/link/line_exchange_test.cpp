#include "link/line_exchange.h"
#include "scripted_phone.h"

#include <gtest/gtest.h>

#include <cstring>

namespace tarvo {
namespace {

using test::Rig;

struct LineReader : Rig {
    LineExchange lines{phone, cancel, clock};
    char buffer[kLineBufferSize] = {};

    int Read(const char* prefix, int maxTimeouts = kNoLimit) {
        return lines.ReadLine(prefix, buffer, sizeof buffer, maxTimeouts);
    }
};

TEST(ReadLine, SkipsLinesWithoutThePrefixAndKeepsTheCarriageReturn) {
    LineReader r;
    r.phone.Say("hello\nuploaded\n result x\nresult download 5\r\nresult write 0\n");
    ASSERT_EQ(r.Read("result"), 0);
    EXPECT_STREQ(r.buffer, "result download 5\r");
    ASSERT_EQ(r.Read("result"), 0);
    EXPECT_STREQ(r.buffer, "result write 0");
}

TEST(ReadLine, PrefixIsCaseSensitiveAndMustStartTheLine) {
    LineReader r;
    r.phone.Say("Result command 0\n result command 0\nresu\n");
    EXPECT_EQ(r.Read("result", 0), -1);
}

TEST(ReadLine, CutsALongLineToNinetyNineCharacters) {
    LineReader r;
    std::string text = "upload " + std::string(143, 'x');  // 150 characters
    r.phone.Say(text + "\n");
    ASSERT_EQ(r.Read("upload"), 0);
    EXPECT_EQ(std::strlen(r.buffer), 99u);
    EXPECT_EQ(std::string(r.buffer, 98), text.substr(0, 98));
    EXPECT_EQ(r.buffer[98], 'x');  // the last place took the later bytes
}

TEST(ReadLine, CountsTimeoutsOverTheWholeCall) {
    LineReader r;
    // Two silences around a partial line and a discarded line: the third
    // silence exceeds a limit of 2 even though bytes came in between.
    r.phone.Silence().Say("noise\nres").Silence().Say("ult co").Silence().Say("mmand 0\n");
    EXPECT_EQ(r.Read("result", 2), -1);
    EXPECT_EQ(r.phone.timeouts, 3);

    LineReader s;
    s.phone.Silence().Say("res").Silence().Say("ult command 0\n");
    ASSERT_EQ(s.Read("result", 2), 0);  // a partial line survives a time-out
    EXPECT_STREQ(s.buffer, "result command 0");
}

TEST(ReadLine, LimitZeroEndsAtTheFirstSilenceAndNoLimitWaitsOn) {
    LineReader r;
    EXPECT_EQ(r.Read("result", 0), -1);
    EXPECT_EQ(r.clock.now, 1000);

    LineReader s;
    s.phone.Silence(40).Say("result command 0\n");
    EXPECT_EQ(s.Read("result", kNoLimit), 0);
    EXPECT_EQ(s.phone.timeouts, 40);
}

TEST(ReadLine, PausesFiveMillisecondsAfterEachByte) {
    LineReader r;
    r.phone.Say("ab\nresult\n");
    ASSERT_EQ(r.Read("result"), 0);
    EXPECT_EQ(r.clock.now, 9 * 5);  // none after the LF that ends the wait
}

TEST(ReadLine, CancelEndsBeforeReadingAndAfterAByte) {
    LineReader r;
    r.cancel = true;
    r.phone.Say("result command 0\n");
    EXPECT_EQ(r.Read("result"), -1);
    EXPECT_TRUE(r.phone.written.empty());

    LineReader s;
    s.phone.Say("re").Then([&] { s.cancel = true; }).Say("sult command 0\n");
    EXPECT_EQ(s.Read("result"), -1);
    EXPECT_FALSE(s.phone.ScriptDone());
}

struct ResultWaiter : LineReader {
    int Wait(const char* command, int code, int maxTimeouts = 0) {
        return lines.WaitResult(command, code, maxTimeouts);
    }
};

TEST(WaitResult, AcceptsWhatAnAtoiConversionAndAWordSplitAccept) {
    const std::pair<const char*, int> accepted[] = {
        {"result command 0\r\n", 0},      // CR is white space to the split
        {"result command 00\n", 0},
        {"result command none\n", 0},     // no digits converts to 0
        {"results command 0\n", 0},       // only the prefix of the first word counts
        {"result\tcommand   -7x\n", -7},
        {"result download 300 trailing\n", 300},
    };
    for (auto [line, code] : accepted) {
        ResultWaiter w;
        w.phone.Say(line);
        const char* command = std::strstr(line, "download") ? "download" : "command";
        EXPECT_EQ(w.Wait(command, code), 0) << line;
    }
}

TEST(WaitResult, RejectsTheFirstResultLineThatDoesNotMatch) {
    const char* rejected[] = {
        "result Command 0\n",                      // command word is case-sensitive
        "result command 1\n",
        "result command\nresult command 0\n",      // two words: fails at once
        "result write 0\nresult command 0\n",      // another command ends the wait
    };
    for (const char* line : rejected) {
        ResultWaiter w;
        w.phone.Say(line);
        EXPECT_EQ(w.Wait("command", 0), -1) << line;
        EXPECT_EQ(w.phone.timeouts, 0) << line;
    }
}

TEST(WaitResult, SkipsOtherLinesAndSurvivesWordsLongerThanAWordBuffer) {
    ResultWaiter w;
    w.phone.Say("upload x 1\nresult " + std::string(90, 'c') + " 0\nresult command 0\n");
    EXPECT_EQ(w.Wait("command", 0), -1);  // the long line is the first result line

    ResultWaiter v;
    v.phone.Say("status ok\nresult command " + std::string(80, '0') + "\n");
    EXPECT_EQ(v.Wait("command", 0), 0);
}

TEST(WaitResult, SaturatesCodesThatOverflow) {
    ResultWaiter w;
    w.phone.Say("result download 99999999999\n");
    EXPECT_EQ(w.Wait("download", -1), -1);
    EXPECT_EQ(ParseDecimal("99999999999"), INT32_MAX);
    EXPECT_EQ(ParseDecimal("-99999999999"), INT32_MIN);
    EXPECT_EQ(ParseDecimal("  +42abc"), 42);
}

TEST(DrainInput, ReadsUntilOneQuietReadOrCancel) {
    LineReader r;
    r.phone.Say("abc").Silence().Say("later");
    r.lines.DrainInput();
    EXPECT_EQ(r.phone.timeouts, 1);
    uint8_t next = 0;
    ASSERT_TRUE(r.phone.ReadByte(next));
    EXPECT_EQ(next, 'l');

    LineReader s;
    s.cancel = true;
    s.phone.Say("abc");
    s.lines.DrainInput();  // one byte read, then the cancel is seen
    ASSERT_TRUE(s.phone.ReadByte(next));
    EXPECT_EQ(next, 'b');
}

TEST(CommandLines, AreFormattedWithTheRightmostElevenCharactersOfTheName) {
    EXPECT_EQ(WireName("mcascfg.txt"), "mcascfg.txt");
    EXPECT_EQ(WireName("my-phone-backup.vcf"), "-backup.vcf");
    EXPECT_EQ(WireName("a.csv"), "a.csv");
    EXPECT_EQ(DownloadLine("backup.vcf", 300), "download backup.vcf 300\n");
    EXPECT_EQ(WriteLine("firmapp.zip", 7), "\nwrite firmapp.zip 7\n");
    EXPECT_EQ(SendInitLine("mcascfg.txt"), "\ninit mcascfg.txt 0\n");
    EXPECT_EQ(BackupLine("backup.csv"), "backup backup.csv 0\n");
    EXPECT_EQ(RebootLine(), "\nreboot now 0\n");
}

}  // namespace
}  // namespace tarvo
