#pragma once

#include <QString>

#include "widgets/chart_font.h"

namespace sundrel::widgets {

class CChartCtrl;

// The title of an axis, drawn beside its tick labels (turned upright along a
// vertical axis). Drawn in the axis colour. Every change redraws the chart.
class CChartAxisLabel {
public:
    explicit CChartAxisLabel(CChartCtrl& chart);

    void setText(const QString& text);
    const QString& text() const { return text_; }

    void setFont(const ChartFont& font);
    void setFont(const QString& face, int sizeTenths, bool bold, bool italic, bool underline);
    const ChartFont& font() const { return font_; }

private:
    CChartCtrl& chart_;
    QString text_;
    ChartFont font_{QString(), 100};
};

}  // namespace sundrel::widgets
