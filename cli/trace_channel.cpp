#include "trace_channel.h"

#include "link/xmodem.h"

#include <algorithm>
#include <cstdio>

namespace tarvo::cli {

namespace {

using namespace tarvo::xmodem;

std::string ByteName(uint8_t byte) {
    switch (byte) {
        case SOH: return "SOH";
        case STX: return "STX";
        case EOT: return "EOT";
        case ACK: return "ACK";
        case BS: return "BS";
        case NAK: return "NAK";
        case CAN: return "CAN";
        case SUB: return "SUB";
        case NUL: return "NUL";
        case '\n': return "LF";
        case POLL_CRC: return "C";
        default: break;
    }
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X", byte);
    return hex;
}

bool IsText(uint8_t byte) { return (byte >= 0x20 && byte < 0x7F) || byte == '\n' || byte == '\r' || byte == '\t'; }

std::string Quote(const std::vector<uint8_t>& bytes) {
    std::string text = "\"";
    for (uint8_t byte : bytes) {
        if (byte == '\n') text += "\\n";
        else if (byte == '\r') text += "\\r";
        else if (byte == '\t') text += "\\t";
        else if (byte == '"' || byte == '\\') text += {'\\', char(byte)};
        else text += char(byte);
    }
    return text + "\"";
}

std::string Names(const std::vector<uint8_t>& bytes, size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i) text.append(i ? " " : "").append(ByteName(bytes[i]));
    return text;
}

}  // namespace

std::string DescribeBytes(const std::vector<uint8_t>& bytes) {
    constexpr size_t kShownControlBytes = 24;
    if ((bytes[0] == SOH || bytes[0] == STX) && bytes.size() >= 3) {
        char header[64];
        std::snprintf(header, sizeof header, "%s block %u +%zu bytes", ByteName(bytes[0]).c_str(),
                      unsigned(bytes[1]), bytes.size() - 3);
        return header;
    }
    if (bytes.size() > kShownControlBytes * 4 && !std::all_of(bytes.begin(), bytes.end(), IsText))
        return Names(bytes, 3) + " +" + std::to_string(bytes.size() - 3) + " bytes";
    // Runs of text quoted, the bytes between them by name: "ACK \"result ...\""
    std::string text;
    for (size_t i = 0; i < bytes.size();) {
        size_t end = i;
        while (end < bytes.size() && IsText(bytes[end])) ++end;
        if (end - i >= 2) {
            text.append(text.empty() ? "" : " ")
                .append(Quote({bytes.begin() + ptrdiff_t(i), bytes.begin() + ptrdiff_t(end)}));
            i = end;
        } else {
            text.append(text.empty() ? "" : " ").append(ByteName(bytes[i]));
            ++i;
        }
    }
    return text;
}

TraceChannel::TraceChannel(ByteChannel& inner, std::ostream& out)
    : m_inner(inner), m_out(out), m_start(std::chrono::steady_clock::now()) {}

TraceChannel::~TraceChannel() {
    Flush(m_sent);
    Flush(m_received);
    m_out.flush();
}

double TraceChannel::Seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
}

void TraceChannel::Record(Direction& to, Direction& other, const uint8_t* data, size_t length) {
    Flush(other);
    for (size_t i = 0; i < length; ++i) {
        if (to.pending.empty()) to.startedAt = Seconds();
        to.pending.push_back(data[i]);
        // A command line is an entry of its own; a block keeps its LF bytes.
        const bool inBlock = to.pending[0] == xmodem::SOH || to.pending[0] == xmodem::STX;
        if (data[i] == '\n' && to.pending.size() > 1 && !inBlock) Flush(to);
    }
}

void TraceChannel::Flush(Direction& direction) {
    if (direction.pending.empty()) return;
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%10.3f ", direction.startedAt);
    m_out << stamp << direction.label << ' ' << DescribeBytes(direction.pending) << '\n';
    direction.pending.clear();
}

void TraceChannel::Note(const std::string& text) {
    Flush(m_sent);
    Flush(m_received);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%10.3f ", Seconds());
    m_out << stamp << "       (" << text << ")\n";
    m_out.flush();
}

int TraceChannel::WriteByte(uint8_t byte) {
    int result = m_inner.WriteByte(byte);
    if (result) Record(m_sent, m_received, &byte, 1);
    else Note("write failed");
    return result;
}

int TraceChannel::Write(const uint8_t* data, size_t length) {
    int result = m_inner.Write(data, length);
    if (result > 0) Record(m_sent, m_received, data, size_t(result));
    else if (length > 0) Note("write failed");
    return result;
}

int TraceChannel::ReadByte(uint8_t& byte) {
    int result = m_inner.ReadByte(byte);
    if (result) Record(m_received, m_sent, &byte, 1);
    else Note("nothing within the read time-out");
    return result;
}

int TraceChannel::Read(uint8_t* buffer, size_t wanted) {
    int result = m_inner.Read(buffer, wanted);
    if (result > 0) Record(m_received, m_sent, buffer, size_t(result));
    else Note(result < 0 ? "read failed" : "nothing within the read time-out");
    return result;
}

int TraceChannel::Purge() {
    Note("purge");
    return m_inner.Purge();
}

}  // namespace tarvo::cli
