#include "frames/ui/detect_dlg.h"

#include <QResizeEvent>

#include "widgets/chart_ctrl.h"
#include "widgets/chart_legend.h"
#include "widgets/chart_line_serie.h"
#include "widgets/chart_standard_axis.h"
#include "widgets/chart_title.h"
#include "widgets/view_chart_style.h"

namespace sundrel::frames {
namespace {

using widgets::CChartCtrl;
using widgets::CChartLineSerie;
using widgets::CChartStandardAxis;
using widgets::ChartAxisSlot;

QString q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

const QColor kAxisColour(0, 199, 140);
constexpr const char* kChartFont = "微软雅黑";
constexpr int kChartFontSize = 120;  // tenths of a point
constexpr unsigned kSunkenInnerEdge = 8;
constexpr double kDistanceTickStep = 4;  // m
constexpr int kGap = 4;                  // pixels between the two charts

struct CurveLook {
    const char* name;
    QColor colour;
};
const std::array<CurveLook, kSensorCount> kCurves = {{
    {"传感器1#", QColor(255, 0, 0)},
    {"传感器2#", QColor(0, 255, 0)},
    {"传感器3#", QColor(0, 0, 255)},
    {"传感器4#", QColor(0, 0, 0)},
}};

void styleAxis(CChartStandardAxis& axis, const char* title) {
    axis.setAutomaticRange(false);
    axis.title()->setText(q(title));
    axis.title()->setFont(q(kChartFont), kChartFontSize, false, false, false);
    axis.setColor(kAxisColour);
}

// SettingsRecord is packed: its fields are read by value, one at a time.
RealtimeSettings realtimeSettingsOf(const core::SettingsRecord& settings) {
    RealtimeSettings realtime;
    realtime.dEncoder = settings.dEncoder;
    realtime.nSerialReserveData = settings.nSerialReserveData;
    for (std::size_t k = 0; k < kSensorCount; ++k) {
        realtime.left[k] = {settings.leftEddy[k].slope, settings.leftEddy[k].intercept};
        realtime.right[k] = {settings.rightEddy[k].slope, settings.rightEddy[k].intercept};
    }
    return realtime;
}

}  // namespace

CDetcetDlg::CDetcetDlg(const core::PanelContext& context, QWidget* parent)
    : Panel(parent), settings_(context.settings) {
    setObjectName("CDetcetDlg");
    takeSettingsSnapshot();
    left_ = buildChart("左 轨 实 时 测 量 数 据");
    right_ = buildChart("右 轨 实 时 测 量 数 据");
    for (const SideChart* side : {&left_, &right_}) {
        widgets::setViewChartBackground(*side->chart, backgroundColour());
    }
}

CDetcetDlg::SideChart CDetcetDlg::buildChart(const char* title) {
    SideChart side;
    side.chart = new CChartCtrl(this);
    CChartCtrl& chart = *side.chart;
    chart.suspendRedraws();
    chart.setEdgeStyle(kSunkenInnerEdge);
    chart.setBorderColor(kAxisColour);
    chart.title()->setVisible(true);
    chart.title()->addLine(q(title));
    chart.title()->setFont(q(kChartFont), kChartFontSize, false, false, false);
    chart.title()->setColor(Qt::black);

    CChartStandardAxis* bottom = chart.createStandardAxis(ChartAxisSlot::Bottom);
    styleAxis(*bottom, "运行距离/m");
    bottom->setTickStep(kDistanceTickStep);  // whole metres: 0 decimals

    CChartStandardAxis* left = chart.createStandardAxis(ChartAxisSlot::Left);
    styleAxis(*left, "距离/mm");
    left->setAutomaticTickStep();
    resetAxes(side);

    chart.removeAllSeries();
    for (std::size_t k = 0; k < kSensorCount; ++k) {
        CChartLineSerie* curve = chart.createLineSerie();
        curve->setName(q(kCurves[k].name));
        curve->setColor(kCurves[k].colour);
        curve->setLineWidth(3);
        curve->setPointOrdering(widgets::ChartPointOrdering::None);
        side.curves[k] = curve;
    }
    widgets::dockViewLegend(chart);
    chart.resumeRedraws();
    return side;
}

void CDetcetDlg::takeSettingsSnapshot() {
    snapshot_ = settings_;
    blocks_.start(realtimeSettingsOf(snapshot_));
}

CChartStandardAxis* CDetcetDlg::bottomAxis(const SideChart& side) {
    return static_cast<CChartStandardAxis*>(side.chart->axis(ChartAxisSlot::Bottom));
}

CChartStandardAxis* CDetcetDlg::leftAxis(const SideChart& side) {
    return static_cast<CChartStandardAxis*>(side.chart->axis(ChartAxisSlot::Left));
}

// The left axis shows five times dYmax: the sensors' working range, not the
// analysis charts' value range (dYmin is not used).
void CDetcetDlg::resetAxes(const SideChart& side) {
    bottomAxis(side)->setRange(snapshot_.dXmin, snapshot_.dXmax);
    leftAxis(side)->setRange(0.0, 5 * snapshot_.dYmax);
}

void CDetcetDlg::startMeasurement() {
    takeSettingsSnapshot();
    for (const SideChart* side : {&left_, &right_}) {
        side->chart->suspendRedraws();
        for (CChartLineSerie* curve : side->curves) {
            curve->removeAllPoints();
        }
        resetAxes(*side);
        side->chart->resumeRedraws();
    }
}

void CDetcetDlg::showBatch(RailSide side, const std::uint8_t* bytes, std::size_t count) {
    SideChart* target = side == RailSide::Left    ? &left_
                        : side == RailSide::Right ? &right_
                                                  : nullptr;
    if (target == nullptr) {
        blocks_.addBatch(side, bytes, count, {});  // empties the block, nothing else
        return;
    }
    // However many passes the batch takes, its chart is redrawn once.
    target->chart->suspendRedraws();
    blocks_.addBatch(side, bytes, count,
                     [&](const RealtimeBlock& block) { showBlock(*target, block); });
    target->chart->resumeRedraws();
}

void CDetcetDlg::showBlock(SideChart& side, const RealtimeBlock& block) {
    for (std::size_t k = 0; k < kSensorCount; ++k) {
        side.curves[k]->addPoints(block.distance.data(), block.sensors[k].data(), block.count);
    }
    if (block.scrolls) {
        for (CChartLineSerie* curve : side.curves) {
            curve->removeFirstPoints(block.count);
        }
        const double dEncoder = blocks_.settings().dEncoder;
        bottomAxis(side)->setRange(block.removed * dEncoder, block.frames * dEncoder);
    }
}

void CDetcetDlg::handlePanelMessage(const core::PanelMessage& message, std::intptr_t lparam) {
    switch (core::codeOf(message)) {
        case core::PanelCode::AcquisitionBatch: {
            const RailSide side = lparam == 1   ? RailSide::Left
                                  : lparam == 2 ? RailSide::Right
                                                : RailSide::None;
            showBatch(side, reinterpret_cast<const std::uint8_t*>(message.data), message.count);
            break;
        }
        case core::PanelCode::Clear:
            startMeasurement();
            break;
        case core::PanelCode::Stop:
            break;  // the run stays on display until the next start
        default:
            Panel::handlePanelMessage(message, lparam);
            break;
    }
}

widgets::CChartCtrl* CDetcetDlg::chart(RailSide side) const {
    return side == RailSide::Left ? left_.chart : side == RailSide::Right ? right_.chart : nullptr;
}

widgets::CChartLineSerie* CDetcetDlg::curve(RailSide side, std::size_t sensor) const {
    const SideChart* chart = side == RailSide::Left    ? &left_
                             : side == RailSide::Right ? &right_
                                                       : nullptr;
    return chart != nullptr && sensor < kSensorCount ? chart->curves[sensor] : nullptr;
}

void CDetcetDlg::applyBackgroundColour(std::uint32_t bgr) {
    Panel::applyBackgroundColour(bgr);
    for (const SideChart* side : {&left_, &right_}) {
        if (side->chart != nullptr) {
            widgets::setViewChartBackground(*side->chart, core::colourFromBgr(bgr));
        }
    }
}

// The charts share the height, the left rail above the right, with a gap of
// kGap pixels between them.
void CDetcetDlg::resizeEvent(QResizeEvent* event) {
    Panel::resizeEvent(event);
    if (left_.chart == nullptr || right_.chart == nullptr) {
        return;
    }
    const int right = width();
    const int bottom = height();
    const int half = bottom / 2;
    left_.chart->setGeometry(0, 0, right, half - kGap / 2);
    right_.chart->setGeometry(0, half + kGap / 2, right, bottom - (half + kGap / 2));
}

}  // namespace sundrel::frames
