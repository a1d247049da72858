#pragma once

#include <QFont>
#include <QString>

namespace sundrel::widgets {

// A font as the views give it: face name, size in tenths of a point (120 is
// 12 pt, > 0), bold, italic, underline. Faces that are not installed (the
// views ask for "微软雅黑") fall back to an installed CJK sans-serif face, so
// Chinese titles always have glyphs.
struct ChartFont {
    QString face;
    int sizeTenths = 100;
    bool bold = false;
    bool italic = false;
    bool underline = false;

    QFont toQFont() const;
};

}  // namespace sundrel::widgets
