// A phone that plays a prepared script in virtual time: what it sends is
// queued up front, every read that finds nothing (or a silence marker) costs
// one read time-out of virtual time, and everything the host writes is kept.
#pragma once

#include "link/byte_channel.h"
#include "link/operation.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace tarvo::test {

class VirtualClock final : public Clock {
public:
    void Sleep(std::chrono::milliseconds duration) override { now += duration.count(); }
    int64_t now = 0;  // milliseconds
};

class ScriptedPhone final : public ByteChannel {
public:
    explicit ScriptedPhone(VirtualClock& clock) : m_clock(clock) {}

    ScriptedPhone& Say(const std::string& bytes);
    ScriptedPhone& Say(const std::vector<uint8_t>& bytes);
    ScriptedPhone& Byte(uint8_t byte);
    ScriptedPhone& Silence(int readTimeouts = 1);
    // Runs when the host's reads reach this point of the script.
    ScriptedPhone& Then(std::function<void()> action);
    // Every read after this point of the script fails.
    ScriptedPhone& ReadsFail();

    int WriteByte(uint8_t byte) override;
    int Write(const uint8_t* data, size_t length) override;
    using ByteChannel::Write;
    int ReadByte(uint8_t& byte) override;
    int Read(uint8_t* buffer, size_t wanted) override;
    int Purge() override {
        ++purges;
        return 1;
    }

    std::string WrittenText() const { return std::string(written.begin(), written.end()); }
    bool ScriptDone() const { return m_script.empty(); }

    std::vector<uint8_t> written;        // everything the host wrote, in order
    std::vector<size_t> writeSizes;      // the size of each write call
    int purges = 0;
    int timeouts = 0;                    // reads that found nothing
    int failWritesFrom = -1;             // write calls from this index on fail

private:
    enum class Kind { Byte, Silence, Action, Fail };
    struct Item {
        Kind kind;
        uint8_t byte = 0;
        std::function<void()> action;
    };

    // Runs pending actions; false when the next item is not a byte.
    bool NextIsByte();
    void TimeOut();
    bool WriteFails();

    VirtualClock& m_clock;
    std::deque<Item> m_script;
    bool m_readsFail = false;
};

// Records every observer report as a short text: "status 104", "errors 1",
// "progress 128", "size 300", "done 1", "hide".
class RecordingObserver final : public OperationObserver {
public:
    void OnStatus(int id) override { events.push_back("status " + std::to_string(id)); }
    void OnErrors(int count) override { events.push_back("errors " + std::to_string(count)); }
    void OnProgress(int64_t bytes) override { events.push_back("progress " + std::to_string(bytes)); }
    void OnSize(int64_t bytes) override { events.push_back("size " + std::to_string(bytes)); }
    void OnDone(bool success) override { events.push_back(success ? "done 1" : "done 0"); }
    void OnHideCancel() override { events.push_back("hide"); }

    bool Has(const std::string& event) const;
    int Count(const std::string& prefix) const;
    std::vector<std::string> Statuses() const;
    std::string Last() const { return events.empty() ? "" : events.back(); }

    std::vector<std::string> events;
};

// One phone, clock, cancel flag and observer, wired into an operation context.
struct Rig {
    VirtualClock clock;
    ScriptedPhone phone{clock};
    std::atomic<bool> cancel{false};
    RecordingObserver observer;
    OperationContext context{phone, cancel, clock, observer};
};

std::vector<uint8_t> Bytes(std::initializer_list<int> values);
std::vector<uint8_t> Pattern(size_t length, uint8_t seed = 1);
// An XMODEM block as the phone sends it.
std::vector<uint8_t> MakeBlock(uint8_t number, const std::vector<uint8_t>& data, bool crc,
                               size_t blockSize = 128, uint8_t fill = 0x1A);

}  // namespace tarvo::test
