#include "cad/com/message_filter.h"

namespace tendra::cad::com {

namespace {

thread_local int handingBack = 0;

}  // namespace

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

// WAITDEFPROCESS: COM dispatches paint and its own messages and leaves mouse
// and keyboard input in the queue until the call returns.
DWORD MessageFilter::MessagePending(HTASK, DWORD, DWORD) {
    ++pendingMessages_;
    return PENDINGMSG_WAITDEFPROCESS;
}

}  // namespace tendra::cad::com
