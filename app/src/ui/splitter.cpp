#include "app/ui/splitter.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSplitterHandle>

namespace sundrel::app {
namespace {

class FixedHandle : public QSplitterHandle {
public:
    using QSplitterHandle::QSplitterHandle;

protected:
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
    void mouseMoveEvent(QMouseEvent* event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent* event) override { event->accept(); }
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Highlight));
    }
};

}  // namespace

CMySpliterWnd::CMySpliterWnd(QWidget* parent) : QSplitter(Qt::Horizontal, parent) {
    setChildrenCollapsible(false);
    setHandleWidth(4);
}

QSplitterHandle* CMySpliterWnd::createHandle() {
    return new FixedHandle(orientation(), this);
}

}  // namespace sundrel::app
