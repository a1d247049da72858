#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <type_traits>

namespace kestova::cli {

// Appends JSON tokens to a line; doubles with 17 significant digits, texts
// escaped. Not-finite numbers, which JSON cannot hold, are written as null.
class JsonLine {
public:
    JsonLine& beginObject();
    JsonLine& endObject();
    JsonLine& beginArray(std::string_view key);
    JsonLine& beginArray();
    JsonLine& endArray();
    JsonLine& key(std::string_view name);
    JsonLine& number(double value);
    JsonLine& integer(long long value);
    JsonLine& text(std::string_view utf8);

    template <typename T>
    JsonLine& field(std::string_view name, T value) {
        key(name);
        if constexpr (std::is_floating_point_v<T>) {
            return number(static_cast<double>(value));
        } else {
            return integer(static_cast<long long>(value));
        }
    }
    JsonLine& textField(std::string_view name, std::string_view utf8) {
        key(name);
        return text(utf8);
    }

    void writeTo(std::FILE* out);

private:
    void separate();
    std::string line_;
    bool needComma_ = false;
};

}  // namespace kestova::cli
