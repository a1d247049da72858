#pragma once

#include <filesystem>
#include <string>

namespace sundrel::testing {

// Counts how often a file is replaced by a rename onto its name (how an
// atomic replacement lands), watching its folder through inotify from the
// moment the counter is made. Linux only.
class FileReplacements {
public:
    explicit FileReplacements(const std::filesystem::path& file);
    ~FileReplacements();
    FileReplacements(const FileReplacements&) = delete;
    FileReplacements& operator=(const FileReplacements&) = delete;

    // Replacements seen so far; reads the events that are queued.
    int count();

private:
    int fd_ = -1;
    std::string name_;
    int count_ = 0;
};

}  // namespace sundrel::testing
