#include "watched_channel.h"

#include <cmath>

namespace tarvo::cli {

WatchedChannel::WatchedChannel(ByteChannel& inner, std::atomic<bool>& cancel, Watch watch)
    : m_inner(inner), m_cancel(cancel), m_watch(std::move(watch)) {}

void WatchedChannel::Stop(StopReason reason) {
    if (m_reason == StopReason::None) m_reason = reason;
    m_cancel.store(true);
}

int WatchedChannel::AfterRead(int result) {
    if (m_watch.interrupted && m_watch.interrupted->load()) Stop(StopReason::Interrupted);
    if (result > 0) {
        m_silentReads = 0;
        return result;
    }
    if (m_watch.phoneGone && m_watch.phoneGone()) {
        Stop(StopReason::Disconnected);
    } else if (m_watch.stallReads > 0 && ++m_silentReads >= m_watch.stallReads) {
        Stop(StopReason::Stalled);
    }
    return result;
}

int WatchedChannel::AfterWrite(int result) {
    if (result == 0 && m_watch.phoneGone && m_watch.phoneGone()) Stop(StopReason::Disconnected);
    return result;
}

int WatchedChannel::WriteByte(uint8_t byte) { return AfterWrite(m_inner.WriteByte(byte)); }

int WatchedChannel::Write(const uint8_t* data, size_t length) {
    return length == 0 ? 0 : AfterWrite(m_inner.Write(data, length));
}

int WatchedChannel::ReadByte(uint8_t& byte) { return AfterRead(m_inner.ReadByte(byte)); }

int WatchedChannel::Read(uint8_t* buffer, size_t wanted) {
    return AfterRead(m_inner.Read(buffer, wanted));
}

int StallReads(double seconds, int readTimeoutMs) {
    return std::max(1, int(std::ceil(seconds * 1000.0 / readTimeoutMs)));
}

}  // namespace tarvo::cli
