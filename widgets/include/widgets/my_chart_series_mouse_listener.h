#pragma once

#include "widgets/chart_series_mouse_listener.h"

namespace sundrel::widgets {

// Reports the calibration point under the mouse to the calibration view: on a
// mouse move over a point it sends panel message code 9 synchronously to
// PanelRegistry slot 16 with data = the point's X truncated toward zero (its
// low 32 bits, as a signed 32-bit integer), count = 1, and as lparam the
// address of the point's Y inside the series, valid during the send. Every
// other event, and a move over no point, does nothing. It has no data; the
// view that creates it owns it.
class CMyChartSeriesMouseListener : public CChartSeriesMouseListener<SChartXYPoint> {
public:
    void onMouseEvent(ChartMouseEvent event, QPoint position, CChartXYSerie& serie,
                      int pointIndex) override;
};

}  // namespace sundrel::widgets
