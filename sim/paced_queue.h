// One direction of an emulated serial line: bytes queued at some moment
// leave (or arrive) one after another at the line rate, as a UART sends them.
// A rate of 0 means no pacing: every byte is due at once.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <utility>
#include <vector>

namespace tarvo::sim {

using Micros = std::chrono::microseconds;

class PacedQueue {
public:
    explicit PacedQueue(double bytesPerSecond) : m_rate(bytesPerSecond) {}

    void Push(const uint8_t* data, size_t length, Micros now);
    void Push(const std::vector<uint8_t>& bytes, Micros now) { Push(bytes.data(), bytes.size(), now); }

    // Removes the bytes due by `now`, each with the moment it became due.
    std::vector<std::pair<uint8_t, Micros>> TakeDue(Micros now);

    // When to look again: in slices of `slice` while bytes trickle through,
    // and exactly when the last queued byte is due, so the end of a block is
    // never late by a slice.
    std::optional<Micros> NextWake(Micros now, Micros slice) const;

    bool Empty() const { return m_chunks.empty(); }
    void Clear();

private:
    struct Chunk {
        Micros start;
        std::vector<uint8_t> bytes;
        size_t taken = 0;
    };
    Micros DueTime(const Chunk& chunk, size_t index) const;

    double m_rate;
    std::deque<Chunk> m_chunks;
    Micros m_lineFreeAt{0};
};

}  // namespace tarvo::sim
