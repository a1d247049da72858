#pragma once

namespace sundrel::widgets {

// One point of a series, in the units of the series' axes: X on the
// horizontal axis, Y on the vertical axis.
struct SChartXYPoint {
    double X = 0.0;
    double Y = 0.0;
};

}  // namespace sundrel::widgets
