#pragma once

#include <Qt>

#include "widgets/chart_xy_serie.h"

namespace sundrel::widgets {

// Points joined by a line: straight segments, or, with smoothing on, a
// Bézier curve that passes through every point (Catmull-Rom tangents). Gaps
// at non-finite points.
class CChartLineSerie : public CChartXYSerie {
public:
    explicit CChartLineSerie(CChartCtrl& chart);

    // pixels, >= 1 (smaller values are taken as 1)
    void setLineWidth(int pixels);
    int lineWidth() const { return width_; }

    // Qt::SolidLine by default.
    void setPenStyle(Qt::PenStyle style);
    Qt::PenStyle penStyle() const { return style_; }

    // Off by default.
    void setSmooth(bool smooth);
    bool isSmooth() const { return smooth_; }

private:
    int width_ = 1;
    Qt::PenStyle style_ = Qt::SolidLine;
    bool smooth_ = false;
};

}  // namespace sundrel::widgets
