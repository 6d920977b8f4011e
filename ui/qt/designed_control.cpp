#include "ui/qt/designed_control.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "ui/qt/colours.h"
#include "ui/qt/fonts.h"
#include "ui/qt/twips.h"

namespace tendra {

namespace {

bool takesFocus(ui::ControlKind kind) {
    switch (kind) {
        case ui::ControlKind::TextBox:
        case ui::ControlKind::MultiLineTextBox:
        case ui::ControlKind::CheckBox:
        case ui::ControlKind::PushButton:
        case ui::ControlKind::DropDownList:
            return true;
        default:
            return false;
    }
}

}  // namespace

void applyDesign(QWidget* control, const ui::ControlDesign& design, double logicalDpi) {
    control->setObjectName(QString::fromUtf8(design.name));
    const QString caption = QString::fromUtf8(design.caption);
    if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(caption);
        label->setWordWrap(design.wordWrap);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(caption);
    } else if (auto* line = qobject_cast<QLineEdit*>(control)) {
        line->setText(caption);
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(control)) {
        text->setPlainText(caption);
    }
    if (auto* box = qobject_cast<QCheckBox*>(control)) {
        box->setChecked(design.ticked);
    }
    if (auto* button = qobject_cast<QPushButton*>(control)) {
        button->setDefault(design.defaultButton);
    }
    if (auto* list = qobject_cast<QComboBox*>(control)) {
        list->clear();
        for (const char* item : design.items) {
            list->addItem(QString::fromUtf8(item));
        }
        list->setCurrentIndex(design.items.empty() ? -1 : 0);
    }
    control->setEnabled(design.enabled);
    if (design.font) {
        control->setFont(designedFont(*design.font));
    }
    if (design.foreground) {
        setTextColour(control, *design.foreground);
    }
    if (design.background) {
        setBackgroundColour(control, *design.background);
    }
    if (design.tooltip) {
        control->setToolTip(QString::fromUtf8(design.tooltip));
    }
    if (design.sizedToText) {
        const QRect corner = twipsRect(design.rect, logicalDpi);
        control->move(corner.topLeft());
        control->adjustSize();
    } else {
        control->setGeometry(twipsRect(design.rect, logicalDpi));
    }
}

QWidget* plainWidget(const ui::ControlDesign& design, QWidget* parent) {
    switch (design.kind) {
        case ui::ControlKind::TextBox:
            return new QLineEdit(parent);
        case ui::ControlKind::MultiLineTextBox:
            return new QPlainTextEdit(parent);
        case ui::ControlKind::Label:
        case ui::ControlKind::Picture:
            return new QLabel(parent);
        case ui::ControlKind::CheckBox:
            return new QCheckBox(parent);
        case ui::ControlKind::PushButton:
            return new QPushButton(parent);
        case ui::ControlKind::DropDownList:
            return new QComboBox(parent);
        case ui::ControlKind::Line:
            return new QWidget(parent);
        case ui::ControlKind::Browser:
        case ui::ControlKind::Timer:
            return nullptr;
    }
    return nullptr;
}

void buildDesignedControls(QWidget* window, const ui::WindowDesign& design, double logicalDpi,
                           const WidgetMaker& make, const PictureSource& pictures) {
    for (const ui::ControlDesign& control : design.controls) {
        if (control.kind == ui::ControlKind::Timer) {
            auto* timer = new QTimer(window);
            timer->setObjectName(QString::fromUtf8(control.name));
            timer->setInterval(control.interval);
            continue;
        }
        QWidget* parent = window;
        if (control.parent) {
            parent = window->findChild<QWidget*>(QString::fromUtf8(control.parent));
        }
        QWidget* widget = make(control, parent);
        if (!widget) {
            continue;
        }
        applyDesign(widget, control, logicalDpi);
        if (control.kind == ui::ControlKind::Line) {
            // One pixel high whatever the resolution, along its designed top.
            const QRect ends = twipsRect(control.rect, logicalDpi);
            widget->setGeometry(ends.left(), ends.top(), ends.width(), 1);
            if (control.foreground) {
                setBackgroundColour(widget, *control.foreground);
            }
        }
        // After applyDesign: a label's caption replaces its picture.
        if (auto* label = qobject_cast<QLabel*>(widget); label && control.picture && pictures) {
            label->setPixmap(pictures(control.picture));
            label->setScaledContents(control.stretched);
        }
    }
}

std::vector<QWidget*> tabOrder(QWidget* window, const ui::WindowDesign& design) {
    std::vector<const ui::ControlDesign*> focusable;
    for (const ui::ControlDesign& control : design.controls) {
        if (takesFocus(control.kind) && control.tabIndex >= 0) {
            focusable.push_back(&control);
        }
    }
    std::stable_sort(focusable.begin(), focusable.end(),
                     [](auto* a, auto* b) { return a->tabIndex < b->tabIndex; });
    std::vector<QWidget*> order;
    for (const ui::ControlDesign* control : focusable) {
        if (auto* widget = window->findChild<QWidget*>(QString::fromUtf8(control->name))) {
            order.push_back(widget);
        }
    }
    return order;
}

void setTabOrder(const std::vector<QWidget*>& order) {
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

Qt::WindowFlags windowFlags(const ui::WindowDesign& design) {
    Qt::WindowFlags flags = Qt::Window;
    switch (design.frame) {
        case ui::Frame::FixedSingle:
            flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                     Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                     Qt::MSWindowsFixedSizeDialogHint;
            break;
        case ui::Frame::FixedDialog:
            flags = Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                    Qt::WindowCloseButtonHint;
            break;
        case ui::Frame::None:
            flags |= Qt::FramelessWindowHint;
            break;
    }
    if (design.topmost) {
        flags |= Qt::WindowStaysOnTopHint;
    }
    return flags;
}

}  // namespace tendra
