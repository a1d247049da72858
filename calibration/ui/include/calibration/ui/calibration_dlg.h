#pragma once

#include <memory>
#include <vector>

#include "calibration/calibration_fit.h"
#include "calibration/calibration_reader.h"
#include "core/panel.h"
#include "core/panel_context.h"

namespace sundrel::widgets {
class CChartCtrl;
class CChartLineSerie;
class CChartPointsSerie;
class CMyChartSeriesMouseListener;
}  // namespace sundrel::widgets

namespace sundrel::calibration {

// What a reading is paired with: the side, sensor and distance of the
// panel's last 确认.
struct CapturedTarget {
    frames::RailSide side = frames::RailSide::Left;
    int sensor = 1;  // 1..4
    double distanceMm = 0;
};

// The calibration page (" 标定 "): each reading of the calibrated sensor as a
// point (raw word against distance), the least-squares line through the set,
// its equation and R² in the title, and the point under the mouse on the
// status bar.
class CCalibrationDlg : public core::Panel {
    Q_OBJECT
public:
    explicit CCalibrationDlg(const core::PanelContext& context, QWidget* parent = nullptr);
    ~CCalibrationDlg() override;

    // What the calibration panel asks of the view.
    std::size_t pointCount() const;
    void removeLastPoint();
    void clearCurves();
    void refit();
    double slope() const { return slope_; }
    double intercept() const { return intercept_; }

    widgets::CChartCtrl* chart() const { return chart_; }
    widgets::CChartLineSerie* measuredCurve() const { return measured_; }
    widgets::CChartPointsSerie* markerCurve() const { return markers_; }
    widgets::CChartLineSerie* fittedCurve() const { return fitted_; }

    void handlePanelMessage(const core::PanelMessage& message, std::intptr_t lparam) override;

protected:
    void applyBackgroundColour(std::uint32_t bgr) override;

private:
    void buildChart();
    void reset();
    void addReading(const frames::SensorWords& words, const CapturedTarget& target);
    CapturedTarget capturedTarget() const;

    core::PanelContext context_;
    widgets::CChartCtrl* chart_ = nullptr;
    widgets::CChartLineSerie* measured_ = nullptr;
    widgets::CChartPointsSerie* markers_ = nullptr;
    widgets::CChartLineSerie* fitted_ = nullptr;
    std::unique_ptr<widgets::CMyChartSeriesMouseListener> listener_;
    CalibrationReader reader_;
    double slope_ = 0;
    double intercept_ = 0;
};

}  // namespace sundrel::calibration
