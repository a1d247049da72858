#pragma once

#include <QMainWindow>
#include <QString>

#include "core/calibration_choice.h"
#include "core/panel.h"
#include "core/panel_context.h"
#include "core/panel_messenger.h"
#include "core/settings_file.h"
#include "core/settings_record.h"

namespace sundrel::app {

class CMyMFCRibbonBar;
class CMySpliterWnd;
class CRightView;
class CSundrelView;
class SundrelStatusBar;

// The main window: ribbon, status bar, and the splitter with the control
// column and the pages. Loads the settings before it shows and saves them
// when it is destroyed; keeps the ribbon category, the pages' tab and the
// control column on the same activity.
class CMainFrame : public QMainWindow,
                   public core::PanelReceiver,
                   public core::RibbonControls,
                   public core::StatusSink {
    Q_OBJECT
public:
    // Without a file at `configPath`, the settings at `defaultConfigPath` (the
    // ones shipped with the program, when given) are copied there first.
    explicit CMainFrame(core::PanelMessenger& messenger, std::string configPath = core::kConfigPath,
                        const std::string& defaultConfigPath = {}, QWidget* parent = nullptr);
    ~CMainFrame() override;

    core::SettingsRecord& settings() { return settings_; }
    const core::CalibrationChoice& calibrationChoice() const { return calibration_; }
    CMyMFCRibbonBar* ribbon() const { return ribbon_; }
    // What every panel is handed when it is created.
    const core::PanelContext& panelContext() const { return context_; }
    SundrelStatusBar* statusBarWidget() const { return statusBar_; }
    CMySpliterWnd* splitter() const { return splitter_; }
    CSundrelView* leftView() const { return leftView_; }
    CRightView* rightView() const { return rightView_; }

    // Applies a look (205..219); from the third call on, the panels are told
    // its colour (code 2).
    void applicationLook(int lookId);
    int currentLookId() const { return look_; }

    // What the user does on the ribbon.
    void onCommand(int id);
    void onCategoryChanged(int index);

    // Shows an activity (0 acquisition, 1 analysis, 2 calibration) as the
    // operator's choice of its ribbon category would.
    void showActivity(int index);
    // Analyses a recording as the open command does after its dialog, and
    // shows it: the analysis activity with the raw waveform in front.
    void openRecording(const QString& path);
    // The analysis tab of that letter ("A", "C" .. "I") in front; false for
    // a letter without a tab.
    bool showAnalysisTab(QChar letter);
    // The distances fromMetres..toMetres across every waveform view.
    void showAnalysisRange(double fromMetres, double toMetres);

    void handlePanelMessage(const core::PanelMessage& message, std::intptr_t lparam) override;

    // The ribbon and the status bar as the panels see them.
    QString text(int id) const override;
    bool isChecked(int id) const override;
    void showStatus(const QString& text, int timeoutMs = 0) override;
    void showProgress(int percent) override;
    void showReadout(const QString& text) override;

    static constexpr int kLeftColumnWidth = 280;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void fillRibbonFromSettings();
    void showPortDevices();
    void showCalibrationChoice();
    void checkWheelAndEncoder();
    void selectStorageFolder();
    void showAbout();
    void sendToPanel(core::PanelSlot slot, core::PanelCode code);

    core::PanelMessenger& messenger_;
    std::string configPath_;
    core::SettingsFile settingsFile_;
    core::SettingsRecord settings_{};
    core::CalibrationChoice calibration_;
    core::PanelContext context_;
    int look_;
    int lookCalls_ = 0;
    QString pendingStatus_;  // for the status bar, once the window shows
    static constexpr int kStartMessageMs = 30000;
    CMyMFCRibbonBar* ribbon_ = nullptr;
    SundrelStatusBar* statusBar_ = nullptr;
    CMySpliterWnd* splitter_ = nullptr;
    CSundrelView* leftView_ = nullptr;
    CRightView* rightView_ = nullptr;
};

// The settings shipped with the program: share/sundrel/config.ini beside the
// executable's folder (an installed or a built program), else where the
// program is installed. Empty when there is none.
std::string defaultConfigPath();

// What the status bar says after a first start has copied the default settings.
inline constexpr const char* kDefaultConfigCreatedText = "已创建默认配置文件 config.ini";

// The look stored for the user ("Tavik_OEM", value "ApplicationLook").
int storedLook();
void storeLook(int lookId);

}  // namespace sundrel::app
