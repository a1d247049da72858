#pragma once

#include <QSplitter>

#include "app/panel.h"

namespace sundrel::app {

// The splitter between the control column and the pages: its bar cannot be
// dragged and is painted in the highlight colour.
class CMySpliterWnd : public QSplitter, public PanelReceiver {
    Q_OBJECT
public:
    explicit CMySpliterWnd(QWidget* parent = nullptr);
    void handlePanelMessage(const PanelMessage&, std::intptr_t) override {}

protected:
    QSplitterHandle* createHandle() override;
};

}  // namespace sundrel::app
