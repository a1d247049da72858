#include "widgets/chart_ticks.h"

#include <cmath>

namespace sundrel::widgets {
namespace {

// log10 of a power of ten may come out a hair below the integer.
constexpr double kLogSlack = 1e-12;

double decade(double value) {
    return std::floor(std::log10(value) + kLogSlack);
}

}  // namespace

int stepDecimals(double step) {
    if (!(step > 0.0) || !std::isfinite(step)) {
        return 0;
    }
    const double decimals = -decade(step);
    return decimals > 0.0 ? static_cast<int>(decimals) : 0;
}

double roundStepAtLeast(double minimum) {
    if (!(minimum > 0.0) || !std::isfinite(minimum)) {
        return 1.0;
    }
    const double power = std::pow(10.0, decade(minimum));
    for (const double mantissa : {1.0, 2.0, 5.0}) {
        if (mantissa * power >= minimum * (1.0 - kLogSlack)) {
            return mantissa * power;
        }
    }
    return 10.0 * power;
}

double nextRoundStep(double step) {
    const double power = std::pow(10.0, decade(step));
    const double mantissa = step / power;
    if (mantissa < 1.5) {
        return 2.0 * power;
    }
    if (mantissa < 3.5) {
        return 5.0 * power;
    }
    return 10.0 * power;
}

std::vector<double> stepMultiples(double minimum, double maximum, double step,
                                  std::size_t maxCount) {
    std::vector<double> values;
    if (!(step > 0.0) || !std::isfinite(step) || !(minimum <= maximum)) {
        return values;
    }
    const double first = std::ceil(minimum / step - 1e-9);
    const double last = std::floor(maximum / step + 1e-9);
    if (!std::isfinite(first) || !std::isfinite(last) || last < first ||
        last - first + 1.0 > static_cast<double>(maxCount)) {
        return values;
    }
    const auto count = static_cast<std::size_t>(last - first + 1.0);
    values.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        double value = (first + static_cast<double>(i)) * step;
        if (std::abs(value) < step * 1e-9) {
            value = 0.0;
        }
        values.push_back(value);
    }
    return values;
}

QString tickNumber(double value, int decimals) {
    QString text = QString::number(value, 'f', decimals);
    if (text.startsWith(QLatin1Char('-'))) {
        bool allZero = true;
        for (const QChar c : text) {
            if (c.isDigit() && c != QLatin1Char('0')) {
                allZero = false;
                break;
            }
        }
        if (allZero) {
            text.remove(0, 1);
        }
    }
    return text;
}

}  // namespace sundrel::widgets
