// Sending a file to the phone: the init and download lines, the phone's poll,
// 128-byte blocks until the phone has confirmed every byte, EOT, then the
// download and write results.
#include "line_exchange.h"
#include "transfer_steps.h"
#include "xmodem.h"

#include <algorithm>
#include <cstring>

namespace tarvo {

namespace {

using namespace xmodem;

enum class SyncResult { Polled, PhoneCancelled, TimedOut, Cancelled };
enum class BlockResult { Acknowledged, PhoneCancelled, Abandoned, Stopped };
enum class BlocksResult { AllSent, PhoneCancelled, Abandoned, WriteFailed, Cancelled };

class Sender : TransferSteps {
public:
    Sender(OperationContext& context, SendSource& file, const SendOptions& options)
        : TransferSteps(context),
          m_port(context.port),
          m_file(file),
          m_lines(context.port, context.cancel, context.clock),
          m_wireName(WireName(options.announcedName)),
          m_firmware(options.firmware) {}

    bool Run() {
        m_length = m_file.Length();
        OpenExchange();
        if (m_length < 0 || m_length > kMaxSendLength) {
            Fail(kStatusFailTransmit);  // refused before anything is sent
        } else {
            Announce();
            if (!Cancelled() && WaitForPoll() == SyncResult::Polled) TransferAndStore();
        }
        Finish();
        return m_success;
    }

private:

    void Announce() {
        m_lines.Send(SendInitLine(m_wireName));
        m_lines.Send(DownloadLine(m_wireName, m_length));
    }

    // The phone asks for the first block with C (CRC) or NAK (sum).
    SyncResult WaitForPoll() {
        int timeouts = 0;
        while (!Cancelled()) {
            uint8_t byte = 0;
            if (!m_port.ReadByte(byte)) {
                m_context.observer.OnErrors(++timeouts);
                if (timeouts >= kSyncTimeouts) {
                    for (int i = 0; i < 8 && m_port.WriteByte(CAN); ++i) {}
                    Status(kStatusTimeout);
                    return SyncResult::TimedOut;
                }
            } else if (byte == NAK || byte == POLL_CRC) {
                m_crcMode = byte == POLL_CRC;
                return SyncResult::Polled;
            } else if (byte == CAN && PhoneCancels()) {
                return SyncResult::PhoneCancelled;
            }
        }
        return SyncResult::Cancelled;
    }

    // After one CAN: a second CAN is the phone's cancel, which we acknowledge.
    bool PhoneCancels() {
        uint8_t second = 0;
        if (!m_port.ReadByte(second) || second != CAN) return false;
        m_port.WriteByte(ACK);
        Status(kStatusCancelled);
        return true;
    }

    void TransferAndStore() {
        Status(m_firmware ? kStatusFirmwareSending : kStatusTransmitting);
        switch (SendBlocks()) {
            case BlocksResult::AllSent:
                SendEot();
                StoreOnPhone();
                break;
            case BlocksResult::Abandoned:
                for (int i = 0; i < 3; ++i) m_port.WriteByte(CAN);
                Fail(kStatusFailTransmit);
                break;
            case BlocksResult::WriteFailed:
                Fail(kStatusFailTransmit);
                break;
            case BlocksResult::PhoneCancelled:
            case BlocksResult::Cancelled:
                break;
        }
    }

    // The loop runs on while the previous block carried data, so the block
    // after the last data block holds only SUB: it is always sent.
    BlocksResult SendBlocks() {
        int64_t previousLength = m_length;
        while (!Cancelled() && m_writeOk && previousLength > 0) {
            size_t length = size_t(std::min<int64_t>(kBlockSize, m_length - m_confirmed));
            if (!BuildBlock(length)) return BlocksResult::Abandoned;
            switch (SendBlock(length)) {
                case BlockResult::Acknowledged: break;
                case BlockResult::PhoneCancelled: return BlocksResult::PhoneCancelled;
                case BlockResult::Abandoned: return BlocksResult::Abandoned;
                case BlockResult::Stopped: break;
            }
            previousLength = int64_t(length);
        }
        if (Cancelled()) return BlocksResult::Cancelled;
        if (!m_writeOk) return BlocksResult::WriteFailed;
        return BlocksResult::AllSent;
    }

