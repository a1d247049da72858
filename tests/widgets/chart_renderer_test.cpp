#include "widgets/chart_renderer.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>
#include <vector>

#include "chart_test_support.h"
#include "widgets/chart_ctrl.h"
#include "widgets/chart_layout.h"

namespace sundrel::widgets {
namespace {

using chart_testing::countColor;
using chart_testing::layoutFor;
using chart_testing::near;
using chart_testing::setUpPlainChart;

const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);
const QColor kBlue(0, 0, 255);
const QSize kSize(400, 300);

CChartLineSerie* addLine(CChartCtrl& chart, const std::vector<SChartXYPoint>& points, QColor color,
                         int width) {
    auto* line = chart.createLineSerie();
    line->setPointOrdering(ChartPointOrdering::None);
    line->setColor(color);
    line->setLineWidth(width);
    for (const SChartXYPoint& p : points) {
        line->addPoint(p.X, p.Y);
    }
    return line;
}

QRect pixelsOf(const QRectF& rect) {
    return rect.toAlignedRect();
}

// The rows where `color` covers most of a row of the plotting area.
std::vector<int> rowsCovered(const QImage& image, QColor color, const QRectF& plot) {
    std::vector<int> rows;
    const QRect area = pixelsOf(plot);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        if (countColor(image, color, QRect(area.left(), y, area.width(), 1)) >
            area.width() * 8 / 10) {
            rows.push_back(y);
        }
    }
    return rows;
}

// The chart painted on an image of `format` with `ratio` device pixels per
// pixel: the images the control paints on (premultiplied ARGB32, at any
// ratio), and one the curves cannot be drawn into directly (RGB16), which
// takes QPainter's strokes.
QImage renderOn(const CChartCtrl& chart, QSize size, QImage::Format format, int ratio) {
    QImage image(size * ratio, format);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter painter(&image);
    ChartRenderer().paint(chart, painter, QRect(QPoint(0, 0), size));
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

struct LineCase {
    double value;
    bool inverted;
    QImage::Format format;
    int ratio;
};

TEST(ChartRendering, AHorizontalLineLandsOnTheRowItsAxisMapsItTo) {
    const LineCase cases[] = {
        {2.0, false, QImage::Format_ARGB32_Premultiplied, 1},
        {7.5, false, QImage::Format_ARGB32_Premultiplied, 1},
        {2.0, true, QImage::Format_ARGB32_Premultiplied, 1},
        {7.5, true, QImage::Format_RGB32, 1},
        {0.4, false, QImage::Format_ARGB32_Premultiplied, 1},
        {2.0, false, QImage::Format_RGB16, 1},
        {7.5, true, QImage::Format_RGB16, 1},
        {2.0, false, QImage::Format_ARGB32_Premultiplied, 2},
        {7.5, true, QImage::Format_ARGB32_Premultiplied, 2},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << "value " << c.value << " inverted " << c.inverted
                                          << " format " << c.format << " ratio " << c.ratio);
        CChartCtrl chart;
        setUpPlainChart(chart, {0.0, 10.0}, {0.0, 10.0});
        chart.verticalAxis()->setInverted(c.inverted);
        addLine(chart, {{0.0, c.value}, {10.0, c.value}}, kRed, 3);
        const QImage image = renderOn(chart, kSize, c.format, c.ratio);
        const ChartLayout layout = layoutFor(chart, kSize);
        const double row = layout.vertical()->scale.toScreen(c.value) * c.ratio;
        const QRectF plot(layout.plot.topLeft() * c.ratio, layout.plot.size() * c.ratio);
        const std::vector<int> rows = rowsCovered(image, kRed, plot);
        ASSERT_FALSE(rows.empty());
        EXPECT_LE(rows.size(), 3u * c.ratio);
        for (const int y : rows) {
            EXPECT_LE(std::abs(y + 0.5 - row), 2.0 * c.ratio);
        }
        // Mirrored about the middle of the plotting area when inverted.
        const double fromTop = (row / c.ratio - layout.plot.top()) / layout.plot.height();
        EXPECT_NEAR(fromTop, c.inverted ? c.value / 10.0 : 1.0 - c.value / 10.0, 1e-9);
    }
}

