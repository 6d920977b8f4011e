// Fonts as designed, with stand-ins where a designed face is not installed.
#pragma once

#include <QFont>
#include <QString>

namespace tendra {

// A font whose first family is the designed one, followed by faces of about
// the same look and width, so designed captions still fit their controls:
// "Tahoma" falls back to DejaVu Sans Condensed, "Verdana" to DejaVu Sans,
// "宋体" to SimSun, Noto Serif CJK SC (a Song face like it), Noto Sans CJK SC.
QFont designedFont(const QString& family, qreal pointSize, int weight = QFont::Normal,
                   bool underline = false);

}  // namespace tendra
