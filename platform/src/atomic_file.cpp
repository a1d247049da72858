#include "platform/atomic_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

namespace sundrel::platform {

bool replaceFileAtomically(const std::string& path, std::string_view content) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    if (target.filename().empty()) {
        return false;
    }
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string temporary =
        (folder / std::string(".").append(target.filename().string()).append(".XXXXXX")).string();
    const int fd = mkstemp(temporary.data());
    if (fd < 0) {
        return false;  // a missing or read-only folder
    }
    struct stat old {};
    if (stat(path.c_str(), &old) == 0) {
        fchmod(fd, old.st_mode & 07777);
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        fchmod(fd, 0666 & ~mask);
    }
    std::size_t written = 0;
    while (written < content.size()) {
        const ssize_t n = ::write(fd, content.data() + written, content.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        written += static_cast<std::size_t>(n);
    }
    const bool complete = written == content.size() && fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!complete || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace sundrel::platform