TEST(ChartRendering, CurvesDrawnDirectlyMatchQPaintersStrokes) {
    CChartCtrl chart;
    setUpPlainChart(chart, {0.0, 10.0}, {0.0, 10.0});
    addLine(chart, {{0.5, 1.0}, {3.0, 9.0}, {5.0, 2.0}, {5.2, 8.0}, {9.5, 6.5}}, kBlue, 5);
    addLine(chart, {{0.5, 5.0}, {9.5, 3.0}}, kRed, 1);
    const QImage direct = renderOn(chart, kSize, QImage::Format_ARGB32_Premultiplied, 1);
    const QImage stroked = renderOn(chart, kSize, QImage::Format_RGB16, 1);
    const QRect plot = pixelsOf(layoutFor(chart, kSize).plot);
    int inked = 0;
    int differing = 0;
    for (int y = plot.top(); y <= plot.bottom(); ++y) {
        for (int x = plot.left(); x <= plot.right(); ++x) {
            const QColor a = direct.pixelColor(x, y);
            const QColor b = stroked.pixelColor(x, y);
            inked += !near(a, Qt::white, 8);
            // Edges may differ by a shade, never by being on or off.
            differing += !near(a, b, 100);
        }
    }
    EXPECT_GT(inked, 2000);
    EXPECT_LT(differing, inked / 50);
}

// A dense curve goes into the image as one span of rows per pixel column;
// QPainter strokes the same columns with round joins. Both must ink the
// same pixels, give or take an edge.
TEST(ChartRendering, DenseColumnsDrawnAsSpansMatchQPaintersStrokes) {
    CChartCtrl chart;
    setUpPlainChart(chart, {0.0, 10.0}, {0.0, 10.0});
    std::vector<double> x(20000);
    std::vector<double> y(20000);
    for (std::size_t i = 0; i < x.size(); ++i) {
        x[i] = 10.0 * static_cast<double>(i) / static_cast<double>(x.size());
        y[i] = 5.0 + 2.0 * std::sin(x[i] * 2.0) + 0.8 * std::sin(x[i] * 300.0);
    }
    auto* line = chart.createLineSerie();
    line->setPointOrdering(ChartPointOrdering::None);
    line->setColor(kBlue);
    line->setLineWidth(3);
    line->addPoints(x.data(), y.data(), x.size());
    const QImage direct = renderOn(chart, kSize, QImage::Format_ARGB32_Premultiplied, 1);
    const QImage stroked = renderOn(chart, kSize, QImage::Format_RGB16, 1);
    const QRect plot = pixelsOf(layoutFor(chart, kSize).plot);
    int inked = 0;
    int differing = 0;
    for (int py = plot.top(); py <= plot.bottom(); ++py) {
        for (int px = plot.left(); px <= plot.right(); ++px) {
            const QColor a = direct.pixelColor(px, py);
            inked += !near(a, Qt::white, 8);
            differing += !near(a, stroked.pixelColor(px, py), 100);
        }
    }
    EXPECT_GT(inked, 10000);
    EXPECT_LT(differing, inked / 30);
}

