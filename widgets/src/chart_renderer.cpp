#include "widgets/chart_renderer.h"

#include "widgets/chart_curve_geometry.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>

#include "chart_line_rasterizer.h"
#include "widgets/chart_ctrl.h"
#include "widgets/chart_layout.h"

namespace sundrel::widgets {
namespace {

constexpr double kTickLength = 5.0;
constexpr double kTickLabelGap = 3.0;
constexpr QPointF kShadowOffset{2.0, 2.0};
// The windows 3-D colours of a control edge.
const QColor kEdgeHighlight{255, 255, 255};
const QColor kEdgeLight{227, 227, 227};
const QColor kEdgeShadow{160, 160, 160};
const QColor kEdgeDarkShadow{105, 105, 105};

void paintEdge(QPainter& painter, const QRect& bounds, unsigned style) {
    const auto ring = [&](const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
        painter.setPen(topLeft);
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(bottomRight);
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
    };
    QRect r = bounds.adjusted(0, 0, -1, -1);
    if ((style & 3u) != 0) {
        if ((style & 1u) != 0) {
            ring(r, kEdgeLight, kEdgeDarkShadow);
        } else {
            ring(r, kEdgeShadow, kEdgeHighlight);
        }
        r.adjust(1, 1, -1, -1);
    }
    if ((style & 4u) != 0) {
        ring(r, kEdgeHighlight, kEdgeShadow);
    } else if ((style & 8u) != 0) {
        ring(r, kEdgeDarkShadow, kEdgeLight);
    }
}

// The linear map of one axis, value → pixel, kept exact near the minimum.
using Linear = ChartLinearMap;

Linear linearOf(const ChartAxisScale& scale) {
    const double origin = scale.toScreen(scale.range.minimum);
    const double slope = (scale.toScreen(scale.range.maximum) - origin) /
                         (scale.range.maximum - scale.range.minimum);
    return {origin, scale.range.minimum, slope};
}

QColor gridColor(const QColor& axis, const QColor& background) {
    // An eighth of the way from the background to the axis colour.
    const auto mix = [](int a, int b) { return (7 * a + b) / 8; };
    return QColor(mix(background.red(), axis.red()), mix(background.green(), axis.green()),
                  mix(background.blue(), axis.blue()));
}

// The image a solid curve can be drawn into directly: the painter paints on
// a supported image with at most an offset and an even scale.
QImage* directTarget(QPainter& painter, const CChartLineSerie& serie) {
    QPaintDevice* device = painter.device();
    if (serie.penStyle() != Qt::SolidLine || device == nullptr ||
        device->devType() != QInternal::Image) {
        return nullptr;
    }
    auto* image = static_cast<QImage*>(device);
    const QTransform& toDevice = painter.deviceTransform();
    if (!ChartLineRasterizer::supports(*image) || toDevice.type() > QTransform::TxScale ||
        !(toDevice.m11() > 0.0) || std::abs(toDevice.m11() - toDevice.m22()) > 1e-9) {
        return nullptr;
    }
    return image;
}

// Pixel centre for a crisp one-pixel line at screen position v.
double crisp(double v) {
    return std::floor(v) + 0.5;
}

}  // namespace

ChartRenderer::ChartRenderer() : rasterizer_(std::make_unique<ChartLineRasterizer>()) {}

ChartRenderer::~ChartRenderer() = default;

QImage ChartRenderer::render(const CChartCtrl& chart, QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    paint(chart, painter, QRect(QPoint(0, 0), size));
    return image;
}

void ChartRenderer::paint(const CChartCtrl& chart, QPainter& painter, const QRect& bounds,
                          const QPaintDevice* metrics) {
    painter.save();
    metrics_ = metrics != nullptr ? metrics : painter.device();
    const ChartLayout layout = ChartLayout::compute(chart, QRectF(bounds), metrics_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    if (chart.hasBackgroundGradient()) {
        QLinearGradient gradient(bounds.topLeft(), bounds.bottomLeft());
        gradient.setColorAt(0.0, Qt::white);
        gradient.setColorAt(1.0, chart.backgroundColor());
        painter.fillRect(bounds, gradient);
    } else {
        painter.fillRect(bounds, chart.backgroundColor());
    }
    paintEdge(painter, bounds, chart.edgeStyle());

    const CChartTitle& title = *chart.title();
    if (!layout.titleLines.empty()) {
        painter.setFont(title.font().toQFont());
        painter.setPen(title.color());
        for (std::size_t i = 0; i < layout.titleLines.size(); ++i) {
            painter.drawText(layout.titleLines[i], Qt::AlignCenter,
                             title.lines().at(static_cast<qsizetype>(i)));
        }
    }

    const QRectF& plot = layout.plot;
    if (layout.canPlot()) {
        for (const auto& axis : layout.axes) {
            if (!axis || !axis->axis->isVisible() || !axis->axis->isGridVisible()) {
                continue;
            }
            // Solid one-pixel lines, filled: far cheaper than dotted strokes.
            const QColor color = gridColor(axis->axis->color(), chart.backgroundColor());
            for (const ChartTick& tick : axis->ticks.ticks) {
                const double at = std::floor(axis->scale.toScreen(tick.value));
                if (axis->scale.horizontal && at > plot.left() && at < plot.right() - 1) {
                    painter.fillRect(QRectF(at, plot.top(), 1.0, plot.height()), color);
                } else if (!axis->scale.horizontal && at > plot.top() && at < plot.bottom() - 1) {
                    painter.fillRect(QRectF(plot.left(), at, plot.width(), 1.0), color);
                }
            }
        }

        painter.save();
        painter.setClipRect(plot, Qt::IntersectClip);
        for (std::size_t i = 0; i < chart.seriesCount(); ++i) {
            const CChartXYSerie& serie = *chart.serie(i);
            if (!serie.isVisible() || serie.pointCount() == 0) {
                continue;
            }
            for (const bool shadow : {true, false}) {
                if (shadow && !serie.hasShadow()) {
                    continue;
                }
                const QPointF offset = shadow ? kShadowOffset : QPointF();
                switch (serie.kind()) {
                    case ChartSerieKind::Line:
                        paintLine(painter, layout, static_cast<const CChartLineSerie&>(serie),
                                  offset);
                        break;
                    case ChartSerieKind::Points:
                        paintPoints(painter, layout, static_cast<const CChartPointsSerie&>(serie),
                                    offset);
                        break;
                    case ChartSerieKind::Bar:
                        paintBars(painter, layout, static_cast<const CChartBarSerie&>(serie),
                                  offset);
                        break;
                }
            }
        }
        painter.restore();
    }

    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(chart.borderColor(), 1.0));
    painter.drawRect(
        QRectF(plot.left() + 0.5, plot.top() + 0.5, plot.width() - 1.0, plot.height() - 1.0));
    for (const auto& axis : layout.axes) {
        if (axis && axis->axis->isVisible()) {
            paintAxis(painter, layout, *axis);
        }
    }
    paintLegend(painter, chart, layout);
    painter.restore();
}

void ChartRenderer::paintLine(QPainter& painter, const ChartLayout& layout,
                              const CChartLineSerie& serie, QPointF shadowOffset) {
    const auto points = serie.points();
    const Linear mapX = linearOf(layout.horizontal()->scale);
    const Linear mapY = linearOf(layout.vertical()->scale);
    const QRectF& plot = layout.plot;
    const double densePoints = 2.0 * plot.width();

    screen_.clear();
    bool dense = false;
    const ChartEnvelopeIndex& index = serie.envelopeIndex();
    if (!points.empty() && index.isMonotonic() && index.allFinite()) {
        // Only the points on the plot, and per pixel column at most two
        // points: the cost follows the plot's width, not the series' length.
        const ChartIndexRun run = visibleRun(points, mapX, plot.left(), plot.right());
        dense = static_cast<double>(run.end - run.first) > densePoints;
        if (dense) {
            appendColumnEnvelope(points, index, run, mapX, mapY, shadowOffset, screen_);
        } else {
            for (std::size_t i = run.first; i < run.end; ++i) {
                screen_.push_back(QPointF(mapX(points[i].X), mapY(points[i].Y)) + shadowOffset);
            }
        }
    } else {
        dense = static_cast<double>(points.size()) > densePoints;
        screen_.reserve(points.size() + 1);
        ColumnReducer reducer(screen_);
        bool broken = true;
        for (const SChartXYPoint& p : points) {
            const QPointF at(mapX(p.X), mapY(p.Y));
            if (!std::isfinite(at.x()) || !std::isfinite(at.y())) {
                if (!broken) {
                    reducer.flush();
                    screen_.push_back(kCurveBreak);
                    broken = true;
                }
                continue;
            }
            broken = false;
            if (dense) {
                reducer.add(at + shadowOffset);
            } else {
                screen_.push_back(at + shadowOffset);
            }
        }
        reducer.flush();
    }
    const double pad = serie.lineWidth() + 2.0;
    const QRectF guard = plot.adjusted(-pad, -pad, pad, pad);
    // A dense curve looks the same straight; flattening it would only cost.
    if (serie.isSmooth() && !dense) {
        smoothCurve(screen_, run_, guard);
        screen_.swap(run_);
    }

    const QColor color = shadowOffset.isNull() ? serie.color() : QColor(0, 0, 0, 60);
    const double width = serie.lineWidth();
    QImage* image = directTarget(painter, serie);
    const QTransform& toDevice = painter.deviceTransform();
    const auto device = [&](const QPointF& p) {
        return QPointF(p.x() * toDevice.m11() + toDevice.dx(),
                       p.y() * toDevice.m22() + toDevice.dy());
    };
    if (image != nullptr) {
        const QRectF clip = painter.clipBoundingRect();
        rasterizer_->begin(*image, toDevice.mapRect(clip).toAlignedRect(), width * toDevice.m11());
    } else {
        painter.setPen(QPen(color, width, serie.penStyle(), Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.setRenderHint(QPainter::Antialiasing, true);
    }

    const auto flush = [&] {
        if (run_.size() >= 2) {
            if (image != nullptr) {
                for (QPointF& p : run_) {
                    p = device(p);
                }
                rasterizer_->addPolyline(run_.data(), run_.size());
            } else {
                painter.drawPolyline(run_.data(), static_cast<int>(run_.size()));
            }
        }
        run_.clear();
    };
    // Straight into the image, a vertical stroke (a dense pixel column) is a
    // span of rows, and the short join from the column before only widens
    // it: no round joins, each pixel touched about once.
    const bool spans = image != nullptr && serie.penStyle() == Qt::SolidLine;
    const auto vertical = [&](std::size_t i) {
        return i + 1 < screen_.size() && screen_[i].x() == screen_[i + 1].x() &&
               !isCurveBreak(screen_[i]) && !isCurveBreak(screen_[i + 1]);
    };
    double joinFrom = std::numeric_limits<double>::quiet_NaN();
    run_.clear();
    std::size_t finite = 0;
    for (std::size_t i = 0; i < screen_.size(); ++i) {
        if (isCurveBreak(screen_[i])) {
            flush();
            continue;
        }
        ++finite;
        if (i + 1 >= screen_.size() || isCurveBreak(screen_[i + 1])) {
            continue;
        }
        if (spans && vertical(i)) {
            flush();
            double top = std::min(screen_[i].y(), screen_[i + 1].y());
            double bottom = std::max(screen_[i].y(), screen_[i + 1].y());
            if (!std::isnan(joinFrom)) {
                top = std::min(top, joinFrom);
                bottom = std::max(bottom, joinFrom);
            }
            joinFrom = std::numeric_limits<double>::quiet_NaN();
            const QPointF high = device(QPointF(screen_[i].x(), top));
            const QPointF low = device(QPointF(screen_[i].x(), bottom));
            rasterizer_->addSpan(static_cast<float>(high.x()), static_cast<float>(high.y()),
                                 static_cast<float>(low.y()));
            continue;
        }
        if (spans && vertical(i + 1) && std::abs(screen_[i + 1].x() - screen_[i].x()) <= 1.5) {
            joinFrom = screen_[i].y();  // the next span reaches up or down to it
            continue;
        }
        QPointF a = screen_[i];
        QPointF b = screen_[i + 1];
        if (!clipSegment(a, b, guard)) {
            flush();
            continue;
        }
        if (run_.empty() || run_.back() != a) {
            flush();
            run_.push_back(a);
        }
        run_.push_back(b);
        if (b != screen_[i + 1]) {
            flush();
        }
    }
    flush();
    if (finite == 1) {
        for (const QPointF& p : screen_) {
            if (isCurveBreak(p)) {
                continue;
            }
            if (image != nullptr) {
                const QPointF dot = device(p);
                rasterizer_->addPolyline(&dot, 1);
            } else {
                painter.drawPoint(p);
            }
        }
    }
    if (image != nullptr) {
        rasterizer_->finish(qPremultiply(color.rgba()));
    }
}

void ChartRenderer::paintPoints(QPainter& painter, const ChartLayout& layout,
                                const CChartPointsSerie& serie, QPointF shadowOffset) {
    const double w = serie.markerWidth();
    const double h = serie.markerHeight();
    const QRectF reach = layout.plot.adjusted(-w, -h, w, h);
    const bool shadow = !shadowOffset.isNull();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(shadow ? QPen(Qt::NoPen) : QPen(serie.markerBorderColor(), 1.0));
    painter.setBrush(shadow ? QColor(0, 0, 0, 60) : serie.color());
    for (const SChartXYPoint& p : serie.points()) {
        const QPointF at = layout.toScreen(p) + shadowOffset;
        if (std::isfinite(at.x()) && std::isfinite(at.y()) && reach.contains(at)) {
            painter.drawEllipse(QRectF(at.x() - w / 2.0, at.y() - h / 2.0, w, h));
        }
    }
}

void ChartRenderer::paintBars(QPainter& painter, const ChartLayout& layout,
                              const CChartBarSerie& serie, QPointF shadowOffset) {
    const QRectF reach = layout.plot.adjusted(-2, -2, 2, 2);
    const bool shadow = !shadowOffset.isNull();
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const SChartXYPoint& p : serie.points()) {
        if (!std::isfinite(p.X) || !std::isfinite(p.Y)) {
            continue;
        }
        const QRectF whole = layout.barRect(serie, p).translated(shadowOffset);
        QRectF bar = whole.intersected(reach);
        if (bar.width() <= 0.0 || bar.height() <= 0.0) {
            // A bar of no length (a value on the base line) still says so.
            if (!shadow && serie.hasValueLabels() && whole.width() > 0.0 &&
                reach.contains(whole.center())) {
                paintBarLabel(painter, serie, p, whole.toRect());
            }
            continue;
        }
        // Whole pixels, so neighbouring bars and their borders stay crisp.
        const QRect pixels(QPoint(static_cast<int>(std::lround(bar.left())),
                                  static_cast<int>(std::lround(bar.top()))),
                           QPoint(static_cast<int>(std::lround(bar.right())) - 1,
                                  static_cast<int>(std::lround(bar.bottom())) - 1));
        if (pixels.width() <= 0) {
            continue;
        }
        if (shadow) {
            painter.fillRect(pixels, QColor(0, 0, 0, 60));
            continue;
        }
        if (pixels.height() > 0) {
            painter.fillRect(pixels, serie.color());
            painter.setPen(QPen(serie.borderColor(), 1.0));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRectF(pixels.left() + 0.5, pixels.top() + 0.5, pixels.width() - 1.0,
                                    pixels.height() - 1.0));
        }
        if (serie.hasValueLabels()) {
            paintBarLabel(painter, serie, p, pixels);
        }
    }
}

void ChartRenderer::paintBarLabel(QPainter& painter, const CChartBarSerie& serie,
                                  const SChartXYPoint& point, const QRect& bar) {
    const QString text = serie.valueLabel(serie.isHorizontal() ? point.X : point.Y);
    const QFontMetricsF metrics(painter.font(), metrics_);
    const double width = metrics.horizontalAdvance(text) + 4.0;
    const double height = metrics.height();
    // Beyond the bar's end, centred on it: a value of 0 still shows.
    const bool upward = point.Y >= serie.baseLine() || serie.isBaseLineAutomatic();
    const QRectF box =
        serie.isHorizontal()
            ? QRectF(bar.right() + 2.0, bar.center().y() - height / 2, width, height)
            : QRectF(bar.center().x() + 0.5 - width / 2,
                     upward ? bar.top() - height - 1.0 : bar.bottom() + 2.0, width, height);
    painter.setPen(QColor(40, 40, 40));
    painter.drawText(box, Qt::AlignCenter, text);
}

void ChartRenderer::paintAxis(QPainter& painter, const ChartLayout& layout,
                              const ChartAxisGeometry& axis) {
    const QRectF& plot = layout.plot;
    const CChartAxis& model = *axis.axis;
    const ChartAxisSlot slot = model.slot();
    const QFont tickFont = model.tickLabelFont().toQFont();
    const double height = QFontMetricsF(tickFont, metrics_).height();
    // Labels are aligned inside generous boxes instead of measured.
    constexpr double kRoom = 400.0;
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(model.color(), 1.0));
    painter.setFont(tickFont);

