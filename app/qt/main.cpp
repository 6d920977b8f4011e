// Tendra's start-up on Linux: the main window, and the built-in drawing board
// it works with (or no CAD at all in a build without the board).
#include <QApplication>
#include <QWindow>
#include <functional>

#include "app/qt/form1.h"

#if defined(TENDRA_WITH_BOARD)
#include "cad/board/board_platform.h"
#else
#include "cad/no_cad.h"
#endif

namespace {

// Runs an action once, when a window is first on the screen.
class FirstExposure : public QObject {
  public:
    FirstExposure(QWindow* window, std::function<void()> action)
        : QObject(window), action_(std::move(action)) {
        window->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            watched->removeEventFilter(this);
            // After the exposure has been handled and the window painted.
            QMetaObject::invokeMethod(this, action_, Qt::QueuedConnection);
        }
        return false;
    }

  private:
    std::function<void()> action_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tendra"));
    QApplication::setApplicationVersion(QStringLiteral("2.0"));

#if defined(TENDRA_WITH_BOARD)
    tendra::board::BoardPlatform platform;
    // `tendra drawing.dxf` opens that drawing on the board instead of the sample.
    const QStringList arguments = QApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (!arguments[i].startsWith('-')) {
            platform.setStartDrawing(arguments[i]);
            break;
        }
    }
#else
    tendra::cad::NoCadPlatform platform;
#endif
    tendra::Form1 form(platform);
    form.show();
    // The focus starts in the output box, which needs the window to be active.
    form.activateWindow();
#if defined(TENDRA_WITH_BOARD)
    // The board comes up beside the main window with its drawing, as
    // if the CAD were already running: once the main window is on the
    // screen, so that loading the drawing does not hold the main window back.
    new FirstExposure(form.windowHandle(), [&platform, &form] {
        platform.openBoard(form.frameGeometry());
        // Without a window manager the stays-on-top hint does nothing, and
        // the board, shown last, would cover the main window.
        form.raise();
    });
#endif
    return app.exec();
}