TEST(ChartRendering, ATranslucentCurveIsBlendedOnceWhereverItsPiecesOverlap) {
    CChartCtrl chart;
    setUpPlainChart(chart, {0.0, 10.0}, {0.0, 10.0});
    // Many joints along the line, then back over half of it (a hairpin) and
    // out again at a right angle.
    std::vector<SChartXYPoint> points;
    for (int i = 0; i <= 80; ++i) {
        points.push_back({1.0 + 0.1 * i, 5.0});
    }
    points.push_back({5.0, 5.0});
    points.push_back({5.0, 9.0});
    addLine(chart, points, QColor(255, 0, 0, 128), 5);
    const QImage image = renderOn(chart, kSize, QImage::Format_ARGB32_Premultiplied, 1);
    const ChartLayout layout = layoutFor(chart, kSize);
    const int row = static_cast<int>(layout.vertical()->scale.toScreen(5.0));
    const int from = static_cast<int>(layout.horizontal()->scale.toScreen(1.5));
    const int to = static_cast<int>(layout.horizontal()->scale.toScreen(8.5));
    EXPECT_NEAR(image.pixelColor(from, row).green(), 127, 3);  // half red over white
    // Across the line, every column shows the same profile, edges included,
    // where the line was drawn once and where it was drawn back over itself
    // (above the line, away from where the arm leaves it).
    const int column = static_cast<int>(layout.horizontal()->scale.toScreen(5.0));
    for (int x = from; x <= to; ++x) {
        for (int dy = std::abs(x - column) <= 5 ? 0 : -5; dy <= 5; ++dy) {
            EXPECT_TRUE(near(image.pixelColor(x, row + dy), image.pixelColor(from, row + dy), 2))
                << x << ", " << dy;
        }
    }
    const int top = static_cast<int>(layout.vertical()->scale.toScreen(8.5));
    for (int y = top; y <= row - 6; ++y) {
        for (int dx = -5; dx <= 5; ++dx) {
            EXPECT_TRUE(
                near(image.pixelColor(column + dx, y), image.pixelColor(column + dx, top), 2))
                << y << ", " << dx;
        }
    }
}

TEST(ChartRendering, AnInvertedHorizontalAxisMirrorsTheCurve) {
    std::vector<int> columns;
    for (const bool inverted : {false, true}) {
        CChartCtrl chart;
        setUpPlainChart(chart, {0.0, 10.0}, {0.0, 10.0});
        chart.horizontalAxis()->setInverted(inverted);
        addLine(chart, {{2.0, 0.0}, {2.0, 10.0}}, kRed, 3);
        const QImage image = ChartRenderer().render(chart, kSize);
        const ChartLayout layout = layoutFor(chart, kSize);
        const int y = static_cast<int>(layout.plot.center().y());
        int found = -1;
        for (int x = 0; x < image.width(); ++x) {
            if (near(image.pixelColor(x, y), kRed, 10)) {
                found = x;
                break;
            }
        }
        ASSERT_GE(found, 0);
        EXPECT_LE(std::abs(found + 1.5 - layout.horizontal()->scale.toScreen(2.0)), 2.0);
        columns.push_back(found);
        const double expected = inverted ? layout.plot.right() - 0.2 * layout.plot.width()
                                         : layout.plot.left() + 0.2 * layout.plot.width();
        EXPECT_NEAR(layout.horizontal()->scale.toScreen(2.0), expected, 1e-9);
    }
    EXPECT_GT(columns[1], columns[0] + 100);
}

