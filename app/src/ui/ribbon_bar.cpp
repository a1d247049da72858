#include "app/ui/ribbon_bar.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/ribbon_definition.h"
#include "core/look_table.h"
#include "core/ribbon_ids.h"

namespace sundrel::app {

using namespace core;
namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

CMyMFCRibbonBar::CMyMFCRibbonBar(QWidget* parent) : QWidget(parent) {
    setObjectName("ribbon");
    setAttribute(Qt::WA_StyledBackground);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* top = new QHBoxLayout;
    top->setContentsMargins(4, 2, 4, 0);
    applicationButton_ = new QToolButton(this);
    applicationButton_->setObjectName("applicationButton");
    applicationButton_->setText(QString::fromUtf8(kApplicationButtonLabel));
    applicationButton_->setPopupMode(QToolButton::InstantPopup);
    applicationMenu_ = new QMenu(this);
    for (const ApplicationMenuItem& item : applicationMenu()) {
        if (item.id == ID_APP_ABOUT) {
            lookMenu_ = applicationMenu_->addMenu(QString::fromUtf8(kLookMenuLabel));
            auto* looks = new QActionGroup(lookMenu_);
            for (const LookMenuItem& look : kLookMenu) {
                QAction* action = lookMenu_->addAction(QString::fromUtf8(look.label));
                action->setCheckable(true);
                action->setData(look.id);
                looks->addAction(action);
                connect(action, &QAction::triggered, this,
                        [this, id = look.id] { emit command(id); });
            }
        }
        QAction* action = applicationMenu_->addAction(qs(item.label));
        connect(action, &QAction::triggered, this, [this, id = item.id] { emit command(id); });
    }
    applicationButton_->setMenu(applicationMenu_);
    top->addWidget(applicationButton_);

    tabs_ = new QTabBar(this);
    tabs_->setObjectName("categoryTabs");
    tabs_->setDrawBase(false);
    top->addWidget(tabs_);
    top->addStretch(1);
    layout->addLayout(top);

    pages_ = new QStackedWidget(this);
    pages_->setObjectName("categoryPages");
    const auto& categories = ribbonCategories();
    for (int i = 0; i < static_cast<int>(categories.size()); ++i) {
        tabs_->addTab(qs(categories[static_cast<std::size_t>(i)].title));
        pages_->addWidget(buildCategory(i));
    }
    layout->addWidget(pages_);
    keepCopiesInStep();

    // Every way the user changes the category (a click, the mouse wheel, the
    // arrow keys) moves the tab; the page and the rest of the window follow.
    connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0 && index != activeCategory()) {
            pages_->setCurrentIndex(index);
            emit categoryChanged(index);
        }
    });
    connect(tabs_, &QTabBar::tabBarDoubleClicked, this,
            [this](int) { setMinimised(!isMinimised()); });
}

QWidget* CMyMFCRibbonBar::buildCategory(int index) {
    const RibbonCategoryDef& category = ribbonCategories()[static_cast<std::size_t>(index)];
    auto* page = new QWidget;
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(4, 4, 4, 4);
    row->setSpacing(6);
    for (const RibbonPanelDef& panelDef : category.panels) {
        auto* panel = new QFrame(page);
        panel->setObjectName("ribbonPanel");
        panel->setFrameShape(QFrame::StyledPanel);
        auto* panelLayout = new QVBoxLayout(panel);
        panelLayout->setContentsMargins(6, 4, 6, 2);
        auto* grid = new QGridLayout;
        grid->setHorizontalSpacing(6);
        grid->setVerticalSpacing(3);
        int slot = 0;
        for (const RibbonControlDef& def : panelDef.controls) {
            const int rowIndex = slot % panelDef.rows;
            const int column = (slot / panelDef.rows) * 2;
            QWidget* widget = nullptr;
            switch (def.kind) {
                case RibbonControlKind::Button: {
                    auto* button = new QToolButton(panel);
                    button->setText(qs(def.label));
                    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
                    connect(button, &QToolButton::clicked, this,
                            [this, id = def.id] { emit command(id); });
                    widget = button;
                    grid->addWidget(button, rowIndex, column, 1, 2);
                    break;
                }
                case RibbonControlKind::MenuButton: {
                    auto* button = new QToolButton(panel);
                    button->setText(qs(def.label));
                    button->setPopupMode(QToolButton::MenuButtonPopup);
                    auto* menu = new QMenu(button);
                    for (std::size_t i = 0; i < def.items.size(); ++i) {
                        QAction* action = menu->addAction(qs(def.items[i]));
                        connect(action, &QAction::triggered, this,
                                [this, id = def.itemIds[i]] { emit command(id); });
                    }
                    button->setMenu(menu);
                    connect(button, &QToolButton::clicked, this,
                            [this, id = def.id] { emit command(id); });
                    widget = button;
                    grid->addWidget(button, rowIndex, column, 1, 2);
                    break;
                }
                case RibbonControlKind::Check: {
                    auto* box = new QCheckBox(qs(def.label), panel);
                    connect(box, &QCheckBox::clicked, this,
                            [this, id = def.id] { emit command(id); });
                    widget = box;
                    grid->addWidget(box, rowIndex, column, 1, 2);
                    break;
                }
                case RibbonControlKind::Combo: {
                    auto* box = new QComboBox(panel);
                    for (const std::string& item : def.items) {
                        box->addItem(qs(item));
                    }
                    box->setCurrentIndex(
                        def.defaultText.empty() ? -1 : box->findText(qs(def.defaultText)));
                    box->setMinimumWidth(90);
                    widget = box;
                    grid->addWidget(new QLabel(qs(def.label), panel), rowIndex, column);
                    grid->addWidget(box, rowIndex, column + 1);
                    break;
                }
                case RibbonControlKind::Edit: {
                    auto* edit = new QLineEdit(qs(def.defaultText), panel);
                    edit->setMinimumWidth(110);
                    widget = edit;
                    grid->addWidget(new QLabel(qs(def.label), panel), rowIndex, column);
                    grid->addWidget(edit, rowIndex, column + 1);
                    break;
                }
            }
            registerControl(def.id, widget);
            ++slot;
        }
        panelLayout->addLayout(grid);
        panelLayout->addStretch(1);
        auto* title = new QLabel(qs(panelDef.title), panel);
        title->setObjectName("ribbonPanelTitle");
        title->setAlignment(Qt::AlignHCenter);
        panelLayout->addWidget(title);
        row->addWidget(panel);
    }
    row->addStretch(1);
    return page;
}

