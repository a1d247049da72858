#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include "widgets/chart_font.h"

namespace sundrel::widgets {

class CChartCtrl;

// The chart's title: lines of text centred above the plotting area, in
// order. Every change redraws the chart.
class CChartTitle {
public:
    explicit CChartTitle(CChartCtrl& chart);

    void setVisible(bool visible);
    bool isVisible() const { return visible_; }

    void addLine(const QString& line);
    void removeAllLines();
    const QStringList& lines() const { return lines_; }

    void setFont(const ChartFont& font);
    void setFont(const QString& face, int sizeTenths, bool bold, bool italic, bool underline);
    const ChartFont& font() const { return font_; }

    void setColor(const QColor& color);
    QColor color() const { return color_; }

private:
    CChartCtrl& chart_;
    QStringList lines_;
    bool visible_ = true;
    ChartFont font_{QString(), 120};
    QColor color_{Qt::black};
};

}  // namespace sundrel::widgets
