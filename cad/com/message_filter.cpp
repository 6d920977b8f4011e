#include "cad/com/message_filter.h"

namespace tendra::cad::com {

namespace {

thread_local int handingBack = 0;

// Alt+F4, or a press on the title bar's close button.
bool asksToClose(const MSG& message) {
    const bool altDown = (message.lParam & (1 << 29)) != 0;
    return (message.message == WM_SYSKEYDOWN && message.wParam == VK_F4 && altDown) ||
           (message.message == WM_NCLBUTTONDOWN && message.wParam == HTCLOSE);
}

void discardRange(UINT first, UINT last) {
    MSG message;
    while (PeekMessageW(&message, nullptr, first, last, PM_REMOVE | PM_NOYIELD)) {
        if (message.message == WM_NCLBUTTONDOWN && message.wParam == HTCAPTION) {
            DispatchMessageW(&message);
        } else if (asksToClose(message)) {
            // Queued, the request reaches the window when the wait is over,
            // and the window decides then whether it can close.
            PostMessageW(GetAncestor(message.hwnd, GA_ROOT), WM_SYSCOMMAND, SC_CLOSE, 0);
        }
    }
}

}  // namespace

void discardQueuedInput() {
    discardRange(WM_KEYFIRST, WM_KEYLAST);
    discardRange(WM_MOUSEFIRST, WM_MOUSELAST);
    discardRange(WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK);
}

MessageFilter::HandBackRejections::HandBackRejections() {
    ++handingBack;
}

MessageFilter::HandBackRejections::~HandBackRejections() {
    --handingBack;
}

MessageFilter::MessageFilter(RetryPolicy policy) : policy_(policy) {}

HRESULT MessageFilter::QueryInterface(REFIID iid, void** object) {
    if (!object) {
        return E_POINTER;
    }
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMessageFilter)) {
        *object = static_cast<IMessageFilter*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG MessageFilter::AddRef() {
    return ++references_;
}

ULONG MessageFilter::Release() {
    const ULONG left = --references_;
    if (left == 0) {
        delete this;
    }
    return left;
}

// Tendra serves no calls of its own; anything that arrives is let through.
DWORD MessageFilter::HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) {
    return SERVERCALL_ISHANDLED;
}

// Returning a delay tries the call again after it; -1 gives up, and the call
// fails with RPC_E_CALL_REJECTED.
DWORD MessageFilter::RetryRejectedCall(HTASK, DWORD tickCount, DWORD rejectType) {
    if (rejectType != SERVERCALL_RETRYLATER && rejectType != SERVERCALL_REJECTED) {
        return static_cast<DWORD>(-1);
    }
    if (handingBack > 0) {
        return static_cast<DWORD>(-1);
    }
    if (tickCount >= static_cast<DWORD>(policy_.totalWait.count())) {
        return static_cast<DWORD>(-1);
    }
    ++retriedCalls_;
    return static_cast<DWORD>(policy_.interval.count());
}

// Input is dropped here rather than left queued: left, it would be dispatched
// the moment the call returns, and a click on "退出" or "初始化原点" made
// during a pick would end the program or start a command after the table was
// written. WAITDEFPROCESS: COM dispatches paint and its own messages.
DWORD MessageFilter::MessagePending(HTASK, DWORD, DWORD) {
    ++pendingMessages_;
    discardQueuedInput();
    return PENDINGMSG_WAITDEFPROCESS;
}

}  // namespace tendra::cad::com
