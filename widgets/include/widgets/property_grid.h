#pragma once

#include <QTreeWidget>

namespace sundrel::widgets {

// A small property grid on Qt's tree view: captions in the first column,
// values in the second, groups that fold, text values and integers edited
// with a spin box.
class CMyPropertyGridCtrl : public QTreeWidget {
    Q_OBJECT
public:
    explicit CMyPropertyGridCtrl(QWidget* parent = nullptr);

    QTreeWidgetItem* addGroup(const QString& caption, QTreeWidgetItem* parent, bool expanded);
    QTreeWidgetItem* addText(QTreeWidgetItem* group, const QString& caption, const QString& value);
    QTreeWidgetItem* addInteger(QTreeWidgetItem* group, const QString& caption, int value,
                                int minimum, int maximum);

    void setText(QTreeWidgetItem* item, const QString& value);
    // Sets an integer item as the user would, announcing the change.
    void setInteger(QTreeWidgetItem* item, int value);
    int integer(QTreeWidgetItem* item) const;
    QTreeWidgetItem* find(const QString& caption, QTreeWidgetItem* under = nullptr) const;

signals:
    void propertyChanged(QTreeWidgetItem* item, int value);
};

}  // namespace sundrel::widgets
