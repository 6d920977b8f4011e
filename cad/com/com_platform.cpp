#include "cad/com/com_platform.h"

#include <windows.h>

#include <objbase.h>

#include <algorithm>
#include <iterator>

#include "cad/com/com_error.h"
#include "cad/com/com_surface.h"
#include "cad/com/dispatch.h"
#include "cad/com/message_filter.h"
#include "cad/connection.h"
#include "win32/text.h"

namespace tendra::cad::com {

using win32::toUtf16;
using win32::toUtf8;

struct ComApartment::State {
    HRESULT result = E_UNEXPECTED;
    MessageFilter* filter = nullptr;
    IMessageFilter* previous = nullptr;
    bool registered = false;
};

ComApartment::ComApartment(RetryPolicy policy) : state_(std::make_unique<State>()) {
    state_->filter = new MessageFilter(policy);
    state_->result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (SUCCEEDED(state_->result)) {
        state_->registered = SUCCEEDED(CoRegisterMessageFilter(state_->filter, &state_->previous));
    }
}

ComApartment::~ComApartment() {
    if (state_->registered) {
        ComPtr<IMessageFilter> ours;
        CoRegisterMessageFilter(state_->previous, ours.put());
    }
    if (state_->previous) {
        state_->previous->Release();
    }
    if (SUCCEEDED(state_->result)) {
        CoUninitialize();
    }
    state_->filter->Release();
}

std::int32_t ComApartment::result() const {
    return state_->result;
}

MessageFilter& ComApartment::messageFilter() {
    return *state_->filter;
}

namespace {

CLSID classOf(const std::string& progId) {
    CLSID id{};
    const HRESULT result = CLSIDFromProgID(toUtf16(progId).c_str(), &id);
    if (FAILED(result)) {
        throw systemError(result);
    }
    return id;
}

ComPtr<IDispatch> dispatchOf(const ComPtr<IUnknown>& object, const RetryPolicy& policy) {
    ComPtr<IDispatch> dispatch;
    const HRESULT result =
        callWithRetry(policy, [&] { return object.queryInterface(IID_IDispatch, dispatch); });
    if (FAILED(result)) {
        throw systemError(result);
    }
    return dispatch;
}

// The wait cursor over the calling thread's windows while it lives.
class WaitCursor {
  public:
    WaitCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(previous_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

  private:
    HCURSOR previous_;
};

enum class Poll { Ready, NotYet };

// One look at a starting application: quiescent by GetAcadState, or, where
// the application has no such member, answering Visible at all.
Poll poll(Dispatch& application, bool& reportsState) {
    if (reportsState && !application.knows(L"GetAcadState")) {
        reportsState = false;
    }
    if (!reportsState) {
        application.getProperty(L"Visible");
        return Poll::Ready;
    }
    Dispatch state = application.child(application.callMethod(L"GetAcadState"), ObjectKind::State);
    return booleanResult(state.getProperty(L"IsQuiescent")) ? Poll::Ready : Poll::NotYet;
}

// AutoCAD rejects every call until its start-up has finished, which takes far
// longer than a busy call is tried again. Polls until it is ready or the
// start-up wait is over; a failure other than a rejection ends the wait too,
// and the connection's steps then meet it. Each poll is one attempt: the
// pause between polls is this loop's, so the bound holds.
void awaitStartUp(const Dispatch& started, const RetryPolicy& policy) {
    WaitCursor cursor;
    MessageFilter::HandBackRejections handBack;
    RetryPolicy once = policy;
    once.totalWait = std::chrono::milliseconds(0);
    Dispatch application = started.withPolicy(once);
    const auto deadline = clockNow(policy) + policy.startUpWait;
    bool reportsState = true;
    for (;;) {
        try {
            if (poll(application, reportsState) == Poll::Ready) {
                return;
            }
        } catch (const CadError& error) {
            if (!isBusy(error.number())) {
                return;
            }
        }
        const auto now = clockNow(policy);
        if (now >= deadline) {
            return;
        }
        waitFor(policy, std::min(policy.interval, deadline - now));
    }
}

ComPtr<IUnknown> identityOf(const ComPtr<IDispatch>& object) {
    ComPtr<IUnknown> identity;
    object.queryInterface(IID_IUnknown, identity);
    return identity;
}

}  // namespace

// An application by its COM identity, with its member ids.
struct KnownApplication {
    ComPtr<IUnknown> identity;
    std::shared_ptr<MemberIds> ids;
};

namespace {

// The member ids of this application: those of the one handed out last when
// it is the same object again, as when every command attaches anew; a fresh
// set for another application, whose ids may differ.
std::shared_ptr<MemberIds> memberIdsOf(std::shared_ptr<KnownApplication>& known,
                                       const ComPtr<IDispatch>& application) {
    ComPtr<IUnknown> identity = identityOf(application);
    if (!known || !identity || known->identity.get() != identity.get()) {
        known = std::make_shared<KnownApplication>(
            KnownApplication{identity, std::make_shared<MemberIds>()});
    }
    return known->ids;
}

}  // namespace

ComPlatform::ComPlatform(RetryPolicy policy) : policy_(policy) {}

ComPlatform::~ComPlatform() = default;

ApplicationPtr ComPlatform::getRunningObject(const std::string& progId) {
    const CLSID id = classOf(progId);
    ComPtr<IUnknown> running;
    const HRESULT result = GetActiveObject(id, nullptr, running.put());
    if (FAILED(result)) {
        throw systemError(result);
    }
    ComPtr<IDispatch> application = dispatchOf(running, policy_);
    return wrapApplication(
        Dispatch(application, policy_, ObjectKind::Application, memberIdsOf(known_, application)));
}

ApplicationPtr ComPlatform::createObject(const std::string& progId) {
    const CLSID id = classOf(progId);
    ComPtr<IUnknown> created;
    const HRESULT result =
        CoCreateInstance(id, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown, created.putVoid());
    if (FAILED(result)) {
        throw systemError(result);
    }
    ComPtr<IDispatch> application = dispatchOf(created, policy_);
    Dispatch object(application, policy_, ObjectKind::Application,
                    memberIdsOf(known_, application));
    awaitStartUp(object, policy_);
    return wrapApplication(std::move(object));
}

std::vector<std::string> ComPlatform::versionedProgIds(const std::string& progId) {
    const std::wstring prefix = toUtf16(progId + ".");
    std::vector<std::string> names;
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(std::size(name));
        const LONG result = RegEnumKeyExW(HKEY_CLASSES_ROOT, index, name, &length, nullptr, nullptr,
                                          nullptr, nullptr);
        if (result == ERROR_MORE_DATA) {
            continue;  // longer than any ProgID
        }
        if (result != ERROR_SUCCESS) {
            break;
        }
        if (length > prefix.size() && _wcsnicmp(name, prefix.c_str(), prefix.size()) == 0) {
            names.push_back(toUtf8({name, length}));
        }
    }
    return versionsNewestFirst(progId, names);
}

// Neither call waits for the other application: a hung AutoCAD cannot hang Tendra here.
void ComPlatform::activateWindow(const std::string& title) {
    HWND window = FindWindowW(nullptr, toUtf16(title).c_str());
    if (!window) {
        return;
    }
    if (IsIconic(window)) {
        ShowWindowAsync(window, SW_RESTORE);
    }
    SetForegroundWindow(window);
}

}  // namespace tendra::cad::com
