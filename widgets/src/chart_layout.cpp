#include "widgets/chart_layout.h"

#include <QFontMetricsF>
#include <QHash>
#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

#include "widgets/chart_ctrl.h"

namespace sundrel::widgets {
namespace {

constexpr double kMargin = 6.0;         // inside the edge
constexpr double kTitleGap = 4.0;       // under the title lines
constexpr double kTickLength = 5.0;     // ticks point away from the plotting area
constexpr double kTickLabelGap = 3.0;   // between a tick and its label
constexpr double kAxisTitleGap = 5.0;   // between the labels and the axis title
constexpr double kLegendGap = 8.0;      // between a docked legend and the rest
constexpr double kLegendPadding = 6.0;  // inside the legend box
constexpr double kLegendSample = 28.0;  // width of an entry's sample
constexpr double kLegendSampleGap = 6.0;
constexpr double kLegendSpacing = 16.0;  // between entries of a row
constexpr double kLegendRowGap = 3.0;
constexpr double kFloatingInset = 8.0;  // an undocked legend from the plot's frame
constexpr double kBarGap = 2.0;         // between the bars of one group
constexpr double kMinimumPlot = 8.0;

std::size_t slotIndex(ChartAxisSlot slot) {
    return static_cast<std::size_t>(slot);
}

double edgeWidth(unsigned style) {
    return ((style & 3u) != 0 ? 1.0 : 0.0) + ((style & 12u) != 0 ? 1.0 : 0.0);
}

std::optional<ChartRange> unite(const std::optional<ChartRange>& a,
                                const std::optional<ChartRange>& b) {
    if (!a) {
        return b;
    }
    if (!b) {
        return a;
    }
    return ChartRange{std::min(a->minimum, b->minimum), std::max(a->maximum, b->maximum)};
}

// What an axis needs measured for its strip.
struct AxisMeasure {
    const CChartAxis* axis = nullptr;
    ChartRange displayed;
    QFont tickFont;
    QFont titleFont;
    double labelHeight = 0.0;
    double titleHeight = 0.0;  // 0 without a title
    ChartTickPlan plan;
    double widestLabel = 0.0;
};

// Label widths, each label measured once per layout: shaping text is the
// slowest part of a layout.
class LabelWidths {
public:
    LabelWidths(const QFont& font, const QPaintDevice* device) : metrics_(font, device) {}

