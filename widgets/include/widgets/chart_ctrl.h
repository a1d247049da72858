#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QWidget>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <type_traits>
#include <vector>

#include "widgets/chart_axis.h"
#include "widgets/chart_bar_serie.h"
#include "widgets/chart_legend.h"
#include "widgets/chart_line_serie.h"
#include "widgets/chart_points_serie.h"
#include "widgets/chart_renderer.h"
#include "widgets/chart_series_mouse_listener.h"
#include "widgets/chart_standard_axis.h"
#include "widgets/chart_title.h"

namespace sundrel::widgets {

// The chart control every plotting view embeds. It owns its title, legend,
// axes (one per slot) and series (in creation order) and deletes them with
// itself. Used on the window thread only.
//
// Redraws: every change of what is drawn ends with a redraw, which schedules
// a repaint when the redraw counter is at least 1 and otherwise only marks a
// redraw as pending. The control paints the chart into an image of its own
// and shows that, so a window exposed while redraws are suspended shows the
// chart as last drawn. The counter starts at 1; suspendRedraws() decrements it
// and resumeRedraws() increments it, so suspensions nest, and after either,
// a pending redraw is done once as soon as the counter is at least 1 again.
//
// Mouse: each mouse event inside the control is offered to the series in
// creation order; the first series that has a listener, the notification for
// the event switched on and a point under the cursor reports it and ends the
// dispatch. Unless a series took it, the wheel zooms about the cursor (over
// an axis: that axis only), a left drag pans, and a left double click returns
// every axis to the range its view set last.
class CChartCtrl : public QWidget {
    Q_OBJECT
public:
    explicit CChartCtrl(QWidget* parent = nullptr);
    ~CChartCtrl() override;

    void suspendRedraws();
    void resumeRedraws();
    int redrawCounter() const { return redrawCounter_; }
    bool isRedrawPending() const { return redrawPending_; }
    // Repaints scheduled by redraw() since construction.
    std::uint64_t redrawCount() const { return redrawCount_; }
    // Redraws now, or marks the redraw pending while redraws are suspended.
    void redraw();

    // A Windows edge-style value (BDR_* bits: 1 raised outer, 2 sunken outer,
    // 4 raised inner, 8 sunken inner) drawn around the control; 0 by default.
    void setEdgeStyle(unsigned style);
    unsigned edgeStyle() const { return edgeStyle_; }
    // Colour of the frame around the plotting area.
    void setBorderColor(const QColor& color);
    QColor borderColor() const { return borderColor_; }
    void setBackgroundColor(const QColor& color);
    QColor backgroundColor() const { return background_; }
    // A vertical gradient from white to the background colour; off by default.
    void setBackgroundGradient(bool on);
    bool hasBackgroundGradient() const { return gradient_; }

    CChartTitle* title() { return &title_; }
    const CChartTitle* title() const { return &title_; }
    CChartLegend* legend() { return &legend_; }
    const CChartLegend* legend() const { return &legend_; }

    // Creates an axis of type Axis (CChartStandardAxis or a subclass, which
    // takes (CChartCtrl&, ChartAxisSlot)) and installs it in `slot`,
    // deleting the axis that was there.
    template <typename Axis>
    Axis* createAxis(ChartAxisSlot slot) {
        static_assert(std::is_base_of_v<CChartAxis, Axis>);
        auto axis = std::make_unique<Axis>(*this, slot);
        Axis* created = axis.get();
        installAxis(std::move(axis));
        return created;
    }
    CChartStandardAxis* createStandardAxis(ChartAxisSlot slot) {
        return createAxis<CChartStandardAxis>(slot);
    }
    // The axis in a slot, or nullptr.
    CChartAxis* axis(ChartAxisSlot slot) const;
    // The axes series are plotted against: bottom else top, left else right.
    CChartAxis* horizontalAxis() const;
    CChartAxis* verticalAxis() const;

    CChartLineSerie* createLineSerie();
    CChartPointsSerie* createPointsSerie();
    CChartBarSerie* createBarSerie();
    void removeAllSeries();
    std::size_t seriesCount() const { return series_.size(); }
    // index < seriesCount(), else nullptr
    CChartXYSerie* serie(std::size_t index) const;

    // The mouse dispatch to the series; true when a series reported it.
    bool dispatchMouseEvent(ChartMouseEvent event, QPoint position);

    // Zoom by `factor` (> 1 zooms in) about `position` (client pixels) on
    // the horizontal and/or vertical axes; pan by a pixel offset (the data
    // follows the cursor); back to the ranges the views set last.
    void zoomAt(QPointF position, double factor, bool horizontal, bool vertical);
    void panBy(QPointF pixelOffset);
    void resetZoom();

    // A crosshair follows the cursor over the plotting area, drawn over the
    // chart as last painted (moving it repaints nothing else), and
    // cursorMoved() reports where it is; off by default.
    void setCrosshair(bool on);
    bool hasCrosshair() const { return crosshair_; }
    // The crosshair's position, pixels; none while the cursor is elsewhere.
    std::optional<QPointF> crosshairPosition() const { return crosshairAt_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The cursor over the plotting area (crosshair on), in the units of the
    // horizontal and vertical axes; cursorLeft() when it leaves it.
    void cursorMoved(double horizontal, double vertical);
    void cursorLeft();

protected:
    void paintEvent(QPaintEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void installAxis(std::unique_ptr<CChartAxis> axis);
    void doPendingRedraw();
    template <typename Serie>
    Serie* addSerie();

    int redrawCounter_ = 1;
    bool redrawPending_ = false;
    std::uint64_t redrawCount_ = 0;

    unsigned edgeStyle_ = 0;
    QColor borderColor_{Qt::black};
    QColor background_{Qt::white};
    bool gradient_ = false;

    CChartTitle title_;
    CChartLegend legend_;
    std::array<std::unique_ptr<CChartAxis>, 4> axes_;
    std::vector<std::unique_ptr<CChartXYSerie>> series_;

    ChartRenderer renderer_;
    // The chart as last drawn; exposures while redraws are suspended show it.
    QImage picture_;
    bool pictureValid_ = false;
    void trackCrosshair(QPointF position);
    void hideCrosshair();

    bool crosshair_ = false;
    std::optional<QPointF> crosshairAt_;
    QRectF crosshairPlot_;
    bool panning_ = false;
    QPointF panFrom_;
};

}  // namespace sundrel::widgets
