#include "platform/private_profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/gbk_text.h"

namespace sundrel::platform {
namespace {

// One line of the file without its line ending; `ending` keeps "\r\n" or
// "\n" (empty for a last line without one) so untouched lines stay byte-exact.
struct Line {
    std::string text;
    std::string_view ending;  // one of the literals below
};

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kLf = "\n";

std::string_view trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

bool equalNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The section a line opens, if it is a "[name]" line.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = trim(line);
    if (line.size() < 2 || line.front() != '[') {
        return std::nullopt;
    }
    const auto close = line.find(']');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return trim(line.substr(1, close - 1));
}

// The key of a "key=value" line, if it is one.
std::optional<std::string_view> keyName(std::string_view line) {
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    return trim(line.substr(0, equals));
}

enum class ReadResult { Ok, Missing, Failed };

ReadResult readLines(const std::string& path, std::vector<Line>& lines) {
    lines.clear();
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in || !S_ISREG(info.st_mode)) {
        return ReadResult::Failed;
    }
    const std::string content((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    if (in.bad()) {
        return ReadResult::Failed;
    }
    std::size_t at = 0;
    while (at < content.size()) {
        const auto newline = content.find('\n', at);
        const auto end = newline == std::string::npos ? content.size() : newline;
        Line line;
        line.text = content.substr(at, end - at);
        if (!line.text.empty() && line.text.back() == '\r') {
            line.text.pop_back();
            line.ending = kCrLf;
        } else if (newline != std::string::npos) {
            line.ending = kLf;
        }
        lines.push_back(std::move(line));
        at = newline == std::string::npos ? content.size() : newline + 1;
    }
    return ReadResult::Ok;
}

struct Location {
    std::optional<std::size_t> section;  // line index of the section header
    std::optional<std::size_t> key;      // line index of the key line
    std::size_t sectionEnd = 0;          // one past the section's last non-blank line
};

Location locate(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    Location where;
    bool inside = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view text = lines[i].text;
        if (const auto name = sectionName(text)) {
            if (inside) {
                break;  // the first section of that name is the one used
            }
            if (equalNoCase(*name, section)) {
                inside = true;
                where.section = i;
                where.sectionEnd = i + 1;
            }
            continue;
        }
        if (!inside) {
            continue;
        }
        if (!trim(text).empty()) {
            where.sectionEnd = i + 1;
        }
        if (const auto name = keyName(text); name && !where.key && equalNoCase(*name, key)) {
            where.key = i;
        }
    }
    return where;
}

std::string_view unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

bool writeWhole(const std::string& path, const std::vector<Line>& lines) {
    std::string content;
    for (const Line& line : lines) {
        content += line.text;
        content += line.ending;
    }
    return replaceFileAtomically(path, content);
}

// Sets one key in the lines as a write of that key alone would, so that a
// batch of writes gives the same bytes as the writes one after another.
void setValue(std::vector<Line>& lines, const ProfileEntry& value) {
    // New lines follow the file's own line endings.
    const bool crlf = std::any_of(lines.begin(), lines.end(),
                                  [](const Line& line) { return line.ending == kCrLf; });
    const std::string_view ending = crlf ? kCrLf : kLf;
    if (!lines.empty() && lines.back().ending.empty()) {
        lines.back().ending = ending;
    }
    const std::string entry = value.key + "=" + utf8ToGbk(value.value);
    const Location where = locate(lines, value.section, value.key);
    if (where.key) {
        lines[*where.key].text = entry;
    } else if (where.section) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(where.sectionEnd),
                     Line{entry, ending});
    } else {
        lines.push_back(Line{"[" + value.section + "]", ending});
        lines.push_back(Line{entry, ending});
    }
}

}  // namespace

std::optional<std::string> findProfileString(std::string_view section, std::string_view key,
                                             const std::string& path) {
    std::vector<Line> lines;
    if (readLines(path, lines) != ReadResult::Ok) {
        return std::nullopt;
    }
    const Location where = locate(lines, section, key);
    if (!where.key) {
        return std::nullopt;
    }
    const std::string_view text = lines[*where.key].text;
    std::string gbk(unquote(trim(text.substr(text.find('=') + 1))));
    gbk.resize(gbkPrefixLength(gbk, kProfileValueBytes));
    return gbkToUtf8(gbk);
}

std::string readProfileString(std::string_view section, std::string_view key,
                              std::string_view defaultText, const std::string& path) {
    if (std::optional<std::string> value = findProfileString(section, key, path)) {
        return *std::move(value);
    }
    std::string gbk = utf8ToGbk(defaultText);
    gbk.resize(gbkPrefixLength(gbk, kProfileValueBytes));
    return gbkToUtf8(gbk);
}

bool writeProfileString(std::string_view section, std::string_view key, std::string_view value,
                        const std::string& path) {
    return writeProfileStrings({{std::string(section), std::string(key), std::string(value)}},
                               path);
}

bool writeProfileStrings(const std::vector<ProfileEntry>& entries, const std::string& path) {
    std::vector<Line> lines;
    if (readLines(path, lines) == ReadResult::Failed) {
        return false;  // never replace a file we could not read
    }
    for (const ProfileEntry& entry : entries) {
        setValue(lines, entry);
    }
    return writeWhole(path, lines);
}

}  // namespace sundrel::platform
