#include "cad/board/board_platform.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include "cad/board/board_surface.h"
#include "cad/board/board_window.h"

namespace tendra::board {

namespace {
constexpr int kGap = 8;
}  // namespace

QRect placeBeside(const QRect& besideThis, const QRect& available, QSize boardSize) {
    QSize size = boardSize.boundedTo(available.size());
    int left;
    if (besideThis.right() + kGap + size.width() <= available.right()) {
        left = besideThis.right() + 1 + kGap;
    } else if (besideThis.left() - kGap - size.width() >= available.left()) {
        left = besideThis.left() - kGap - size.width();
    } else {
        left = available.right() + 1 - size.width();
    }
    const int top =
        std::clamp(besideThis.top(), available.top(), available.bottom() + 1 - size.height());
    return QRect(QPoint(left, top), size);
}

BoardPlatform::BoardPlatform() = default;

BoardPlatform::~BoardPlatform() {
    delete window_.data();
}

BoardWindow* BoardPlatform::window() const {
    return window_ && !window_->isClosed() ? window_.data() : nullptr;
}

BoardWindow* BoardPlatform::openBoard(const QRect& besideThis) {
    if (!besideThis.isEmpty()) {
        beside_ = besideThis;
    }
    BoardWindow* board = window();
    if (!board) {
        board = new BoardWindow;
        window_ = board;
        board->openSample();
    }
    if (!beside_.isEmpty()) {
        QScreen* screen = QGuiApplication::screenAt(beside_.center());
        if (!screen) {
            screen = QGuiApplication::primaryScreen();
        }
        if (screen) {
            board->setGeometry(placeBeside(beside_, screen->availableGeometry(), board->size()));
        }
    }
    if (!board->isVisible()) {
        // The caller's window keeps the keyboard; the board only appears.
        board->setAttribute(Qt::WA_ShowWithoutActivating, true);
        board->show();
        board->setAttribute(Qt::WA_ShowWithoutActivating, false);
    }
    return board;
}

cad::ApplicationPtr BoardPlatform::getRunningObject(const std::string&) {
    BoardWindow* board = window();
    if (!board) {
        throw cad::CadError(kNotRunning, "操作无法使用");
    }
    return std::make_shared<BoardApplication>(board);
}

cad::ApplicationPtr BoardPlatform::createObject(const std::string&) {
    BoardWindow* board = openBoard();
    board->show();
    return std::make_shared<BoardApplication>(board);
}

void BoardPlatform::activateWindow(const std::string& title) {
    BoardWindow* board = window();
    if (board && board->windowTitle().toStdString() == title) {
        if (board->isMinimized()) {
            board->showNormal();
        }
        board->raise();
        board->activateWindow();
    }
}

}  // namespace tendra::board
