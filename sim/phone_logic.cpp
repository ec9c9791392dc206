#include "phone_logic.h"

#include "link/line_exchange.h"
#include "link/xmodem.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace tarvo::sim {

namespace {

using namespace tarvo::xmodem;
using std::chrono::milliseconds;

constexpr Micros kPollInterval = milliseconds(1000);
constexpr int kMaxPolls = 30;
constexpr Micros kUploadRetry = milliseconds(10000);
constexpr int kMaxSendings = 10;
constexpr Micros kBodyGap = milliseconds(1000);  // a block that stalls this long is dropped
constexpr size_t kMaxLine = 256;
constexpr size_t kMaxDownload = 256u * 1024 * 1024;

const char* const kNoise[] = {"status idle 0", "info battery 100", "event hook off"};

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

// A decimal field as the phone reads it: digits only, else nothing.
std::optional<int64_t> ParseLength(const std::string& text) {
    if (text.empty() || text.size() > 12) return std::nullopt;
    if (!std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(uint8_t(c)); }))
        return std::nullopt;
    return std::stoll(text);
}

bool IsText(uint8_t byte) { return byte >= 0x20 || byte == '\t' || byte == '\r'; }

}  // namespace

PhoneLogic::PhoneLogic(PhoneSettings settings, PhoneListener& listener)
    : m_settings(std::move(settings)), m_faults(m_settings.faults), m_listener(listener) {}

void PhoneLogic::Reset() {
    m_state = State::Command;
    m_line.clear();
    m_pendingCan = false;
    m_output.clear();
    m_replyAt.reset();
    m_uploadRetryAt.reset();
    m_pollAt.reset();
    m_received = false;
}

std::vector<uint8_t> PhoneLogic::TakeOutput() {
    std::vector<uint8_t> out;
    out.swap(m_output);
    return out;
}

void PhoneLogic::Send(const std::vector<uint8_t>& bytes) {
    m_output.insert(m_output.end(), bytes.begin(), bytes.end());
}

void PhoneLogic::Send(uint8_t byte) { m_output.push_back(byte); }

void PhoneLogic::SendCancel() { Send({CAN, CAN}); }

bool PhoneLogic::Silent(const char* command) const { return m_faults.silentOn.count(command) != 0; }

void PhoneLogic::Answer(const std::string& line) {
    for (int i = 0; i < m_faults.noiseLines; ++i) {
        std::string noise = std::string(kNoise[i % std::size(kNoise)]) + "\n";
        Send(std::vector<uint8_t>(noise.begin(), noise.end()));
    }
    std::string text = line + "\n";
    Send(std::vector<uint8_t>(text.begin(), text.end()));
}

// ---- time ----

std::optional<Micros> PhoneLogic::NextDeadline() const {
    std::optional<Micros> next = m_replyAt;
    auto consider = [&next](std::optional<Micros> at) {
        if (at && (!next || *at < *next)) next = at;
    };
    switch (m_state) {
        case State::DownloadHeader: consider(m_pollAt); break;
        case State::DownloadBody: consider(m_lastByteAt + kBodyGap); break;
        case State::UploadWaitAck:
        case State::UploadWaitEotAck: consider(m_uploadRetryAt); break;
        default: break;
    }
    return next;
}

void PhoneLogic::Tick(Micros now) {
    if (m_replyAt && *m_replyAt <= now) {
        m_replyAt.reset();
        Answer(m_heldReply);
    }
    switch (m_state) {
        case State::DownloadHeader:
            if (m_pollAt && *m_pollAt <= now) Poll(now);
            break;
        case State::DownloadBody:
            if (m_lastByteAt + kBodyGap <= now) {  // the rest of the block never came
                Send(NAK);
                m_state = State::DownloadHeader;
            }
            break;
        case State::UploadWaitAck:
            if (m_uploadRetryAt && *m_uploadRetryAt <= now) SendUploadBlock(now);
            break;
        case State::UploadWaitEotAck:
            if (m_uploadRetryAt && *m_uploadRetryAt <= now) SendUploadEot(now);
            break;
        default: break;
    }
}

// ---- bytes from the host ----

void PhoneLogic::Receive(uint8_t byte, Micros now) {
    Tick(now);
    switch (m_state) {
        case State::Command: ReceiveCommandByte(byte, now); break;
        case State::UploadWaitPoll:
        case State::UploadWaitAck:
        case State::UploadWaitEotAck: UploadByte(byte, now); break;
        case State::DownloadHeader: DownloadHeaderByte(byte, now); break;
        case State::DownloadBody: DownloadBodyByte(byte, now); break;
        case State::Mute: break;
    }
}

// Control bytes between commands (ACKs after a transfer, the host's cancel
// sequence) are not part of any line.
void PhoneLogic::ReceiveCommandByte(uint8_t byte, Micros now) {
    if (byte == '\n') {
        std::string line;
        line.swap(m_line);
        HandleLine(line, now);
    } else if (IsText(byte) && byte != '\r' && m_line.size() < kMaxLine) {
        m_line.push_back(char(byte));
    }
}

