#pragma once

#include <QColor>
#include <QPoint>
#include <QString>
#include <cstddef>
#include <optional>
#include <span>

#include "widgets/chart_axis_scale.h"
#include "widgets/chart_envelope_index.h"
#include "widgets/chart_point_buffer.h"
#include "widgets/chart_series_mouse_listener.h"
#include "widgets/chart_xy_point.h"

namespace sundrel::widgets {

class CChartCtrl;
class ChartLayout;

// How a series keeps its points: in insertion order, or sorted by X or by Y
// (a new point goes after the points with an equal key).
enum class ChartPointOrdering : int { None = 0, ByX = 1, ByY = 2 };

enum class ChartSerieKind : int { Line, Points, Bar };

// What every series of a chart has: name, colour, point ordering, mouse
// listener and notifications, and its points in one contiguous array. Every
// change of what is drawn redraws the chart. Created and owned by the chart.
class CChartXYSerie {
public:
    virtual ~CChartXYSerie() = default;
    CChartXYSerie(const CChartXYSerie&) = delete;
    CChartXYSerie& operator=(const CChartXYSerie&) = delete;

    ChartSerieKind kind() const { return kind_; }
    CChartCtrl& chart() const { return chart_; }

    // Shown in the legend; a series without a name has no legend entry.
    void setName(const QString& name);
    const QString& name() const { return name_; }

    void setColor(const QColor& color);
    QColor color() const { return color_; }

    void setVisible(bool visible);
    bool isVisible() const { return visible_; }

    // Sorted by X by default. Switching to an ordering re-sorts the points
    // (stably); switching to None keeps their present order.
    void setPointOrdering(ChartPointOrdering ordering);
    ChartPointOrdering pointOrdering() const { return ordering_; }

    // A grey copy drawn 2 pixels below and right of the series; off by default.
    void setShadow(bool on);
    bool hasShadow() const { return shadow_; }

    void addPoint(double x, double y);
    // count points (x[i], y[i]), i = 0..count−1, in one call and one redraw;
    // x and y hold at least count values (ignored when either is null).
    void addPoints(const double* x, const double* y, std::size_t count);

    std::size_t pointCount() const { return points_.size(); }
    // The point at index < pointCount(); a point of NaNs beyond.
    SChartXYPoint point(std::size_t index) const;
    // All points, contiguous; valid until the next change of the points.
    std::span<const SChartXYPoint> points() const { return points_.points(); }
    // Points moved internally by removals from the front, for cost checks.
    std::size_t movedPoints() const { return points_.movedPoints(); }
    // The min/max pyramid over the points, kept up to date by appends and
    // front removals and rebuilt here after any other change.
    const ChartEnvelopeIndex& envelopeIndex() const;

    // The index of the point whose X is nearest to `x` (binary search when
    // X is monotonic); none without finite points.
    std::optional<std::size_t> nearestByX(double x) const;

    void removeAllPoints();
    void removeLastPoint();
    // Removes min(count, pointCount()) points from the front; the rest keep
    // their order and are moved at most once.
    void removeFirstPoints(std::size_t count);

    // Extent of the finite X (horizontal) or Y values, for automatic ranges.
    virtual std::optional<ChartRange> extent(bool horizontal) const;

    // nullptr detaches. The listener is not owned.
    void attachMouseListener(CChartSeriesMouseListener<SChartXYPoint>* listener);
    CChartSeriesMouseListener<SChartXYPoint>* mouseListener() const { return listener_; }
    // Off by default. Mouse-move notification covers event 0, click
    // notification every other event.
    void enableMouseMoveNotification(bool on) { notifyMove_ = on; }
    void enableMouseClickNotification(bool on) { notifyClick_ = on; }
    bool isMouseMoveNotificationEnabled() const { return notifyMove_; }
    bool isMouseClickNotificationEnabled() const { return notifyClick_; }

    // True when this series would report `event` on a point: a listener is
    // attached and the notification for the event is on.
    bool wantsMouseEvent(ChartMouseEvent event) const;
    // The chart's mouse dispatch: if the series wants the event and the
    // cursor is on one of its points (hit test on `layout`), calls the
    // listener and returns true.
    bool offerMouseEvent(ChartMouseEvent event, QPoint position, const ChartLayout& layout);

protected:
    CChartXYSerie(CChartCtrl& chart, ChartSerieKind kind);
    void redraw();

private:
    bool keyLess(const SChartXYPoint& a, const SChartXYPoint& b) const;
    // True when points moved.
    bool sortFrom(std::size_t firstUnsorted);

    CChartCtrl& chart_;
    ChartSerieKind kind_;
    QString name_;
    QColor color_{Qt::black};
    bool visible_ = true;
    ChartPointOrdering ordering_ = ChartPointOrdering::ByX;
    bool shadow_ = false;
    ChartPointBuffer points_;
    mutable ChartEnvelopeIndex envelope_;
    CChartSeriesMouseListener<SChartXYPoint>* listener_ = nullptr;
    bool notifyMove_ = false;
    bool notifyClick_ = false;
};

}  // namespace sundrel::widgets
