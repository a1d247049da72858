#include "widgets/chart_font.h"

#include <QStringList>
#include <algorithm>

namespace sundrel::widgets {

QFont ChartFont::toQFont() const {
    // Tried in order, per glyph; the CJK faces also carry Latin glyphs.
    static const QStringList fallbacks = {
        QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Source Han Sans SC"),
        QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans"),
        QStringLiteral("DejaVu Sans")};
    QStringList families;
    if (!face.isEmpty()) {
        families.append(face);
    }
    families.append(fallbacks);
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(std::max(1, sizeTenths) / 10.0);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    return font;
}

}  // namespace sundrel::widgets
