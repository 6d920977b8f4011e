// Designed colours on Qt widgets.
#pragma once

#include <QColor>
#include <QPalette>

#include "ui/design.h"

class QWidget;

namespace tendra {

inline QColor qColour(ui::Rgb rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

// The text colour of labels, check boxes and buttons, active and inactive;
// a disabled control keeps the palette's greyed text.
void setTextColour(QWidget* control, ui::Rgb colour);

// A background of its own, filled by the widget.
void setBackgroundColour(QWidget* widget, ui::Rgb colour);

}  // namespace tendra
