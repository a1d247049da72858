#pragma once

#include <string>
#include <string_view>

namespace sundrel::platform {

// Replaces the file at `path` with `content` so that it is never seen half
// written: the content goes to a hidden temporary file in the same folder,
// is flushed to the disk and renamed over the old file, whose permissions it
// keeps. On any failure (missing or read-only folder, full disk) the old file
// stays as it was, no temporary file is left, and the result is false.
bool replaceFileAtomically(const std::string& path, std::string_view content);

}  // namespace sundrel::platform
