#include "analysis/ui/evaluation_dlg.h"

#include "widgets/view_chart_style.h"

#include <QVBoxLayout>

#include "analysis/analysis_rules.h"
#include "widgets/chart_bar_serie.h"
#include "widgets/chart_ctrl.h"
#include "widgets/chart_legend.h"
#include "widgets/chart_line_serie.h"
#include "widgets/chart_standard_axis.h"
#include "widgets/chart_title.h"
#include "widgets/my_chart_standard_axis.h"

namespace sundrel::analysis {
namespace {

using widgets::dockViewLegend;
using widgets::setViewChartBackground;
using widgets::styleViewAxis;
using widgets::styleViewChart;

using widgets::ChartAxisSlot;

QString q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

}  // namespace

CEvaluationDlg::CEvaluationDlg(const core::PanelContext&, QWidget* parent) : Panel(parent) {
    setObjectName("CEvaluationDlg");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    chart_ = new widgets::CChartCtrl(this);
    layout->addWidget(chart_);

    chart_->suspendRedraws();
    styleViewChart(*chart_, {q("峰 峰 值 均 值 超 限 比 例"), q("BS EN 13231-3:2012")});

    auto* bands = chart_->createAxis<widgets::CMyChartStandardAxis>(ChartAxisSlot::Bottom);
    styleViewAxis(*bands, q("波长段/mm"));
    bands->setRange(0, 5);
    bands->setTickStep(1);
    bands->setVisible(true);

    auto* percent = chart_->createStandardAxis(ChartAxisSlot::Left);
    styleViewAxis(*percent, q("百分比"));
    percent->setRange(0, 100);
    percent->setTickStep(5);

    chart_->removeAllSeries();
    auto bars = [&](const char* name, QColor colour) {
        widgets::CChartBarSerie* serie = chart_->createBarSerie();
        serie->setGroupId(0);
        serie->setBaseLine(false, 0);
        serie->setName(q(name));
        serie->setBarWidth(40);
        serie->setColor(colour);
        serie->setBorderColor(colour);
        serie->setValueLabels(true, 1, q("%"));
        return serie;
    };
    left_ = bars("左侧轨道", QColor(0, 255, 0));
    right_ = bars("右侧轨道", QColor(0, 0, 255));
    // Drawn after the bars and thin, so that a bar just below the limit
    // still shows above and below the line.
    limit_ = chart_->createLineSerie();
    limit_->setPointOrdering(widgets::ChartPointOrdering::None);
    limit_->setColor(QColor(255, 0, 0));
    limit_->setLineWidth(2);
    limit_->setName(q("5%"));
    for (const double x : {0.5, 1.5, 2.5, 3.5, 4.5}) {
        limit_->addPoint(x, kFailingExceedRatio);
    }

    dockViewLegend(*chart_);
    chart_->resumeRedraws();
    setViewChartBackground(*chart_, backgroundColour());
}

void CEvaluationDlg::applyBackgroundColour(std::uint32_t bgr) {
    Panel::applyBackgroundColour(bgr);
    if (chart_ != nullptr) {
        setViewChartBackground(*chart_, core::colourFromBgr(bgr));
    }
}

void CEvaluationDlg::handlePanelMessage(const core::PanelMessage& message, std::intptr_t lparam) {
    switch (core::codeOf(message)) {
        case core::PanelCode::Clear:
            chart_->suspendRedraws();
            left_->removeAllPoints();
            right_->removeAllPoints();
            chart_->resumeRedraws();
            break;
        case core::PanelCode::ExceedRatios:
            if (message.data != 0 && message.axis != 0) {
                chart_->suspendRedraws();
                (lparam == 1 ? left_ : right_)
                    ->addPoints(reinterpret_cast<const double*>(message.axis),
                                reinterpret_cast<const double*>(message.data), message.count);
                chart_->resumeRedraws();
            }
            break;
        default:
            Panel::handlePanelMessage(message, lparam);
            break;
    }
}

}  // namespace sundrel::analysis
