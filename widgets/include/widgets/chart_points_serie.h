#pragma once

#include <QColor>

#include "widgets/chart_xy_serie.h"

namespace sundrel::widgets {

// A marker at each point: an ellipse filled with the series colour and
// outlined in the border colour.
class CChartPointsSerie : public CChartXYSerie {
public:
    explicit CChartPointsSerie(CChartCtrl& chart);

    // pixels, >= 1 each (smaller values are taken as 1)
    void setMarkerSize(int width, int height);
    int markerWidth() const { return width_; }
    int markerHeight() const { return height_; }

    void setMarkerBorderColor(const QColor& color);
    QColor markerBorderColor() const { return border_; }

private:
    int width_ = 5;
    int height_ = 5;
    QColor border_{Qt::black};
};

}  // namespace sundrel::widgets
