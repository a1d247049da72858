#include "analysis/cursor_readout.h"

#include <cmath>
#include <cstdio>

#include "kestova/km_post.h"

namespace sundrel::analysis {

std::string kmMetreHundredthsText(double metres) {
    const double centimetres = std::round(metres * 100.0);
    const int km = kestova::truncatedInt(centimetres / 100000.0);
    const double rest = (centimetres - km * 100000.0) / 100.0;
    char text[64];
    std::snprintf(text, sizeof text, "%dkm+%.2fm", km, rest);
    return text;
}

std::string cursorReadoutText(double metres, std::optional<double> leftMm,
                              std::optional<double> rightMm) {
    std::string text = "位置：" + kmMetreHundredthsText(metres);
    const auto rail = [&text](const char* name, std::optional<double> value) {
        if (value) {
            char number[64];
            std::snprintf(number, sizeof number, "%.3fmm", *value);
            text += std::string("    ") + name + number;
        }
    };
    rail("左轨：", leftMm);
    rail("右轨：", rightMm);
    return text;
}

}  // namespace sundrel::analysis
