#pragma once

#include "core/panel_messenger.h"
#include "widgets/my_chart_series_mouse_listener.h"

namespace sundrel::calibration {

// The calibration chart's point readout: sends code 9 synchronously to the
// calibration view (slot 16) with data = X (sign-extended, so it reads the
// same as a 32-bit or a pointer-sized integer), count = 1, and as lparam the
// address of the point's Y, valid during the send.
widgets::CMyChartSeriesMouseListener::PointHandler calibrationPointSender(
    core::PanelMessenger& messenger);

}  // namespace sundrel::calibration
