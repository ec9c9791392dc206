// The text side of the phone's protocol: command lines out, "result" and
// "upload" lines in. The reader exists once here and is bound to one channel
// and one cancel flag per operation.
#pragma once

#include "byte_channel.h"

#include <atomic>
#include <cstddef>
#include <string>

namespace tarvo {

inline constexpr int kNoLimit = -1;
inline constexpr size_t kLineBufferSize = 100;
inline constexpr size_t kWordBufferSize = 64;

class LineExchange {
public:
    LineExchange(ByteChannel& channel, const std::atomic<bool>& cancel, Clock& clock);

    // Reads lines until one begins with `prefix` (exact, case-sensitive). 0 with
    // that line in `buffer` (zero-terminated, LF dropped, CR kept, cut to
    // size - 1 characters); -1 on cancel or when more than `maxTimeouts` read
    // time-outs have passed during the whole call (kNoLimit: no limit).
    int ReadLine(const char* prefix, char* buffer, size_t size, int maxTimeouts);

    // Waits for the first "result" line: 0 when it is for `command` with
    // `expectedCode`, -1 for any other result line, a time-out or cancel.
    int WaitResult(const char* command, int expectedCode, int maxTimeouts);

    // Discards input until one read passes without a byte, or until cancel.
    void DrainInput();

    // Sends a command line as one write; the count written is not examined.
    void Send(const std::string& line);

private:
    ByteChannel& m_channel;
    const std::atomic<bool>& m_cancel;
    Clock& m_clock;
};

// Splits a line into its first three white-space separated words, each cut to
// fit a 64-byte word buffer. False when fewer than three words are present.
bool SplitThreeWords(const char* line, std::string& first, std::string& second,
                     std::string& third);

// The standard atoi conversion, saturating instead of overflowing.
int ParseDecimal(const std::string& text);

// Command lines of the protocol. The wire name is at most 11 characters.
std::string WireName(const std::string& announcedName);
std::string PhoneNumberInitLine();                                         // "\ninit 1 1\n"
std::string CommandLine(const std::string& command);                       // "%s\n"
std::string SendInitLine(const std::string& wireName);                     // "\ninit %s 0\n"
std::string DownloadLine(const std::string& wireName, int64_t length);     // "download %s %d\n"
std::string WriteLine(const std::string& wireName, int64_t length);        // "\nwrite %s %d\n"
std::string ReceiveInitLine();                                             // "\ninit aa 0\n"
std::string BackupLine(const std::string& wireName);                       // "backup %s 0\n"
std::string RebootLine();                                                  // "\nreboot now 0\n"

}  // namespace tarvo
