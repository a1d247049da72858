#include "analysis/ui/analyse_ctrl_dlg.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QTreeWidgetItem>
#include <QUrl>
#include <QVBoxLayout>
#include <cstring>

#include "analysis/report_content.h"
#include "analysis/report_writer.h"
#include "analysis/ui/detail_report.h"
#include "analysis/ui/waveform_view.h"
#include "core/ribbon_ids.h"
#include "core/user_messages.h"
#include "platform/gbk_text.h"
#include "widgets/property_grid.h"

namespace sundrel::analysis {
namespace {

using core::PanelCode;
using core::PanelSlot;

constexpr const char* kUnknown = "******";

// The waveform views the grid's sub-groups govern, in grid order.
struct WaveformEntry {
    const char* caption;
    PanelSlot view;
};
constexpr std::array<WaveformEntry, 7> kWaveforms = {{
    {"原始数据波形", PanelSlot::RawWaveformView},
    {"10-30mm滤波波形", PanelSlot::UntabbedWaveformView},
    {"30-100mm滤波波形", PanelSlot::Band30To100View},
    {"100-300mm滤波波形", PanelSlot::Band100To300View},
    {"300-1000mm滤波波形", PanelSlot::Band300To1000View},
    {"1000_3000mm滤波波形", PanelSlot::Band1000To3000View},
    {"轨道高低波形", PanelSlot::TrackHighLowView},
}};

constexpr std::array<PanelSlot, 7> kClearOrder = {
    PanelSlot::RawWaveformView,  PanelSlot::EvaluationView,    PanelSlot::Band1000To3000View,
    PanelSlot::Band100To300View, PanelSlot::Band300To1000View, PanelSlot::Band30To100View,
    PanelSlot::DetailedReport,
};

constexpr const char* kBottomAxisItem = "横轴间隔(m)";
constexpr const char* kLeftAxisItem = "纵轴间隔(um)";

QString fromGbk(const char* field, std::size_t size) {
    return QString::fromStdString(platform::gbkToUtf8(platform::readGbkField(field, size)));
}

QString q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

}  // namespace

CAnalyseCtrlDlg::CAnalyseCtrlDlg(const core::PanelContext& context, QWidget* parent)
    : Panel(parent),
      context_(context),
      messenger_(context.messenger),
      host_(context.messenger, PanelSlot::AnalysisControl) {
    setObjectName("CAnalyseCtrlDlg");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    grid_ = new widgets::CMyPropertyGridCtrl(this);
    layout->addWidget(grid_);
    applyBackgroundColour(static_cast<std::uint32_t>(backgroundColour().red()) |
                          static_cast<std::uint32_t>(backgroundColour().green()) << 8 |
                          static_cast<std::uint32_t>(backgroundColour().blue()) << 16);
    buildGrid();
    connect(grid_, &widgets::CMyPropertyGridCtrl::propertyChanged, this,
            &CAnalyseCtrlDlg::onPropertyChanged);
    chooseFile_ = [this] {
        const QString start = newestRecording(QString::fromUtf8(context_.settings.chFilePath));
        return QFileDialog::getOpenFileName(this, QString(), start, q("采集文件(*.raw)"));
    };
    openReport_ = [](const QString& path) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(QDir(path).absolutePath()));
    };
}

QString newestRecording(const QString& folder) {
    const QFileInfoList recordings =
        QDir(folder).entryInfoList({QStringLiteral("*.raw")}, QDir::Files, QDir::Time);
    return recordings.isEmpty() ? folder : recordings.front().absoluteFilePath();
}

void CAnalyseCtrlDlg::buildGrid() {
    infoGroup_ = grid_->addGroup(q("采集信息"), nullptr, true);
    for (const char* caption :
         {"线路名称", "运行方向", "公里标", "采集时间", "作业单位", "作业人员"}) {
        grid_->addText(infoGroup_, q(caption), q(kUnknown));
    }
    waveformGroup_ = grid_->addGroup(q("数据波形"), nullptr, true);
    for (const WaveformEntry& entry : kWaveforms) {
        QTreeWidgetItem* view = grid_->addGroup(q(entry.caption), waveformGroup_, false);
        grid_->addInteger(view, q(kBottomAxisItem), 4, 0, 10000);
        grid_->addInteger(view, q(kLeftAxisItem), 500, 0, 2000);
    }
    QTreeWidgetItem* reports = grid_->addGroup(q("评估报表"), nullptr, true);
    for (const char* caption : {"波磨超限图", "高低超限图", "数据报表"}) {
        grid_->addText(reports, q(caption), QString());
    }
}

void CAnalyseCtrlDlg::applyBackgroundColour(std::uint32_t bgr) {
    Panel::applyBackgroundColour(bgr);
    if (grid_ != nullptr) {
        // The grid's background, groups and lines take the panel's colour.
        QPalette colours = grid_->palette();
        colours.setColor(QPalette::Base, core::colourFromBgr(bgr));
        colours.setColor(QPalette::AlternateBase, core::colourFromBgr(bgr));
        colours.setColor(QPalette::Window, core::colourFromBgr(bgr));
        grid_->setPalette(colours);
    }
}

QString CAnalyseCtrlDlg::infoText(const QString& caption) const {
    QTreeWidgetItem* item = grid_->find(caption, infoGroup_);
    return item ? item->text(1) : QString();
}

void CAnalyseCtrlDlg::openAndAnalyse() {
    const QString path = chooseFile_ ? chooseFile_() : QString();
    if (path.isEmpty()) {
        return;  // cancelled
    }
    analyseFile(path);
}

