#include "json_writer.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace kestova::cli {

void JsonLine::separate() {
    if (needComma_) {
        line_ += ',';
    }
    needComma_ = true;
}

JsonLine& JsonLine::beginObject() {
    separate();
    line_ += '{';
    needComma_ = false;
    return *this;
}

JsonLine& JsonLine::endObject() {
    line_ += '}';
    needComma_ = true;
    return *this;
}

JsonLine& JsonLine::beginArray(std::string_view name) {
    key(name);
    return beginArray();
}

JsonLine& JsonLine::beginArray() {
    separate();
    line_ += '[';
    needComma_ = false;
    return *this;
}

JsonLine& JsonLine::endArray() {
    line_ += ']';
    needComma_ = true;
    return *this;
}

JsonLine& JsonLine::key(std::string_view name) {
    text(name);
    line_ += ':';
    needComma_ = false;
    return *this;
}

JsonLine& JsonLine::number(double value) {
    separate();
    if (!std::isfinite(value)) {
        line_ += "null";
        return *this;
    }
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 17);
    std::string_view digits(buffer, static_cast<std::size_t>(result.ptr - buffer));
    line_ += digits;
    // Keep doubles recognisable as such: 1000 is written 1000.0.
    if (digits.find_first_of(".eE") == std::string_view::npos) {
        line_ += ".0";
    }
    return *this;
}

JsonLine& JsonLine::integer(long long value) {
    separate();
    line_ += std::to_string(value);
    return *this;
}

JsonLine& JsonLine::text(std::string_view utf8) {
    separate();
    line_ += '"';
    for (const char c : utf8) {
        switch (c) {
            case '"':
                line_ += "\\\"";
                break;
            case '\\':
                line_ += "\\\\";
                break;
            case '\n':
                line_ += "\\n";
                break;
            case '\r':
                line_ += "\\r";
                break;
            case '\t':
                line_ += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    line_ += escaped;
                } else {
                    line_ += c;
                }
        }
    }
    line_ += '"';
    return *this;
}

void JsonLine::writeTo(std::FILE* out) {
    line_ += '\n';
    std::fwrite(line_.data(), 1, line_.size(), out);
    line_.clear();
    needComma_ = false;
}

}  // namespace kestova::cli
