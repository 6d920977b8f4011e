// Designed fonts as Qt fonts, with stand-ins where a designed face is not
// installed.
#pragma once

#include <QFont>
#include <QString>

#include "ui/design.h"

namespace tendra {

// A font whose first family is the designed one, followed by its stand-ins
// (ui::standInFaces).
QFont designedFont(const QString& family, qreal pointSize, int weight = QFont::Normal,
                   bool underline = false);
QFont designedFont(const ui::FontDesign& design);

}  // namespace tendra
