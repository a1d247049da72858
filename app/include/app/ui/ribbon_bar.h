#pragma once

#include <QString>
#include <QWidget>
#include <utility>
#include <vector>

#include "core/panel.h"

class QMenu;
class QStackedWidget;
class QTabBar;
class QToolButton;

namespace sundrel::app {

// The ribbon: the application button "文件" with its menu, and the categories
// "采集", "分析", "标定" with their panels of controls, built from the ribbon
// definition. Controls are found by command id; an id that appears in two
// categories (the line settings) is one value shown twice: setting it sets
// both, and a change in either shows in the other.
class CMyMFCRibbonBar : public QWidget, public core::PanelReceiver {
    Q_OBJECT
public:
    explicit CMyMFCRibbonBar(QWidget* parent = nullptr);

    QWidget* control(int id) const;
    // Every control of an id, in category order.
    std::vector<QWidget*> controls(int id) const;
    QString text(int id) const;  // an edit's text or a combo's current item
    // An edit shows the text; a combo selects the item with exactly this
    // text, or none when no item has it. Every control of the id follows.
    void setText(int id, const QString& text);
    void setChecked(int id, bool checked);
    bool isChecked(int id) const;
    void setLookChecked(int lookId);

    int activeCategory() const;
    void activateCategory(int index);  // as the program does it: no categoryChanged
    void setMinimised(bool minimised);
    bool isMinimised() const;

    QToolButton* applicationButton() const { return applicationButton_; }
    QTabBar* categoryTabs() const { return tabs_; }

    void handlePanelMessage(const core::PanelMessage&, std::intptr_t) override {}

signals:
    void command(int id);
    void categoryChanged(int index);  // chosen by the user

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QWidget* buildCategory(int index);
    void registerControl(int id, QWidget* widget);
    void keepCopiesInStep();

    QToolButton* applicationButton_ = nullptr;
    QMenu* applicationMenu_ = nullptr;
    QMenu* lookMenu_ = nullptr;
    QTabBar* tabs_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    std::vector<std::pair<int, QWidget*>> controls_;  // in category order
};

}  // namespace sundrel::app
