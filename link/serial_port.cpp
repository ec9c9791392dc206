// The platform-independent half of SerialPort: the read-ahead buffer in front
// of the platform's read call, and the phone's opening sequence.
#include "serial_port.h"

#include <algorithm>
#include <cstring>

namespace tarvo {

int SerialPort::WriteByte(uint8_t byte) {
    m_dwWritten = 0;
    int written = RawWrite(&byte, 1);
    if (written < 0) return 0;
    m_dwWritten = static_cast<uint32_t>(written);
    return 1;
}

int SerialPort::Write(const uint8_t* data, size_t length) {
    m_dwWritten = 0;
    int written = RawWrite(data, length);
    if (written < 0) return 0;
    m_dwWritten = static_cast<uint32_t>(written);
    return written;
}

int SerialPort::ReadByte(uint8_t& byte) {
    byte = 0;
    if (m_readCount != 0) {
        byte = m_readBuf[m_readPos];
        ++m_readPos;
        --m_readCount;
        return 1;
    }
    int got = RawRead(m_readBuf, 1);
    if (got <= 0) return 0;
    byte = m_readBuf[0];
    m_readCount = 0;
    m_readPos = 1;
    return 1;
}

int SerialPort::Read(uint8_t* buffer, size_t wanted) {
    if (m_readCount != 0) {
        uint32_t k = static_cast<uint32_t>(std::min<size_t>(wanted, m_readCount));
        std::memcpy(buffer, m_readBuf + m_readPos, k);
        m_readCount -= k;
        m_readPos = m_readCount == 0 ? 0 : m_readPos + k;
        return static_cast<int>(k);
    }
    return RawRead(buffer, wanted);
}

void SerialPort::ResetReadAhead() {
    m_readPos = 0;
    m_readCount = 0;
}

int SerialPort::OpenForPhone(const std::string& name) {
    return Open(name) && Configure(kPhoneBaudRate, 8, 0, kNoParity, kOneStopBit) &&
           SetTimeouts(0, 0, kReadTimeoutMs, 0, 0);
}

}  // namespace tarvo
