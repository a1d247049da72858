#pragma once

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <memory>
#include <vector>

#include "widgets/chart_xy_point.h"

class QPainter;
class QPaintDevice;

namespace sundrel::widgets {

class CChartCtrl;
class CChartLineSerie;
class CChartPointsSerie;
class CChartBarSerie;
class ChartLayout;
class ChartLineRasterizer;
struct ChartAxisGeometry;

// Paints a chart with QPainter: background, edge, title, grid, series
// (clipped to the plotting area, anti-aliased), the plotting area's frame,
// axes and legend. Keeps its working buffers between paints.
//
// Curves denser than the pixels are reduced per pixel column to their
// first, lowest, highest and last point before they are drawn, which looks
// the same; segments outside the plotting area are skipped. Solid curves
// painted on a 32-bit image (what the chart control paints on) are drawn
// into its pixels directly, which is several times faster than QPainter's
// wide anti-aliased strokes; other devices get QPainter's strokes.
class ChartRenderer {
public:
    ChartRenderer();
    ~ChartRenderer();
    ChartRenderer(const ChartRenderer&) = delete;
    ChartRenderer& operator=(const ChartRenderer&) = delete;

    // `metrics` gives the resolution for font sizes; the painter's device
    // when null. The chart control passes itself, so that what its mouse
    // handling lays out is what it paints.
    void paint(const CChartCtrl& chart, QPainter& painter, const QRect& bounds,
               const QPaintDevice* metrics = nullptr);

    // The chart painted on a new image of `size` pixels.
    QImage render(const CChartCtrl& chart, QSize size);

private:
    void paintLine(QPainter& painter, const ChartLayout& layout, const CChartLineSerie& serie,
                   QPointF shadowOffset);
    void paintPoints(QPainter& painter, const ChartLayout& layout, const CChartPointsSerie& serie,
                     QPointF shadowOffset);
    void paintBarLabel(QPainter& painter, const CChartBarSerie& serie, const SChartXYPoint& point,
                       const QRect& bar);
    void paintBars(QPainter& painter, const ChartLayout& layout, const CChartBarSerie& serie,
                   QPointF shadowOffset);
    void paintAxis(QPainter& painter, const ChartLayout& layout, const ChartAxisGeometry& axis);
    void paintLegend(QPainter& painter, const CChartCtrl& chart, const ChartLayout& layout);

    std::vector<QPointF> screen_;  // a curve's points in pixels, reduced
    std::vector<QPointF> run_;     // one connected piece inside the guard area
    std::unique_ptr<ChartLineRasterizer> rasterizer_;
    const QPaintDevice* metrics_ = nullptr;  // during paint()
};

}  // namespace sundrel::widgets
