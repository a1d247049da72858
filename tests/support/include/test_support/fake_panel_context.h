#pragma once

#include <QString>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/panel_context.h"
#include "core/panel_registry.h"

namespace sundrel::testing {

// Ribbon entries a test sets by command id.
class FakeRibbon : public core::RibbonControls {
public:
    QString text(int id) const override {
        const auto it = texts.find(id);
        return it == texts.end() ? QString() : it->second;
    }
    bool isChecked(int id) const override { return checked.count(id) != 0; }

    std::map<int, QString> texts;
    std::set<int> checked;
};

// Status texts and progress values in the order they were shown.
class RecordingStatus : public core::StatusSink {
public:
    void showStatus(const QString& text, int) override { texts.push_back(text); }
    void showReadout(const QString& text) override { readouts.push_back(text); }
    void showProgress(int percent) override { progress.push_back(percent); }

    std::vector<QString> texts;
    std::vector<QString> readouts;
    std::vector<int> progress;
};

// Everything a panel is handed, with a registry and messenger of its own, for
// creating any panel without the main window.
struct FakePanelContext {
    core::PanelRegistry registry;
    core::PanelMessenger messenger{registry};
    core::SettingsRecord settings{};
    FakeRibbon ribbon;
    core::CalibrationChoice calibration;
    RecordingStatus status;
    std::string configPath;
    core::PanelContext context{messenger, settings, ribbon, calibration, status, configPath};
};

}  // namespace sundrel::testing