TEST(ChartRendering, BarsOfOneGroupSitSideBySideOnTheirBaseLine) {
    CChartCtrl chart;
    setUpPlainChart(chart, {0.0, 5.0}, {0.0, 10.0});
    const struct {
        QColor color;
        double height;
    } groups[] = {{kGreen, 6.0}, {kBlue, 3.0}};
    for (const auto& g : groups) {
        auto* bars = chart.createBarSerie();
        bars->setGroupId(0);
        bars->setBaseLine(false, 0.0);
        bars->setBarWidth(20);
        bars->setColor(g.color);
        bars->setBorderColor(g.color);
        bars->addPoint(2.0, g.height);
    }
    const QImage image = ChartRenderer().render(chart, QSize(500, 400));
    const ChartLayout layout = layoutFor(chart, QSize(500, 400));
    const double centre = layout.horizontal()->scale.toScreen(2.0);
    const int row = static_cast<int>(layout.vertical()->scale.toScreen(0.0)) - 3;

    // Along a row just above the base line: green, then blue, touching the
    // position from either side.
    int greenFirst = -1, greenLast = -1, blueFirst = -1, blueLast = -1;
    for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, row);
        if (near(c, kGreen, 5)) {
            greenFirst = greenFirst < 0 ? x : greenFirst;
            greenLast = x;
        }
        if (near(c, kBlue, 5)) {
            blueFirst = blueFirst < 0 ? x : blueFirst;
            blueLast = x;
        }
    }
    ASSERT_GE(greenFirst, 0);
    ASSERT_GE(blueFirst, 0);
    EXPECT_NEAR(greenLast - greenFirst + 1, 20, 1);
    EXPECT_NEAR(blueLast - blueFirst + 1, 20, 1);
    EXPECT_LT(greenLast, blueFirst);
    EXPECT_LE(blueFirst - greenLast, 3);  // side by side, a small gap
    EXPECT_NEAR((greenFirst + blueLast + 1) / 2.0, centre, 1.5);

    // Each bar reaches from the base line to its value.
    const auto top = [&](QColor color, int x) {
        for (int y = 0; y < image.height(); ++y) {
            if (near(image.pixelColor(x, y), color, 5)) {
                return y;
            }
        }
        return -1;
    };
    EXPECT_NEAR(top(kGreen, (greenFirst + greenLast) / 2), layout.vertical()->scale.toScreen(6.0),
                1.5);
    EXPECT_NEAR(top(kBlue, (blueFirst + blueLast) / 2), layout.vertical()->scale.toScreen(3.0),
                1.5);
}

TEST(ChartRendering, ABarBelowItsBaseLineHangsDownFromIt) {
    CChartCtrl chart;
    setUpPlainChart(chart, {0.0, 5.0}, {0.0, 10.0});
    auto* bars = chart.createBarSerie();
    bars->setBaseLine(false, 5.0);
    bars->setColor(kGreen);
    bars->setBorderColor(kGreen);
    bars->addPoint(2.0, 2.0);
    const QImage image = ChartRenderer().render(chart, kSize);
    const ChartLayout layout = layoutFor(chart, kSize);
    const QRectF bar = layout.barRect(*bars, {2.0, 2.0});
    EXPECT_NEAR(bar.top(), layout.vertical()->scale.toScreen(5.0), 1e-9);
    EXPECT_NEAR(bar.bottom(), layout.vertical()->scale.toScreen(2.0), 1e-9);
    const int x = static_cast<int>(bar.center().x());
    EXPECT_TRUE(near(image.pixelColor(x, static_cast<int>(bar.center().y())), kGreen, 5));
    EXPECT_FALSE(near(image.pixelColor(x, static_cast<int>(bar.top()) - 4), kGreen, 5));
    EXPECT_FALSE(near(image.pixelColor(x, static_cast<int>(bar.bottom()) + 4), kGreen, 5));
}

TEST(ChartRendering, SeriesAreClippedToThePlottingArea) {
    CChartCtrl chart;
    setUpPlainChart(chart, {0.0, 10.0}, {0.0, 10.0});
    addLine(chart, {{-5.0, 5.0}, {15.0, 5.0}}, kRed, 7);
    addLine(chart, {{5.0, -1e12}, {5.0, 1e12}}, kRed, 7);    // far beyond, through the plot
    addLine(chart, {{20.0, 20.0}, {30.0, 30.0}}, kBlue, 7);  // wholly outside
    auto* markers = chart.createPointsSerie();
    markers->setColor(kGreen);
    markers->setMarkerBorderColor(kGreen);
    markers->setMarkerSize(30, 30);
    markers->addPoint(10.0, 10.0);  // the corner: only a quarter shows
    const QImage image = ChartRenderer().render(chart, kSize);
    const ChartLayout layout = layoutFor(chart, kSize);
    const QRect plot = pixelsOf(layout.plot);
    int outside = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!plot.contains(x, y)) {
                const QColor c = image.pixelColor(x, y);
                outside += near(c, kRed, 60) || near(c, kGreen, 60) || near(c, kBlue, 60);
            }
        }
    }
    EXPECT_EQ(outside, 0);
    EXPECT_GT(countColor(image, kRed, plot), plot.width() * 5);
    EXPECT_EQ(countColor(image, kBlue, plot), 0);
    EXPECT_GT(countColor(image, kGreen, plot), 100);
    EXPECT_LT(countColor(image, kGreen, plot), 30 * 30 / 3);
}

