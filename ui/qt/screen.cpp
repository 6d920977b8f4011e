#include "ui/qt/screen.h"

#include <QGuiApplication>
#include <QScreen>

namespace tendra {

namespace {
QSize testScreenSize;
}

QSize screenSize() {
    if (!testScreenSize.isEmpty()) {
        return testScreenSize;
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize();
}

void setScreenSizeForTests(const QSize& size) {
    testScreenSize = size;
}

}  // namespace tendra
