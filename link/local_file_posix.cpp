// Durable file replacement on POSIX: write, fsync, rename(2), fsync the folder.
#include "local_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvo::platform {

namespace fs = std::filesystem;

bool WriteNewFileDurably(const fs::path& path, const uint8_t* data, size_t size,
                         const fs::path& modelFile) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    bool ok = true;
    struct stat model {};
    if (!modelFile.empty() && ::stat(modelFile.c_str(), &model) == 0)
        ok = ::fchmod(fd, model.st_mode & 07777) == 0;
    size_t done = 0;
    while (ok && done < size) {
        ssize_t n = ::write(fd, data + done, size - done);
        if (n > 0) done += size_t(n);
        else if (n < 0 && errno == EINTR) continue;
        else ok = false;
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    return ok;
}

bool MoveOverTarget(const fs::path& from, const fs::path& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) return false;
    fs::path folder = to.parent_path().empty() ? fs::path(".") : to.parent_path();
    int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);  // the rename itself reaches the disk
        ::close(dir);
    }
    return true;
}

bool CanWriteExisting(const fs::path& path) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

}  // namespace tarvo::platform