    // False when the file gave fewer bytes than it had: it changed under us.
    bool BuildBlock(size_t length) {
        uint8_t* data = m_block + 3;
        m_block[0] = SOH;
        m_block[1] = m_blockNumber;
        m_block[2] = uint8_t(~m_blockNumber);
        std::memset(data, 0, kBlockSize);
        if (length == 0) {
            data[0] = SUB;
        } else {
            if (m_file.Read(data, length) != length) return false;
            if (length < kBlockSize) data[length] = SUB;
        }
        if (m_crcMode) {
            uint16_t crc = CalcCrc16(data, kBlockSize);
            data[kBlockSize] = uint8_t(crc >> 8);
            data[kBlockSize + 1] = uint8_t(crc);
            m_blockLength = 3 + kBlockSize + 2;
        } else {
            uint8_t sum = 0;
            for (size_t i = 0; i < kBlockSize; ++i) sum = uint8_t(sum + data[i]);
            data[kBlockSize] = sum;
            m_blockLength = 3 + kBlockSize + 1;
        }
        return true;
    }

    // A block goes at most 25 times; one still unconfirmed after its 23rd
    // sending ends the transfer even if its 24th is acknowledged.
    BlockResult SendBlock(size_t length) {
        int tries = 1;
        bool acknowledged = false;
        while (!acknowledged && !Cancelled() && m_writeOk) {
            if (!WriteBlock()) break;
            uint8_t reply = 0;
            if (!m_port.ReadByte(reply)) {
                m_context.observer.OnErrors(tries);
            } else if (reply == ACK) {
                m_confirmed += int64_t(length);
                ++m_blockNumber;
                acknowledged = true;
                m_context.observer.OnProgress(m_confirmed);
            } else if (reply == CAN && PhoneCancels()) {
                return BlockResult::PhoneCancelled;
            }  // NAK or any other byte: the block goes again
            if (tries >= kMaxTries) return BlockResult::Abandoned;
            ++tries;
        }
        if (tries >= kMaxTries) return BlockResult::Abandoned;
        return acknowledged ? BlockResult::Acknowledged : BlockResult::Stopped;
    }

    // In pieces of at most 64 bytes, one port write each.
    bool WriteBlock() {
        for (size_t offset = 0; offset < m_blockLength; offset += kWritePiece) {
            size_t piece = std::min(kWritePiece, m_blockLength - offset);
            if (m_port.Write(m_block + offset, piece) == 0) {
                m_writeOk = false;
                return false;
            }
        }
        return true;
    }

    void SendEot() {
        bool acknowledged = false;
        for (int i = 0; i < kMaxEots && !Cancelled() && !acknowledged && m_writeOk; ++i) {
            m_port.WriteByte(EOT);
            uint8_t reply = 0;
            if (m_port.ReadByte(reply)) {
                Status(kStatusSuccess);
                acknowledged = reply == ACK;
            }
        }
    }

    // The phone confirms the length it got, then stores the file on "write".
    void StoreOnPhone() {
        if (Cancelled() || !m_writeOk) return;
        if (m_lines.WaitResult("download", int(m_length), kDownloadResultTimeouts) != 0) {
            Fail(kStatusFailTransmit);
            return;
        }
        Status(kStatusWritingFile);
        m_lines.Send(WriteLine(m_wireName, m_length));
        if (m_lines.WaitResult("write", 0, kNoLimit) != 0) {
            Fail(kStatusFailWrite);
            return;
        }
        Status(m_firmware ? kStatusFirmwareDone : kStatusWriteDone);
        m_success = true;
    }

    void Finish() {
        if (!Cancelled()) {
            m_context.observer.OnDone(m_success);
            return;
        }
        static const uint8_t kCancelSequence[] = {CAN, CAN, CAN, CAN, CAN, CAN, CAN, CAN,
                                                  BS,  BS,  BS,  BS,  BS,  BS,  BS,  BS,
                                                  BS,  BS,  NUL};
        m_port.Write(kCancelSequence, sizeof kCancelSequence);
    }

    ByteChannel& m_port;
    SendSource& m_file;
    LineExchange m_lines;
    const std::string m_wireName;
    const bool m_firmware;

    int64_t m_length = 0;
    uint8_t m_blockNumber = 1;
    bool m_crcMode = false;
    int64_t m_confirmed = 0;
    bool m_writeOk = true;
    bool m_success = false;
    uint8_t m_block[3 + kBlockSize + 2] = {};
    size_t m_blockLength = 0;
};

}  // namespace

bool SendFile(OperationContext& context, SendSource& file, const SendOptions& options) {
    return Sender(context, file, options).Run();
}

}  // namespace tarvo