    const double edge = slot == ChartAxisSlot::Left    ? plot.left() + 0.5
                        : slot == ChartAxisSlot::Right ? plot.right() - 0.5
                        : slot == ChartAxisSlot::Top   ? plot.top() + 0.5
                                                       : plot.bottom() - 0.5;
    // Ticks and labels point away from the plotting area.
    const double outward = slot == ChartAxisSlot::Left || slot == ChartAxisSlot::Top ? -1.0 : 1.0;
    if (axis.scale.horizontal) {
        painter.drawLine(QPointF(plot.left(), edge), QPointF(plot.right(), edge));
    } else {
        painter.drawLine(QPointF(edge, plot.top()), QPointF(edge, plot.bottom()));
    }
    const double outside = outward < 0 ? (axis.scale.horizontal ? plot.top() : plot.left())
                                       : (axis.scale.horizontal ? plot.bottom() : plot.right());
    const double labelAt = outside + outward * (kTickLength + kTickLabelGap);
    for (const ChartTick& tick : axis.ticks.ticks) {
        const double position = axis.scale.toScreen(tick.value);
        const double at = crisp(position);
        const double first = axis.scale.horizontal ? plot.left() : plot.top();
        const double last = axis.scale.horizontal ? plot.right() : plot.bottom();
        if (at < first - 0.5 || at > last + 0.5) {
            continue;
        }
        if (axis.scale.horizontal) {
            painter.drawLine(QPointF(at, outside), QPointF(at, outside + outward * kTickLength));
        } else {
            painter.drawLine(QPointF(outside, at), QPointF(outside + outward * kTickLength, at));
        }
        if (tick.label.isEmpty()) {
            continue;
        }
        if (axis.scale.horizontal) {
            const QRectF box(position - kRoom / 2.0, outward > 0 ? labelAt : labelAt - height,
                             kRoom, height);
            painter.drawText(box, Qt::AlignCenter, tick.label);
        } else {
            const QRectF box(outward > 0 ? labelAt : labelAt - kRoom, position - height / 2.0,
                             kRoom, height);
            painter.drawText(box, Qt::AlignVCenter | (outward > 0 ? Qt::AlignLeft : Qt::AlignRight),
                             tick.label);
        }
    }

