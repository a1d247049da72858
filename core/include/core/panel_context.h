#pragma once

#include <QString>
#include <string>

#include "core/calibration_choice.h"
#include "core/panel_messenger.h"
#include "core/settings_record.h"

namespace sundrel::core {

// What the ribbon shows, read by command id. Panels read the operator's
// entries through it and never change them.
class RibbonControls {
public:
    virtual ~RibbonControls() = default;
    // An edit's text or a combo's current item; empty for an unknown id.
    virtual QString text(int id) const = 0;
    virtual bool isChecked(int id) const = 0;

protected:
    RibbonControls() = default;
    RibbonControls(const RibbonControls&) = default;
    RibbonControls& operator=(const RibbonControls&) = default;
};

// Where panels tell the operator what is going on: the status bar's text and
// its progress bar.
class StatusSink {
public:
    virtual ~StatusSink() = default;
    // timeoutMs 0: the status bar's information text, until the next one;
    // otherwise a message over the status bar for that long.
    virtual void showStatus(const QString& text, int timeoutMs = 0) = 0;
    virtual void showProgress(int percent) = 0;  // 0..100
    // A reading under the cursor (position and values), shown beside the
    // progress bar and not hidden by messages; an empty text removes it.
    // Sinks without such a place ignore it.
    virtual void showReadout(const QString& text) { static_cast<void>(text); }

protected:
    StatusSink() = default;
    StatusSink(const StatusSink&) = default;
    StatusSink& operator=(const StatusSink&) = default;
};

// Everything a panel or view is handed when it is created, instead of
// reaching for the main window: the messenger (and through it the registry),
// the program's settings record, the ribbon's entries, the calibration side
// and sensor chosen on the ribbon, the status bar, and the settings file. The objects outlive
// every panel (the main window owns them).
struct PanelContext {
    PanelMessenger& messenger;
    SettingsRecord& settings;
    const RibbonControls& ribbon;
    const CalibrationChoice& calibration;
    StatusSink& status;
    const std::string& configPath;  // config.ini: the settings, and [PORT_DEVICES]
};

}  // namespace sundrel::core
