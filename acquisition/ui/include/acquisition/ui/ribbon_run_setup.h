#pragma once

#include "acquisition/run_headers.h"
#include "core/panel_context.h"
#include "core/settings_record.h"

namespace sundrel::acquisition {

// A run as the ribbon's entries describe it: ports (the digits of the port
// items; none gives 0), line settings, direction, start position (digits and
// '.' kept), names, folder and crew texts; pulses per frame and batch size
// from the settings. The calibration reads its line settings the same way.
RunSetup runSetupFromRibbon(const core::RibbonControls& ribbon,
                            const core::SettingsRecord& settings);

}  // namespace sundrel::acquisition
