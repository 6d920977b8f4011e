#include "ui/qt/screen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace tendra {

namespace {
QSize testScreenSize;
}

QRect screenGeometry(const QWidget* window) {
    if (!testScreenSize.isEmpty()) {
        return QRect(QPoint(0, 0), testScreenSize);
    }
    const QScreen* screen = window ? window->screen() : nullptr;
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    return screen ? screen->geometry() : QRect();
}

void setScreenSizeForTests(const QSize& size) {
    testScreenSize = size;
}

}  // namespace tendra
