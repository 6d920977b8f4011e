#include "cad/board/board_platform.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include "cad/board/board_surface.h"
#include "cad/board/board_window.h"

namespace tendra::board {

namespace {
constexpr int kGap = 8;
// Beside the main window, the board is made no narrower than this.
constexpr int kMinimumWidth = 480;
}  // namespace

QRect placeBeside(const QRect& besideThis, const QRect& available, QSize boardSize) {
    const QSize size = boardSize.boundedTo(available.size());
    const int rightRoom = available.right() - besideThis.right() - kGap;
    const int leftRoom = besideThis.left() - kGap - available.left();
    QRect placed(QPoint(0, 0), size);
    if (rightRoom >= size.width()) {
        placed.moveLeft(besideThis.right() + 1 + kGap);
    } else if (leftRoom >= size.width()) {
        placed.moveLeft(besideThis.left() - kGap - size.width());
    } else if (std::max(rightRoom, leftRoom) >= kMinimumWidth) {
        // Narrower, on the roomier side, rather than over the main window.
        if (rightRoom >= leftRoom) {
            placed = QRect(besideThis.right() + 1 + kGap, 0, rightRoom, size.height());
        } else {
            placed = QRect(available.left(), 0, leftRoom, size.height());
        }
    } else {
        placed.moveLeft(available.right() + 1 - size.width());
    }
    placed.moveTop(
        std::clamp(besideThis.top(), available.top(), available.bottom() + 1 - size.height()));
    return placed;
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
            const QRect placed = placeBeside(beside_, screen->availableGeometry(), board->size());
            // move() places the frame, as besideThis is a frame.
            board->resize(placed.size());
            board->move(placed.topLeft());
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
