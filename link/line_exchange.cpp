#include "line_exchange.h"

#include <cctype>
#include <climits>
#include <cstring>

namespace tarvo {

namespace {

constexpr std::chrono::milliseconds kByteGap{5};
constexpr uint8_t LF = 0x0A;

// White space as a "%s" scan sees it.
bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

}  // namespace

LineExchange::LineExchange(ByteChannel& channel, const std::atomic<bool>& cancel, Clock& clock)
    : m_channel(channel), m_cancel(cancel), m_clock(clock) {}

int LineExchange::ReadLine(const char* prefix, char* buffer, size_t size, int maxTimeouts) {
    if (m_cancel.load()) return -1;
    if (size == 0) return -1;
    const size_t prefixLength = std::strlen(prefix);
    size_t position = 0;
    int timeouts = 0;  // counted over the whole call, never reset
    for (;;) {
        uint8_t byte = 0;
        if (!m_channel.ReadByte(byte)) {
            ++timeouts;
            if (maxTimeouts != kNoLimit && timeouts > maxTimeouts) return -1;
        } else if (byte == LF) {
            buffer[position] = '\0';
            if (position >= prefixLength && std::memcmp(buffer, prefix, prefixLength) == 0) return 0;
            position = 0;
            m_clock.Sleep(kByteGap);
        } else {
            // An over-long line keeps its first size - 1 characters; later bytes
            // overwrite the last place until the LF terminates it there.
            buffer[position] = static_cast<char>(byte);
            if (position < size - 1) ++position;
            m_clock.Sleep(kByteGap);
        }
        if (m_cancel.load()) return -1;
    }
}

int LineExchange::WaitResult(const char* command, int expectedCode, int maxTimeouts) {
    char line[kLineBufferSize];
    if (ReadLine("result", line, sizeof line, maxTimeouts) != 0) return -1;
    std::string first, second, third;
    if (!SplitThreeWords(line, first, second, third)) return -1;
    if (second != command) return -1;
    return ParseDecimal(third) == expectedCode ? 0 : -1;
}

void LineExchange::DrainInput() {
    uint8_t byte = 0;
    if (!m_channel.ReadByte(byte)) return;
    while (!m_cancel.load()) {
        m_clock.Sleep(kByteGap);
        if (!m_channel.ReadByte(byte)) return;
    }
}

void LineExchange::Send(const std::string& line) { m_channel.Write(line.data(), line.size()); }

bool SplitThreeWords(const char* line, std::string& first, std::string& second,
                     std::string& third) {
    std::string* words[] = {&first, &second, &third};
    const char* p = line;
    for (std::string* word : words) {
        while (*p && IsBlank(*p)) ++p;
        if (!*p) return false;
        const char* start = p;
        while (*p && !IsBlank(*p)) ++p;
        // Words longer than a word buffer (63 characters) are cut there.
        word->assign(start, std::min<size_t>(size_t(p - start), kWordBufferSize - 1));
    }
    return true;
}

int ParseDecimal(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT_MAX) value = INT_MAX + 1LL;  // saturate; keep scanning digits
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

std::string WireName(const std::string& announcedName) {
    constexpr size_t kWireNameLength = 11;
    if (announcedName.size() <= kWireNameLength) return announcedName;
    return announcedName.substr(announcedName.size() - kWireNameLength);
}

std::string PhoneNumberInitLine() { return "\ninit 1 1\n"; }
std::string CommandLine(const std::string& command) { return command + "\n"; }
std::string SendInitLine(const std::string& wireName) { return "\ninit " + wireName + " 0\n"; }
std::string DownloadLine(const std::string& wireName, int64_t length) {
    return "download " + wireName + " " + std::to_string(length) + "\n";
}
std::string WriteLine(const std::string& wireName, int64_t length) {
    return "\nwrite " + wireName + " " + std::to_string(length) + "\n";
}
std::string ReceiveInitLine() { return "\ninit aa 0\n"; }
std::string BackupLine(const std::string& wireName) { return "backup " + wireName + " 0\n"; }
std::string RebootLine() { return "\nreboot now 0\n"; }

}  // namespace tarvo
