#include "widgets/property_grid.h"

#include <QFont>
#include <QHeaderView>
#include <QSpinBox>

namespace sundrel::widgets {

CMyPropertyGridCtrl::CMyPropertyGridCtrl(QWidget* parent) : QTreeWidget(parent) {
    setObjectName("propertyGrid");
    setColumnCount(2);
    setHeaderHidden(true);  // no "Property" / "Value" header row
    setRootIsDecorated(true);
    // Narrow steps leave the values room in a 280-pixel column: a kilometre
    // range such as "35km+200m--->36km+450m" must show in full.
    setIndentation(8);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header()->setStretchLastSection(true);
    // Without Microsoft YaHei, another Chinese interface face with Latin
    // letters as narrow as its own, rather than a wide default face.
    QFont face;
    face.setFamilies({QStringLiteral("Microsoft YaHei"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("Source Han Sans SC"), QStringLiteral("WenQuanYi Micro Hei")});
    face.setPointSize(10);
    setFont(face);
}

QTreeWidgetItem* CMyPropertyGridCtrl::addGroup(const QString& caption, QTreeWidgetItem* parent,
                                               bool expanded) {
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    item->setText(0, caption);
    item->setFirstColumnSpanned(true);
    QFont bold = font();
    bold.setBold(true);
    item->setFont(0, bold);
    item->setForeground(0, QColor(60, 60, 60));
    item->setExpanded(expanded);
    return item;
}

QTreeWidgetItem* CMyPropertyGridCtrl::addText(QTreeWidgetItem* group, const QString& caption,
                                              const QString& value) {
    auto* item = new QTreeWidgetItem(group, {caption, value});
    item->setForeground(0, QColor(50, 50, 50));
    item->setForeground(1, QColor(50, 50, 50));
    return item;
}

QTreeWidgetItem* CMyPropertyGridCtrl::addInteger(QTreeWidgetItem* group, const QString& caption,
                                                 int value, int minimum, int maximum) {
    auto* item = addText(group, caption, QString());
    auto* spin = new QSpinBox(this);
    spin->setRange(minimum, maximum);
    spin->setValue(value);
    spin->setFrame(false);
    setItemWidget(item, 1, spin);
    connect(spin, &QSpinBox::valueChanged, this, [this, item, spin](int changed) {
        QFont marked = item->font(1);
        marked.setBold(true);  // modified values are shown bold
        spin->setFont(marked);
        emit propertyChanged(item, changed);
    });
    return item;
}

void CMyPropertyGridCtrl::setText(QTreeWidgetItem* item, const QString& value) {
    item->setText(1, value);
}

void CMyPropertyGridCtrl::setInteger(QTreeWidgetItem* item, int value) {
    if (auto* spin = qobject_cast<QSpinBox*>(itemWidget(item, 1))) {
        spin->setValue(value);
    }
}

int CMyPropertyGridCtrl::integer(QTreeWidgetItem* item) const {
    auto* spin = qobject_cast<QSpinBox*>(itemWidget(item, 1));
    return spin ? spin->value() : 0;
}

QTreeWidgetItem* CMyPropertyGridCtrl::find(const QString& caption, QTreeWidgetItem* under) const {
    const int count = under ? under->childCount() : topLevelItemCount();
    for (int i = 0; i < count; ++i) {
        QTreeWidgetItem* child = under ? under->child(i) : topLevelItem(i);
        if (child->text(0) == caption) {
            return child;
        }
    }
    return nullptr;
}

}  // namespace sundrel::widgets
