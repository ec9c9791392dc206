// SerialPort on Windows, over two COM ports that the test script joins back
// to back (a pty pair under Wine): TARVO_TEST_PORT and TARVO_TEST_PEER.
#include "link/serial_port.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

namespace tarvo {
namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

class ComPair : public ::testing::Test {
protected:
    void SetUp() override {
        portName = Env("TARVO_TEST_PORT");
        peerName = Env("TARVO_TEST_PEER");
        if (portName.empty() || peerName.empty()) GTEST_SKIP() << "no COM port pair given";
        ASSERT_TRUE(peer.OpenForPhone(peerName));
    }
    void TearDown() override {
        if (port.IsOpen()) port.Close();
        if (peer.IsOpen()) peer.Close();
    }
    bool OpenQuick() {
        return port.Open(portName) &&
               port.Configure(kPhoneBaudRate, 8, 0, kNoParity, kOneStopBit) &&
               port.SetTimeouts(0, 0, 100, 0, 0);
    }

    std::string portName, peerName;
    SerialPort port, peer;
};

// Wine does not enforce the share mode on serial devices, so exclusive access
// is tested natively; here the port must open at the phone's rate and free
// itself on Close.
TEST_F(ComPair, OpensAt230000BaudAndReopensAfterClose) {
    ASSERT_TRUE(port.OpenForPhone(portName));
    EXPECT_NE(port.Close(), 0);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_TRUE(port.OpenForPhone(portName));
}

TEST_F(ComPair, BytesCrossInBothDirections) {
    ASSERT_TRUE(OpenQuick());
    const std::string line = "result download 300\n";
    EXPECT_EQ(peer.Write(line.data(), line.size()), int(line.size()));
    uint8_t byte = 0;
    ASSERT_EQ(port.ReadByte(byte), 1);
    EXPECT_EQ(byte, 'r');
    uint8_t rest[64] = {};
    int got = 0;
    for (int i = 0; i < 10 && got < int(line.size()) - 1; ++i)
        got += port.Read(rest + got, line.size() - 1 - got);
    EXPECT_EQ(std::string(rest, rest + got), line.substr(1));

    EXPECT_EQ(port.WriteByte(0x06), 1);
    ASSERT_EQ(peer.ReadByte(byte), 1);
    EXPECT_EQ(byte, 0x06);
}

TEST_F(ComPair, ReadsTimeOutWithNothing) {
    ASSERT_TRUE(OpenQuick());
    uint8_t byte = 0x55;
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(port.ReadByte(byte), 0);
    EXPECT_EQ(byte, 0);
    uint8_t buffer[8];
    EXPECT_EQ(port.Read(buffer, sizeof buffer), 0);
    auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, std::chrono::milliseconds(150));
    EXPECT_LT(elapsed, std::chrono::milliseconds(2000));
}

TEST_F(ComPair, PurgeDropsPendingInput) {
    ASSERT_TRUE(OpenQuick());
    peer.Write("stale", 5);
    uint8_t byte = 0;
    for (int i = 0; i < 20 && !port.ReadByte(byte); ++i) {}  // wait until it has come
    EXPECT_EQ(port.Purge(), 1);
    EXPECT_EQ(port.ReadByte(byte), 0);
}

TEST(SerialPortWin32, AMissingPortFailsToOpen) {
    SerialPort port;
    EXPECT_FALSE(port.Open("COM199"));
    EXPECT_FALSE(port.IsOpen());
}

}  // namespace
}  // namespace tarvo
