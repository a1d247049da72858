#include "platform/xlsx_text.h"

#include <pugixml.hpp>

#include <cstdint>
#include <cstring>

namespace sundrel::platform {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes the character at `at` and advances past it; a malformed sequence
// (overlong, surrogate, beyond U+10FFFF, cut short) yields U+FFFD for its
// first byte only, so the next character is not swallowed.
char32_t nextCodePoint(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
        ++at;
        return lead;
    }
    std::size_t length = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        cp = lead & 0x1Fu;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        cp = lead & 0x0Fu;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        cp = lead & 0x07u;
        minimum = 0x10000;
    } else {
        ++at;
        return kReplacement;
    }
    if (at + length > text.size()) {
        ++at;
        return kReplacement;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto trail = static_cast<unsigned char>(text[at + i]);
        if ((trail & 0xC0) != 0x80) {
            ++at;
            return kReplacement;
        }
        cp = (cp << 6) | (trail & 0x3Fu);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++at;
        return kReplacement;
    }
    at += length;
    return cp;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// The code unit of an "_xHHHH_" escape starting at `at`, if there is one.
std::optional<char32_t> escapeAt(std::string_view text, std::size_t at) {
    if (at + 7 > text.size() || text[at] != '_' || text[at + 1] != 'x' || text[at + 6] != '_') {
        return std::nullopt;
    }
    char32_t value = 0;
    for (std::size_t i = 2; i < 6; ++i) {
        const int digit = hexDigit(text[at + i]);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * 16 + static_cast<char32_t>(digit);
    }
    return value;
}

bool xmlCanHold(char32_t cp) {
    if (cp < 0x20) {
        return cp == '\t' || cp == '\n';  // a carriage return would be read back as a line feed
    }
    return cp != 0xFFFE && cp != 0xFFFF;
}

void appendEscape(std::string& out, char32_t unit) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += "_x";
    for (int shift = 12; shift >= 0; shift -= 4) {
        out += kHex[(unit >> shift) & 0xF];
    }
    out += '_';
}

}  // namespace

std::string encodeXlsxText(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t at = 0;
    while (at < utf8.size()) {
        if (escapeAt(utf8, at)) {
            appendEscape(out, '_');  // keeps a literal "_x0041_" from reading as "A"
            ++at;
            continue;
        }
        const char32_t cp = nextCodePoint(utf8, at);
        if (xmlCanHold(cp)) {
            appendUtf8(out, cp);
        } else {
            appendEscape(out, cp);
        }
    }
    return out;
}

std::string decodeXlsxText(std::string_view stored) {
    std::string out;
    out.reserve(stored.size());
    std::size_t at = 0;
    while (at < stored.size()) {
        if (const auto unit = escapeAt(stored, at)) {
            const bool surrogate = *unit >= 0xD800 && *unit <= 0xDFFF;
            appendUtf8(out, surrogate ? kReplacement : *unit);
            at += 7;
            continue;
        }
        out += stored[at++];
    }
    return out;
}

std::string_view xlsxLocalName(const char* name) {
    const char* colon = std::strchr(name, ':');
    return colon != nullptr ? std::string_view(colon + 1) : std::string_view(name);
}

std::string xlsxItemText(const pugi::xml_node& item) {
    std::string stored;
    for (const pugi::xml_node part : item.children()) {
        const std::string_view name = xlsxLocalName(part.name());
        if (name == "t") {
            stored += part.text().get();
        } else if (name == "r") {
            for (const pugi::xml_node run : part.children()) {
                if (xlsxLocalName(run.name()) == "t") {
                    stored += run.text().get();
                }
            }
        }
    }
    return decodeXlsxText(stored);
}

std::optional<std::vector<std::string>> parseSharedStrings(std::string_view xml) {
    pugi::xml_document document;
    if (!document.load_buffer(xml.data(), xml.size(), pugi::parse_default | pugi::parse_ws_pcdata,
                              pugi::encoding_utf8)) {
        return std::nullopt;
    }
    const pugi::xml_node root = document.document_element();
    if (xlsxLocalName(root.name()) != "sst") {
        return std::nullopt;
    }
    std::vector<std::string> items;
    for (const pugi::xml_node item : root.children()) {
        if (xlsxLocalName(item.name()) == "si") {
            items.push_back(xlsxItemText(item));
        }
    }
    return items;
}

}  // namespace sundrel::platform
