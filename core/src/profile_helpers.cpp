#include "core/profile_helpers.h"

#include <locale.h>
#include <stdlib.h>

#include <cctype>
#include <charconv>
#include <cstring>
#include <limits>
#include <string_view>

#include "core/number_text.h"
#include "core/settings_record.h"
#include "platform/gbk_text.h"
#include "platform/private_profile.h"

namespace sundrel::core {
namespace {

std::string readValue(const char* section, const char* key, const std::string& path) {
    return platform::readProfileString(section, key, "0", path);
}

// 0 when written, 1 when the file could not be written (it is then left as
// it was).
int write(const char* section, const char* key, std::string_view text, const std::string& path) {
    return platform::writeProfileString(section, key, text, path) ? 0 : 1;
}

std::string_view skipSpace(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) {
        ++at;
    }
    return text.substr(at);
}

// Longest prefix of UTF-8 text of at most `maxBytes` bytes that ends on a
// character boundary.
std::size_t utf8Prefix(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) {
        return text.size();
    }
    std::size_t cut = maxBytes;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return cut;
}

}  // namespace

std::int32_t leadingInt(const std::string& text) {
    std::string_view rest = skipSpace(text);
    bool negative = false;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    long long value = 0;
    for (const char c : rest) {
        if (c < '0' || c > '9') {
            break;
        }
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<std::int32_t>::max()) {
            value = std::numeric_limits<std::int32_t>::max() + (negative ? 1LL : 0LL);
            break;
        }
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

double leadingDouble(const std::string& text) {
    // strtod's reading of the leading number, in the "C" locale whatever the
    // user's locale says about decimal points.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    return strtod_l(text.c_str(), nullptr, cLocale);
}

std::string formatSixDecimals(double value) {
    return fixedText(value, 6);
}

int readInt(const char* section, const char* key, std::int32_t* value, const std::string& path) {
    if (path.empty()) {
        return -1;
    }
    *value = leadingInt(readValue(section, key, path));
    return 0;
}

int readDouble(const char* section, const char* key, double* value, const std::string& path) {
    if (path.empty()) {
        return -1;
    }
    *value = leadingDouble(readValue(section, key, path));
    return 0;
}

int readChar(const char* section, const char* key, char* value, const std::string& path) {
    if (path.empty()) {
        return -1;
    }
    const std::string text = readValue(section, key, path);
    *value = text.empty() ? '\0' : text.front();
    return 0;
}

int readText(const char* section, const char* key, char* value, std::size_t size,
             const std::string& path) {
    if (path.empty()) {
        return -1;
    }
    if (size == 0) {
        return 0;
    }
    copyText(value, size, readValue(section, key, path));
    return 0;
}

void copyText(char* field, std::size_t size, std::string_view text) {
    if (size == 0) {
        return;
    }
    const std::size_t length = utf8Prefix(
        text.substr(0, platform::utf8PrefixWithinGbk(text, kSettingsTextGbkBytes)), size - 1);
    std::memset(field, 0, size);
    std::memcpy(field, text.data(), length);
}

int writeInt(const char* section, const char* key, std::int32_t value, const std::string& path) {
    if (path.empty()) {
        return -1;
    }
    return write(section, key, std::to_string(value), path);
}

int writeDouble(const char* section, const char* key, double value, const std::string& path) {
    if (path.empty()) {
        return -1;
    }
    return write(section, key, formatSixDecimals(value), path);
}

int writeChar(const char* section, const char* key, char value, const std::string& path) {
    if (path.empty()) {
        return -1;
    }
    return write(section, key, std::string_view(&value, value == '\0' ? 0 : 1), path);
}

int writeText(const char* section, const char* key, const char* value, const std::string& path) {
    if (path.empty()) {
        return -1;
    }
    return write(section, key, value, path);
}

}  // namespace sundrel::core
