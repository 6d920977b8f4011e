#include "windows/fonts.h"

#include <QStringList>

namespace tendra {

namespace {

QStringList standIns(const QString& family) {
    // Tahoma is narrower than Verdana; DejaVu Sans has Verdana's widths.
    if (family == QStringLiteral("Tahoma")) {
        return {QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans")};
    }
    if (family == QStringLiteral("Verdana")) {
        return {QStringLiteral("DejaVu Sans")};
    }
    if (family == QStringLiteral("宋体")) {
        return {QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"),
                QStringLiteral("Noto Sans CJK SC")};
    }
    return {};
}

}  // namespace

QFont designedFont(const QString& family, qreal pointSize, int weight, bool underline) {
    QFont font;
    font.setFamilies(QStringList{family} + standIns(family));
    font.setPointSizeF(pointSize);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setUnderline(underline);
    return font;
}

}  // namespace tendra
