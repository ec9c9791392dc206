// Receiving the phone book: the init and backup lines, the phone's "upload"
// line with the size, then blocks of 128 or 1024 bytes polled for with C (CRC)
// and, if the phone does not answer that, with NAK (sum), until EOT.
#include "line_exchange.h"
#include "transfer_steps.h"
#include "xmodem.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

namespace tarvo {

namespace {

using namespace xmodem;

enum class HeaderResult { Block, End };

class Receiver : TransferSteps {
public:
    Receiver(OperationContext& context, ReceiveSink& file, const std::string& announcedName)
        : TransferSteps(context),
          m_port(context.port),
          m_file(file),
          m_lines(context.port, context.cancel, context.clock),
          m_wireName(WireName(announcedName)) {}

    bool Run() {
        OpenExchange();
        m_lines.Send(ReceiveInitLine());
        m_lines.Send(BackupLine(m_wireName));
        if (!ReadAnnouncedSize()) {
            m_error = true;
        } else if (m_size <= 0) {
            Fail(kStatusNoEntries);
        } else if (!AllocateBuffer()) {
            m_error = true;
        } else {
            m_context.observer.OnSize(m_size);
            Status(kStatusReceiving);
            ReceiveBlocks();
        }
        Finish();
        return m_success;
    }

private:

    // "upload NAME SIZE": a size that is missing or not a number counts as 0.
    bool ReadAnnouncedSize() {
        char line[kLineBufferSize];
        if (m_lines.ReadLine("upload", line, sizeof line, kUploadLineTimeouts) != 0) return false;
        std::string keyword, name, size;
        m_size = SplitThreeWords(line, keyword, name, size) ? ParseDecimal(size) : 0;
        return true;
    }

    // A garbled or hostile size must not exhaust memory: it fails the receive.
    bool AllocateBuffer() {
        if (m_size > kMaxReceiveSize) return false;
        try {
            m_buffer.resize(size_t(m_size) + 1);
        } catch (const std::bad_alloc&) {
            return false;
        }
        return true;
    }

    void ReceiveBlocks() {
        while (!Cancelled() && !m_error && !m_eotSeen) {
            if (WaitForHeader() != HeaderResult::Block) return;
            if (m_poll == POLL_CRC) m_crcMode = true;  // never changes back
            m_poll = 0;  // from now on we only answer
            ReceiveBlock();
        }
    }

    // Polls with C for 16 time-outs, then with NAK for 16 more; once blocks
    // flow, 16 s of silence between blocks ends the transfer.
    HeaderResult WaitForHeader() {
        for (;;) {
            int timeouts = 0;
            while (timeouts < kHeaderTimeouts && !Cancelled()) {
                if (m_poll != 0) m_port.WriteByte(m_poll);
                uint8_t byte = 0;
                if (!m_port.ReadByte(byte)) {
                    m_context.observer.OnErrors(++timeouts);
                } else if (byte == SOH || byte == STX) {
                    m_blockSize = byte == SOH ? kBlockSize : kLongBlockSize;
                    return HeaderResult::Block;
                } else if (byte == EOT) {
                    Acknowledge();
                    m_eotSeen = true;
                    return HeaderResult::End;
                } else if (byte == CAN && SecondCan()) {
                    Acknowledge();
                    m_error = true;
                    return HeaderResult::End;
                }
            }
            if (m_poll == POLL_CRC) {
                m_poll = NAK;
                continue;
            }
            GiveUp();
            return HeaderResult::End;
        }
    }

    bool SecondCan() {
        uint8_t second = 0;
        return m_port.ReadByte(second) && second == CAN;
    }

    // ACK, let the line settle, ACK again.
    void Acknowledge() {
        m_port.WriteByte(ACK);
        m_lines.DrainInput();
        m_port.WriteByte(ACK);
    }

    void GiveUp() {
        m_lines.DrainInput();
        for (int i = 0; i < 3; ++i) m_port.WriteByte(CAN);
        m_error = true;
    }

    void ReceiveBlock() {
        const size_t checkLength = m_crcMode ? 2 : 1;
        const size_t rest = 2 + m_blockSize + checkLength;
        if (!ReadExactly(m_block, rest) || !BlockIsGood()) {
            m_lines.DrainInput();
            m_port.WriteByte(NAK);
            m_error = true;  // no waiting for the block to come again
            return;
        }
        if (m_block[0] == m_expected) {
            Store(m_block + 2);
        } else if (--m_duplicateAllowance == 0) {  // the same block, sent again
            GiveUp();
            return;
        }
        m_port.WriteByte(ACK);
    }

    // Only the cancel flag ends this wait; a failed read makes the block bad.
    bool ReadExactly(uint8_t* buffer, size_t wanted) {
        size_t got = 0;
        while (got < wanted) {
            if (Cancelled()) return false;
            int n = m_port.Read(buffer + got, wanted - got);
            if (n < 0) return false;
            got += size_t(n);
        }
        return true;
    }

    bool BlockIsGood() const {
        const uint8_t number = m_block[0];
        if (m_block[1] != uint8_t(~number)) return false;
        if (number != m_expected && number != uint8_t(m_expected - 1)) return false;
        if (!CheckBlock(m_crcMode, m_block + 2, m_blockSize)) return false;
        return !Cancelled();
    }

    // The fill bytes of the last block, beyond the announced size, are dropped.
    void Store(const uint8_t* data) {
        size_t room = size_t(m_size) - m_stored;
        size_t count = std::min(m_blockSize, room);
        if (count > 0) {
            std::memcpy(m_buffer.data() + m_stored, data, count);
            m_stored += count;
        }
        m_context.observer.OnProgress(int64_t(m_stored));
        ++m_expected;
        m_duplicateAllowance = kDuplicateAllowance;
    }

    void Finish() {
        if (Cancelled()) {
            for (int i = 0; i < 4; ++i) m_port.WriteByte(CAN);
            return;
        }
        if (m_error) {
            Fail(kStatusFailTransmit);
        } else if (m_eotSeen) {
            // EOT before the announced size has come is a short file, not a
            // success; and a file that could not be stored is no success either.
            if (m_stored < size_t(m_size) || !m_file.Store(m_buffer.data(), size_t(m_size))) {
                Fail(kStatusFailTransmit);
            } else {
                Status(kStatusSuccess);
                m_context.observer.OnHideCancel();
                m_context.clock.Sleep(m_context.finalPause);
                m_success = true;
            }
        }
        m_context.observer.OnDone(m_success);
    }

    ByteChannel& m_port;
    ReceiveSink& m_file;
    LineExchange m_lines;
    const std::string m_wireName;

    uint8_t m_poll = POLL_CRC;
    bool m_crcMode = false;
    uint8_t m_expected = 1;
    size_t m_blockSize = kBlockSize;
    int64_t m_size = 0;
    std::vector<uint8_t> m_buffer;
    size_t m_stored = 0;
    int m_duplicateAllowance = kDuplicateAllowance;
    bool m_error = false;
    bool m_eotSeen = false;
    bool m_success = false;
    uint8_t m_block[2 + kLongBlockSize + 2] = {};
};

}  // namespace

bool ReceiveFile(OperationContext& context, ReceiveSink& file, const std::string& announcedName) {
    return Receiver(context, file, announcedName).Run();
}

}  // namespace tarvo
