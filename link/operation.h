// What the phone operations need from their host: a channel to the phone, a
// cancel flag, a clock, and an observer that hears about every step. The
// Windows dialogs turn the observer calls into posted window messages; the
// command-line tool prints them.
#pragma once

#include "byte_channel.h"

#include <atomic>
#include <chrono>
#include <cstdint>

namespace tarvo {

class OperationObserver {
public:
    virtual ~OperationObserver() = default;
    virtual void OnStatus(int stringId) = 0;    // a new status text, by string-table id
    virtual void OnErrors(int count) = 0;       // read time-outs, or the try number of a block
    virtual void OnProgress(int64_t bytes) = 0; // bytes confirmed (send) or stored (receive)
    virtual void OnSize(int64_t bytes) = 0;     // the size the phone announced (receive)
    // Last report; not made after a cancel. `success`: the phone stored the
    // sent file, the received file was stored, or the phone took the command.
    virtual void OnDone(bool success) = 0;
    virtual void OnHideCancel() = 0;            // a receive succeeded: Cancel is no longer offered
};

struct OperationContext {
    ByteChannel& port;
    const std::atomic<bool>& cancel;
    Clock& clock;
    OperationObserver& observer;
    // Discard pending input and output before the exchange starts.
    bool purgeFirst = true;
    // How long a final status stays readable before OnDone. A dialog keeps
    // 2000 ms; a command-line run has no need to wait.
    std::chrono::milliseconds finalPause{2000};
};

// Status texts, by string-table id.
enum StatusId : int {
    kStatusWaitSync = 104,
    kStatusFailTransmit = 105,
    kStatusWritingFile = 106,
    kStatusSuccess = 107,
    kStatusTimeout = 108,
    kStatusCancelled = 110,
    kStatusTransmitting = 111,
    kStatusFailWrite = 113,
    kStatusWriteDone = 114,
    kStatusNoEntries = 115,
    kStatusReceiving = 116,
    kStatusPhoneNoResponse = 120,
    kStatusFirmwareDone = 128,
    kStatusFirmwareSending = 129,
};

}  // namespace tarvo
