#include "app/program_settings.h"

namespace sundrel::app {
namespace {

SettingsRecord* current = nullptr;

}  // namespace

SettingsRecord* programSettings() { return current; }
void setProgramSettings(SettingsRecord* settings) { current = settings; }

}  // namespace sundrel::app
