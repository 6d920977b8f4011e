// Dressing Qt widgets as designed controls, from the design tables.
#pragma once

#include <QWidget>
#include <vector>

#include "ui/design.h"

namespace tendra {

// Gives a widget what its design says: objectName, caption (labels, buttons,
// check boxes, text boxes), tick, enabled state, font, text and background
// colours, tooltip, and its twips rectangle at this DPI. A label sized to
// text goes to its designed corner and takes its caption's size.
void applyDesign(QWidget* control, const ui::ControlDesign& design, double logicalDpi);

// The controls of a window that take the focus, in tab index order: the
// given widgets of the designed text boxes, check boxes and buttons.
std::vector<QWidget*> tabOrder(QWidget* window, const ui::WindowDesign& design);

// Chains the focus through these widgets in order.
void setTabOrder(const std::vector<QWidget*>& order);

// Points a window's member at its designed control, found by name.
template <class Control>
void bindDesigned(const QWidget* window, Control*& member, const char* name) {
    member = window->findChild<Control*>(QString::fromLatin1(name));
}

// The designed frame and stays-on-top state as Qt window flags.
Qt::WindowFlags windowFlags(const ui::WindowDesign& design);

}  // namespace tendra
