#pragma once

#include <QColor>
#include <QString>
#include <functional>
#include <optional>

#include "widgets/chart_axis_label.h"
#include "widgets/chart_axis_scale.h"
#include "widgets/chart_font.h"
#include "widgets/chart_ticks.h"

namespace sundrel::widgets {

class CChartCtrl;

// The four places of a chart's axes. Left and right axes are vertical,
// bottom and top axes horizontal. Series are plotted against the bottom axis
// (the top one when there is no bottom axis) and the left axis (else the
// right one).
enum class ChartAxisSlot : int { Left = 0, Bottom = 1, Right = 2, Top = 3 };

inline bool isHorizontalSlot(ChartAxisSlot slot) {
    return slot == ChartAxisSlot::Bottom || slot == ChartAxisSlot::Top;
}

// What every axis has: its slot and orientation, the displayed range, the
// inversion, its title and colour. How ticks are placed and labelled is the
// subclass's. Every change redraws the chart.
//
// Ranges: setRange() sets the range the view wants shown, which is also the
// range a double click returns to after the user zoomed or panned. With the
// automatic range on, the range follows the points of the chart's series
// instead. The user's zoom and pan change only the displayed range.
class CChartAxis {
public:
    virtual ~CChartAxis() = default;
    CChartAxis(const CChartAxis&) = delete;
    CChartAxis& operator=(const CChartAxis&) = delete;

    ChartAxisSlot slot() const { return slot_; }
    bool isHorizontal() const { return isHorizontalSlot(slot_); }

    void setVisible(bool visible);
    bool isVisible() const { return visible_; }

    // Axis units, both finite; given in either order. Switches the automatic
    // range off and ends any zoom. Non-finite bounds are rejected (false).
    bool setRange(double minimum, double maximum);
    // The range set last (before any zoom), minimum <= maximum.
    ChartRange range() const { return range_; }

    // On by default.
    void setAutomaticRange(bool automatic);
    bool isAutomaticRange() const { return automaticRange_; }

    // Off by default. On: values grow toward the left on a horizontal axis
    // and downward on a vertical one.
    void setInverted(bool inverted);
    bool isInverted() const { return inverted_; }

    CChartAxisLabel* title() { return &title_; }
    const CChartAxisLabel* title() const { return &title_; }

    // Colour of the axis line, the ticks, the tick labels and the title.
    void setColor(const QColor& color);
    QColor color() const { return color_; }

    // Light lines across the plotting area at the ticks; on by default.
    void setGridVisible(bool visible);
    bool isGridVisible() const { return gridVisible_; }

    void setTickLabelFont(const ChartFont& font);
    const ChartFont& tickLabelFont() const { return tickFont_; }

    // The user's zoom and pan: `displayed` (finite, minimum < maximum) is
    // shown until resetZoom() or the next setRange(). Others are rejected.
    bool zoomTo(ChartRange displayed);
    void resetZoom();
    bool isZoomed() const { return zoomed_; }

    // The range drawn: the zoomed range while zoomed, else the extent of the
    // data when the range is automatic (0..1 without data), else the range
    // set last. An empty range is widened around its value.
    ChartRange displayedRange(const std::optional<ChartRange>& dataExtent) const;

    // The ticks of `displayed` drawn over `lengthPixels` (> 0);
    // `labelExtent` gives a label's extent along the axis in pixels.
    virtual ChartTickPlan planTicks(
        ChartRange displayed, double lengthPixels,
        const std::function<double(const QString&)>& labelExtent) const = 0;

    // The scale of the displayed range over the pixels first..last.
    ChartAxisScale scale(ChartRange displayed, double first, double last) const;

protected:
    CChartAxis(CChartCtrl& chart, ChartAxisSlot slot);
    void redraw();

private:
    CChartCtrl& chart_;
    ChartAxisSlot slot_;
    bool visible_ = true;
    ChartRange range_{0.0, 10.0};
    bool automaticRange_ = true;
    bool inverted_ = false;
    bool zoomed_ = false;
    ChartRange zoom_;
    CChartAxisLabel title_;
    QColor color_{Qt::black};
    bool gridVisible_ = true;
    ChartFont tickFont_{QString(), 90};
};

}  // namespace sundrel::widgets
