#pragma once

#include <string>

#include "acquisition/status_code.h"
#include "core/settings_record.h"

namespace sundrel::core {

// config.ini in the working directory.
inline constexpr const char* kConfigPath = "./config.ini";

// Loads the record from the file. Returns ConfigurationFileError, reading
// nothing else and leaving the record as it was, when nPortLeft is missing or
// 0 (which is also what a missing file gives).
acquisition::StatusCode loadSettings(SettingsRecord& settings,
                                     const std::string& path = kConfigPath);

// Writes the saved keys in their order; dEncoder only when above 0.003 m.
// Returns false when a key could not be written.
bool saveSettings(const SettingsRecord& settings, const std::string& path = kConfigPath);

}  // namespace sundrel::core
