#include "test_support/file_replacements.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <array>
#include <cstring>
#include <stdexcept>

namespace sundrel::testing {

FileReplacements::FileReplacements(const std::filesystem::path& file)
    : name_(file.filename().string()) {
    fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    if (fd_ < 0 || inotify_add_watch(fd_, folder.c_str(), IN_MOVED_TO) < 0) {
        throw std::runtime_error("cannot watch " + folder.string());
    }
}

FileReplacements::~FileReplacements() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

int FileReplacements::count() {
    alignas(inotify_event) std::array<char, 4096> buffer{};
    for (;;) {
        const ssize_t n = read(fd_, buffer.data(), buffer.size());
        if (n <= 0) {
            return count_;  // nothing more queued
        }
        for (ssize_t at = 0; at < n;) {
            inotify_event event{};
            std::memcpy(&event, buffer.data() + at, sizeof event);
            const char* name = buffer.data() + at + sizeof event;
            if (event.len > 0 && name_ == name) {
                ++count_;
            }
            at += static_cast<ssize_t>(sizeof event + event.len);
        }
    }
}

}  // namespace sundrel::testing