    const QString& text = model.title()->text();
    if (text.isEmpty() || axis.titleRect.isEmpty()) {
        return;
    }
    painter.setFont(model.title()->font().toQFont());
    if (axis.scale.horizontal) {
        painter.drawText(axis.titleRect, Qt::AlignCenter | Qt::TextDontClip, text);
        return;
    }
    // Upright along the axis: read from bottom to top on the left, from top
    // to bottom on the right.
    painter.save();
    painter.translate(axis.titleRect.center());
    painter.rotate(slot == ChartAxisSlot::Left ? -90.0 : 90.0);
    const QRectF turned(-axis.titleRect.height() / 2.0, -axis.titleRect.width() / 2.0,
                        axis.titleRect.height(), axis.titleRect.width());
    painter.drawText(turned, Qt::AlignCenter | Qt::TextDontClip, text);
    painter.restore();
}

void ChartRenderer::paintLegend(QPainter& painter, const CChartCtrl& chart,
                                const ChartLayout& layout) {
    if (layout.legend.isEmpty() || layout.legendEntries.empty()) {
        return;
    }
    const CChartLegend& legend = *chart.legend();
    const QRectF box = layout.legend;
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (legend.shadowDepth() > 0) {
        painter.fillRect(box.translated(legend.shadowDepth(), legend.shadowDepth()),
                         legend.shadowColor());
    }
    painter.fillRect(box, legend.backgroundColor());
    painter.setPen(QPen(QColor(96, 96, 96), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(
        QRectF(box.left() + 0.5, box.top() + 0.5, box.width() - 1.0, box.height() - 1.0));

    painter.setFont(legend.font().toQFont());
    for (const ChartLegendEntry& entry : layout.legendEntries) {
        const CChartXYSerie& serie = *entry.serie;
        const QRectF& sample = entry.sample;
        painter.setRenderHint(QPainter::Antialiasing, true);
        switch (serie.kind()) {
            case ChartSerieKind::Line: {
                const auto& line = static_cast<const CChartLineSerie&>(serie);
                const double width =
                    std::min(static_cast<double>(line.lineWidth()), sample.height() - 2.0);
                painter.setPen(
                    QPen(serie.color(), std::max(1.0, width), line.penStyle(), Qt::FlatCap));
                const double y = sample.center().y();
                painter.drawLine(QPointF(sample.left() + 2.0, y), QPointF(sample.right() - 2.0, y));
                break;
            }
            case ChartSerieKind::Points: {
                const auto& markers = static_cast<const CChartPointsSerie&>(serie);
                const double w =
                    std::min(static_cast<double>(markers.markerWidth()), sample.width());
                const double h =
                    std::min(static_cast<double>(markers.markerHeight()), sample.height());
                painter.setPen(QPen(markers.markerBorderColor(), 1.0));
                painter.setBrush(serie.color());
                painter.drawEllipse(
                    QRectF(sample.center().x() - w / 2.0, sample.center().y() - h / 2.0, w, h));
                painter.setBrush(Qt::NoBrush);
                break;
            }
            case ChartSerieKind::Bar: {
                const auto& bars = static_cast<const CChartBarSerie&>(serie);
                painter.setRenderHint(QPainter::Antialiasing, false);
                const QRect swatch = sample.adjusted(4.0, 3.0, -4.0, -3.0).toRect();
                painter.fillRect(swatch, serie.color());
                painter.setPen(QPen(bars.borderColor(), 1.0));
                painter.drawRect(QRectF(swatch.left() + 0.5, swatch.top() + 0.5,
                                        swatch.width() - 1.0, swatch.height() - 1.0));
                break;
            }
        }
        painter.setPen(Qt::black);
        painter.drawText(entry.text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip,
                         serie.name());
    }
}

}  // namespace sundrel::widgets
