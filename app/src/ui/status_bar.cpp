#include "app/ui/status_bar.h"

#include <QLabel>
#include <QProgressBar>
#include <QResizeEvent>
#include <algorithm>

namespace sundrel::app {

using namespace core;

QString thresholdLinesText(double greenLine, double redLine) {
    return QString::fromUtf8("绿色线表示的峰峰值为：%1mm；红色线表示的峰峰值为：%2mm。")
        .arg(greenLine, 0, 'f', 3)
        .arg(redLine, 0, 'f', 3);
}

SundrelStatusBar::SundrelStatusBar(QWidget* parent) : QStatusBar(parent) {
    setSizeGripEnabled(false);
    pane_ = new QLabel(QString::fromUtf8("系统状态"), this);
    pane_->setObjectName("statusPane");
    pane_->setFrameShape(QFrame::Panel);
    pane_->setFrameShadow(QFrame::Sunken);
    addWidget(pane_);
    information_ = new QLabel(this);
    information_->setObjectName("statusInformation");
    addWidget(information_, 1);
    progress_ = new QProgressBar(this);  // placed by hand over the right fifth
    progress_->setObjectName("statusProgress");
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    readout_ = new QLabel(this);  // placed by hand, like the progress bar
    readout_->setObjectName("statusReadout");
    readout_->setAutoFillBackground(true);
    readout_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    readout_->hide();
}

void SundrelStatusBar::setReadout(const QString& text) {
    readout_->setText(text);
    readout_->setVisible(!text.isEmpty());
    placeReadout();
}

QString SundrelStatusBar::readout() const {
    return readout_->text();
}

void SundrelStatusBar::placeReadout() {
    const int right = progress_->geometry().left() - 4;
    const int width = std::min(readout_->sizeHint().width() + 8, std::max(0, right - 120));
    readout_->setGeometry(right - width, 1, width, std::max(0, height() - 3));
    readout_->raise();
}

void SundrelStatusBar::setInformation(const QString& text) {
    information_->setText(text);
}

QString SundrelStatusBar::information() const {
    return information_->text();
}

void SundrelStatusBar::resizeEvent(QResizeEvent* event) {
    QStatusBar::resizeEvent(event);
    const int width = event->size().width();
    const int left = width * 80 / 100;
    progress_->setGeometry(left, 1, std::max(0, width - 2 - left),
                           std::max(0, event->size().height() - 3));
    information_->setMaximumWidth(std::max(0, left - pane_->width() - 12));
    progress_->raise();
    placeReadout();
}

}  // namespace sundrel::app
