#pragma once

#include <QColor>

#include "widgets/chart_font.h"

namespace sundrel::widgets {

class CChartCtrl;

// Where a docked legend sits. The values are those the views use.
enum class ChartDockSide : int { Right = 0, Left = 1, Top = 2, Bottom = 3 };

// The legend: one entry for each visible series that has a name, in creation
// order. A docked legend takes its own band at one side of the control, so it
// never covers the plotting area; an undocked legend floats inside the
// plotting area, in the corner where it covers the fewest points. Every
// change redraws the chart.
class CChartLegend {
public:
    explicit CChartLegend(CChartCtrl& chart);

    void setVisible(bool visible);
    bool isVisible() const { return visible_; }

    void dock(ChartDockSide side);
    void undock();
    bool isDocked() const { return docked_; }
    ChartDockSide dockSide() const { return side_; }

    // Entries side by side (wrapping into rows) instead of one under another.
    void setHorizontal(bool horizontal);
    bool isHorizontal() const { return horizontal_; }

    void setBackgroundColor(const QColor& color);
    QColor backgroundColor() const { return background_; }

    void setShadowColor(const QColor& color);
    QColor shadowColor() const { return shadowColor_; }

    // Offset of the shadow below and right of the legend box, pixels, >= 0
    // (0: no shadow). Negative depths are taken as 0.
    void setShadowDepth(int pixels);
    int shadowDepth() const { return shadowDepth_; }

    void setFont(const ChartFont& font);
    const ChartFont& font() const { return font_; }

private:
    CChartCtrl& chart_;
    bool visible_ = false;
    bool docked_ = true;
    ChartDockSide side_ = ChartDockSide::Right;
    bool horizontal_ = false;
    QColor background_{Qt::white};
    QColor shadowColor_{Qt::darkGray};
    int shadowDepth_ = 3;
    ChartFont font_{QString(), 100};
};

}  // namespace sundrel::widgets
