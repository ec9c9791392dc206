#include "virtual_line.h"

#include <algorithm>

namespace tarvo::sim::test {

namespace {
constexpr Micros kReadTimeout = std::chrono::milliseconds(1000);
}

void VirtualLine::Collect() {
    for (uint8_t byte : m_phone.TakeOutput()) m_fromPhone.push_back(byte);
}

int VirtualLine::Write(const uint8_t* data, size_t length) {
    for (size_t i = 0; i < length; ++i) m_phone.Receive(data[i], m_clock.now);
    Collect();
    return int(length);
}

void VirtualLine::Pass(Micros duration) {
    const Micros end = m_clock.now + duration;
    for (auto next = m_phone.NextDeadline(); next && *next <= end; next = m_phone.NextDeadline()) {
        m_clock.now = std::max(m_clock.now, *next);
        m_phone.Tick(m_clock.now);
        Collect();
        if (!m_fromPhone.empty()) return;  // the read returns as soon as data came
    }
    m_clock.now = end;
}

bool VirtualLine::WaitForData() {
    Collect();
    if (m_fromPhone.empty()) Pass(kReadTimeout);
    return !m_fromPhone.empty();
}

int VirtualLine::ReadByte(uint8_t& byte) {
    byte = 0;
    if (!WaitForData()) return 0;
    byte = m_fromPhone.front();
    m_fromPhone.pop_front();
    return 1;
}

int VirtualLine::Read(uint8_t* buffer, size_t wanted) {
    if (!WaitForData()) return 0;
    const size_t count = std::min(wanted, m_fromPhone.size());
    std::copy_n(m_fromPhone.begin(), count, buffer);
    m_fromPhone.erase(m_fromPhone.begin(), m_fromPhone.begin() + ptrdiff_t(count));
    return int(count);
}

int VirtualLine::Purge() {
    Collect();
    m_fromPhone.clear();
    return 1;
}

}  // namespace tarvo::sim::test
