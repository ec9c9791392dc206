#include "scripted_phone.h"

#include "link/xmodem.h"

#include <algorithm>

namespace tarvo::test {

ScriptedPhone& ScriptedPhone::Say(const std::string& bytes) {
    for (char c : bytes) Byte(static_cast<uint8_t>(c));
    return *this;
}

ScriptedPhone& ScriptedPhone::Say(const std::vector<uint8_t>& bytes) {
    for (uint8_t b : bytes) Byte(b);
    return *this;
}

ScriptedPhone& ScriptedPhone::Byte(uint8_t byte) {
    m_script.push_back({Kind::Byte, byte, {}});
    return *this;
}

ScriptedPhone& ScriptedPhone::Silence(int readTimeouts) {
    for (int i = 0; i < readTimeouts; ++i) m_script.push_back({Kind::Silence, 0, {}});
    return *this;
}

ScriptedPhone& ScriptedPhone::Then(std::function<void()> action) {
    m_script.push_back({Kind::Action, 0, std::move(action)});
    return *this;
}

ScriptedPhone& ScriptedPhone::ReadsFail() {
    m_script.push_back({Kind::Fail, 0, {}});
    return *this;
}

bool ScriptedPhone::WriteFails() {
    return failWritesFrom >= 0 && int(writeSizes.size()) >= failWritesFrom;
}

int ScriptedPhone::WriteByte(uint8_t byte) { return Write(&byte, 1) == 1 ? 1 : 0; }

int ScriptedPhone::Write(const uint8_t* data, size_t length) {
    if (WriteFails()) {
        writeSizes.push_back(0);
        return 0;
    }
    written.insert(written.end(), data, data + length);
    writeSizes.push_back(length);
    return int(length);
}

bool ScriptedPhone::NextIsByte() {
    while (!m_script.empty() && m_script.front().kind != Kind::Byte) {
        Item& item = m_script.front();
        if (item.kind == Kind::Action) {
            auto action = std::move(item.action);
            m_script.pop_front();
            action();
        } else if (item.kind == Kind::Fail) {
            m_readsFail = true;
            m_script.pop_front();
        } else {
            return false;  // a silence
        }
    }
    return !m_script.empty() && !m_readsFail;
}

void ScriptedPhone::TimeOut() {
    if (!m_script.empty() && m_script.front().kind == Kind::Silence) m_script.pop_front();
    ++timeouts;
    m_clock.now += 1000;
}

int ScriptedPhone::ReadByte(uint8_t& byte) {
    byte = 0;
    if (!NextIsByte()) {
        TimeOut();
        return 0;
    }
    byte = m_script.front().byte;
    m_script.pop_front();
    return 1;
}

int ScriptedPhone::Read(uint8_t* buffer, size_t wanted) {
    if (!NextIsByte()) {
        if (m_readsFail) return -1;
        TimeOut();
        return 0;
    }
    size_t got = 0;
    while (got < wanted && NextIsByte()) {
        buffer[got++] = m_script.front().byte;
        m_script.pop_front();
    }
    return int(got);
}

bool RecordingObserver::Has(const std::string& event) const {
    return std::find(events.begin(), events.end(), event) != events.end();
}

int RecordingObserver::Count(const std::string& prefix) const {
    return int(std::count_if(events.begin(), events.end(),
                             [&](const std::string& e) { return e.rfind(prefix, 0) == 0; }));
}

std::vector<std::string> RecordingObserver::Statuses() const {
    std::vector<std::string> result;
    for (const auto& e : events)
        if (e.rfind("status ", 0) == 0) result.push_back(e.substr(7));
    return result;
}

std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
    std::vector<uint8_t> result;
    for (int v : values) result.push_back(static_cast<uint8_t>(v));
    return result;
}

std::vector<uint8_t> Pattern(size_t length, uint8_t seed) {
    std::vector<uint8_t> result(length);
    uint32_t x = seed;
    for (auto& b : result) {
        x = x * 1103515245u + 12345u;
        b = static_cast<uint8_t>(x >> 16);
    }
    return result;
}

std::vector<uint8_t> MakeBlock(uint8_t number, const std::vector<uint8_t>& data, bool crc,
                               size_t blockSize, uint8_t fill) {
    std::vector<uint8_t> block;
    block.push_back(blockSize == 1024 ? xmodem::STX : xmodem::SOH);
    block.push_back(number);
    block.push_back(static_cast<uint8_t>(~number));
    std::vector<uint8_t> area(blockSize, fill);
    std::copy_n(data.begin(), std::min(data.size(), blockSize), area.begin());
    block.insert(block.end(), area.begin(), area.end());
    if (crc) {
        uint16_t c = CalcCrc16(area.data(), area.size());
        block.push_back(uint8_t(c >> 8));
        block.push_back(uint8_t(c));
    } else {
        uint8_t sum = 0;
        for (uint8_t b : area) sum = uint8_t(sum + b);
        block.push_back(sum);
    }
    return block;
}

}  // namespace tarvo::test