    double operator()(const QString& label) {
        const auto known = widths_.constFind(label);
        if (known != widths_.constEnd()) {
            return *known;
        }
        const double width = metrics_.horizontalAdvance(label);
        widths_.insert(label, width);
        return width;
    }
    double height() const { return metrics_.height(); }

private:
    QFontMetricsF metrics_;
    QHash<QString, double> widths_;
};

double widestLabel(const ChartTickPlan& plan, LabelWidths& widths) {
    double widest = 0.0;
    for (const ChartTick& tick : plan.ticks) {
        if (!tick.label.isEmpty()) {
            widest = std::max(widest, widths(tick.label));
        }
    }
    return widest;
}

// The room an axis takes beside the plotting area, across the axis.
double stripDepth(const AxisMeasure& m) {
    if (!m.axis->isVisible()) {
        return 0.0;
    }
    const double labels = m.axis->isHorizontal() ? m.labelHeight : m.widestLabel;
    const double title = m.titleHeight > 0.0 ? kAxisTitleGap + m.titleHeight : 0.0;
    return kTickLength + kTickLabelGap + labels + title;
}

struct LegendArrangement {
    QSizeF size;
    std::vector<QPointF> origins;  // of each entry, from the legend's top left
    std::vector<double> widths;
    double rowHeight = 0.0;
};

LegendArrangement arrangeLegend(const std::vector<double>& widths, double rowHeight,
                                bool horizontal, double maxWidth) {
    LegendArrangement arrangement;
    arrangement.widths = widths;
    arrangement.rowHeight = rowHeight;
    double x = kLegendPadding;
    double y = kLegendPadding;
    double right = 0.0;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        if (i > 0) {
            if (horizontal && x + kLegendSpacing + widths[i] + kLegendPadding <= maxWidth) {
                x += kLegendSpacing;
            } else {
                x = kLegendPadding;
                y += rowHeight + kLegendRowGap;
            }
        }
        arrangement.origins.emplace_back(x, y);
        x += widths[i];
        right = std::max(right, x);
    }
    arrangement.size = QSizeF(right + kLegendPadding, y + rowHeight + kLegendPadding);
    return arrangement;
}

// Axis measures and the label-width caches they were measured with.
struct AxisMeasures {
    std::array<std::optional<AxisMeasure>, 4> measures;
    std::array<std::unique_ptr<LabelWidths>, 4> labelWidths;
};

// The title lines at the top of the area, which then begins below them.
void placeTitle(const CChartCtrl& chart, const QPaintDevice* device, ChartLayout& layout,
                QRectF& area) {
    const CChartTitle& title = *chart.title();
    if (title.isVisible() && !title.lines().isEmpty()) {
        const QFontMetricsF metrics(title.font().toQFont(), device);
        double y = area.top();
        for (qsizetype i = 0; i < title.lines().size(); ++i) {
            layout.titleLines.emplace_back(area.left(), y, area.width(), metrics.height());
            y += metrics.height();
        }
        area.setTop(y + kTitleGap);
    }
}

// The legend's entries and their arrangement; a docked legend takes its band
// of the area, a floating one gets its size (it is placed once the plot is
// known).
LegendArrangement arrangeLegendOf(const CChartCtrl& chart, const QPaintDevice* device,
                                  ChartLayout& layout, QRectF& area) {
    const CChartLegend& legend = *chart.legend();
    LegendArrangement arrangement;
    if (legend.isVisible()) {
        const QFontMetricsF metrics(legend.font().toQFont(), device);
        std::vector<double> widths;
        double rowHeight = metrics.height();
        for (std::size_t i = 0; i < chart.seriesCount(); ++i) {
            const CChartXYSerie* serie = chart.serie(i);
            if (!serie->isVisible() || serie->name().isEmpty()) {
                continue;
            }
            layout.legendEntries.push_back({serie, {}, {}});
            widths.push_back(kLegendSample + kLegendSampleGap +
                             metrics.horizontalAdvance(serie->name()));
            if (serie->kind() == ChartSerieKind::Points) {
                const auto* markers = static_cast<const CChartPointsSerie*>(serie);
                rowHeight = std::max(rowHeight, static_cast<double>(markers->markerHeight()));
            }
        }
        if (!widths.empty()) {
            const bool side = legend.isDocked() && (legend.dockSide() == ChartDockSide::Left ||
                                                    legend.dockSide() == ChartDockSide::Right);
            const double maxWidth = side || !legend.isDocked() ? area.width() / 3.0 : area.width();
            arrangement = arrangeLegend(widths, rowHeight, legend.isHorizontal(), maxWidth);
            const QSizeF size(std::min(arrangement.size.width(), area.width()),
                              std::min(arrangement.size.height(), area.height()));
            if (legend.isDocked()) {
                switch (legend.dockSide()) {
                    case ChartDockSide::Bottom:
                        layout.legend = QRectF(QPointF(area.center().x() - size.width() / 2.0,
                                                       area.bottom() - size.height()),
                                               size);
                        area.setBottom(layout.legend.top() - kLegendGap);
                        break;
                    case ChartDockSide::Top:
                        layout.legend = QRectF(
                            QPointF(area.center().x() - size.width() / 2.0, area.top()), size);
                        area.setTop(layout.legend.bottom() + kLegendGap);
                        break;
                    case ChartDockSide::Left:
                        layout.legend = QRectF(
                            QPointF(area.left(), area.center().y() - size.height() / 2.0), size);
                        area.setLeft(layout.legend.right() + kLegendGap);
                        break;
                    case ChartDockSide::Right:
                        layout.legend = QRectF(QPointF(area.right() - size.width(),
                                                       area.center().y() - size.height() / 2.0),
                                               size);
                        area.setRight(layout.legend.left() - kLegendGap);
                        break;
                }
            } else {
                layout.legend = QRectF(QPointF(), size);  // placed once the plot is known
            }
        }
    }
    return arrangement;
}

// Displayed ranges, fonts and label sizes of every axis there is.
AxisMeasures measureAxes(const CChartCtrl& chart, const QPaintDevice* device) {
    std::optional<ChartRange> extentX;
    std::optional<ChartRange> extentY;
    bool anyAutomatic = false;
    for (std::size_t i = 0; i < 4; ++i) {
        const CChartAxis* axis = chart.axis(static_cast<ChartAxisSlot>(i));
        anyAutomatic = anyAutomatic || (axis != nullptr && axis->isAutomaticRange());
    }
    if (anyAutomatic) {
        for (std::size_t i = 0; i < chart.seriesCount(); ++i) {
            const CChartXYSerie* serie = chart.serie(i);
            if (serie->isVisible()) {
                extentX = unite(extentX, serie->extent(true));
                extentY = unite(extentY, serie->extent(false));
            }
        }
    }
    AxisMeasures result;
    auto& measures = result.measures;
    auto& labelWidths = result.labelWidths;
    for (std::size_t i = 0; i < 4; ++i) {
        const CChartAxis* axis = chart.axis(static_cast<ChartAxisSlot>(i));
        if (axis == nullptr) {
            continue;
        }
        AxisMeasure m;
        m.axis = axis;
        m.displayed = axis->displayedRange(axis->isHorizontal() ? extentX : extentY);
        m.tickFont = axis->tickLabelFont().toQFont();
        m.titleFont = axis->title()->font().toQFont();
        labelWidths[i] = std::make_unique<LabelWidths>(m.tickFont, device);
        m.labelHeight = labelWidths[i]->height();
        if (!axis->title()->text().isEmpty()) {
            m.titleHeight = QFontMetricsF(m.titleFont, device).height();
        }
        measures[i] = m;
    }
    return result;
}

// The plotting area inside the axis strips, settled over a few passes because
// automatic steps depend on the plot's size and the labels on the steps.
QRectF settlePlot(AxisMeasures& axes, const QRectF& area) {
    auto& measures = axes.measures;
    auto& labelWidths = axes.labelWidths;
    const auto depth = [&](ChartAxisSlot slot) {
        const auto& m = measures[slotIndex(slot)];
        return m ? stripDepth(*m) : 0.0;
    };
    // Labels centred on the end ticks reach past the plot's ends.
    const auto overhang = [&](bool horizontal) {
        double half = 0.0;
        for (const auto& m : measures) {
            if (m && m->axis->isVisible() && m->axis->isHorizontal() == horizontal) {
                half = std::max(half, (horizontal ? m->widestLabel : m->labelHeight) / 2.0);
            }
        }
        return half;
    };
    QRectF plot = area;
    for (int pass = 0; pass < 3; ++pass) {
        const double alongX = overhang(true);
        const double alongY = overhang(false);
        const double left = std::max(depth(ChartAxisSlot::Left), alongX);
        const double right = std::max(depth(ChartAxisSlot::Right), alongX);
        const double top = std::max(depth(ChartAxisSlot::Top), alongY);
        const double bottom = std::max(depth(ChartAxisSlot::Bottom), alongY);
        plot =
            QRectF(QPointF(std::round(area.left() + left), std::round(area.top() + top)),
                   QPointF(std::round(area.right() - right), std::round(area.bottom() - bottom)));
        if (plot.width() < kMinimumPlot) {
            plot.setWidth(kMinimumPlot);
        }
        if (plot.height() < kMinimumPlot) {
            plot.setHeight(kMinimumPlot);
        }
        for (std::size_t i = 0; i < 4; ++i) {
            auto& m = measures[i];
            if (!m) {
                continue;
            }
            LabelWidths& widths = *labelWidths[i];
            const bool horizontal = m->axis->isHorizontal();
            m->plan = m->axis->planTicks(
                m->displayed, horizontal ? plot.width() : plot.height(),
                [&](const QString& label) { return horizontal ? widths(label) : widths.height(); });
            m->widestLabel = widestLabel(m->plan, widths);
        }
    }
    return plot;
}

// An axis's scale over the plot, its ticks, strip and title.
ChartAxisGeometry placeAxis(const AxisMeasure& m, const QRectF& plot) {
    ChartAxisGeometry g;
    g.axis = m.axis;
    g.ticks = m.plan;
    const bool horizontal = m.axis->isHorizontal();
    g.scale = horizontal ? m.axis->scale(m.displayed, plot.left(), plot.right())
                         : m.axis->scale(m.displayed, plot.top(), plot.bottom());
    const double d = stripDepth(m);
    switch (m.axis->slot()) {
        case ChartAxisSlot::Left:
            g.strip = QRectF(plot.left() - d, plot.top(), d, plot.height());
            if (m.titleHeight > 0.0) {
                g.titleRect = QRectF(g.strip.left(), plot.top(), m.titleHeight, plot.height());
            }
            break;
        case ChartAxisSlot::Right:
            g.strip = QRectF(plot.right(), plot.top(), d, plot.height());
            if (m.titleHeight > 0.0) {
                g.titleRect = QRectF(g.strip.right() - m.titleHeight, plot.top(), m.titleHeight,
                                     plot.height());
            }
            break;
        case ChartAxisSlot::Bottom:
            g.strip = QRectF(plot.left(), plot.bottom(), plot.width(), d);
            if (m.titleHeight > 0.0) {
                g.titleRect = QRectF(plot.left(), g.strip.bottom() - m.titleHeight, plot.width(),
                                     m.titleHeight);
            }
            break;
        case ChartAxisSlot::Top:
            g.strip = QRectF(plot.left(), plot.top() - d, plot.width(), d);
            if (m.titleHeight > 0.0) {
                g.titleRect = QRectF(plot.left(), g.strip.top(), plot.width(), m.titleHeight);
            }
            break;
    }
    return g;
}

// Bars of one group side by side, in creation order, centred together.
std::vector<std::pair<const CChartBarSerie*, double>> barOffsetsOf(const CChartCtrl& chart) {
    std::vector<std::pair<const CChartBarSerie*, double>> offsets;
    std::vector<const CChartBarSerie*> bars;
    for (std::size_t i = 0; i < chart.seriesCount(); ++i) {
        const CChartXYSerie* serie = chart.serie(i);
        if (serie->isVisible() && serie->kind() == ChartSerieKind::Bar) {
            bars.push_back(static_cast<const CChartBarSerie*>(serie));
        }
    }
    for (const CChartBarSerie* serie : bars) {
        double total = -kBarGap;
        double before = 0.0;
        bool seen = false;
        for (const CChartBarSerie* other : bars) {
            if (other->groupId() != serie->groupId()) {
                continue;
            }
            total += other->barWidth() + kBarGap;
            if (other == serie) {
                seen = true;
            }
            if (!seen) {
                before += other->barWidth() + kBarGap;
            }
        }
        offsets.emplace_back(serie, -total / 2.0 + before + serie->barWidth() / 2.0);
    }
    return offsets;
}

// An undocked legend floats in the corner of the plot where it covers the
// fewest points of the series it names.
void floatLegend(ChartLayout& layout, const QRectF& plot) {
    const QSizeF size = layout.legend.size();
    const QRectF inner =
        plot.adjusted(kFloatingInset, kFloatingInset, -kFloatingInset, -kFloatingInset);
    const std::array<QPointF, 4> corners = {
        QPointF(inner.right() - size.width(), inner.top()), inner.topLeft(),
        QPointF(inner.right() - size.width(), inner.bottom() - size.height()),
        QPointF(inner.left(), inner.bottom() - size.height())};
    std::size_t fewest = std::numeric_limits<std::size_t>::max();
    for (const QPointF& corner : corners) {
        const QRectF candidate(corner, size);
        std::size_t covered = 0;
        if (layout.canPlot()) {
            for (const ChartLegendEntry& entry : layout.legendEntries) {
                for (const SChartXYPoint& p : entry.serie->points()) {
                    covered += candidate.contains(layout.toScreen(p)) ? 1 : 0;
                }
            }
        }
        if (covered < fewest) {
            fewest = covered;
            layout.legend = candidate;
        }
    }
}

// Where each entry's sample and name go inside the legend.
void placeLegendEntries(ChartLayout& layout, const LegendArrangement& arrangement) {
    for (std::size_t i = 0; i < layout.legendEntries.size(); ++i) {
        const QPointF origin = layout.legend.topLeft() + arrangement.origins[i];
        ChartLegendEntry& entry = layout.legendEntries[i];
        entry.sample = QRectF(origin, QSizeF(kLegendSample, arrangement.rowHeight));
        entry.text = QRectF(origin + QPointF(kLegendSample + kLegendSampleGap, 0.0),
                            QSizeF(arrangement.widths[i] - kLegendSample - kLegendSampleGap,
                                   arrangement.rowHeight));
    }
}

}  // namespace

