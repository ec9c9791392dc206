// XMODEM block transfer to and from the phone, with the command lines around
// it: SendFile for restore, configuration and firmware, ReceiveFile for the
// phone-book backup.
#pragma once

#include "operation.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace tarvo {

namespace xmodem {
inline constexpr uint8_t SOH = 0x01;  // 128-byte block
inline constexpr uint8_t STX = 0x02;  // 1024-byte block (received only)
inline constexpr uint8_t EOT = 0x04;
inline constexpr uint8_t ACK = 0x06;
inline constexpr uint8_t BS = 0x08;
inline constexpr uint8_t NAK = 0x15;
inline constexpr uint8_t CAN = 0x18;
inline constexpr uint8_t SUB = 0x1A;
inline constexpr uint8_t POLL_CRC = 'C';
inline constexpr uint8_t NUL = 0x00;

inline constexpr size_t kBlockSize = 128;
inline constexpr size_t kLongBlockSize = 1024;
inline constexpr size_t kWritePiece = 64;      // one port write per piece of a block
inline constexpr int kSyncTimeouts = 16;
inline constexpr int kMaxTries = 25;
inline constexpr int kMaxEots = 10;
inline constexpr int kHeaderTimeouts = 16;
inline constexpr int kDuplicateAllowance = 25;
inline constexpr int kDownloadResultTimeouts = 10;
inline constexpr int kUploadLineTimeouts = 10;
}  // namespace xmodem

// Lengths the protocol's decimal fields carry: files of 2 GiB or more are
// refused before anything is sent.
inline constexpr int64_t kMaxSendLength = 0x7FFFFFFF;
// Largest phone book we accept; a larger announced size is taken as garbled.
inline constexpr int64_t kMaxReceiveSize = 64LL * 1024 * 1024;

// CRC-16/XMODEM (poly 0x1021, init 0, no reflection). A length of 0 gives 0.
uint16_t CalcCrc16(const uint8_t* data, size_t length);
// 1 when the check after data[0..length-1] is right: CRC-16 high byte first in
// CRC mode, the 8-bit sum otherwise.
int CheckBlock(bool crcMode, const uint8_t* data, size_t length);

class SendSource {
public:
    virtual ~SendSource() = default;
    virtual int64_t Length() const = 0;
    // Reads up to `wanted` bytes; the count read.
    virtual size_t Read(uint8_t* buffer, size_t wanted) = 0;
};

class ReceiveSink {
public:
    virtual ~ReceiveSink() = default;
    // Stores the whole received file; false when it could not be stored.
    virtual bool Store(const uint8_t* data, size_t size) = 0;
};

struct SendOptions {
    std::string announcedName;
    bool firmware = false;  // firmware status texts (129, 128)
};

// Runs a whole send; returns true when the phone stored the file.
bool SendFile(OperationContext& context, SendSource& file, const SendOptions& options);
// Runs a whole receive; returns true when the file was received and stored.
bool ReceiveFile(OperationContext& context, ReceiveSink& file, const std::string& announcedName);

}  // namespace tarvo
