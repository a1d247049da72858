#include "position_text.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace kestova {

int wholeMetre(double metres) {
    const double rounded = std::trunc(metres + 0.5);
    if (std::isnan(rounded)) {
        return 0;
    }
    if (rounded >= static_cast<double>(std::numeric_limits<int>::max())) {
        return std::numeric_limits<int>::max();
    }
    if (rounded <= static_cast<double>(std::numeric_limits<int>::min())) {
        return std::numeric_limits<int>::min();
    }
    return static_cast<int>(rounded);
}

std::string positionText(int metres) {
    char text[32];
    std::snprintf(text, sizeof text, "%d+%d", metres / 1000, metres % 1000);
    return text;
}

std::string rangeText(int fromMetres, int toMetres) {
    return positionText(fromMetres) + "-->" + positionText(toMetres);
}

}  // namespace kestova
