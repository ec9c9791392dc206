#include "link/xmodem.h"
#include "scripted_phone.h"

#include <gtest/gtest.h>

#include <string>

namespace tarvo {
namespace {

TEST(Crc16, MatchesTheCatalogueAndTheTableCorners) {
    const std::string check = "123456789";
    EXPECT_EQ(CalcCrc16(reinterpret_cast<const uint8_t*>(check.data()), check.size()), 0x31C3);
    const uint8_t one = 1, last = 255;
    EXPECT_EQ(CalcCrc16(&one, 1), 0x1021);   // table entry 1
    EXPECT_EQ(CalcCrc16(&last, 1), 0x1EF0);  // table entry 255
    EXPECT_EQ(CalcCrc16(&one, 0), 0);
}

TEST(CheckBlock, AcceptsTheRightCheckAndRejectsAnyFlippedBit) {
    for (bool crc : {true, false}) {
        auto block = test::MakeBlock(1, test::Pattern(128), crc);
        uint8_t* data = block.data() + 3;
        EXPECT_EQ(CheckBlock(crc, data, 128), 1) << "crc=" << crc;
        for (size_t i : {size_t(0), size_t(64), size_t(127), size_t(128)}) {
            auto damaged = block;
            damaged[3 + i] ^= 0x10;
            EXPECT_EQ(CheckBlock(crc, damaged.data() + 3, 128), 0) << "crc=" << crc << " at " << i;
        }
    }
}

TEST(CheckBlock, SumModeKeepsOnlyTheLowEightBits) {
    std::vector<uint8_t> data(128, 0xFF);  // sum 0x7F80
    data.push_back(0x80);
    EXPECT_EQ(CheckBlock(false, data.data(), 128), 1);
}

}  // namespace
}  // namespace tarvo
