#include "platform/gbk_text.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

namespace sundrel::platform {
namespace {

// One conversion through iconv, substituting `replacement` for input it cannot
// take and going on after it.
std::string convert(std::string_view input, const char* to, const char* from,
                    std::string_view replacement, std::size_t skipOnError) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return std::string(input);
    }
    std::string out;
    out.reserve(input.size() * 2);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char buffer[256];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, sizeof buffer - outLeft);
        if (rc != static_cast<std::size_t>(-1)) {
            continue;
        }
        if (errno == E2BIG) {
            continue;
        }
        // EILSEQ or EINVAL: an unconvertible or truncated sequence.
        out.append(replacement);
        const std::size_t skip = skipOnError < inLeft ? skipOnError : inLeft;
        in += skip;
        inLeft -= skip;
        if (errno == EILSEQ && std::strcmp(from, "UTF-8") == 0) {
            // Skip the continuation bytes of the character we could not map.
            while (inLeft > 0 && (static_cast<unsigned char>(*in) & 0xC0) == 0x80) {
                ++in;
                --inLeft;
            }
        }
    }
    iconv_close(cd);
    return out;
}

}  // namespace

std::string utf8ToGbk(std::string_view utf8) {
    return convert(utf8, "GBK", "UTF-8", "?", 1);
}

std::string gbkToUtf8(std::string_view gbk) {
    return convert(gbk, "UTF-8", "GBK", "\xEF\xBF\xBD", 1);
}

std::size_t gbkPrefixLength(std::string_view gbk, std::size_t maxBytes) {
    std::size_t at = 0;
    while (at < gbk.size()) {
        const auto lead = static_cast<unsigned char>(gbk[at]);
        const std::size_t width = (lead >= 0x81 && lead <= 0xFE && at + 1 < gbk.size()) ? 2 : 1;
        if (at + width > maxBytes) {
            break;
        }
        at += width;
    }
    return at;
}

std::size_t utf8PrefixWithinGbk(std::string_view utf8, std::size_t maxGbkBytes) {
    std::size_t at = 0;
    std::size_t gbkBytes = 0;
    while (at < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[at]);
        std::size_t width = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        while (width > 1 && (at + width > utf8.size() ||
                             (static_cast<unsigned char>(utf8[at + width - 1]) & 0xC0) != 0x80)) {
            --width;  // a broken sequence: its bytes go one by one
        }
        gbkBytes += utf8ToGbk(utf8.substr(at, width)).size();
        if (gbkBytes > maxGbkBytes) {
            break;
        }
        at += width;
    }
    return at;
}

void copyToGbkField(char* field, std::size_t fieldSize, std::string_view gbk) {
    if (fieldSize == 0) {
        return;
    }
    std::memset(field, 0, fieldSize);
    const std::size_t length = gbkPrefixLength(gbk, fieldSize - 1);
    std::memcpy(field, gbk.data(), length);
}

std::string_view readGbkField(const char* field, std::size_t fieldSize) {
    const void* nul = std::memchr(field, '\0', fieldSize);
    const std::size_t length =
        nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - field) : fieldSize;
    return {field, length};
}

}  // namespace sundrel::platform
