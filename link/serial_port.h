// The phone's serial port: one public interface, one implementation file per
// platform (serial_port_win32.cpp, serial_port_posix.cpp). Every call returns
// a result that the caller checks; nothing here throws or shows messages.
#pragma once

#include "byte_channel.h"

#include <cstdint>
#include <string>

namespace tarvo {

// Line setting codes, with the values of the Win32 DCB fields.
inline constexpr uint8_t kNoParity = 0;
inline constexpr uint8_t kOneStopBit = 0;

// The phone's line: 230000 baud (not 230400), 8N1, 1000 ms per read call.
inline constexpr uint32_t kPhoneBaudRate = 230000;
inline constexpr uint32_t kReadTimeoutMs = 1000;

class SerialPort final : public ByteChannel {
public:
    SerialPort();
    // Does not close the port: the owner closes it explicitly.
    ~SerialPort() override;
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens the port exclusively. Windows: "//./" + name (COM4 -> //./COM4).
    // POSIX: name is a device path. Non-zero on success.
    int Open(const std::string& name);
    // 1 on success; 0 on failure, and the port is then closed.
    int Configure(uint32_t baudRate, uint8_t byteSize, uint8_t parityCheck, uint8_t parity,
                  uint8_t stopBits);
    // Milliseconds: read interval, read total multiplier, read total constant,
    // write total multiplier, write total constant. 1 on success; 0 on failure,
    // and the port is then closed.
    int SetTimeouts(uint32_t readInterval, uint32_t readMultiplier, uint32_t readConstant,
                    uint32_t writeMultiplier, uint32_t writeConstant);
    // The result of closing the handle (non-zero on success).
    int Close();
    bool IsOpen() const;

    int WriteByte(uint8_t byte) override;
    int Write(const uint8_t* data, size_t length) override;
    using ByteChannel::Write;
    int ReadByte(uint8_t& byte) override;
    int Read(uint8_t* buffer, size_t wanted) override;
    int Purge() override;

    // True once a read or write failed because the device has gone (the phone
    // was unplugged); such a port never recovers.
    bool Disconnected() const { return m_bDisconnected; }

    // Open, Configure with the phone's line settings and SetTimeouts 0, 0,
    // 1000, 0, 0. Non-zero when the whole sequence succeeded.
    int OpenForPhone(const std::string& name);

private:
    // Platform part: one call of the system's read for up to `wanted` bytes,
    // honouring the configured time-outs. Count, 0 on time-out, -1 on failure.
    int RawRead(uint8_t* buffer, size_t wanted);
    int RawWrite(const uint8_t* data, size_t length);
    void ResetReadAhead();
    void CloseHandleOnly();

    intptr_t m_hComm;          // HANDLE on Windows, file descriptor on POSIX
    bool m_bLastResult = false;
    uint32_t m_dwWritten = 0;  // bytes written by the most recent write
    uint8_t m_readBuf[1024] = {};
    uint32_t m_readPos = 0;
    uint32_t m_readCount = 0;
    // POSIX: the read time-outs, applied per read call as Windows does.
    uint32_t m_readIntervalMs = 0;
    uint32_t m_readMultiplierMs = 0;
    uint32_t m_readConstantMs = 0;
    bool m_bDisconnected = false;
};

}  // namespace tarvo
