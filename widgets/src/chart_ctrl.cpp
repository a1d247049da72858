#include "widgets/chart_ctrl.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <optional>

#include "widgets/chart_layout.h"

namespace sundrel::widgets {
namespace {

std::size_t slotIndex(ChartAxisSlot slot) {
    return static_cast<std::size_t>(slot);
}

// Zooming stops where the range would lose its precision or its meaning.
bool isZoomable(const ChartRange& range) {
    const double width = range.maximum - range.minimum;
    const double magnitude = std::max(std::abs(range.minimum), std::abs(range.maximum));
    return std::isfinite(width) && width > magnitude * 1e-12 && width > 1e-300 && width < 1e300;
}

}  // namespace

CChartCtrl::CChartCtrl(QWidget* parent) : QWidget(parent), title_(*this), legend_(*this) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CChartCtrl::~CChartCtrl() = default;

void CChartCtrl::redraw() {
    if (redrawCounter_ >= 1) {
        redrawPending_ = false;
        pictureValid_ = false;
        ++redrawCount_;
        update();
    } else {
        redrawPending_ = true;
    }
}

void CChartCtrl::doPendingRedraw() {
    if (redrawCounter_ >= 1 && redrawPending_) {
        redraw();
    }
}

void CChartCtrl::suspendRedraws() {
    --redrawCounter_;
    doPendingRedraw();
}

void CChartCtrl::resumeRedraws() {
    ++redrawCounter_;
    doPendingRedraw();
}

void CChartCtrl::setEdgeStyle(unsigned style) {
    edgeStyle_ = style;
    redraw();
}

void CChartCtrl::setBorderColor(const QColor& color) {
    borderColor_ = color;
    redraw();
}

void CChartCtrl::setBackgroundColor(const QColor& color) {
    background_ = color;
    redraw();
}

void CChartCtrl::setBackgroundGradient(bool on) {
    gradient_ = on;
    redraw();
}

void CChartCtrl::installAxis(std::unique_ptr<CChartAxis> axis) {
    axes_[slotIndex(axis->slot())] = std::move(axis);
    redraw();
}

CChartAxis* CChartCtrl::axis(ChartAxisSlot slot) const {
    const std::size_t index = slotIndex(slot);
    return index < axes_.size() ? axes_[index].get() : nullptr;
}

CChartAxis* CChartCtrl::horizontalAxis() const {
    CChartAxis* bottom = axis(ChartAxisSlot::Bottom);
    return bottom != nullptr ? bottom : axis(ChartAxisSlot::Top);
}

CChartAxis* CChartCtrl::verticalAxis() const {
    CChartAxis* left = axis(ChartAxisSlot::Left);
    return left != nullptr ? left : axis(ChartAxisSlot::Right);
}

template <typename Serie>
Serie* CChartCtrl::addSerie() {
    auto serie = std::make_unique<Serie>(*this);
    Serie* created = serie.get();
    series_.push_back(std::move(serie));
    redraw();
    return created;
}

CChartLineSerie* CChartCtrl::createLineSerie() {
    return addSerie<CChartLineSerie>();
}

CChartPointsSerie* CChartCtrl::createPointsSerie() {
    return addSerie<CChartPointsSerie>();
}

CChartBarSerie* CChartCtrl::createBarSerie() {
    return addSerie<CChartBarSerie>();
}

void CChartCtrl::removeAllSeries() {
    series_.clear();
    redraw();
}

CChartXYSerie* CChartCtrl::serie(std::size_t index) const {
    return index < series_.size() ? series_[index].get() : nullptr;
}

bool CChartCtrl::dispatchMouseEvent(ChartMouseEvent event, QPoint position) {
    if (!rect().contains(position)) {
        return false;
    }
    const bool anyWants = std::any_of(series_.begin(), series_.end(), [event](const auto& serie) {
        return serie->isVisible() && serie->wantsMouseEvent(event);
    });
    if (!anyWants) {
        return false;
    }
    const ChartLayout layout = ChartLayout::compute(*this, QRectF(rect()), this);
    if (!layout.canPlot()) {
        return false;
    }
    for (const auto& serie : series_) {
        // The listener may change the chart: stop right after it.
        if (serie->offerMouseEvent(event, position, layout)) {
            return true;
        }
    }
    return false;
}

void CChartCtrl::zoomAt(QPointF position, double factor, bool horizontal, bool vertical) {
    if (!(factor > 0.0) || !std::isfinite(factor)) {
        return;
    }
    const ChartLayout layout = ChartLayout::compute(*this, QRectF(rect()), this);
    std::array<std::optional<double>, 4> anchors;
    suspendRedraws();
    for (std::size_t i = 0; i < axes_.size(); ++i) {
        if (!layout.axes[i] || !axes_[i]) {
            continue;
        }
        const ChartAxisScale& scale = layout.axes[i]->scale;
        if (scale.horizontal ? !horizontal : !vertical) {
            continue;
        }
        const double anchor = scale.toValue(scale.horizontal ? position.x() : position.y());
        const ChartRange zoomed{anchor - (anchor - scale.range.minimum) / factor,
                                anchor + (scale.range.maximum - anchor) / factor};
        if (isZoomable(zoomed)) {
            axes_[i]->zoomTo(zoomed);
            anchors[i] = anchor;
        }
    }
    // New ranges bring new tick labels, which may move the plotting area's
    // edges: shift the ranges until the anchors are under the cursor again.
    for (int pass = 0; pass < 2; ++pass) {
        const ChartLayout moved = ChartLayout::compute(*this, QRectF(rect()), this);
        for (std::size_t i = 0; i < axes_.size(); ++i) {
            if (!anchors[i] || !moved.axes[i]) {
                continue;
            }
            const ChartAxisScale& scale = moved.axes[i]->scale;
            const double shift =
                *anchors[i] - scale.toValue(scale.horizontal ? position.x() : position.y());
            if (shift != 0.0) {
                axes_[i]->zoomTo({scale.range.minimum + shift, scale.range.maximum + shift});
            }
        }
    }
    resumeRedraws();
}

void CChartCtrl::panBy(QPointF pixelOffset) {
    const ChartLayout layout = ChartLayout::compute(*this, QRectF(rect()), this);
    suspendRedraws();
    for (std::size_t i = 0; i < axes_.size(); ++i) {
        if (!layout.axes[i] || !axes_[i]) {
            continue;
        }
        const ChartAxisScale& scale = layout.axes[i]->scale;
        const double pixels = scale.horizontal ? pixelOffset.x() : pixelOffset.y();
        if (pixels == 0.0) {
            continue;
        }
        // The value under the cursor moves with it.
        const double shift = scale.toValue(scale.first) - scale.toValue(scale.first + pixels);
        const ChartRange panned{scale.range.minimum + shift, scale.range.maximum + shift};
        if (isZoomable(panned)) {
            axes_[i]->zoomTo(panned);
        }
    }
    resumeRedraws();
}

void CChartCtrl::resetZoom() {
    suspendRedraws();
    for (const auto& axis : axes_) {
        if (axis) {
            axis->resetZoom();
        }
    }
    resumeRedraws();
}

QSize CChartCtrl::sizeHint() const {
    return {480, 320};
}

QSize CChartCtrl::minimumSizeHint() const {
    return {160, 120};
}

void CChartCtrl::paintEvent(QPaintEvent* /*event*/) {
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (picture_.size() != pixels || picture_.devicePixelRatio() != ratio) {
        picture_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        picture_.setDevicePixelRatio(ratio);
        // Text drawn on the picture at the size the layout measured it.
        constexpr double kInchesPerMetre = 1.0 / 0.0254;
        picture_.setDotsPerMeterX(qRound(logicalDpiX() * kInchesPerMetre));
        picture_.setDotsPerMeterY(qRound(logicalDpiY() * kInchesPerMetre));
        pictureValid_ = false;
    }
    if (!pictureValid_ && !picture_.isNull()) {
        QPainter painter(&picture_);
        renderer_.paint(*this, painter, rect(), this);
        pictureValid_ = true;
    }
    QPainter painter(this);
    painter.drawImage(QPointF(0.0, 0.0), picture_);
    if (crosshairAt_) {
        painter.setPen(QPen(QColor(80, 80, 80), 1.0, Qt::DashLine));
        const QPointF at(std::floor(crosshairAt_->x()) + 0.5, std::floor(crosshairAt_->y()) + 0.5);
        painter.drawLine(QPointF(crosshairPlot_.left(), at.y()),
                         QPointF(crosshairPlot_.right(), at.y()));
        painter.drawLine(QPointF(at.x(), crosshairPlot_.top()),
                         QPointF(at.x(), crosshairPlot_.bottom()));
    }
}

void CChartCtrl::setCrosshair(bool on) {
    crosshair_ = on;
    setMouseTracking(on);
    if (!on) {
        hideCrosshair();
    }
}

void CChartCtrl::trackCrosshair(QPointF position) {
    const ChartLayout layout = ChartLayout::compute(*this, QRectF(rect()), this);
    if (!layout.canPlot() || !layout.plot.contains(position)) {
        hideCrosshair();
        return;
    }
    crosshairAt_ = position;
    crosshairPlot_ = layout.plot;
    update();
    emit cursorMoved(layout.horizontal()->scale.toValue(position.x()),
                     layout.vertical()->scale.toValue(position.y()));
}

void CChartCtrl::hideCrosshair() {
    if (crosshairAt_) {
        crosshairAt_.reset();
        update();
        emit cursorLeft();
    }
}

void CChartCtrl::leaveEvent(QEvent* event) {
    hideCrosshair();
    QWidget::leaveEvent(event);
}

void CChartCtrl::mouseMoveEvent(QMouseEvent* event) {
    const QPointF position = event->position();
    dispatchMouseEvent(ChartMouseEvent::MouseMove, position.toPoint());
    if (panning_) {
        panBy(position - panFrom_);
        panFrom_ = position;
    }
    if (crosshair_) {
        trackCrosshair(position);
    }
}

void CChartCtrl::mousePressEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        dispatchMouseEvent(ChartMouseEvent::RightButtonDown, position);
        return;
    }
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    if (dispatchMouseEvent(ChartMouseEvent::LeftButtonDown, position)) {
        return;
    }
    const ChartLayout layout = ChartLayout::compute(*this, QRectF(rect()), this);
    if (layout.canPlot() && layout.plot.contains(event->position())) {
        panning_ = true;
        panFrom_ = event->position();
        setCursor(Qt::ClosedHandCursor);
    }
}

