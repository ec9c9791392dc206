#include "xmodem.h"

#include <array>

namespace tarvo {

namespace {

constexpr uint16_t kPolynomial = 0x1021;

// Entry i: the register after byte i, placed in the high half of a zero
// register, has been shifted through eight steps of the polynomial.
constexpr std::array<uint16_t, 256> MakeCrcTable() {
    std::array<uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        uint16_t crc = static_cast<uint16_t>(i << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<uint16_t>((crc & 0x8000) ? (crc << 1) ^ kPolynomial : crc << 1);
        table[i] = crc;
    }
    return table;
}

constexpr auto kCrcTable = MakeCrcTable();
static_assert(kCrcTable[1] == 0x1021 && kCrcTable[255] == 0x1EF0);

}  // namespace

uint16_t CalcCrc16(const uint8_t* data, size_t length) {
    uint16_t crc = 0;
    for (size_t i = 0; i < length; ++i)
        crc = static_cast<uint16_t>(kCrcTable[((crc >> 8) ^ data[i]) & 0xFF] ^ (crc << 8));
    return crc;
}

int CheckBlock(bool crcMode, const uint8_t* data, size_t length) {
    if (crcMode) {
        uint16_t crc = CalcCrc16(data, length);
        return crc == ((data[length] << 8) | data[length + 1]) ? 1 : 0;
    }
    uint8_t sum = 0;
    for (size_t i = 0; i < length; ++i) sum = static_cast<uint8_t>(sum + data[i]);
    return sum == data[length] ? 1 : 0;
}

}  // namespace tarvo
