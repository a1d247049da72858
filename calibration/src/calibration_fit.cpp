#include "calibration/calibration_fit.h"

#include <cmath>
#include <cstdio>

namespace sundrel::calibration {

std::optional<LineFit> fitLine(const std::vector<CalibrationPoint>& points) {
    const std::size_t n = points.size();
    if (n < 2) {
        return std::nullopt;
    }
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const CalibrationPoint& p : points) {
        sx += p.word;
        sy += p.distanceMm;
        sxx += p.word * p.word;
        sxy += p.word * p.distanceMm;
    }
    const double count = static_cast<double>(n);
    const double meanX = sx / count;
    const double meanY = sy / count;
    const double spread = sxx - count * meanX * meanX;
    if (std::abs(spread) < 0.1) {
        return std::nullopt;
    }
    LineFit fit;
    fit.slope = (sxy - count * meanX * meanY) / spread;
    fit.intercept = meanY - fit.slope * meanX;
    double fittedSum = 0;
    for (const CalibrationPoint& p : points) {
        fit.fitted.push_back(fit.intercept + fit.slope * p.word);
        fittedSum += fit.fitted.back();
    }
    const double m = fittedSum / count;
    double explained = 0, total = 0;
    for (std::size_t i = 0; i < n; ++i) {
        explained += (fit.fitted[i] - m) * (fit.fitted[i] - m);
        total += (points[i].distanceMm - m) * (points[i].distanceMm - m);
    }
    if (total > 0) {
        fit.rSquared = explained / total;
    }
    return fit;
}

std::string equationText(const LineFit& fit) {
    char text[160];
    const char* sign = fit.intercept < 0 ? "" : "+";
    if (fit.rSquared) {
        std::snprintf(text, sizeof text, "y=%.6fX%s%.6f，R^2=%.6f", fit.slope, sign, fit.intercept,
                      *fit.rSquared);
    } else {
        std::snprintf(text, sizeof text, "y=%.6fX%s%.6f，R^2=—", fit.slope, sign, fit.intercept);
    }
    return text;
}

}  // namespace sundrel::calibration
