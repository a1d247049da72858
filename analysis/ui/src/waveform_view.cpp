#include "analysis/ui/waveform_view.h"

#include <cmath>

#include "widgets/view_chart_style.h"

#include <QVBoxLayout>
#include <optional>

#include "analysis/cursor_readout.h"
#include "widgets/chart_ctrl.h"
#include "widgets/chart_legend.h"
#include "widgets/chart_line_serie.h"
#include "widgets/chart_standard_axis.h"
#include "widgets/chart_title.h"

namespace sundrel::analysis {
namespace {

using widgets::dockViewLegend;
using widgets::setViewChartBackground;
using widgets::styleViewAxis;
using widgets::styleViewChart;

using widgets::CChartLineSerie;
using widgets::CChartStandardAxis;
using widgets::ChartAxisSlot;

QString q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Levels of T1..T4, mm: the green pair at +-dThLine1/2, the red at +-dThLine2/2.
std::array<double, 4> thresholdLevels(const core::SettingsRecord& settings) {
    const double green = settings.dThLine1 / 2;
    const double red = settings.dThLine2 / 2;
    return {green, -green, red, -red};
}

}  // namespace

WaveformView::WaveformView(const core::PanelContext& context, const WaveformTraits& traits,
                           QWidget* parent)
    : Panel(parent),
      traits_(traits),
      settings_(context.settings),
      status_(context.status),
      snapshot_(context.settings) {
    setObjectName(traits.name);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    chart_ = new widgets::CChartCtrl(this);
    layout->addWidget(chart_);
    buildChart();
    setViewChartBackground(*chart_, backgroundColour());
    chart_->setCrosshair(true);
    connect(chart_, &widgets::CChartCtrl::cursorMoved, this,
            [this](double position, double) { showReadout(position); });
    connect(chart_, &widgets::CChartCtrl::cursorLeft, this, [this] { status_.showReadout({}); });
}

void WaveformView::showReadout(double position) {
    const auto valueAt = [position](const CChartLineSerie* curve) -> std::optional<double> {
        const auto index = curve->nearestByX(position);
        if (!index) {
            return std::nullopt;
        }
        return curve->point(*index).Y;
    };
    status_.showReadout(
        QString::fromStdString(cursorReadoutText(position, valueAt(left_), valueAt(right_))));
}

void WaveformView::buildChart() {
    chart_->suspendRedraws();
    styleViewChart(*chart_, traits_.titleLines);

    CChartStandardAxis* bottom = chart_->createStandardAxis(ChartAxisSlot::Bottom);
    styleViewAxis(*bottom, q("运行距离/m"));
    bottom->setRange(snapshot_.dXmin, snapshot_.dXmax);
    bottom->setTickStep(4);

    CChartStandardAxis* leftAxis = chart_->createStandardAxis(ChartAxisSlot::Left);
    styleViewAxis(*leftAxis, q("数值/mm"));
    leftAxis->setRange(snapshot_.dYmin, snapshot_.dYmax);
    leftAxis->setTickStep(0.5);

    chart_->removeAllSeries();
    auto curve = [&](const char* name, QColor colour) {
        CChartLineSerie* serie = chart_->createLineSerie();
        serie->setName(q(name));
        serie->setColor(colour);
        serie->setLineWidth(3);
        // Every sample is kept and drawn as it is: per pixel column the span
        // of its samples, zoomed in the samples joined by straight lines.
        serie->setSmooth(false);
        serie->setPointOrdering(widgets::ChartPointOrdering::None);
        return serie;
    };
    left_ = curve("左轨曲线", QColor(255, 0, 0));
    right_ = curve("右轨曲线", QColor(0, 0, 255));
    if (traits_.thresholdLines) {
        const auto levels = thresholdLevels(settings_);
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            CChartLineSerie* line = chart_->createLineSerie();
            line->setColor(i < 2 ? QColor(0, 255, 0) : QColor(255, 0, 0));
            line->setLineWidth(1);
            line->addPoint(snapshot_.dXmin, levels[i]);
            line->addPoint(snapshot_.dXmax, levels[i]);
            lines_[i] = line;
        }
    }
    dockViewLegend(*chart_);
    chart_->resumeRedraws();
}

CChartStandardAxis* WaveformView::bottomAxis() const {
    return static_cast<CChartStandardAxis*>(chart_->axis(ChartAxisSlot::Bottom));
}

CChartStandardAxis* WaveformView::leftAxis() const {
    return static_cast<CChartStandardAxis*>(chart_->axis(ChartAxisSlot::Left));
}

void WaveformView::setAxisInterval(bool bottom, double step) {
    CChartStandardAxis* axis = bottom ? bottomAxis() : leftAxis();
    if (step > 0) {
        axis->setTickStep(step);
    } else {
        axis->setAutomaticTickStep();
    }
    chart_->redraw();
}

