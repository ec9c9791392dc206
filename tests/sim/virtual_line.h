// The host's end of a line whose far end is the phone's logic, in virtual
// time: the link core runs against the simulated phone without a pty, and a
// read that finds nothing costs one read time-out of virtual time, during
// which the phone's own deadlines fire.
#pragma once

#include "link/byte_channel.h"
#include "sim/phone_logic.h"

#include <deque>

namespace tarvo::sim::test {

class VirtualClock final : public Clock {
public:
    void Sleep(std::chrono::milliseconds duration) override { now += duration; }
    Micros now{0};
};

class VirtualLine final : public ByteChannel {
public:
    VirtualLine(PhoneLogic& phone, VirtualClock& clock) : m_phone(phone), m_clock(clock) {}

    int WriteByte(uint8_t byte) override { return Write(&byte, 1); }
    int Write(const uint8_t* data, size_t length) override;
    using ByteChannel::Write;
    int ReadByte(uint8_t& byte) override;
    int Read(uint8_t* buffer, size_t wanted) override;
    int Purge() override;

    // Lets `duration` of virtual time pass, running the phone's deadlines.
    void Pass(Micros duration);

private:
    bool WaitForData();
    void Collect();

    PhoneLogic& m_phone;
    VirtualClock& m_clock;
    std::deque<uint8_t> m_fromPhone;
};

}  // namespace tarvo::sim::test
