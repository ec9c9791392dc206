// The port as the operations see it from the command line: every read is
// watched, so that Ctrl-C, an unplugged phone, or a phone that stays silent
// for the stall time-out stops the operation through its cancel flag. The
// core then sends its cancel bytes and returns; Reason() says why it stopped.
#pragma once

#include "link/byte_channel.h"

#include <atomic>
#include <functional>

namespace tarvo::cli {

enum class StopReason { None, Interrupted, Disconnected, Stalled };

struct Watch {
    const std::atomic<bool>* interrupted = nullptr;
    // True once the phone has gone; asked after every read that brought nothing.
    std::function<bool()> phoneGone;
    // Read time-outs in a row after which the phone counts as stalled; 0: never.
    int stallReads = 0;
};

class WatchedChannel final : public ByteChannel {
public:
    WatchedChannel(ByteChannel& inner, std::atomic<bool>& cancel, Watch watch);

    int WriteByte(uint8_t byte) override;
    int Write(const uint8_t* data, size_t length) override;
    using ByteChannel::Write;
    int ReadByte(uint8_t& byte) override;
    int Read(uint8_t* buffer, size_t wanted) override;
    int Purge() override { return m_inner.Purge(); }

    StopReason Reason() const { return m_reason; }

private:
    int AfterRead(int result);
    int AfterWrite(int result);
    void Stop(StopReason reason);

    ByteChannel& m_inner;
    std::atomic<bool>& m_cancel;
    Watch m_watch;
    int m_silentReads = 0;
    StopReason m_reason = StopReason::None;
};

// Read time-outs in a row that make `seconds` of silence.
int StallReads(double seconds, int readTimeoutMs);

}  // namespace tarvo::cli
