#pragma once

#include "app/settings_record.h"

namespace sundrel::app {

// The main window's settings record, for the panels that read or write it
// (the main window owns it; nullptr while there is none). Window thread only.
SettingsRecord* programSettings();
void setProgramSettings(SettingsRecord* settings);

}  // namespace sundrel::app