TEST(ChartRendering, LinesAreAntiAliased) {
    CChartCtrl chart;
    setUpPlainChart(chart, {0.0, 10.0}, {0.0, 10.0});
    addLine(chart, {{0.0, 0.0}, {10.0, 7.0}}, kRed, 2);
    const QImage image = ChartRenderer().render(chart, kSize);
    const QRect plot = pixelsOf(layoutFor(chart, kSize).plot).adjusted(4, 4, -4, -4);
    int blended = 0;
    for (int y = plot.top(); y <= plot.bottom(); ++y) {
        for (int x = plot.left(); x <= plot.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            // Between white and red: partly covered pixels.
            blended += c.red() == 255 && c.green() > 30 && c.green() < 225;
        }
    }
    EXPECT_GT(blended, plot.width() / 2);
}

TEST(ChartRendering, ASmoothedCurvePassesThroughItsPointsAndBendsBetweenThem) {
    const std::vector<SChartXYPoint> zigzag = {
        {0.5, 2.0}, {2.5, 8.0}, {4.5, 2.0}, {6.5, 8.0}, {8.5, 2.0}};
    QImage images[2];
    ChartLayout layout;
    for (const bool smooth : {false, true}) {
        CChartCtrl chart;
        setUpPlainChart(chart, {0.0, 10.0}, {0.0, 10.0});
        addLine(chart, zigzag, kBlue, 3)->setSmooth(smooth);
        images[smooth ? 1 : 0] = ChartRenderer().render(chart, kSize);
        layout = layoutFor(chart, kSize);
    }
    for (const SChartXYPoint& p : zigzag) {
        const QPoint at = layout.toScreen(p).toPoint();
        EXPECT_GT(countColor(images[1], kBlue, QRect(at - QPoint(1, 1), QSize(3, 3)), 60), 0)
            << p.X;
    }
    // Halfway between two points, a quarter up the segment, the straight
    // line and the curve differ.
    const QPointF a = layout.toScreen(zigzag[1]);
    const QPointF b = layout.toScreen(zigzag[2]);
    int differing = 0;
    for (int y = 0; y < kSize.height(); ++y) {
        for (int x = static_cast<int>(a.x()); x < static_cast<int>(b.x()); ++x) {
            differing += images[0].pixel(x, y) != images[1].pixel(x, y);
        }
    }
    EXPECT_GT(differing, 50);
}

struct DockCase {
    ChartDockSide side;
    bool horizontal;
};

TEST(ChartControl, WhileRedrawsAreSuspendedTheControlShowsTheChartAsLastDrawn) {
    CChartCtrl chart;
    chart.resize(kSize);
    setUpPlainChart(chart, {0.0, 10.0}, {0.0, 10.0});
    auto* line = addLine(chart, {{0.0, 2.0}, {10.0, 2.0}}, kRed, 3);
    chart.show();
    const ChartLayout layout = ChartLayout::compute(chart, QRectF(chart.rect()), &chart);
    const int x = static_cast<int>(layout.plot.center().x());
    const auto redAt = [&](const QImage& image, double value) {
        const int y = static_cast<int>(layout.vertical()->scale.toScreen(value));
        return countColor(image, kRed, QRect(x - 2, y - 2, 5, 5)) > 0;
    };
    const QImage before = chart.grab().toImage();
    EXPECT_TRUE(redAt(before, 2.0));

    chart.suspendRedraws();
    line->removeAllPoints();
    line->addPoint(0.0, 8.0);
    line->addPoint(10.0, 8.0);
    const QImage suspended = chart.grab().toImage();
    EXPECT_TRUE(redAt(suspended, 2.0));
    EXPECT_FALSE(redAt(suspended, 8.0));

    chart.resumeRedraws();
    const QImage resumed = chart.grab().toImage();
    EXPECT_FALSE(redAt(resumed, 2.0));
    EXPECT_TRUE(redAt(resumed, 8.0));
}

