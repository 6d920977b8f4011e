#include "ui/qt/colours.h"

#include <QWidget>

namespace tendra {

void setTextColour(QWidget* control, ui::Rgb colour) {
    QPalette palette = control->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::WindowText, qColour(colour));
        palette.setColor(group, QPalette::ButtonText, qColour(colour));
        palette.setColor(group, QPalette::Text, qColour(colour));
    }
    control->setPalette(palette);
}

void setBackgroundColour(QWidget* widget, ui::Rgb colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, qColour(colour));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

}  // namespace tendra
