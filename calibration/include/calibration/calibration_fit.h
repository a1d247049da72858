#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace sundrel::calibration {

// A set holds at most this many readings.
inline constexpr std::size_t kMostCalibrationPoints = 255;

// One reading: a sensor's raw word (0..65535) at a distance the operator
// entered, millimetres.
struct CalibrationPoint {
    double word;
    double distanceMm;
};

// The least-squares line distance = slope × word + intercept through a set.
struct LineFit {
    double slope = 0;      // mm per count
    double intercept = 0;  // mm
    // Explained over total sum of squares, both about the fitted values'
    // mean; none when every distance is that mean (all distances equal).
    std::optional<double> rSquared;
    std::vector<double> fitted;  // the line at each reading's word, in order
};

// None for fewer than two readings, or when the words do not spread
// (|Sxx − n·x̄²| < 0.1: all readings at the same word).
std::optional<LineFit> fitLine(const std::vector<CalibrationPoint>& points);

// "y=%.6fX%.6f，R^2=%.6f" for a negative intercept, "y=%.6fX+%.6f，R^2=%.6f"
// otherwise; an undefined R² reads "R^2=—".
std::string equationText(const LineFit& fit);

}  // namespace sundrel::calibration
