// chart-gallery: renders the charts of the program's views, in the
// configurations the views set up, to PNG files, so their look can be
// reviewed without running the program.
//
//   chart-gallery FOLDER
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QString>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "widgets/chart_ctrl.h"
#include "widgets/chart_renderer.h"
#include "widgets/my_chart_standard_axis.h"

namespace {

using namespace sundrel::widgets;

const QString kFace = QStringLiteral("微软雅黑");
const QColor kAxisColor(0, 199, 140);
const QColor kLegendBackground(255, 227, 132);
const QColor kLookBackground(224, 241, 252);  // look 215

// What every view does first: edge, frame, title font, legend.
void setUpChart(CChartCtrl& chart, const QStringList& titleLines) {
    chart.setEdgeStyle(8);
    chart.setBorderColor(kAxisColor);
    chart.setBackgroundColor(kLookBackground);
    chart.setBackgroundGradient(false);
    chart.title()->setVisible(true);
    chart.title()->removeAllLines();
    for (const QString& line : titleLines) {
        chart.title()->addLine(line);
    }
    chart.title()->setFont(kFace, 120, false, false, false);
    chart.title()->setColor(Qt::black);
    chart.legend()->setVisible(true);
    chart.legend()->dock(ChartDockSide::Bottom);
    chart.legend()->setHorizontal(true);
    chart.legend()->setBackgroundColor(kLegendBackground);
    chart.legend()->setShadowColor(Qt::white);
    chart.legend()->setShadowDepth(0);
}

template <typename Axis = CChartStandardAxis>
Axis* addAxis(CChartCtrl& chart, ChartAxisSlot slot, double minimum, double maximum, double step,
              const QString& title) {
    auto* axis = chart.createAxis<Axis>(slot);
    axis->setAutomaticRange(false);
    axis->setRange(minimum, maximum);
    if (step > 0.0) {
        axis->setTickStep(step);
    } else {
        axis->setAutomaticTickStep();
    }
    axis->title()->setText(title);
    axis->title()->setFont(kFace, 120, false, false, false);
    axis->setColor(kAxisColor);
    return axis;
}

CChartLineSerie* addCurve(CChartCtrl& chart, const QString& name, const QColor& color, int width) {
    auto* curve = chart.createLineSerie();
    curve->setPointOrdering(ChartPointOrdering::None);
    curve->setName(name);
    curve->setColor(color);
    curve->setLineWidth(width);
    return curve;
}

bool save(const QImage& image, const QString& folder, const QString& name) {
    const QString path = QDir(folder).filePath(name);
    if (!image.save(path)) {
        std::fprintf(stderr, "chart-gallery: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// One side of the real-time view: four sensors against running distance,
// `frames` frames of 0.02 m, the window of the last `window` frames shown.
void buildRealTime(CChartCtrl& chart, const QString& title, int frames, int window, double phase) {
    chart.suspendRedraws();
    setUpChart(chart, {title});
    addAxis(chart, ChartAxisSlot::Bottom, 0.0, 20.0, 4.0, QStringLiteral("运行距离/m"));
    addAxis(chart, ChartAxisSlot::Left, 0.0, 5 * 2.0, 0.0, QStringLiteral("距离/mm"));
    chart.removeAllSeries();
    const QColor colors[4] = {QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255),
                              QColor(0, 0, 0)};
    std::vector<CChartLineSerie*> curves;
    for (int k = 0; k < 4; ++k) {
        curves.push_back(addCurve(chart, QStringLiteral("传感器%1#").arg(k + 1), colors[k], 3));
    }
    std::vector<double> x(static_cast<std::size_t>(frames));
    std::vector<double> y(x.size());
    for (int k = 0; k < 4; ++k) {
        for (std::size_t i = 0; i < x.size(); ++i) {
            const double d = static_cast<double>(i) * 0.02;
            x[i] = d;
            // Corrugation of 0.6 m and 0.25 m wavelength on the device's slow motion.
            y[i] = 2.0 + 1.5 * k + 0.15 * std::sin(2 * M_PI * d / 0.6 + phase + k) +
                   0.08 * std::sin(2 * M_PI * d / 0.25 + k) +
                   0.4 * std::sin(2 * M_PI * d / 6.8 + k * 0.7);
        }
        curves[static_cast<std::size_t>(k)]->addPoints(x.data(), y.data(), x.size());
    }
    if (frames > window) {
        const int removed = frames - window;
        for (auto* curve : curves) {
            curve->removeFirstPoints(static_cast<std::size_t>(removed));
        }
        chart.axis(ChartAxisSlot::Bottom)->setRange(removed * 0.02, frames * 0.02);
    }
    chart.legend()->setVisible(true);
    chart.resumeRedraws();
}

QImage renderRealTime(int frames, int window) {
    const QSize size(1200, 820);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(kLookBackground);
    QPainter painter(&image);
    ChartRenderer renderer;
    CChartCtrl left;
    CChartCtrl right;
    buildRealTime(left, QStringLiteral("左 轨 实 时 测 量 数 据"), frames, window, 0.0);
    buildRealTime(right, QStringLiteral("右 轨 实 时 测 量 数 据"), frames, window, 1.3);
    const int bottom = size.height();
    renderer.paint(left, painter, QRect(0, 0, size.width(), bottom / 2 - 2));
    renderer.paint(right, painter,
                   QRect(0, bottom / 2 + 2, size.width(), bottom - (bottom / 2 + 2)));
    return image;
}

void buildCalibration(CChartCtrl& chart, CChartSeriesMouseListener<SChartXYPoint>* listener) {
    chart.suspendRedraws();
    setUpChart(chart, {QStringLiteral("标 定 数 据")});
    addAxis(chart, ChartAxisSlot::Bottom, 0.0, 4200.0, 300.0, QStringLiteral("数字量输出"));
    addAxis(chart, ChartAxisSlot::Left, 0.0, 10.0, 2.0, QStringLiteral("距离/mm"));
    chart.removeAllSeries();
    auto* measured = addCurve(chart, QStringLiteral("传感器#"), QColor(0, 0, 255), 5);
    auto* markers = chart.createPointsSerie();
    markers->setPointOrdering(ChartPointOrdering::None);
    markers->setColor(QColor(255, 0, 0));
    markers->setMarkerSize(15, 15);
    markers->setMarkerBorderColor(QColor(255, 0, 0));
    for (auto* serie :
         {static_cast<CChartXYSerie*>(measured), static_cast<CChartXYSerie*>(markers)}) {
        serie->attachMouseListener(listener);
        serie->enableMouseMoveNotification(true);
        serie->enableMouseClickNotification(false);
    }
    auto* fitted = addCurve(chart, QStringLiteral("拟合曲线"), Qt::black, 2);
    fitted->setPointOrdering(ChartPointOrdering::ByX);

    const double words[] = {620, 1010, 1395, 1830, 2200, 2610, 2990, 3405, 3800};
    const double mm[] = {0.5, 1.5, 2.5, 3.5, 4.5, 5.5, 6.5, 7.5, 8.5};
    std::vector<double> x;
    std::vector<double> y;
    for (std::size_t i = 0; i < 9; ++i) {
        measured->addPoint(words[i], mm[i]);
        markers->addPoint(words[i], mm[i]);
        x.push_back(words[i]);
    }
    // The view's least-squares line, evaluated at the points' words.
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (std::size_t i = 0; i < 9; ++i) {
        sx += words[i];
        sy += mm[i];
        sxx += words[i] * words[i];
        sxy += words[i] * mm[i];
    }
    const double n = 9.0;
    const double slope = (sxy - sx * sy / n) / (sxx - sx * sx / n);
    const double intercept = sy / n - slope * sx / n;
    for (const double w : x) {
        y.push_back(intercept + slope * w);
    }
    fitted->addPoints(x.data(), y.data(), x.size());
    measured->setName(QStringLiteral("左侧传感器2#"));
    chart.title()->removeAllLines();
    chart.title()->addLine(QStringLiteral("标 定 数 据"));
    chart.title()->addLine(QString::asprintf("y=%.6fX%.6f，R^2=%.6f", slope, intercept, 0.999412));
    chart.resumeRedraws();
}

// A band view after one analysis of both rails: smoothed rail curves, the
// green pair at ±dThLine1/2 and the red pair at ±dThLine2/2.
void buildWaveform(CChartCtrl& chart, const QString& title, bool falling, bool withThresholds,
                   double startM, double lengthM, int samples) {
    chart.suspendRedraws();
    setUpChart(chart, {title});
    auto* bottom =
        addAxis(chart, ChartAxisSlot::Bottom, 0.0, 1000.0, 4.0, QStringLiteral("运行距离/m"));
    addAxis(chart, ChartAxisSlot::Left, -0.5, 0.5, 0.5, QStringLiteral("数值/mm"));
    chart.removeAllSeries();
    auto* left = addCurve(chart, QStringLiteral("左轨曲线"), QColor(255, 0, 0), 3);
    left->setSmooth(true);
    auto* right = addCurve(chart, QStringLiteral("右轨曲线"), QColor(0, 0, 255), 3);
    right->setSmooth(true);
    std::vector<CChartLineSerie*> thresholds;
    const double levels[] = {0.15, -0.15, 0.05, -0.05};
    if (withThresholds) {
        for (int t = 0; t < 4; ++t) {
            auto* line = chart.createLineSerie();
            line->setColor(t < 2 ? QColor(0, 255, 0) : QColor(255, 0, 0));
            line->setLineWidth(1);
            line->addPoint(0.0, levels[t]);
            line->addPoint(1000.0, levels[t]);
            thresholds.push_back(line);
        }
    }
    chart.resumeRedraws();

    // clearView, then plotWaveform for each rail.
    chart.suspendRedraws();
    for (std::size_t i = 0; i < chart.seriesCount(); ++i) {
        chart.serie(i)->removeAllPoints();
    }
    chart.resumeRedraws();
    for (int side = 1; side <= 2; ++side) {
        std::vector<double> x(static_cast<std::size_t>(samples));
        std::vector<double> y(x.size());
        for (std::size_t i = 0; i < x.size(); ++i) {
            const double along = lengthM * static_cast<double>(i) / (samples - 1);
            x[i] = falling ? startM - along : startM + along;
            const double s = along + (side == 2 ? 0.37 : 0.0);
            y[i] = 0.09 * std::sin(2 * M_PI * s / 7.3) +
                   0.05 * std::sin(2 * M_PI * s / 2.9 + side) + 0.03 * std::sin(2 * M_PI * s / 1.1);
        }
        chart.suspendRedraws();
        (side == 1 ? left : right)->addPoints(x.data(), y.data(), x.size());
        if (side == 1) {
            for (int t = 0; t < static_cast<int>(thresholds.size()); ++t) {
                thresholds[static_cast<std::size_t>(t)]->addPoint(x.front(), levels[t]);
                thresholds[static_cast<std::size_t>(t)]->addPoint(x.back(), levels[t]);
            }
        }
        if (x.back() <= x.front()) {
            bottom->setRange(x.back(), x.front());
            bottom->setInverted(true);
        } else {
            bottom->setRange(x.front(), x.back());
        }
        bottom->setAutomaticTickStep();
        chart.resumeRedraws();
    }
}

void buildEvaluation(CChartCtrl& chart) {
    chart.suspendRedraws();
    setUpChart(chart, {QStringLiteral("峰 峰 值 均 值 超 限 比 例"),
                       QStringLiteral("BS EN 13231-3:2012")});
    addAxis<CMyChartStandardAxis>(chart, ChartAxisSlot::Bottom, 0.0, 5.0, 1.0,
                                  QStringLiteral("波长段/mm"));
    addAxis(chart, ChartAxisSlot::Left, 0.0, 100.0, 5.0, QStringLiteral("百分比"));
    chart.removeAllSeries();
    auto* leftBars = chart.createBarSerie();
    leftBars->setGroupId(0);
    leftBars->setBaseLine(false, 0.0);
    leftBars->setName(QStringLiteral("左侧轨道"));
    leftBars->setBarWidth(40);
    leftBars->setColor(QColor(0, 255, 0));
    leftBars->setBorderColor(QColor(0, 255, 0));
    leftBars->setValueLabels(true, 1, QStringLiteral("%"));
    auto* rightBars = chart.createBarSerie();
    rightBars->setGroupId(0);
    rightBars->setBaseLine(false, 0.0);
    rightBars->setName(QStringLiteral("右侧轨道"));
    rightBars->setBarWidth(40);
    rightBars->setColor(QColor(0, 0, 255));
    rightBars->setBorderColor(QColor(0, 0, 255));
    rightBars->setValueLabels(true, 1, QStringLiteral("%"));
    auto* limit = addCurve(chart, QStringLiteral("5%"), QColor(255, 0, 0), 2);
    for (const double x : {0.5, 1.5, 2.5, 3.5, 4.5}) {
        limit->addPoint(x, 5.0);
    }
    chart.resumeRedraws();

    const double bands[] = {1.0, 2.0, 3.0, 4.0};
    const double leftRatios[] = {0.0, 2.5, 7.0, 100.0};
    const double rightRatios[] = {1.2, 4.1, 12.5, 31.0};
    chart.suspendRedraws();
    leftBars->addPoints(bands, leftRatios, 4);
    chart.resumeRedraws();
    chart.suspendRedraws();
    rightBars->addPoints(bands, rightRatios, 4);
    chart.resumeRedraws();
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: chart-gallery FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "chart-gallery: cannot create %s\n", argv[1]);
        return 1;
    }
    const QSize viewSize(1000, 620);
    ChartRenderer renderer;
    bool ok = true;

    ok = save(renderRealTime(700, 1000), folder, "realtime.png") && ok;
    ok = save(renderRealTime(3000, 1000), folder, "realtime_scrolled.png") && ok;

    {
        CChartCtrl chart;
        buildCalibration(chart, nullptr);
        ok = save(renderer.render(chart, viewSize), folder, "calibration.png") && ok;
    }
    {
        CChartCtrl chart;
        buildWaveform(chart, QStringLiteral("滤 波 数 据（30-100mm）"), false, true, 0.0, 40.0,
                      1000);
        ok = save(renderer.render(chart, viewSize), folder, "waveform_band.png") && ok;
    }
    {
        CChartCtrl chart;
        buildWaveform(chart, QStringLiteral("滤 波 数 据（30-100mm）"), true, true, 1500.0, 40.0,
                      1000);
        ok = save(renderer.render(chart, viewSize), folder, "waveform_inverted.png") && ok;
    }
    {
        CChartCtrl chart;
        buildWaveform(chart, QStringLiteral("原 始 数 据"), false, false, 0.0, 40.0, 1000);
        chart.resize(viewSize);
        // The user has zoomed in about the middle of the plot.
        chart.zoomAt(QPointF(viewSize.width() / 2.0, viewSize.height() / 2.0), 4.0, true, false);
        ok = save(renderer.render(chart, viewSize), folder, "waveform_zoomed.png") && ok;
    }
    {
        CChartCtrl chart;
        buildEvaluation(chart);
        ok = save(renderer.render(chart, viewSize), folder, "evaluation.png") && ok;
        ok = save(renderer.render(chart, QSize(520, 360)), folder, "evaluation_small.png") && ok;
    }
    return ok ? 0 : 1;
}