void PhoneLogic::HandleLine(const std::string& line, Micros now) {
    const std::vector<std::string> words = Words(line);
    if (words.empty()) return;
    m_listener.OnLine(line);
    const std::string& verb = words[0];
    if (line == "network restart 1") {
        if (!Silent("command"))
            Answer("result command " + std::to_string(m_faults.commandResult.value_or(0)));
    } else if (verb == "backup" && words.size() >= 2) {
        HandleBackup(words[1]);
    } else if (verb == "download" && words.size() >= 3) {
        HandleDownload(words[1], words[2], now);
    } else if (verb == "write" && words.size() >= 3) {
        HandleWrite(words[1], words[2], now);
    } else if (verb == "reboot") {
        m_listener.OnReboot();
    }
}

void PhoneLogic::HandleBackup(const std::string& name) {
    m_state = State::Command;
    if (Silent("backup")) return;
    const size_t size = m_settings.phoneBook.size();
    Answer("upload " + name + " " + m_faults.announcedSize.value_or(std::to_string(size)));
    if (size == 0) return;  // nothing to send; the host gives up
    m_uploadName = name;
    m_uploadBlock = 0;
    m_state = State::UploadWaitPoll;
}

void PhoneLogic::HandleDownload(const std::string& name, const std::string& length, Micros now) {
    m_state = State::Command;
    m_received = false;
    if (Silent("download")) return;
    m_downloadName = name;
    m_downloadLength = ParseLength(length).value_or(-1);
    m_downloadData.clear();
    m_expectedNumber = 1;
    m_downloadBlocks = 0;
    m_nakDone = false;
    m_crc = !m_faults.pollWithNak;
    m_polls = 0;
    m_state = State::DownloadHeader;
    Poll(now);
}

void PhoneLogic::HandleWrite(const std::string& name, const std::string& length, Micros now) {
    const bool matches = m_received && name == m_downloadName &&
                         ParseLength(length) == int64_t(m_downloadData.size());
    m_received = false;
    int code = 1;
    if (matches) code = m_listener.OnFile(name, m_downloadData) ? 0 : 1;
    if (Silent("write")) return;
    if (m_faults.writeResult) code = *m_faults.writeResult;
    m_heldReply = "result write " + std::to_string(code);
    m_replyAt = now + std::chrono::duration_cast<Micros>(m_faults.writeDelay);
    Tick(now);
}

// ---- the phone sends (phone-book backup) ----

size_t PhoneLogic::UploadBlockCount() const {
    const size_t size = m_settings.phoneBook.size();
    return (size + m_settings.blockSize - 1) / m_settings.blockSize;
}

void PhoneLogic::UploadByte(uint8_t byte, Micros now) {
    if (m_pendingCan) {
        m_pendingCan = false;
        if (byte == CAN) {
            m_listener.OnHostCancel();
            EndUpload(false);
            return;
        }
    }
    if (byte == CAN) {
        m_pendingCan = true;
    } else if (m_state == State::UploadWaitPoll && (byte == POLL_CRC || byte == NAK)) {
        m_crc = byte == POLL_CRC;
        m_uploadBlock = 1;
        m_uploadSendings = 0;
        SendUploadBlock(now);
    } else if (m_state == State::UploadWaitAck && byte == ACK) {
        const size_t done = m_uploadBlock;
        const bool early = m_faults.eotAfterBlocks > 0 && done >= size_t(m_faults.eotAfterBlocks);
        m_uploadSendings = 0;
        if (done >= UploadBlockCount() || early) {
            SendUploadEot(now);
        } else {
            ++m_uploadBlock;
            SendUploadBlock(now);
        }
    } else if (m_state == State::UploadWaitAck && byte == NAK) {
        SendUploadBlock(now);
    } else if (m_state == State::UploadWaitEotAck && byte == ACK) {
        EndUpload(true);
    } else if (!IsText(byte) && byte != '\n') {
        // other control bytes mean nothing here
    } else {
        ReceiveCommandByte(byte, now);  // a new command ends the upload
    }
}

void PhoneLogic::SendUploadBlock(Micros now) {
    const size_t index = m_uploadBlock;
    if (++m_uploadSendings > kMaxSendings) {
        EndUpload(false);
        return;
    }
    if (m_faults.cancelAtBlock > 0 && index == size_t(m_faults.cancelAtBlock)) {
        SendCancel();
        EndUpload(false);
        return;
    }
    const size_t size = m_settings.blockSize;
    std::vector<uint8_t> block(3 + size + (m_crc ? 2 : 1), 0);
    block[0] = size == kLongBlockSize ? STX : SOH;
    block[1] = uint8_t(index);
    block[2] = uint8_t(~index);
    const auto& book = m_settings.phoneBook;
    const size_t offset = (index - 1) * size;
    const size_t count = std::min(size, book.size() - offset);
    std::copy_n(book.begin() + ptrdiff_t(offset), count, block.begin() + 3);
    std::fill(block.begin() + 3 + ptrdiff_t(count), block.begin() + 3 + ptrdiff_t(size), SUB);
    uint8_t* data = block.data() + 3;
    if (m_crc) {
        const uint16_t crc = CalcCrc16(data, size);
        data[size] = uint8_t(crc >> 8);
        data[size + 1] = uint8_t(crc);
    } else {
        uint8_t sum = 0;
        for (size_t i = 0; i < size; ++i) sum = uint8_t(sum + data[i]);
        data[size] = sum;
    }
    if (index == size_t(m_faults.corruptAtBlock) && m_uploadSendings == 1) data[0] ^= 0x5A;
    if (index == size_t(m_faults.silenceAtBlock)) {
        block.resize(block.size() / 2);
        Send(block);
        m_state = State::Mute;
        return;
    }
    Send(block);
    m_state = State::UploadWaitAck;
    m_uploadRetryAt = now + kUploadRetry;
}

