#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>
#include <cstdlib>

#include "widgets/chart_ctrl.h"
#include "widgets/chart_layout.h"
#include "widgets/chart_renderer.h"

namespace sundrel::widgets::chart_testing {

// A chart with a bottom and a left axis over fixed ranges, fixed steps,
// no title and no legend: what is left is the plotting area and the axes.
inline void setUpPlainChart(CChartCtrl& chart, ChartRange x, ChartRange y) {
    auto* bottom = chart.createStandardAxis(ChartAxisSlot::Bottom);
    bottom->setRange(x.minimum, x.maximum);
    bottom->setGridVisible(false);
    auto* left = chart.createStandardAxis(ChartAxisSlot::Left);
    left->setRange(y.minimum, y.maximum);
    left->setGridVisible(false);
    chart.title()->setVisible(false);
    chart.legend()->setVisible(false);
}

// The layout the renderer uses for an image of `size`.
inline ChartLayout layoutFor(const CChartCtrl& chart, QSize size) {
    const QImage device(size, QImage::Format_ARGB32_Premultiplied);
    return ChartLayout::compute(chart, QRectF(QRect(QPoint(0, 0), size)), &device);
}

// Colour closeness that tolerates anti-aliased edges: every channel within
// `tolerance`.
inline bool near(QColor a, QColor b, int tolerance = 40) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

// Pixels of `color` inside `area` of the image.
inline int countColor(const QImage& image, QColor color, QRect area, int tolerance = 40) {
    int count = 0;
    area = area.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += near(image.pixelColor(x, y), color, tolerance) ? 1 : 0;
        }
    }
    return count;
}

}  // namespace sundrel::widgets::chart_testing
