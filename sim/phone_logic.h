// The phone's side of the command exchange and the block transfer, driven by
// the bytes the host sends and by the time that passes. It knows nothing of
// ptys or pacing: the caller feeds each byte at its arrival time, calls Tick
// when nothing arrives, and sends whatever TakeOutput hands back.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tarvo::sim {

using Micros = std::chrono::microseconds;

// Faults a test can ask for. Block numbers count the blocks of one transfer
// from 1, as they go on the wire (before any wrap at 256).
struct PhoneFaults {
    std::optional<int> commandResult;   // code in "result command N" (default 0)
    std::optional<int> downloadResult;  // code in "result download N" (default: the length)
    std::optional<int> writeResult;     // code in "result write N" (default 0)
    std::set<std::string> silentOn;     // "command", "backup", "download", "write": no answer
    int nakAtBlock = 0;                 // receiving: answer the first sending of block K with NAK
    int corruptAtBlock = 0;             // sending: the first sending of block K has a bad check
    int cancelAtBlock = 0;              // CAN CAN instead of block K (or of its ACK)
    int silenceAtBlock = 0;             // fall silent at block K (sending: half-way through it)
    int noiseLines = 0;                 // unrelated lines before every result or upload line
    std::optional<std::string> announcedSize;  // the size field of the upload line, verbatim
    int eotAfterBlocks = 0;             // sending: EOT once K blocks are acknowledged
    bool pollWithNak = false;           // receiving: poll with NAK (8-bit sum) instead of C
    std::chrono::milliseconds writeDelay{0};  // pause before the write result
};

struct PhoneSettings {
    std::vector<uint8_t> phoneBook;  // what "backup NAME 0" sends
    size_t blockSize = 1024;         // 128 or 1024 for what the phone sends
    PhoneFaults faults;
};

// What the phone tells its surroundings about.
class PhoneListener {
public:
    virtual ~PhoneListener() = default;
    virtual void OnLine(const std::string& text) = 0;
    // The host asked to write a received file; returns where it was stored
    // (empty when it is kept nowhere), or nullopt when storing failed.
    virtual std::optional<std::string> OnFile(const std::string& name,
                                              const std::vector<uint8_t>& data) = 0;
    virtual void OnReboot() = 0;
    // A phone-book upload ended: `complete` when the host acknowledged EOT.
    virtual void OnUploadEnd(const std::string& name, size_t bytes, bool complete) = 0;
    virtual void OnHostCancel() = 0;
};

class PhoneLogic {
public:
    PhoneLogic(PhoneSettings settings, PhoneListener& listener);

    // One byte from the host at its arrival time.
    void Receive(uint8_t byte, Micros now);
    // Time has passed; runs every deadline up to `now`.
    void Tick(Micros now);
    // When Tick must run next, if anything waits for time.
    std::optional<Micros> NextDeadline() const;
    // The bytes the phone has to send since the last call.
    std::vector<uint8_t> TakeOutput();
    // The host closed the port: back to waiting for commands.
    void Reset();

private:
    enum class State { Command, UploadWaitPoll, UploadWaitAck, UploadWaitEotAck,
                       DownloadHeader, DownloadBody, Mute };

    void ReceiveCommandByte(uint8_t byte, Micros now);
    void HandleLine(const std::string& line, Micros now);
    void HandleBackup(const std::string& name);
    void HandleDownload(const std::string& name, const std::string& length, Micros now);
    void HandleWrite(const std::string& name, const std::string& length, Micros now);
    void Answer(const std::string& line);
    void Send(const std::vector<uint8_t>& bytes);
    void Send(uint8_t byte);
    void SendCancel();
    bool Silent(const char* command) const;

    void UploadByte(uint8_t byte, Micros now);
    void SendUploadBlock(Micros now);
    void SendUploadEot(Micros now);
    void EndUpload(bool complete);
    size_t UploadBlockCount() const;

    void DownloadHeaderByte(uint8_t byte, Micros now);
    void DownloadBodyByte(uint8_t byte, Micros now);
    void CheckDownloadBlock();
    void FinishDownload();
    void Poll(Micros now);

    PhoneSettings m_settings;
    const PhoneFaults& m_faults;
    PhoneListener& m_listener;

    State m_state = State::Command;
    std::string m_line;
    bool m_pendingCan = false;
    std::vector<uint8_t> m_output;

    // A reply held back until its time (the delayed write result).
    std::optional<Micros> m_replyAt;
    std::string m_heldReply;

    // Upload (the phone sends).
    std::string m_uploadName;
    bool m_crc = true;
    size_t m_uploadBlock = 0;  // index from 1 of the block in flight
    int m_uploadSendings = 0;
    std::optional<Micros> m_uploadRetryAt;

    // Download (the host sends).
    std::string m_downloadName;
    int64_t m_downloadLength = 0;
    std::vector<uint8_t> m_downloadData;
    std::vector<uint8_t> m_block;
    size_t m_blockBodyLength = 0;
    uint8_t m_expectedNumber = 1;
    size_t m_downloadBlocks = 0;  // new blocks taken so far
    bool m_nakDone = false;
    int m_polls = 0;
    std::optional<Micros> m_pollAt;
    Micros m_lastByteAt{0};
    bool m_received = false;  // a completed download waits for its write line
};

}  // namespace tarvo::sim
