#include "cad/board/board_platform.h"

#include <QDir>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <algorithm>

#include "cad/board/board_surface.h"
#include "cad/board/board_window.h"

namespace tendra::board {

namespace {
constexpr int kGap = 8;
// A strip of the screen beside the main window is used only when it is at
// least this wide (left and right of it) or this tall (above and below it).
constexpr int kMinimumWidth = 480;
constexpr int kMinimumHeight = 320;
}  // namespace

QRect placeBeside(const QRect& besideThis, const QRect& available, QSize boardSize) {
    const int rightRoom = available.right() - besideThis.right() - kGap;
    const int leftRoom = besideThis.left() - kGap - available.left();
    const int belowRoom = available.bottom() - besideThis.bottom() - kGap;
    const int aboveRoom = besideThis.top() - kGap - available.top();
    // The free strips beside the main window, each as long as the screen;
    // the widest usable one wins, the first listed on a tie.
    struct Strip {
        bool usable;
        QRect rect;
    };
    const Strip strips[] = {
        {rightRoom >= kMinimumWidth,
         QRect(besideThis.right() + 1 + kGap, available.top(), rightRoom, available.height())},
        {belowRoom >= kMinimumHeight,
         QRect(available.left(), besideThis.bottom() + 1 + kGap, available.width(), belowRoom)},
        {leftRoom >= kMinimumWidth,
         QRect(available.left(), available.top(), leftRoom, available.height())},
        {aboveRoom >= kMinimumHeight,
         QRect(available.left(), available.top(), available.width(), aboveRoom)},
    };
    const Strip* best = nullptr;
    for (const Strip& strip : strips) {
        if (strip.usable && (!best || strip.rect.width() > best->rect.width())) {
            best = &strip;
        }
    }
    if (best) {
        return best->rect;
    }
    // No room beside it: the board's own size over the screen's right part.
    const QSize size = boardSize.boundedTo(available.size());
    QRect placed(QPoint(available.right() + 1 - size.width(), 0), size);
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
    QString failure;
    if (!board) {
        board = new BoardWindow;
        window_ = board;
        if (startDrawing_.isEmpty() || !board->openFile(startDrawing_, &failure)) {
            board->openSample();
        }
        if (!failure.isEmpty()) {
            failure = QDir::toNativeSeparators(startDrawing_) + "\n" + failure;
            startDrawing_.clear();
        }
    }
    if (!beside_.isEmpty()) {
        QScreen* screen = QGuiApplication::screenAt(beside_.center());
        if (!screen) {
            screen = QGuiApplication::primaryScreen();
        }
        if (screen) {
            const QRect placed = placeBeside(beside_, screen->availableGeometry(), board->size());
            // placed is a frame: move() places the frame, resize() the inside,
            // less the frame's borders once the window system has told them.
            const QSize borders = board->frameGeometry().size() - board->size();
            board->resize(placed.size() - borders);
            board->move(placed.topLeft());
        }
    }
    if (!board->isVisible()) {
        // The caller's window keeps the keyboard; the board only appears.
        board->setAttribute(Qt::WA_ShowWithoutActivating, true);
        board->show();
        board->setAttribute(Qt::WA_ShowWithoutActivating, false);
    }
    if (!failure.isEmpty()) {
        // Said as when the board's own Open fails; the sample shows meanwhile.
        QMessageBox::critical(board, QString::fromUtf8(kBoardTitle), failure);
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
