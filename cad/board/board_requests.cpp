#include "cad/board/board_requests.h"

#include <QPointer>

#include "cad/board/board_request.h"
#include "cad/board/board_window.h"
#include "cad/board/input_blocker.h"

namespace tendra::board {

namespace {

// Runs the request to its end. The window may be deleted while the loop runs
// (the user closed it), so it is only touched again through a guard.
void run(BoardWindow& window, PendingRequest& request, const QString& prompt) {
    QPointer<BoardWindow> guard(&window);
    window.beginRequest(request, prompt);
    {
        InputBlocker blocker(&window);
        request.loop.exec();
    }
    if (guard) {
        guard->endRequest(request);
    }
    switch (request.outcome) {
        case PendingRequest::Outcome::Answered:
        case PendingRequest::Outcome::Cancelled:
            return;
        case PendingRequest::Outcome::Ended:
            throw cad::CadError(cad::kEFail, "用户结束了输入");
        case PendingRequest::Outcome::Failed:
            throw cad::CadError(kDisconnected, "绘图板已关闭或图形已更换");
        case PendingRequest::Outcome::Waiting:
            break;
    }
    throw cad::CadError(kDisconnected, "程序正在退出");
}

}  // namespace

cad::Point requestPoint(BoardWindow& window, const std::string& prompt) {
    PendingRequest request(PendingRequest::Kind::Point);
    run(window, request, QString::fromStdString(prompt));
    return request.point;
}

std::vector<EntityId> requestSelection(BoardWindow& window) {
    PendingRequest request(PendingRequest::Kind::Selection);
    run(window, request, QString());
    return std::move(request.selection);
}

}  // namespace tendra::board
