#pragma once

#include <QSplitter>

#include "core/panel.h"

namespace sundrel::app {

// The splitter between the control column and the pages: its bar cannot be
// dragged and is painted in the highlight colour.
class CMySpliterWnd : public QSplitter, public core::PanelReceiver {
    Q_OBJECT
public:
    explicit CMySpliterWnd(QWidget* parent = nullptr);
    void handlePanelMessage(const core::PanelMessage&, std::intptr_t) override {}

protected:
    QSplitterHandle* createHandle() override;
};

}  // namespace sundrel::app
