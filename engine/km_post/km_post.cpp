#include "kestova/km_post.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace kestova {

int truncatedInt(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= static_cast<double>(std::numeric_limits<int>::max())) {
        return std::numeric_limits<int>::max();
    }
    if (value <= static_cast<double>(std::numeric_limits<int>::min())) {
        return std::numeric_limits<int>::min();
    }
    return static_cast<int>(value);
}

int wholeMetre(double metres) {
    return truncatedInt(std::trunc(metres + 0.5));
}

KmPost kmPostOf(double metres) {
    const int km = truncatedInt(metres / 1000);
    return {km, truncatedInt(metres - km * 1000.0)};
}

std::string positionText(int metres) {
    char text[32];
    std::snprintf(text, sizeof text, "%d+%d", metres / 1000, metres % 1000);
    return text;
}

std::string rangeText(int fromMetres, int toMetres) {
    return positionText(fromMetres) + "-->" + positionText(toMetres);
}

std::string kmMetreText(const KmPost& position) {
    char text[48];
    std::snprintf(text, sizeof text, "%dkm+%dm", position.km, position.metres);
    return text;
}

}  // namespace kestova
