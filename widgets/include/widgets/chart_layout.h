#pragma once

#include <QPointF>
#include <QRectF>
#include <array>
#include <optional>
#include <utility>
#include <vector>

#include "widgets/chart_axis.h"
#include "widgets/chart_axis_scale.h"
#include "widgets/chart_ticks.h"
#include "widgets/chart_xy_point.h"

class QPaintDevice;

namespace sundrel::widgets {

class CChartCtrl;
class CChartXYSerie;
class CChartBarSerie;

// One axis as laid out: its scale over the plotting area, its ticks, and the
// strip beside the plotting area that holds its ticks, labels and title.
struct ChartAxisGeometry {
    const CChartAxis* axis = nullptr;
    ChartAxisScale scale;
    ChartTickPlan ticks;
    QRectF strip;
    QRectF titleRect;  // empty without a title
};

// One legend entry: the series, where its sample and its name are drawn.
struct ChartLegendEntry {
    const CChartXYSerie* serie = nullptr;
    QRectF sample;
    QRectF text;
};

// Where everything of a chart goes inside a rectangle, and the mapping
// between points and pixels. Painting and the mouse handling both work from
// it, so what is hit is what is drawn.
//
// From the outside in: the edge, the title lines at the top, a docked
// legend in its own band, the axis strips, and the plotting area, which
// keeps room for the end labels of the axes. Automatic tick steps depend on
// the plotting area's size and the labels' sizes; the layout settles both.
class ChartLayout {
public:
    // `device` gives the resolution for the font sizes (nullptr: the
    // screen's).
    static ChartLayout compute(const CChartCtrl& chart, const QRectF& bounds,
                               const QPaintDevice* device);

    QRectF bounds;
    QRectF plot;
    std::vector<QRectF> titleLines;  // one per title line
    QRectF legend;                   // empty when no legend is drawn
    std::vector<ChartLegendEntry> legendEntries;
    std::array<std::optional<ChartAxisGeometry>, 4> axes;

    const ChartAxisGeometry* geometry(ChartAxisSlot slot) const;
    // The geometry series are plotted against: bottom else top, left else
    // right; nullptr when the chart has no such axis.
    const ChartAxisGeometry* horizontal() const;
    const ChartAxisGeometry* vertical() const;
    // Both a horizontal and a vertical axis exist: series can be drawn.
    bool canPlot() const { return horizontal() != nullptr && vertical() != nullptr; }

    // Need canPlot().
    QPointF toScreen(const SChartXYPoint& point) const;
    SChartXYPoint toValue(QPointF screen) const;

    // Offset of a bar series' bars from their position, across the bars,
    // pixels (centre of the bar); 0 for a series of a group of one.
    double barOffset(const CChartBarSerie& serie) const;
    // The bar of `point`, normalised (positive width and height).
    QRectF barRect(const CChartBarSerie& serie, const SChartXYPoint& point) const;

    // The index of the point of `serie` under `cursor`, or −1: the nearest
    // point within reach (marker size, line width + 3 pixels) or the bar
    // that contains the cursor.
    int pointUnder(const CChartXYSerie& serie, QPointF cursor) const;

private:
    std::vector<std::pair<const CChartBarSerie*, double>> barOffsets_;
};

}  // namespace sundrel::widgets
