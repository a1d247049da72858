#include "test_support/scratch_folder.h"

#include <unistd.h>

#include <atomic>

namespace sundrel::testing {

ScratchFolder::ScratchFolder() {
    static std::atomic<int> counter{0};
    // "_" and "." in the name on purpose: nothing may read a folder's name as
    // part of a recording's file name.
    path_ = std::filesystem::temp_directory_path() /
            ("sundrel_test-" + std::to_string(getpid()) + "." + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
    namespace fs = std::filesystem;
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    for (auto it = fs::recursive_directory_iterator(path_, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_directory(ignored)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
    }
    fs::remove_all(path_, ignored);
}

}  // namespace sundrel::testing
