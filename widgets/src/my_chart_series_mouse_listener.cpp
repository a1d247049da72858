#include "widgets/my_chart_series_mouse_listener.h"

#include <cmath>
#include <cstdint>

#include "widgets/chart_xy_serie.h"

namespace sundrel::widgets {
namespace {

// X truncated toward zero, its low 32 bits taken as a signed integer.
// Values beyond the 64-bit range saturate first; NaN counts as 0.
std::int32_t lowWordOfTruncated(double x) {
    std::int64_t whole = 0;
    if (std::isnan(x)) {
        whole = 0;
    } else if (x >= 9.2e18) {
        whole = INT64_MAX;
    } else if (x <= -9.2e18) {
        whole = INT64_MIN;
    } else {
        whole = static_cast<std::int64_t>(std::trunc(x));
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(whole));
}

}  // namespace

void CMyChartSeriesMouseListener::onMouseEvent(ChartMouseEvent event, QPoint /*position*/,
                                               CChartXYSerie& serie, int pointIndex) {
    if (event != ChartMouseEvent::MouseMove || pointIndex < 0 ||
        static_cast<std::size_t>(pointIndex) >= serie.pointCount()) {
        return;
    }
    const SChartXYPoint& point = serie.points()[static_cast<std::size_t>(pointIndex)];
    if (handler_) {
        handler_(lowWordOfTruncated(point.X), &point.Y);
    }
}

}  // namespace sundrel::widgets
