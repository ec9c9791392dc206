// A support trace of the line: every command line and control byte, each
// direction's bytes gathered into one entry until the other side speaks,
// with the time since the start. Block data is summarised, not dumped.
#pragma once

#include "link/byte_channel.h"

#include <chrono>
#include <ostream>
#include <string>
#include <vector>

namespace tarvo::cli {

class TraceChannel final : public ByteChannel {
public:
    TraceChannel(ByteChannel& inner, std::ostream& out);
    ~TraceChannel() override;

    int WriteByte(uint8_t byte) override;
    int Write(const uint8_t* data, size_t length) override;
    using ByteChannel::Write;
    int ReadByte(uint8_t& byte) override;
    int Read(uint8_t* buffer, size_t wanted) override;
    int Purge() override;

private:
    struct Direction {
        const char* label;
        std::vector<uint8_t> pending;
        double startedAt = 0;
    };

    void Record(Direction& to, Direction& other, const uint8_t* data, size_t length);
    void Flush(Direction& direction);
    void Note(const std::string& text);
    double Seconds() const;

    ByteChannel& m_inner;
    std::ostream& m_out;
    std::chrono::steady_clock::time_point m_start;
    Direction m_sent{"host> ", {}, 0};
    Direction m_received{"phone>", {}, 0};
};

// How an entry's bytes read in a trace: text quoted with C escapes, control
// bytes by name, block data as its header and a byte count.
std::string DescribeBytes(const std::vector<uint8_t>& bytes);

}  // namespace tarvo::cli
