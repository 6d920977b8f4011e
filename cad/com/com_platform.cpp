#include "cad/com/com_platform.h"

#include <windows.h>

#include <objbase.h>

#include "cad/com/com_error.h"
#include "cad/com/com_surface.h"
#include "cad/com/message_filter.h"
#include "cad/com/utf.h"

namespace tendra::cad::com {

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

}  // namespace

ComPlatform::ComPlatform(RetryPolicy policy) : policy_(policy) {}

ApplicationPtr ComPlatform::getRunningObject(const std::string& progId) {
    const CLSID id = classOf(progId);
    ComPtr<IUnknown> running;
    const HRESULT result = GetActiveObject(id, nullptr, running.put());
    if (FAILED(result)) {
        throw systemError(result);
    }
    return wrapApplication(dispatchOf(running, policy_), policy_);
}

ApplicationPtr ComPlatform::createObject(const std::string& progId) {
    const CLSID id = classOf(progId);
    ComPtr<IUnknown> created;
    const HRESULT result =
        CoCreateInstance(id, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown, created.putVoid());
    if (FAILED(result)) {
        throw systemError(result);
    }
    return wrapApplication(dispatchOf(created, policy_), policy_);
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
