#include "local_file.h"

#include <atomic>
#include <chrono>
#include <string>
#include <system_error>

namespace tarvo {

namespace fs = std::filesystem;

InputFile::OpenResult InputFile::Open(const fs::path& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) return OpenResult::CannotOpen;
    auto size = fs::file_size(path, error);
    if (error) return OpenResult::CannotOpen;
    m_stream.open(path, std::ios::binary);
    if (!m_stream) return OpenResult::CannotOpen;
    m_length = static_cast<int64_t>(size);
    if (m_length == 0) return OpenResult::Empty;
    if (m_length > kMaxSendLength) return OpenResult::TooLarge;
    return OpenResult::Ok;
}

size_t InputFile::Read(uint8_t* buffer, size_t wanted) {
    m_stream.read(reinterpret_cast<char*>(buffer), static_cast<std::streamsize>(wanted));
    return static_cast<size_t>(m_stream.gcount());
}

AtomicFile::AtomicFile(fs::path target) : m_target(std::move(target)) {}

fs::path AtomicFile::TemporaryPath() const {
    static std::atomic<unsigned> counter{0};
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    fs::path name = m_target.filename();
    name += ".part-" + std::to_string(stamp % 1000000007) + "-" + std::to_string(counter++);
    return m_target.parent_path() / name;
}

bool AtomicFile::CheckWritable() const {
    std::error_code error;
    if (fs::exists(m_target, error)) {
        return fs::is_regular_file(m_target, error) && platform::CanWriteExisting(m_target);
    }
    // A new file: the folder must take one.
    fs::path probe = TemporaryPath();
    if (!platform::WriteNewFileDurably(probe, nullptr, 0, fs::path())) return false;
    fs::remove(probe, error);
    return true;
}

bool AtomicFile::Store(const uint8_t* data, size_t size) {
    fs::path temporary = TemporaryPath();
    if (platform::WriteNewFileDurably(temporary, data, size, m_target) &&
        platform::MoveOverTarget(temporary, m_target)) {
        return true;
    }
    std::error_code error;
    fs::remove(temporary, error);
    return false;
}

}  // namespace tarvo
