#include "calibration/ui/calibration_point_sender.h"

#include "core/panel_codes.h"

namespace sundrel::calibration {

widgets::CMyChartSeriesMouseListener::PointHandler calibrationPointSender(
    core::PanelMessenger& messenger) {
    return [&messenger](std::int32_t x, const double* y) {
        const core::PanelMessage message{
            static_cast<std::uintptr_t>(core::PanelCode::CalibrationPoint),
            static_cast<std::uintptr_t>(static_cast<std::intptr_t>(x)), 0, 1};
        messenger.send(core::PanelSlot::CalibrationView, message,
                       reinterpret_cast<std::intptr_t>(y));
    };
}

}  // namespace sundrel::calibration
