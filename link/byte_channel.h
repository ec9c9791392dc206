// The byte-level view of the phone's line that the exchange and transfer code
// uses. SerialPort is the real one; tests put a scripted phone in its place.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace tarvo {

class ByteChannel {
public:
    virtual ~ByteChannel() = default;

    // 1 if the write call succeeded, 0 if it failed.
    virtual int WriteByte(uint8_t byte) = 0;
    // Bytes written; 0 if the write call failed. Short writes are not retried.
    virtual int Write(const uint8_t* data, size_t length) = 0;
    // 1 and the byte; 0 (and byte = 0) when nothing arrived within the read
    // time-out or the read failed.
    virtual int ReadByte(uint8_t& byte) = 0;
    // Bytes delivered, 0 when nothing arrived within the read time-out,
    // -1 when the read call failed.
    virtual int Read(uint8_t* buffer, size_t wanted) = 0;
    // Discards pending input and output. 1 on success, 0 on failure.
    virtual int Purge() = 0;

    int Write(const char* text, size_t length) {
        return Write(reinterpret_cast<const uint8_t*>(text), length);
    }
};

// Every pause of the exchange goes through a clock, so tests run in virtual time.
class Clock {
public:
    virtual ~Clock() = default;
    virtual void Sleep(std::chrono::milliseconds duration) = 0;
};

class SystemClock final : public Clock {
public:
    void Sleep(std::chrono::milliseconds duration) override;
    static SystemClock& Instance();
};

}  // namespace tarvo
