#pragma once

#include <filesystem>
#include <string>

namespace sundrel::testing {

// A fresh folder of its own under the system's temporary folder, removed with
// everything in it when the object goes (also where a test took away the
// write permission).
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

}  // namespace sundrel::testing