void WaveformView::setVisibleRange(double fromMetres, double toMetres) {
    if (!(std::isfinite(fromMetres) && std::isfinite(toMetres) && fromMetres < toMetres)) {
        return;
    }
    bottomAxis()->setRange(fromMetres, toMetres);
    chart_->redraw();
}

void WaveformView::clearView() {
    chart_->suspendRedraws();
    for (std::size_t i = 0; i < chart_->seriesCount(); ++i) {
        chart_->serie(i)->removeAllPoints();
    }
    bottomAxis()->setRange(snapshot_.dXmin, snapshot_.dXmax);
    leftAxis()->setRange(snapshot_.dYmin, snapshot_.dYmax);
    bottomAxis()->setInverted(false);
    chart_->resumeRedraws();
}

void WaveformView::plotWaveform(const double* values, const double* distances, std::size_t count,
                                std::intptr_t side) {
    if (values == nullptr || distances == nullptr || count == 0) {
        return;  // an empty record has no range to show
    }
    chart_->suspendRedraws();
    (side == 1 ? left_ : right_)->addPoints(distances, values, count);
    const double first = distances[0];
    const double last = distances[count - 1];
    // The left rail sets the lines' extent; the right one only when it is
    // analysed alone.
    if (traits_.thresholdLines && (side == 1 || lines_[0]->pointCount() == 0)) {
        const auto levels = thresholdLevels(settings_);
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            lines_[i]->addPoint(first, levels[i]);
            lines_[i]->addPoint(last, levels[i]);
        }
    }
    if (last <= first) {
        bottomAxis()->setRange(last, first);
        bottomAxis()->setInverted(true);
    } else {
        bottomAxis()->setRange(first, last);
    }
    bottomAxis()->setAutomaticTickStep();
    chart_->resumeRedraws();
}

void WaveformView::applyBackgroundColour(std::uint32_t bgr) {
    Panel::applyBackgroundColour(bgr);
    if (chart_ != nullptr) {
        setViewChartBackground(*chart_, core::colourFromBgr(bgr));
    }
}

void WaveformView::handlePanelMessage(const core::PanelMessage& message, std::intptr_t lparam) {
    const core::PanelCode code = core::codeOf(message);
    if (code == core::PanelCode::Clear) {
        clearView();
    } else if (code == traits_.dataCode && code != core::PanelCode{0}) {
        plotWaveform(reinterpret_cast<const double*>(message.data),
                     reinterpret_cast<const double*>(message.axis), message.count, lparam);
    } else {
        Panel::handlePanelMessage(message, lparam);
    }
}

CRawDataDlg::CRawDataDlg(const core::PanelContext& context, QWidget* parent)
    : WaveformView(context, {"CRawDataDlg", {q("原 始 数 据")}, core::PanelCode::Profile, false},
                   parent) {}

CFil10_30Dlg::CFil10_30Dlg(const core::PanelContext& context, QWidget* parent)
    : WaveformView(context,
                   {"CFil10_30Dlg", {q("滤 波 数 据（10-30mm）")}, core::PanelCode{0}, false},
                   parent) {}

CFil30_100Dlg::CFil30_100Dlg(const core::PanelContext& context, QWidget* parent)
    : WaveformView(
          context,
          {"CFil30_100Dlg", {q("滤 波 数 据（30-100mm）")}, core::PanelCode::Band30To100, true},
          parent) {}

CFil100_300Dlg::CFil100_300Dlg(const core::PanelContext& context, QWidget* parent)
    : WaveformView(
          context,
          {"CFil100_300Dlg", {q("滤 波 数 据（100-300mm）")}, core::PanelCode::Band100To300, true},
          parent) {}

CFil300_1000Dlg::CFil300_1000Dlg(const core::PanelContext& context, QWidget* parent)
    : WaveformView(context,
                   {"CFil300_1000Dlg",
                    {q("滤 波 数 据（300-1000mm）")},
                    core::PanelCode::Band300To1000,
                    true},
                   parent) {}

CFil1000_3000Dlg::CFil1000_3000Dlg(const core::PanelContext& context, QWidget* parent)
    : WaveformView(context,
                   {"CFil1000_3000Dlg",
                    {q("滤 波 数 据（1000-3000mm）")},
                    core::PanelCode::Band1000To3000,
                    true},
                   parent) {}

CRailHighLowDlg::CRailHighLowDlg(const core::PanelContext& context, QWidget* parent)
    : WaveformView(
          context,
          {"CRailHighLowDlg", {q("轨 道 高 低 数 据"), q("10米弦")}, core::PanelCode{0}, false},
          parent) {}

}  // namespace sundrel::analysis
