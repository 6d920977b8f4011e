// The UI thread's message filter. A busy AutoCAD rejects calls; COM then asks
// the filter whether to try again. While a call waits (a pick may take
// minutes), COM's modal loop asks it what to do with arriving messages: mouse
// and keyboard input for Tendra's windows is dropped, so nothing the user
// clicked meanwhile fires once the call returns, and paint still flows.
#pragma once

#include <windows.h>

#include <objidl.h>

#include <atomic>

#include "cad/com/com_platform.h"

namespace tendra::cad::com {

// Removes the mouse and keyboard input queued for this thread's windows. A
// press on a title bar is carried out instead, so a window can still be moved
// aside while the user picks in the drawing behind it; Alt+F4 and the close
// button become a close request queued for the window; the rest is dropped.
// Everything else (paint, timers, COM's own messages) stays.
void discardQueuedInput();

class MessageFilter final : public IMessageFilter {
  public:
    explicit MessageFilter(RetryPolicy policy);
    MessageFilter(const MessageFilter&) = delete;
    MessageFilter& operator=(const MessageFilter&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD callType, HTASK caller, DWORD tickCount,
                                               LPINTERFACEINFO info) override;
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK callee, DWORD tickCount,
                                              DWORD rejectType) override;
    DWORD STDMETHODCALLTYPE MessagePending(HTASK callee, DWORD tickCount,
                                           DWORD pendingType) override;

    // While one lives on this thread, a rejected call is handed back to its
    // caller at once rather than tried again here: for a caller that polls in
    // a loop of its own, under a bound of its own.
    class HandBackRejections {
      public:
        HandBackRejections();
        ~HandBackRejections();
        HandBackRejections(const HandBackRejections&) = delete;
        HandBackRejections& operator=(const HandBackRejections&) = delete;
    };

    // How often COM consulted the filter, for tests and diagnostics.
    long pendingMessages() const { return pendingMessages_; }
    long retriedCalls() const { return retriedCalls_; }

  private:
    ~MessageFilter() = default;
    std::atomic<ULONG> references_{1};
    RetryPolicy policy_;
    std::atomic<long> pendingMessages_{0};
    std::atomic<long> retriedCalls_{0};
};

}  // namespace tendra::cad::com
