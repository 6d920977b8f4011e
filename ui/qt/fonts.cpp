#include "ui/qt/fonts.h"

#include <QStringList>

#include "ui/fonts.h"

namespace tendra {

QFont designedFont(const QString& family, qreal pointSize, int weight, bool underline) {
    QStringList families{family};
    const QByteArray name = family.toUtf8();
    for (const char* face : ui::standInFaces(std::string_view(name.constData(), name.size()))) {
        families << QString::fromUtf8(face);
    }
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(pointSize);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setUnderline(underline);
    return font;
}

QFont designedFont(const ui::FontDesign& design) {
    return designedFont(QString::fromUtf8(design.family), design.pointSize, design.weight,
                        design.underline);
}

}  // namespace tendra
