#include "paced_queue.h"

#include <algorithm>
#include <cmath>

namespace tarvo::sim {

Micros PacedQueue::DueTime(const Chunk& chunk, size_t index) const {
    if (m_rate <= 0) return chunk.start;
    return chunk.start + Micros(std::llround(double(index + 1) * 1e6 / m_rate));
}

void PacedQueue::Push(const uint8_t* data, size_t length, Micros now) {
    if (length == 0) return;
    Chunk chunk{std::max(now, m_lineFreeAt), std::vector<uint8_t>(data, data + length)};
    m_lineFreeAt = DueTime(chunk, length - 1);
    m_chunks.push_back(std::move(chunk));
}

std::vector<std::pair<uint8_t, Micros>> PacedQueue::TakeDue(Micros now) {
    std::vector<std::pair<uint8_t, Micros>> due;
    while (!m_chunks.empty()) {
        Chunk& chunk = m_chunks.front();
        while (chunk.taken < chunk.bytes.size()) {
            const Micros at = DueTime(chunk, chunk.taken);
            if (at > now) return due;
            due.emplace_back(chunk.bytes[chunk.taken++], at);
        }
        m_chunks.pop_front();
    }
    return due;
}

std::optional<Micros> PacedQueue::NextWake(Micros now, Micros slice) const {
    if (m_chunks.empty()) return std::nullopt;
    const Chunk& first = m_chunks.front();
    const Chunk& last = m_chunks.back();
    const Micros nextDue = DueTime(first, first.taken);
    const Micros lastDue = DueTime(last, last.bytes.size() - 1);
    return std::min(lastDue, std::max(nextDue, now + slice));
}

void PacedQueue::Clear() {
    m_chunks.clear();
    m_lineFreeAt = Micros{0};
}

}  // namespace tarvo::sim
