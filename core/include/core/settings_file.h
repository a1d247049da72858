#pragma once

#include <set>
#include <string>

#include "acquisition/status_code.h"
#include "core/settings_record.h"

namespace sundrel::core {

// config.ini in the working directory.
inline constexpr const char* kConfigPath = "./config.ini";

// Port numbers a record holds when the file gives none (or 0): COM1 for the
// left sensor box, COM2 for the right one.
inline constexpr std::int32_t kDefaultPortLeft = 1;
inline constexpr std::int32_t kDefaultPortRight = 2;

// config.ini as the program keeps it: loaded once, saved at exit and after
// every accepted wheel and encoder setting.
//
// A save writes a key only when the file held it at the load or the
// program's value differs from the one the load left, so that a key the
// program never knew (a file it could not read, a key missing from it) is
// never overwritten with a value nobody chose. A save before any load writes
// every saved key.
class SettingsFile {
public:
    explicit SettingsFile(std::string path = kConfigPath);

    const std::string& path() const { return path_; }

    // Reads every key the file holds into the record; a missing key leaves
    // its field as it was. A missing or zero port number becomes
    // kDefaultPortLeft / kDefaultPortRight. Returns ConfigurationFileError when
    // the file gives no nPortLeft other than 0 (also when there is no file),
    // Success otherwise.
    acquisition::StatusCode load(SettingsRecord& settings);

    // Writes the saved keys in their order, all in one replacement of the
    // file; dEncoder only when above 0.003 m. Returns false when the file
    // could not be written (it is then left as it was).
    bool save(const SettingsRecord& settings);

private:
    std::string path_;
    bool loaded_ = false;
    SettingsRecord asLoaded_{};      // the record as the file left it
    std::set<std::string> written_;  // keys the file held at the load or a save wrote
};

// A first start: copies the settings shipped with the program (`defaultPath`)
// to `path` when no file is there. Returns true when it made the copy; false
// when a file was there already, the default could not be read or the copy
// could not be written (nothing is left at `path` then).
bool copyDefaultSettings(const std::string& defaultPath, const std::string& path = kConfigPath);

// One load or one save through a SettingsFile of its own (a save then writes
// every saved key).
acquisition::StatusCode loadSettings(SettingsRecord& settings,
                                     const std::string& path = kConfigPath);
bool saveSettings(const SettingsRecord& settings, const std::string& path = kConfigPath);

}  // namespace sundrel::core
