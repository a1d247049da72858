#pragma once

#include <QStatusBar>

#include "core/panel.h"

class QLabel;
class QProgressBar;

namespace sundrel::app {

// The status bar: the pane "系统状态", an information text, and a progress bar
// over the right fifth.
class SundrelStatusBar : public QStatusBar, public core::PanelReceiver {
    Q_OBJECT
public:
    explicit SundrelStatusBar(QWidget* parent = nullptr);

    void setInformation(const QString& text);
    QString information() const;
    QProgressBar* progressBar() const { return progress_; }
    // Left of the progress bar, over any message; hidden when empty.
    void setReadout(const QString& text);
    QString readout() const;
    void handlePanelMessage(const core::PanelMessage&, std::intptr_t) override {}

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* pane_;
    QLabel* information_;
    QProgressBar* progress_;
    QLabel* readout_;
    void placeReadout();
};

// "绿色线表示的峰峰值为：%.3fmm；红色线表示的峰峰值为：%.3fmm。"
QString thresholdLinesText(double greenLine, double redLine);

}  // namespace sundrel::app