void CMyMFCRibbonBar::keepCopiesInStep() {
    for (const auto& [id, widget] : controls_) {
        if (widget != control(id)) {
            continue;  // each id once, from its first control
        }
        const std::vector<QWidget*> copies = controls(id);
        if (copies.size() < 2) {
            continue;
        }
        // A change in any copy, by the operator or the program, shows in all.
        for (QWidget* copy : copies) {
            if (auto* box = qobject_cast<QComboBox*>(copy)) {
                connect(box, &QComboBox::currentIndexChanged, this, [this, id = id, box] {
                    setText(id, box->currentIndex() >= 0 ? box->currentText() : QString());
                });
            } else if (auto* edit = qobject_cast<QLineEdit*>(copy)) {
                connect(edit, &QLineEdit::textChanged, this,
                        [this, id = id](const QString& text) { setText(id, text); });
            }
        }
        setText(id, text(id));  // the copies start from the first one's value
    }
}

void CMyMFCRibbonBar::registerControl(int id, QWidget* widget) {
    if (id != 0) {
        widget->setProperty("commandId", id);
        controls_.emplace_back(id, widget);
    }
}

QWidget* CMyMFCRibbonBar::control(int id) const {
    for (const auto& [controlId, widget] : controls_) {
        if (controlId == id) {
            return widget;
        }
    }
    return nullptr;
}

std::vector<QWidget*> CMyMFCRibbonBar::controls(int id) const {
    std::vector<QWidget*> found;
    for (const auto& [controlId, widget] : controls_) {
        if (controlId == id) {
            found.push_back(widget);
        }
    }
    return found;
}

QString CMyMFCRibbonBar::text(int id) const {
    QWidget* widget = control(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        return edit->text();
    }
    if (auto* box = qobject_cast<QComboBox*>(widget)) {
        return box->currentIndex() >= 0 ? box->currentText() : QString();
    }
    return {};
}

void CMyMFCRibbonBar::setText(int id, const QString& text) {
    for (const auto& [controlId, widget] : controls_) {
        if (controlId != id) {
            continue;
        }
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            if (edit->text() != text) {
                edit->setText(text);
            }
        } else if (auto* box = qobject_cast<QComboBox*>(widget)) {
            const int index = box->findText(text, Qt::MatchExactly);
            if (box->currentIndex() != index) {
                box->setCurrentIndex(index);
            }
        }
    }
}

void CMyMFCRibbonBar::setChecked(int id, bool checked) {
    if (auto* box = qobject_cast<QCheckBox*>(control(id))) {
        box->setChecked(checked);
    }
}

bool CMyMFCRibbonBar::isChecked(int id) const {
    auto* box = qobject_cast<QCheckBox*>(control(id));
    return box != nullptr && box->isChecked();
}

void CMyMFCRibbonBar::setLookChecked(int lookId) {
    for (QAction* action : lookMenu_->actions()) {
        action->setChecked(action->data().toInt() == lookId);
    }
}

int CMyMFCRibbonBar::activeCategory() const {
    return pages_->currentIndex();
}

void CMyMFCRibbonBar::activateCategory(int index) {
    if (index < 0 || index >= pages_->count()) {
        return;
    }
    const QSignalBlocker quiet(tabs_);  // the program's own change is not the user's
    tabs_->setCurrentIndex(index);
    pages_->setCurrentIndex(index);
}

void CMyMFCRibbonBar::setMinimised(bool minimised) {
    pages_->setVisible(!minimised);
}

bool CMyMFCRibbonBar::isMinimised() const {
    return pages_->isHidden();
}

void CMyMFCRibbonBar::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();  // the ribbon has no context menu
}

}  // namespace sundrel::app