void CChartCtrl::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        dispatchMouseEvent(ChartMouseEvent::RightButtonUp, position);
        return;
    }
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    dispatchMouseEvent(ChartMouseEvent::LeftButtonUp, position);
    if (panning_) {
        panning_ = false;
        unsetCursor();
    }
}

void CChartCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        dispatchMouseEvent(ChartMouseEvent::RightDoubleClick, position);
        return;
    }
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    if (!dispatchMouseEvent(ChartMouseEvent::LeftDoubleClick, position)) {
        resetZoom();
    }
}

void CChartCtrl::wheelEvent(QWheelEvent* event) {
    // Some systems turn a shifted wheel into a horizontal one.
    const int angle =
        event->angleDelta().y() != 0 ? event->angleDelta().y() : event->angleDelta().x();
    if (angle == 0) {
        event->ignore();
        return;
    }
    const QPointF position = event->position();
    const ChartLayout layout = ChartLayout::compute(*this, QRectF(rect()), this);
    if (!layout.canPlot()) {
        event->ignore();
        return;
    }
    bool horizontal = false;
    bool vertical = false;
    if (layout.plot.contains(position)) {
        // Shift: distance only; Ctrl: values only.
        horizontal = !event->modifiers().testFlag(Qt::ControlModifier);
        vertical = !event->modifiers().testFlag(Qt::ShiftModifier);
    } else {
        for (const auto& axis : layout.axes) {
            if (axis && axis->strip.contains(position)) {
                horizontal = axis->scale.horizontal;
                vertical = !axis->scale.horizontal;
            }
        }
    }
    if (!horizontal && !vertical) {
        event->ignore();
        return;
    }
    // One notch (120) zooms in by 1.25.
    zoomAt(position, std::pow(1.25, angle / 120.0), horizontal, vertical);
    event->accept();
}

}  // namespace sundrel::widgets
