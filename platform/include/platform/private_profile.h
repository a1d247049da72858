#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sundrel::platform {

// Private-profile (INI) files as config.ini uses them: sections and keys
// matched without regard to case, values read with a default, a value
// replaced in place with every other line of the file (comments, unknown
// keys, other sections, their order) kept. Texts are UTF-8 here and GBK in
// the file.

// Longest value a read returns, in GBK bytes: a 255-byte buffer with its NUL.
inline constexpr std::size_t kProfileValueBytes = 254;

// The value of `key` in `section`, or `defaultText` when the file, the
// section or the key is missing. Spaces around the value are dropped, and a
// pair of matching quotes around it. Cut to 254 GBK bytes on a character
// boundary.
std::string readProfileString(std::string_view section, std::string_view key,
                              std::string_view defaultText, const std::string& path);

// The value of `key` as readProfileString gives it, or nothing when the file,
// the section or the key is missing.
std::optional<std::string> findProfileString(std::string_view section, std::string_view key,
                                             const std::string& path);

// Sets `key` in `section` to `value`, creating the file, the section or the
// key when missing. The new file is written beside the old one and renamed
// over it, so a crash or a full disk leaves the previous file whole.
// Returns false when the file could not be read or written.
bool writeProfileString(std::string_view section, std::string_view key, std::string_view value,
                        const std::string& path);

// One value to write: `value` of `key` in `section`, UTF-8.
struct ProfileEntry {
    std::string section;
    std::string key;
    std::string value;
};

// Sets every entry in turn, as writeProfileString would one after another
// (the same bytes on disk), but reads the file once and replaces it once: a
// save of many keys costs one flush to the disk, and a failure leaves the
// previous file with none of the entries.
bool writeProfileStrings(const std::vector<ProfileEntry>& entries, const std::string& path);

}  // namespace sundrel::platform
