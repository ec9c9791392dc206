// The emulated line's timing: bytes leave one after another at the line
// rate, and the loop is woken exactly when the last queued byte is due.
#include "sim/paced_queue.h"

#include <gtest/gtest.h>

namespace tarvo::sim {
namespace {

using std::chrono::milliseconds;

TEST(PacedQueue, BytesBecomeDueAtTheLineRate) {
    PacedQueue queue(1000);  // one byte per millisecond
    const uint8_t bytes[] = {1, 2, 3};
    queue.Push(bytes, 3, Micros(0));
    EXPECT_TRUE(queue.TakeDue(Micros(999)).empty());
    auto due = queue.TakeDue(milliseconds(2));
    ASSERT_EQ(due.size(), 2u);
    EXPECT_EQ(due[1].first, 2);
    EXPECT_EQ(due[1].second, milliseconds(2));
    EXPECT_EQ(queue.TakeDue(milliseconds(3)).size(), 1u);
    EXPECT_TRUE(queue.Empty());
}

TEST(PacedQueue, ALaterPushWaitsForTheLineToBeFree) {
    PacedQueue queue(1000);
    const uint8_t bytes[] = {1, 2};
    queue.Push(bytes, 2, Micros(0));
    queue.Push(bytes, 1, Micros(500));  // the line is busy until 2 ms
    auto due = queue.TakeDue(milliseconds(10));
    ASSERT_EQ(due.size(), 3u);
    EXPECT_EQ(due[2].second, milliseconds(3));
}

TEST(PacedQueue, AnIdleLineStartsAtThePush) {
    PacedQueue queue(1000);
    const uint8_t byte = 7;
    queue.Push(&byte, 1, milliseconds(50));
    EXPECT_EQ(queue.TakeDue(milliseconds(60)).at(0).second, milliseconds(51));
}

TEST(PacedQueue, WakesInSlicesButExactlyForTheLastByte) {
    PacedQueue queue(10000);  // 100 us per byte
    std::vector<uint8_t> block(133, 0);
    queue.Push(block, Micros(0));
    EXPECT_EQ(queue.NextWake(Micros(0), milliseconds(1)), milliseconds(1));
    queue.TakeDue(Micros(13250));
    EXPECT_EQ(queue.NextWake(Micros(13250), milliseconds(1)), Micros(13300));
}

TEST(PacedQueue, UnpacedBytesAreDueAtOnce) {
    PacedQueue queue(0);
    std::vector<uint8_t> bytes(5000, 1);
    queue.Push(bytes, Micros(42));
    EXPECT_EQ(queue.NextWake(Micros(42), milliseconds(1)), Micros(42));
    EXPECT_EQ(queue.TakeDue(Micros(42)).size(), 5000u);
}

}  // namespace
}  // namespace tarvo::sim