void PhoneLogic::SendUploadEot(Micros now) {
    if (m_state != State::UploadWaitEotAck) m_uploadSendings = 0;
    if (++m_uploadSendings > kMaxSendings) {
        EndUpload(false);
        return;
    }
    Send(EOT);
    m_state = State::UploadWaitEotAck;
    m_uploadRetryAt = now + kUploadRetry;
}

void PhoneLogic::EndUpload(bool complete) {
    const size_t blocks = complete ? m_uploadBlock : m_uploadBlock - (m_uploadBlock > 0);
    const size_t sent = std::min(m_settings.phoneBook.size(), blocks * m_settings.blockSize);
    m_listener.OnUploadEnd(m_uploadName, sent, complete);
    m_uploadRetryAt.reset();
    m_state = State::Command;
}

// ---- the host sends (restore, configuration, firmware) ----

void PhoneLogic::Poll(Micros now) {
    if (m_polls >= kMaxPolls) {  // the host never started
        m_state = State::Command;
        m_pollAt.reset();
        return;
    }
    ++m_polls;
    Send(m_crc ? POLL_CRC : NAK);
    m_pollAt = now + kPollInterval;
}

void PhoneLogic::DownloadHeaderByte(uint8_t byte, Micros now) {
    if (m_pendingCan) {
        m_pendingCan = false;
        if (byte == CAN) {
            m_listener.OnHostCancel();
            m_state = State::Command;
            return;
        }
    }
    if (byte == SOH || byte == STX) {
        const size_t size = byte == SOH ? kBlockSize : kLongBlockSize;
        m_blockBodyLength = 2 + size + (m_crc ? 2 : 1);
        m_block.clear();
        m_lastByteAt = now;
        m_pollAt.reset();
        m_state = State::DownloadBody;
    } else if (byte == EOT) {
        FinishDownload();
    } else if (byte == CAN) {
        m_pendingCan = true;
    } else if (IsText(byte) || byte == '\n') {
        ReceiveCommandByte(byte, now);  // a new command ends the download
    }
}

void PhoneLogic::DownloadBodyByte(uint8_t byte, Micros now) {
    m_block.push_back(byte);
    m_lastByteAt = now;
    if (m_block.size() == m_blockBodyLength) CheckDownloadBlock();
}

void PhoneLogic::CheckDownloadBlock() {
    m_state = State::DownloadHeader;
    const size_t size = m_blockBodyLength - 2 - (m_crc ? 2 : 1);
    const uint8_t number = m_block[0];
    const uint8_t* data = m_block.data() + 2;
    if (m_block[1] != uint8_t(~number) || !CheckBlock(m_crc, data, size)) {
        Send(NAK);
        return;
    }
    if (number == uint8_t(m_expectedNumber - 1) && m_downloadBlocks > 0) {
        Send(ACK);  // sent again: already stored
        return;
    }
    if (number != m_expectedNumber) {
        SendCancel();
        m_state = State::Command;
        return;
    }
    const size_t index = m_downloadBlocks + 1;
    if (index == size_t(m_faults.cancelAtBlock)) {
        SendCancel();
        m_state = State::Command;
        return;
    }
    if (index == size_t(m_faults.silenceAtBlock)) {
        m_state = State::Mute;
        return;
    }
    if (index == size_t(m_faults.nakAtBlock) && !m_nakDone) {
        m_nakDone = true;
        Send(NAK);
        return;
    }
    if (m_downloadData.size() + size > kMaxDownload) {
        SendCancel();
        m_state = State::Command;
        return;
    }
    m_downloadData.insert(m_downloadData.end(), data, data + size);
    ++m_downloadBlocks;
    ++m_expectedNumber;
    Send(ACK);
}

// The blocks carry fill bytes after the file: the length from the download
// line says where the file ends.
void PhoneLogic::FinishDownload() {
    Send(ACK);
    if (m_downloadLength >= 0 && m_downloadData.size() >= size_t(m_downloadLength))
        m_downloadData.resize(size_t(m_downloadLength));
    m_received = true;
    m_state = State::Command;
    const int code = m_faults.downloadResult.value_or(int(m_downloadData.size()));
    Answer("result download " + std::to_string(code));
}

}  // namespace tarvo::sim