const ChartAxisGeometry* ChartLayout::geometry(ChartAxisSlot slot) const {
    const auto& axis = axes[slotIndex(slot)];
    return axis ? &*axis : nullptr;
}

const ChartAxisGeometry* ChartLayout::horizontal() const {
    const ChartAxisGeometry* bottom = geometry(ChartAxisSlot::Bottom);
    return bottom != nullptr ? bottom : geometry(ChartAxisSlot::Top);
}

const ChartAxisGeometry* ChartLayout::vertical() const {
    const ChartAxisGeometry* left = geometry(ChartAxisSlot::Left);
    return left != nullptr ? left : geometry(ChartAxisSlot::Right);
}

QPointF ChartLayout::toScreen(const SChartXYPoint& point) const {
    return {horizontal()->scale.toScreen(point.X), vertical()->scale.toScreen(point.Y)};
}

SChartXYPoint ChartLayout::toValue(QPointF screen) const {
    return {horizontal()->scale.toValue(screen.x()), vertical()->scale.toValue(screen.y())};
}

double ChartLayout::barOffset(const CChartBarSerie& serie) const {
    for (const auto& [bars, offset] : barOffsets_) {
        if (bars == &serie) {
            return offset;
        }
    }
    return 0.0;
}

QRectF ChartLayout::barRect(const CChartBarSerie& serie, const SChartXYPoint& point) const {
    const ChartAxisScale& h = horizontal()->scale;
    const ChartAxisScale& v = vertical()->scale;
    const double half = serie.barWidth() / 2.0;
    const double offset = barOffset(serie);
    if (serie.isHorizontal()) {
        const double base = serie.isBaseLineAutomatic() ? h.range.minimum : serie.baseLine();
        const double y = v.toScreen(point.Y) + offset;
        const double x0 = h.toScreen(base);
        const double x1 = h.toScreen(point.X);
        return QRectF(QPointF(std::min(x0, x1), y - half), QPointF(std::max(x0, x1), y + half));
    }
    const double base = serie.isBaseLineAutomatic() ? v.range.minimum : serie.baseLine();
    const double x = h.toScreen(point.X) + offset;
    const double y0 = v.toScreen(base);
    const double y1 = v.toScreen(point.Y);
    return QRectF(QPointF(x - half, std::min(y0, y1)), QPointF(x + half, std::max(y0, y1)));
}

