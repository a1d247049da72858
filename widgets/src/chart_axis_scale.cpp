#include "widgets/chart_axis_scale.h"

namespace sundrel::widgets {
namespace {

// True when values grow toward the smaller screen coordinate: upward on a
// vertical axis, leftward on an inverted horizontal one.
bool growsTowardFirst(const ChartAxisScale& scale) {
    return scale.horizontal ? scale.inverted : !scale.inverted;
}

}  // namespace

double ChartAxisScale::toScreen(double value) const {
    const double offset = (value - range.minimum) * length() / (range.maximum - range.minimum);
    return growsTowardFirst(*this) ? last - offset : first + offset;
}

double ChartAxisScale::toValue(double screen) const {
    const double offset = growsTowardFirst(*this) ? last - screen : screen - first;
    return range.minimum + offset * (range.maximum - range.minimum) / length();
}

}  // namespace sundrel::widgets