TEST(ChartLegend, ADockedLegendNeverCoversThePlottingArea) {
    const DockCase cases[] = {{ChartDockSide::Bottom, true}, {ChartDockSide::Top, true},
                              {ChartDockSide::Left, false},  {ChartDockSide::Right, false},
                              {ChartDockSide::Right, true},  {ChartDockSide::Bottom, false}};
    for (const DockCase& c : cases) {
        CChartCtrl chart;
        setUpPlainChart(chart, {0.0, 10.0}, {0.0, 10.0});
        chart.title()->setVisible(true);
        chart.title()->addLine("左 轨 实 时 测 量 数 据");
        for (const char* name : {"传感器1#", "传感器2#", "传感器3#", "传感器4#"}) {
            addLine(chart, {{0.0, 1.0}, {10.0, 9.0}}, kRed, 3)->setName(name);
        }
        chart.createLineSerie();  // no name: no entry
        chart.legend()->setVisible(true);
        chart.legend()->dock(c.side);
        chart.legend()->setHorizontal(c.horizontal);
        const ChartLayout layout = layoutFor(chart, QSize(800, 500));
        ASSERT_FALSE(layout.legend.isEmpty());
        EXPECT_EQ(layout.legendEntries.size(), 4u);
        EXPECT_FALSE(layout.legend.intersects(layout.plot)) << static_cast<int>(c.side);
        EXPECT_TRUE(QRectF(0, 0, 800, 500).contains(layout.legend));
        for (const auto& axis : layout.axes) {
            if (axis) {
                EXPECT_FALSE(layout.legend.intersects(axis->strip)) << static_cast<int>(c.side);
            }
        }
        for (const QRectF& line : layout.titleLines) {
            EXPECT_FALSE(layout.legend.intersects(line));
        }
    }
}

TEST(ChartLegend, AnUndockedLegendFloatsWhereItCoversNoPoint) {
    CChartCtrl chart;
    setUpPlainChart(chart, {0.0, 10.0}, {0.0, 10.0});
    auto* dense = chart.createPointsSerie();
    dense->setName("标定点");
    for (int i = 0; i < 400; ++i) {  // the upper half is full of points
        dense->addPoint(0.25 * (i % 40), 5.5 + 0.2 * (i / 40));
    }
    chart.legend()->setVisible(true);
    chart.legend()->undock();
    const ChartLayout layout = layoutFor(chart, QSize(600, 400));
    ASSERT_FALSE(layout.legend.isEmpty());
    EXPECT_TRUE(layout.plot.contains(layout.legend));
    for (const SChartXYPoint& p : dense->points()) {
        EXPECT_FALSE(layout.legend.contains(layout.toScreen(p)));
    }
}

TEST(ChartText, ChineseTextHasGlyphs) {
    // The views ask for a Windows face; an installed CJK face stands in.
    const QFont font = ChartFont{"微软雅黑", 120}.toQFont();
    const QFontMetricsF metrics(font);
    for (const char32_t c : {U'标', U'定', U'运', U'传', U'（', U'，'}) {
        EXPECT_TRUE(metrics.inFontUcs4(static_cast<uint>(c))) << static_cast<unsigned>(c);
    }
    EXPECT_TRUE(metrics.inFontUcs4('y'));
}

}  // namespace
}  // namespace sundrel::widgets
