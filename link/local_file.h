// The local files of a transfer: the file sent to the phone, and the backup
// file written so that a failed receive never destroys what was there.
#pragma once

#include "xmodem.h"

#include <cstdint>
#include <filesystem>
#include <fstream>

namespace tarvo {

class InputFile final : public SendSource {
public:
    enum class OpenResult { Ok, CannotOpen, Empty, TooLarge };

    // Empty files are refused, as are files too long for the protocol's
    // length fields (2 GiB and more).
    OpenResult Open(const std::filesystem::path& path);
    int64_t Length() const override { return m_length; }
    size_t Read(uint8_t* buffer, size_t wanted) override;

private:
    std::ifstream m_stream;
    int64_t m_length = 0;
};

// Receives into a temporary file beside the target, and replaces the target
// only once the whole file is on disk: a failed backup leaves the old file as
// it was.
class AtomicFile final : public ReceiveSink {
public:
    explicit AtomicFile(std::filesystem::path target);

    // The early check, before the phone is asked for anything: the target can
    // be written (or, when it does not exist yet, created). The target is not
    // changed.
    bool CheckWritable() const;

    // Writes the data to a temporary file, flushes it to disk and renames it
    // over the target. False, with the target untouched and the temporary file
    // removed, when any step fails.
    bool Store(const uint8_t* data, size_t size) override;

    const std::filesystem::path& Target() const { return m_target; }

private:
    std::filesystem::path TemporaryPath() const;

    std::filesystem::path m_target;
};

namespace platform {
// Creates `path` (it must not exist), writes `size` bytes and flushes them to
// the disk. Gives a new file the permissions of `modelFile` where that exists.
bool WriteNewFileDurably(const std::filesystem::path& path, const uint8_t* data, size_t size,
                         const std::filesystem::path& modelFile);
// Renames `from` over `to`, replacing it, and makes the rename durable.
bool MoveOverTarget(const std::filesystem::path& from, const std::filesystem::path& to);
// Whether an existing file can be opened for writing, without changing it.
bool CanWriteExisting(const std::filesystem::path& path);
}  // namespace platform

}  // namespace tarvo