void CAnalyseCtrlDlg::analyseFile(const QString& path) {
    std::array<std::string, 4> texts;
    const int ids[4] = {core::ID_THRESHOLD_30_100, core::ID_THRESHOLD_100_300,
                        core::ID_THRESHOLD_300_1000, core::ID_THRESHOLD_1000_3000};
    for (std::size_t band = 0; band < 4; ++band) {
        texts[band] = context_.ribbon.text(ids[band]).toStdString();
    }
    const ThresholdCheck check = checkThresholds(texts);
    if (check.rejectedBand) {
        core::showProgramMessage(this, q(thresholdRejectionText(*check.rejectedBand)));
        return;
    }
    core::SettingsRecord& settings = context_.settings;
    settings.dTh30_100 = check.values[0];
    settings.dTh100_300 = check.values[1];
    settings.dTh300_1000 = check.values[2];
    settings.dTh1000_3000 = check.values[3];
    const core::PanelMessage clear{static_cast<std::uintptr_t>(PanelCode::Clear), 0, 0, 0};
    for (const PanelSlot slot : kClearOrder) {
        messenger_.send(slot, clear);
    }
    const std::string chosen = path.toStdString();
    if (!isRecordingName(chosen)) {
        return;  // not a recording's name: nothing to analyse
    }
    const RailFiles files = railFiles(chosen);
    if (QWidget* main = window()) {
        main->setWindowTitle(path);
    }
    const auto& t = check.values;
    SetWnd(host_.handle());
    Analyse(chosen.c_str(), t[0], t[1], t[2], t[3]);
    if (files.other) {
        Analyse(files.other->c_str(), t[0], t[1], t[2], t[3]);
    } else {
        // Analysing the chosen file again would draw its rail twice.
        tellStatusBar(QString::fromStdString(otherRailMissingText(files)));
    }
}

void CAnalyseCtrlDlg::showAcquisitionInfo(const AnalysisInfoBlock& info) {
    std::memcpy(&lastInfo_, &info, sizeof lastInfo_);
    auto set = [&](const char* caption, const QString& value) {
        if (QTreeWidgetItem* item = grid_->find(q(caption), infoGroup_)) {
            grid_->setText(item, value);
        }
    };
    set("线路名称", fromGbk(info.lineName, sizeof info.lineName));
    set("运行方向", q(directionText(info.forward != 0)));
    set("公里标", QString::fromStdString(kilometreRangeText(info.startPosition, info.endPosition)));
    set("采集时间", fromGbk(info.startTime, sizeof info.startTime));
    set("作业单位", fromGbk(info.department, sizeof info.department));
    set("作业人员", fromGbk(info.staffName, sizeof info.staffName));
}

void CAnalyseCtrlDlg::onPropertyChanged(QTreeWidgetItem* item, int value) {
    QTreeWidgetItem* view = item->parent();
    if (view == nullptr || view->parent() != waveformGroup_) {
        return;
    }
    for (const WaveformEntry& entry : kWaveforms) {
        if (view->text(0) == q(entry.caption)) {
            const bool bottom = item->text(0) == q(kBottomAxisItem);
            const double step = bottom ? value : static_cast<double>(value) / 1000.0;
            if (auto* waveform =
                    dynamic_cast<WaveformView*>(messenger_.registry().lookup(entry.view))) {
                waveform->setAxisInterval(bottom, step);
            }
            emit axisIntervalChanged(entry.view, bottom, step);
            return;
        }
    }
}

void CAnalyseCtrlDlg::tellStatusBar(const QString& text) {
    context_.status.showStatus(text, 15000);
}

void CAnalyseCtrlDlg::exportReport() {
    const Thresholds thresholds = thresholdsOf(context_.settings);
    auto* report =
        dynamic_cast<CCDetailReport*>(messenger_.registry().lookup(PanelSlot::DetailedReport));
    const DetailTable emptyTable(thresholds);
    const ReportContent content =
        buildReportContent(lastInfo_, thresholds, report ? report->table() : emptyTable);
    const std::string path = reportPath(lastInfo_);
    const ReportTemplate found = findReportTemplate();
    std::string error;
    if (found.path.empty()) {
        error = missingTemplateText(found.searched);
    }
    if (!error.empty() || !writeReport(content, found.path, path, error)) {
        tellStatusBar(q("报表输出失败：") + QString::fromStdString(error));
        return;
    }
    tellStatusBar(q("报表已输出：") + QString::fromStdString(path));
    if (openReport_) {
        openReport_(QString::fromStdString(path));
    }
}

void CAnalyseCtrlDlg::handlePanelMessage(const core::PanelMessage& message, std::intptr_t lparam) {
    switch (core::codeOf(message)) {
        case PanelCode::OpenFile:
            openAndAnalyse();
            break;
        case PanelCode::FileInfo:
            showAcquisitionInfo(*reinterpret_cast<const AnalysisInfoBlock*>(message.data));
            break;
        case PanelCode::Profile:
            messenger_.send(PanelSlot::RawWaveformView, message, lparam);
            break;
        case PanelCode::Band30To100:
            messenger_.send(PanelSlot::Band30To100View, message, lparam);
            break;
        case PanelCode::Band100To300:
            messenger_.send(PanelSlot::Band100To300View, message, lparam);
            break;
        case PanelCode::Band300To1000:
            messenger_.send(PanelSlot::Band300To1000View, message, lparam);
            break;
        case PanelCode::Band1000To3000:
            messenger_.send(PanelSlot::Band1000To3000View, message, lparam);
            break;
        case PanelCode::ExceedRatios:
            messenger_.send(PanelSlot::EvaluationView, message, lparam);
            break;
        case PanelCode::Sections:
            messenger_.send(PanelSlot::DetailedReport, message, lparam);
            break;
        case PanelCode::ExportReport:
            exportReport();
            break;
        default:
            Panel::handlePanelMessage(message, lparam);
            break;
    }
}

}  // namespace sundrel::analysis
