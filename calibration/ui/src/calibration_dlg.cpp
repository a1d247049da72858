#include "calibration/ui/calibration_dlg.h"

#include <QVBoxLayout>
#include <cstdio>

#include "calibration/ui/calibration_ctrl_dlg.h"
#include "calibration/ui/calibration_point_sender.h"
#include "core/panel_registry.h"
#include "widgets/chart_ctrl.h"
#include "widgets/chart_line_serie.h"
#include "widgets/chart_points_serie.h"
#include "widgets/chart_standard_axis.h"
#include "widgets/chart_title.h"
#include "widgets/my_chart_series_mouse_listener.h"
#include "widgets/view_chart_style.h"

namespace sundrel::calibration {
namespace {

using core::PanelCode;
using widgets::ChartAxisSlot;

QString q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

constexpr const char* kTitle = "标 定 数 据";

}  // namespace

CCalibrationDlg::CCalibrationDlg(const core::PanelContext& context, QWidget* parent)
    : Panel(parent), context_(context) {
    setObjectName("CCalibrationDlg");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    chart_ = new widgets::CChartCtrl(this);
    layout->addWidget(chart_);
    listener_ = std::make_unique<widgets::CMyChartSeriesMouseListener>(
        calibrationPointSender(context.messenger));
    buildChart();
    widgets::setViewChartBackground(*chart_, backgroundColour());
    reset();
}

CCalibrationDlg::~CCalibrationDlg() = default;

void CCalibrationDlg::buildChart() {
    chart_->suspendRedraws();
    widgets::styleViewChart(*chart_, {q(kTitle)});
    widgets::CChartStandardAxis* bottom = chart_->createStandardAxis(ChartAxisSlot::Bottom);
    widgets::styleViewAxis(*bottom, q("数字量输出"));
    bottom->setRange(0, 4200);
    bottom->setTickStep(300);
    widgets::CChartStandardAxis* left = chart_->createStandardAxis(ChartAxisSlot::Left);
    widgets::styleViewAxis(*left, q("距离/mm"));
    left->setRange(0, 10);
    left->setTickStep(2);

    chart_->removeAllSeries();
    measured_ = chart_->createLineSerie();
    measured_->setPointOrdering(widgets::ChartPointOrdering::None);
    measured_->setColor(QColor(0, 0, 255));
    measured_->setLineWidth(5);
    measured_->setName(q("传感器#"));
    markers_ = chart_->createPointsSerie();
    markers_->setPointOrdering(widgets::ChartPointOrdering::None);
    markers_->setColor(QColor(255, 0, 0));
    markers_->setMarkerSize(15, 15);
    markers_->setMarkerBorderColor(QColor(255, 0, 0));
    for (widgets::CChartXYSerie* serie : {static_cast<widgets::CChartXYSerie*>(markers_),
                                          static_cast<widgets::CChartXYSerie*>(measured_)}) {
        serie->attachMouseListener(listener_.get());
        serie->enableMouseMoveNotification(true);
        serie->enableMouseClickNotification(false);
    }
    fitted_ = chart_->createLineSerie();
    fitted_->setColor(Qt::black);
    fitted_->setName(q("拟合曲线"));
    fitted_->setLineWidth(2);
    widgets::dockViewLegend(*chart_);
    chart_->resumeRedraws();
}

void CCalibrationDlg::applyBackgroundColour(std::uint32_t bgr) {
    Panel::applyBackgroundColour(bgr);
    if (chart_ != nullptr) {
        widgets::setViewChartBackground(*chart_, core::colourFromBgr(bgr));
    }
}

void CCalibrationDlg::reset() {
    chart_->suspendRedraws();
    clearCurves();
    chart_->title()->removeAllLines();
    chart_->title()->addLine(q(kTitle));
    slope_ = 0;
    intercept_ = 0;
    chart_->resumeRedraws();
}

std::size_t CCalibrationDlg::pointCount() const {
    return measured_->pointCount();
}

void CCalibrationDlg::removeLastPoint() {
    measured_->removeLastPoint();
    markers_->removeLastPoint();
}

void CCalibrationDlg::clearCurves() {
    measured_->removeAllPoints();
    markers_->removeAllPoints();
    fitted_->removeAllPoints();
}

void CCalibrationDlg::refit() {
    std::vector<CalibrationPoint> points;
    points.reserve(markers_->pointCount());
    for (const widgets::SChartXYPoint& p : markers_->points()) {
        points.push_back({p.X, p.Y});
    }
    const std::optional<LineFit> fit = fitLine(points);
    if (!fit) {
        return;  // the last fit stays in force
    }
    std::vector<double> words;
    for (const CalibrationPoint& p : points) {
        words.push_back(p.word);
    }
    chart_->suspendRedraws();
    fitted_->removeAllPoints();
    fitted_->addPoints(words.data(), fit->fitted.data(), words.size());
    chart_->title()->removeAllLines();
    chart_->title()->addLine(q(kTitle));
    chart_->title()->addLine(QString::fromStdString(equationText(*fit)));
    chart_->resumeRedraws();
    slope_ = fit->slope;
    intercept_ = fit->intercept;
}

CapturedTarget CCalibrationDlg::capturedTarget() const {
    if (auto* panel = dynamic_cast<CCalibrationCtrlDlg*>(
            context_.messenger.registry().lookup(core::PanelSlot::CalibrationControl))) {
        return panel->captured();
    }
    return {};
}

void CCalibrationDlg::addReading(const frames::SensorWords& words, const CapturedTarget& target) {
    if (pointCount() >= kMostCalibrationPoints) {
        context_.status.showStatus(q("标定数据点已有255个，不能再增加；请先移除或重新开始标定。"));
        return;
    }
    chart_->suspendRedraws();
    if (target.sensor >= 1 && target.sensor <= 4) {
        const double word = words[static_cast<std::size_t>(target.sensor - 1)];
        measured_->addPoint(word, target.distanceMm);
        markers_->addPoint(word, target.distanceMm);
    }
    char name[64];
    std::snprintf(name, sizeof name, "%s%d#",
                  target.side == frames::RailSide::Left ? "左侧传感器" : "右侧传感器",
                  target.sensor);
    measured_->setName(QString::fromUtf8(name));
    refit();
    chart_->resumeRedraws();
}

void CCalibrationDlg::handlePanelMessage(const core::PanelMessage& message, std::intptr_t lparam) {
    switch (core::codeOf(message)) {
        case PanelCode::Clear:
            reset();
            break;
        case PanelCode::CalibrationBytes: {
            const CapturedTarget target = capturedTarget();
            if (const auto words = reader_.add(reinterpret_cast<const std::uint8_t*>(message.data),
                                               message.count, target.side)) {
                addReading(*words, target);
            }
            break;
        }
        case PanelCode::CalibrationPoint: {
            const auto x = static_cast<std::int32_t>(message.data);
            const double y = *reinterpret_cast<const double*>(lparam);
            char text[96];
            std::snprintf(text, sizeof text, "标定数据点：X=%d，Y=%.3fmm", x, y);
            context_.status.showStatus(QString::fromUtf8(text));
            break;
        }
        default:
            Panel::handlePanelMessage(message, lparam);
            break;
    }
}

}  // namespace sundrel::calibration