int ChartLayout::pointUnder(const CChartXYSerie& serie, QPointF cursor) const {
    if (!canPlot()) {
        return -1;
    }
    const auto points = serie.points();
    int best = -1;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < points.size(); ++i) {
        const SChartXYPoint& p = points[i];
        if (!std::isfinite(p.X) || !std::isfinite(p.Y)) {
            continue;
        }
        if (serie.kind() == ChartSerieKind::Bar) {
            const auto& bars = static_cast<const CChartBarSerie&>(serie);
            if (barRect(bars, p).adjusted(-1, -1, 1, 1).contains(cursor)) {
                return static_cast<int>(i);
            }
            continue;
        }
        const QPointF at = toScreen(p);
        const double dx = std::abs(at.x() - cursor.x());
        const double dy = std::abs(at.y() - cursor.y());
        bool within = false;
        if (serie.kind() == ChartSerieKind::Points) {
            const auto& markers = static_cast<const CChartPointsSerie&>(serie);
            within =
                dx <= markers.markerWidth() / 2.0 + 1.0 && dy <= markers.markerHeight() / 2.0 + 1.0;
        } else {
            const auto& line = static_cast<const CChartLineSerie&>(serie);
            const double reach = line.lineWidth() / 2.0 + 3.0;
            within = dx * dx + dy * dy <= reach * reach;
        }
        const double distance = dx * dx + dy * dy;
        if (within && distance < bestDistance) {
            best = static_cast<int>(i);
            bestDistance = distance;
        }
    }
    return best;
}

ChartLayout ChartLayout::compute(const CChartCtrl& chart, const QRectF& bounds,
                                 const QPaintDevice* device) {
    ChartLayout layout;
    layout.bounds = bounds;
    const double inset = edgeWidth(chart.edgeStyle()) + kMargin;
    QRectF area = bounds.adjusted(inset, inset, -inset, -inset);

    placeTitle(chart, device, layout, area);
    const LegendArrangement arrangement = arrangeLegendOf(chart, device, layout, area);
    AxisMeasures axes = measureAxes(chart, device);
    layout.plot = settlePlot(axes, area);
    for (std::size_t i = 0; i < 4; ++i) {
        if (axes.measures[i]) {
            layout.axes[i] = placeAxis(*axes.measures[i], layout.plot);
        }
    }
    layout.barOffsets_ = barOffsetsOf(chart);
    if (!layout.legend.isEmpty() && !chart.legend()->isDocked()) {
        floatLegend(layout, layout.plot);
    }
    if (!layout.legend.isEmpty()) {
        placeLegendEntries(layout, arrangement);
    } else {
        layout.legendEntries.clear();
    }
    return layout;
}

}  // namespace sundrel::widgets
