// Dressing Qt widgets as designed controls, from the design tables.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <functional>
#include <vector>

#include "ui/design.h"

namespace tendra {

// Gives a widget what its design says: objectName, caption (labels, buttons,
// check boxes, text boxes), tick, default button, a list's entries with the
// first chosen, enabled state, font, text and background
// colours, tooltip, and its twips rectangle at this DPI. A label sized to
// text goes to its designed corner and takes its caption's size.
void applyDesign(QWidget* control, const ui::ControlDesign& design, double logicalDpi);

// Makes the widget of one designed control inside parent, or null for a
// control the window makes itself (the web browser).
using WidgetMaker = std::function<QWidget*(const ui::ControlDesign& design, QWidget* parent)>;

// The plain widget of each kind: QLineEdit, QPlainTextEdit, QLabel (labels and
// pictures), QCheckBox, QPushButton, QComboBox (drop-down lists), a bare
// QWidget (lines); null for browsers and timers.
QWidget* plainWidget(const ui::ControlDesign& design, QWidget* parent);

// The picture a designed picture name stands for.
using PictureSource = std::function<QPixmap(const char* name)>;

// Builds a window's designed controls in design order, each inside its
// designed parent: the widget from make, dressed by applyDesign; a line one
// pixel high in its foreground colour; a picture from pictures, stretched
// where designed (without a source the window shows its pictures itself,
// when it needs them); a timer as a QTimer with its interval.
void buildDesignedControls(QWidget* window, const ui::WindowDesign& design, double logicalDpi,
                           const WidgetMaker& make = plainWidget,
                           const PictureSource& pictures = {});

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
