#include "core/number_text.h"

#include <charconv>

namespace sundrel::core {

std::string fixedText(double value, int decimals) {
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return std::string(buffer, result.ptr);
}

}  // namespace sundrel::core
