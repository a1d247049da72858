#include "acquisition/measurement_rules.h"

#include <cmath>
#include <cstdlib>

#include "frames/sensor_frame.h"
#include "kestova/km_post.h"

namespace sundrel::acquisition {

std::string runningPositionText(std::uint32_t deliveredBytes, double metresPerFrame, double startM,
                                bool forward) {
    const double distance =
        static_cast<double>(deliveredBytes / frames::kFrameSize) * metresPerFrame;
    const double position = forward ? startM + distance : startM - distance;
    return kestova::positionText(kestova::truncatedInt(position));
}

std::optional<double> stopPosition(const std::string& text, double startM, bool forward) {
    double position = 0;
    const std::size_t plus = text.find('+');
    if (plus != std::string::npos) {
        position = std::atoi(text.substr(0, plus).c_str()) * 1000.0 +
                   std::atof(text.substr(plus + 1).c_str());
    } else {
        position = std::atof(text.c_str());
        if (!(position >= 1)) {
            return std::nullopt;
        }
    }
    const bool behind = forward ? position < startM : position > startM;
    if (behind || !std::isfinite(position)) {
        return std::nullopt;
    }
    return position;
}

std::optional<double> measuredMetresPerFrame(double startM, double stopM,
                                             std::uint32_t dataByteCount) {
    const double distance = std::abs(startM - stopM);
    const std::uint32_t frameCount = dataByteCount / frames::kFrameSize;
    if (!(distance > 50) || frameCount == 0) {
        return std::nullopt;
    }
    return distance / frameCount;
}

}  // namespace sundrel::acquisition
