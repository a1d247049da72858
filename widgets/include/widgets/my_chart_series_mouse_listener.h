#pragma once

#include <cstdint>
#include <functional>

#include "widgets/chart_series_mouse_listener.h"

namespace sundrel::widgets {

// Reports the point under the mouse: on a mouse move over a point it calls
// its handler with the point's X truncated toward zero (its low 32 bits, as a
// signed 32-bit integer) and the address of the point's Y inside the series,
// valid during the call. Every other event, and a move over no point, does
// nothing. The calibration view hands it a handler that tells the view.
class CMyChartSeriesMouseListener : public CChartSeriesMouseListener<SChartXYPoint> {
public:
    using PointHandler = std::function<void(std::int32_t x, const double* y)>;

    explicit CMyChartSeriesMouseListener(PointHandler handler) : handler_(std::move(handler)) {}

    void onMouseEvent(ChartMouseEvent event, QPoint position, CChartXYSerie& serie,
                      int pointIndex) override;

private:
    PointHandler handler_;
};

}  // namespace sundrel::widgets
