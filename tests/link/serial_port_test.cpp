// SerialPort over a real pseudo-terminal, with short read time-outs.
#include "link/serial_port.h"

#include <gtest/gtest.h>

#include <asm/termbits.h>
#include <chrono>
#include <fcntl.h>
#include <cstdlib>
#include <sys/ioctl.h>
#include <unistd.h>

namespace tarvo {
namespace {

// The phone's end of a new pty pair; `path` names the end the port opens.
int OpenPtyMaster(std::string& path) {
    int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return -1;
    path = ::ptsname(master);
    return master;
}

class PtyPort : public ::testing::Test {
protected:
    void SetUp() override {
        master = OpenPtyMaster(path);
        ASSERT_GE(master, 0);
    }
    void TearDown() override {
        if (port.IsOpen()) port.Close();
        if (master >= 0) ::close(master);
    }
    // Opened like the phone's port, but with a 50 ms read time-out.
    bool OpenQuick() {
        return port.Open(path) && port.Configure(kPhoneBaudRate, 8, 0, kNoParity, kOneStopBit) &&
               port.SetTimeouts(0, 0, 50, 0, 0);
    }
    void PhoneSends(const std::string& bytes) {
        ASSERT_EQ(::write(master, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    }

    int master = -1;
    std::string path;
    SerialPort port;
};

TEST_F(PtyPort, ConfiguresRaw8N1AtExactly230000Baud) {
    ASSERT_TRUE(port.OpenForPhone(path));
    int probe = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    if (probe < 0) GTEST_SKIP() << "exclusive mode keeps even a probe out (not root)";
    struct termios2 t {};
    ASSERT_EQ(::ioctl(probe, TCGETS2, &t), 0);
    ::close(probe);
    EXPECT_EQ(t.c_cflag & CBAUD, unsigned(BOTHER));
    EXPECT_EQ(t.c_ospeed, 230000u);
    EXPECT_EQ(t.c_ispeed, 230000u);
    EXPECT_EQ(t.c_cflag & CSIZE, unsigned(CS8));
    EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | ICRNL | ISTRIP), 0u);
}

TEST_F(PtyPort, IsHeldExclusivelyUntilClosed) {
    ASSERT_TRUE(OpenQuick());
    SerialPort second;
    EXPECT_FALSE(second.Open(path));
    EXPECT_EQ(port.Close(), 1);
    EXPECT_TRUE(second.Open(path));
    second.Close();
}

TEST_F(PtyPort, ReadsTimeOutWithNothingAndDeliverWhatCame) {
    ASSERT_TRUE(OpenQuick());
    uint8_t byte = 0xAA;
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(port.ReadByte(byte), 0);
    EXPECT_EQ(byte, 0);
    uint8_t buffer[16];
    EXPECT_EQ(port.Read(buffer, sizeof buffer), 0);  // a time-out, not a failure
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(90));

    PhoneSends("abc");
    EXPECT_EQ(port.ReadByte(byte), 1);
    EXPECT_EQ(byte, 'a');
    EXPECT_EQ(port.Read(buffer, sizeof buffer), 2);  // the rest, after the time-out
    EXPECT_EQ(std::string(buffer, buffer + 2), "bc");
}

TEST_F(PtyPort, ReadReturnsAsSoonAsTheWantedBytesHaveCome) {
    ASSERT_TRUE(port.OpenForPhone(path));  // a full second of time-out
    PhoneSends("0123456789");
    uint8_t buffer[4];
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(port.Read(buffer, 4), 4);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
}

TEST_F(PtyPort, WritesReachThePhoneWhole) {
    ASSERT_TRUE(OpenQuick());
    const std::string line = "download backup.vcf 300\n";
    EXPECT_EQ(port.Write(line.data(), line.size()), int(line.size()));
    EXPECT_EQ(port.WriteByte(0x06), 1);
    char got[64] = {};
    ssize_t n = ::read(master, got, sizeof got);
    EXPECT_EQ(std::string(got, size_t(n)), line + "\x06");
}

TEST_F(PtyPort, PurgeDropsPendingInput) {
    ASSERT_TRUE(OpenQuick());
    PhoneSends("stale");
    usleep(20000);
    EXPECT_EQ(port.Purge(), 1);
    uint8_t byte = 0;
    EXPECT_EQ(port.ReadByte(byte), 0);
}

TEST_F(PtyPort, AnUnpluggedPhoneFailsReadsAtOnce) {
    ASSERT_TRUE(port.OpenForPhone(path));
    ::close(master);
    master = -1;
    uint8_t buffer[8];
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(port.Read(buffer, sizeof buffer), -1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_TRUE(port.Disconnected());
    uint8_t byte = 0;
    EXPECT_EQ(port.ReadByte(byte), 0);
    EXPECT_EQ(port.WriteByte(0x18), 0);
}

TEST(SerialPortFailures, ConfigureAndTimeoutsFailOnAPortThatIsNotOpen) {
    SerialPort port;
    EXPECT_FALSE(port.Open("/nonexistent/ttyACM9"));
    EXPECT_EQ(port.Configure(kPhoneBaudRate, 8, 0, kNoParity, kOneStopBit), 0);
    EXPECT_EQ(port.SetTimeouts(0, 0, 1000, 0, 0), 0);
    EXPECT_FALSE(port.Open("/dev/null"));  // not a terminal
    EXPECT_FALSE(port.IsOpen());
}

TEST(SerialPortFailures, AnUnsupportedLineSettingClosesThePort) {
    std::string name;
    int master = OpenPtyMaster(name);
    ASSERT_GE(master, 0);
    SerialPort port;
    ASSERT_TRUE(port.Open(name));
    EXPECT_EQ(port.Configure(kPhoneBaudRate, 9, 0, kNoParity, kOneStopBit), 0);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_TRUE(port.OpenForPhone(name));  // not held any more
    port.Close();
    ::close(master);
}

}  // namespace
}  // namespace tarvo
