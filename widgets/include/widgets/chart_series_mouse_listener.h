#pragma once

#include <QPoint>

#include "widgets/chart_xy_point.h"

namespace sundrel::widgets {

class CChartXYSerie;

// The mouse events a series reports on its points, with their codes.
enum class ChartMouseEvent : int {
    MouseMove = 0,
    LeftButtonUp = 1,
    LeftButtonDown = 2,
    LeftDoubleClick = 3,
    RightButtonUp = 4,
    RightButtonDown = 5,
    RightDoubleClick = 6,
};

// The series that holds points of type PointType.
template <typename PointType>
struct ChartSerieOf;

template <>
struct ChartSerieOf<SChartXYPoint> {
    using type = CChartXYSerie;
};

// The callback through which a series reports mouse events on its points.
// The listener is owned by whoever attaches it and must outlive the series
// it is attached to.
template <typename PointType>
class CChartSeriesMouseListener {
public:
    using Serie = typename ChartSerieOf<PointType>::type;

    virtual ~CChartSeriesMouseListener() = default;

    // `position`: the cursor in the chart's client coordinates, pixels;
    // `pointIndex`: the index of the point hit in `serie`, or −1 for none.
    virtual void onMouseEvent(ChartMouseEvent event, QPoint position, Serie& serie,
                              int pointIndex) = 0;

protected:
    CChartSeriesMouseListener() = default;
    CChartSeriesMouseListener(const CChartSeriesMouseListener&) = default;
    CChartSeriesMouseListener& operator=(const CChartSeriesMouseListener&) = default;
};

}  // namespace sundrel::widgets
