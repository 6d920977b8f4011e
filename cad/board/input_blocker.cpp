#include "cad/board/input_blocker.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace tendra::board {

InputBlocker::InputBlocker(QWidget* allowed) : allowed_(allowed) {
    QCoreApplication::instance()->installEventFilter(this);
}

InputBlocker::~InputBlocker() {
    if (QCoreApplication* application = QCoreApplication::instance()) {
        application->removeEventFilter(this);
    }
}

bool InputBlocker::isInputEvent(int eventType) {
    switch (eventType) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            return true;
        default:
            return false;
    }
}

bool InputBlocker::belongsToAllowed(const QWidget* widget) const {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (w == allowed_) {
            return true;
        }
    }
    return false;
}

bool InputBlocker::eventFilter(QObject* watched, QEvent* event) {
    if (!isInputEvent(event->type()) || !watched->isWidgetType()) {
        return false;
    }
    return !belongsToAllowed(static_cast<QWidget*>(watched));
}

}  // namespace tendra::board
