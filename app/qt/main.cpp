// Tendra's start-up: the main window, and the CAD it works with.
#include <QApplication>

#include "app/qt/form1.h"

#if defined(TENDRA_WITH_BOARD)
#include "cad/board/board_platform.h"
#elif defined(TENDRA_WITH_COM)
#include "cad/com/com_platform.h"
#else
#include "cad/no_cad.h"
#endif

int main(int argc, char** argv) {
    // The promotion windows' web view shares OpenGL contexts with the widgets.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tendra"));
    QApplication::setApplicationVersion(QStringLiteral("2.0"));

#if defined(TENDRA_WITH_BOARD)
    tendra::board::BoardPlatform platform;
#elif defined(TENDRA_WITH_COM)
    // COM on this, the UI thread, from before the first AutoCAD reference
    // until after the last: Form1, made below, goes first.
    tendra::cad::com::ComApartment apartment;
    tendra::cad::com::ComPlatform platform;
#else
    tendra::cad::NoCadPlatform platform;
#endif
    tendra::Form1 form(platform);
    form.show();
    // The focus starts in the output box, which needs the window to be active.
    form.activateWindow();
#if defined(TENDRA_WITH_BOARD)
    // The board comes up beside the main window with the sample drawing, as
    // if the CAD were already running.
    platform.openBoard(form.frameGeometry());
    // Without a window manager the stays-on-top hint does nothing, and the
    // board, shown last, would cover the main window.
    form.raise();
#endif
    return app.exec();
}
