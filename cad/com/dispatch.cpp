#include "cad/com/dispatch.h"

#include <algorithm>

#include "cad/com/com_error.h"
#include "cad/com/message_filter.h"
#include "win32/text.h"

namespace tendra::cad::com {

using win32::toUtf16;
using win32::toUtf8;

namespace {

static_assert(sizeof(Variant) == sizeof(VARIANT), "Variant arrays must pass as VARIANTARG arrays");

using Clock = std::chrono::steady_clock;

// Waits in COM's modal loop, as a call would, rather than freezing the thread.
void waitInModalLoop(std::chrono::milliseconds duration) {
    HandleGuard never(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    HANDLE handle = never.get();
    if (!handle) {
        Sleep(static_cast<DWORD>(duration.count()));
        return;
    }
    DWORD index = 0;
    CoWaitForMultipleHandles(0, static_cast<DWORD>(duration.count()), 1, &handle, &index);
    // The user's input meanwhile belongs to no command: dropped, as during a call.
    discardQueuedInput();
}

CadError typeMismatch() {
    return systemError(DISP_E_TYPEMISMATCH);
}

void check(HRESULT result) {
    if (FAILED(result)) {
        throw systemError(result);
    }
}

}  // namespace

bool isBusy(HRESULT result) {
    return result == RPC_E_CALL_REJECTED || result == RPC_E_SERVERCALL_RETRYLATER;
}

std::chrono::milliseconds clockNow(const RetryPolicy& policy) {
    if (policy.clock) {
        return policy.clock->now();
    }
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch());
}

void waitFor(const RetryPolicy& policy, std::chrono::milliseconds duration) {
    if (policy.clock) {
        policy.clock->wait(duration);
    } else {
        waitInModalLoop(duration);
    }
}

HRESULT callWithRetry(const RetryPolicy& policy, const std::function<HRESULT()>& call) {
    const auto start = clockNow(policy);
    for (;;) {
        const HRESULT result = call();
        if (!isBusy(result)) {
            return result;
        }
        const auto elapsed = clockNow(policy) - start;
        if (elapsed >= policy.totalWait) {
            return result;
        }
        waitFor(policy, std::min(policy.interval, policy.totalWait - elapsed));
    }
}

const MemberIds::Entry* MemberIds::find(ObjectKind kind, std::wstring_view member) const {
    const auto found = entries_.find({kind, std::wstring(member)});
    return found == entries_.end() ? nullptr : &found->second;
}

void MemberIds::remember(ObjectKind kind, std::wstring_view member, Entry entry) {
    entries_[{kind, std::wstring(member)}] = entry;
}

Dispatch::Dispatch(ComPtr<IDispatch> object, RetryPolicy policy)
    : object_(std::move(object)), policy_(policy) {
    if (!object_) {
        throw objectNotSetError();
    }
}

Dispatch::Dispatch(ComPtr<IDispatch> object, RetryPolicy policy, ObjectKind kind,
                   std::shared_ptr<MemberIds> ids)
    : Dispatch(std::move(object), policy) {
    if (ids && kind != ObjectKind::Uncached) {
        kind_ = kind;
        ids_ = std::move(ids);
    }
}

Dispatch Dispatch::child(const VARIANT& value, ObjectKind kind) const {
    return Dispatch(objectResult(value), policy_, kind, ids_);
}

Dispatch Dispatch::withPolicy(const RetryPolicy& policy) const {
    return Dispatch(object_, policy, kind_, ids_);
}

// The thread's error info is cleared first: a failing lookup that leaves
// none must not be described by an older failure's text.
HRESULT Dispatch::lookUp(std::wstring_view member, DISPID& id) {
    if (ids_) {
        if (const MemberIds::Entry* known = ids_->find(kind_, member)) {
            id = known->id;
            return known->result;
        }
    }
    std::wstring name(member);
    LPOLESTR names[] = {name.data()};
    id = DISPID_UNKNOWN;
    const HRESULT result = callWithRetry(policy_, [&] {
        SetErrorInfo(0, nullptr);
        return object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    });
    if (ids_ && (result == S_OK || result == DISP_E_UNKNOWNNAME)) {
        ids_->remember(kind_, member, {result, id});
    }
    return result;
}

bool Dispatch::knows(std::wstring_view member) {
    DISPID id = DISPID_UNKNOWN;
    const HRESULT result = lookUp(member, id);
    if (result == DISP_E_UNKNOWNNAME) {
        return false;
    }
    if (FAILED(result)) {
        ExcepInfo none;
        throw invokeError(result, none, object_.get());
    }
    return true;
}

DISPID Dispatch::memberId(std::wstring_view member) {
    DISPID id = DISPID_UNKNOWN;
    const HRESULT result = lookUp(member, id);
    if (FAILED(result)) {
        ExcepInfo none;
        throw invokeError(result, none, object_.get());
    }
    return id;
}

Variant Dispatch::invoke(std::wstring_view member, WORD flags, std::vector<Variant>& arguments) {
    const DISPID id = memberId(member);
    // Invoke takes the arguments last to first.
    std::reverse(arguments.begin(), arguments.end());
    DISPID propertyPut = DISPID_PROPERTYPUT;
    DISPPARAMS parameters{};
    parameters.rgvarg = arguments.empty() ? nullptr : arguments.data();
    parameters.cArgs = static_cast<UINT>(arguments.size());
    if (flags & DISPATCH_PROPERTYPUT) {
        parameters.rgdispidNamedArgs = &propertyPut;
        parameters.cNamedArgs = 1;
    }
    Variant result;
    ExcepInfo exception;
    UINT wrongArgument = 0;
    // Every attempt starts clean: what a rejected attempt left in the
    // exception is neither leaked nor taken for the next attempt's.
    const HRESULT outcome = callWithRetry(policy_, [&] {
        SetErrorInfo(0, nullptr);
        result.clear();
        exception.clear();
        return object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters,
                               (flags & DISPATCH_PROPERTYPUT) ? nullptr : &result, &exception,
                               &wrongArgument);
    });
    if (FAILED(outcome)) {
        throw invokeError(outcome, exception, object_.get());
    }
    return result;
}

Variant Dispatch::getProperty(std::wstring_view member) {
    std::vector<Variant> none;
    return invoke(member, DISPATCH_PROPERTYGET, none);
}

void Dispatch::putProperty(std::wstring_view member, Variant value) {
    std::vector<Variant> arguments = argumentList(std::move(value));
    invoke(member, DISPATCH_PROPERTYPUT, arguments);
}

Variant Dispatch::callMethod(std::wstring_view member, std::vector<Variant> arguments) {
    return invoke(member, DISPATCH_METHOD, arguments);
}

Variant bstrArgument(std::string_view utf8) {
    const std::wstring text = toUtf16(utf8);
    Variant value;
    V_BSTR(&value) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!V_BSTR(&value)) {
        throw systemError(E_OUTOFMEMORY);
    }
    V_VT(&value) = VT_BSTR;
    return value;
}

Variant int16Argument(std::int16_t number) {
    Variant value;
    V_VT(&value) = VT_I2;
    V_I2(&value) = number;
    return value;
}

Variant int32Argument(std::int32_t number) {
    Variant value;
    V_VT(&value) = VT_I4;
    V_I4(&value) = number;
    return value;
}

Variant boolArgument(bool flag) {
    Variant value;
    V_VT(&value) = VT_BOOL;
    V_BOOL(&value) = flag ? VARIANT_TRUE : VARIANT_FALSE;
    return value;
}

Variant dispatchArgument(IDispatch* object) {
    Variant value;
    V_VT(&value) = VT_DISPATCH;
    V_DISPATCH(&value) = ComPtr<IDispatch>::share(object).detach();
    return value;
}

Variant missingArgument() {
    Variant value;
    V_VT(&value) = VT_ERROR;
    V_ERROR(&value) = DISP_E_PARAMNOTFOUND;
    return value;
}

Variant doubleArrayArgument(const double* values, std::size_t count) {
    SafeArray array(SafeArrayCreateVector(VT_R8, 0, static_cast<ULONG>(count)));
    if (!array) {
        throw systemError(E_OUTOFMEMORY);
    }
    {
        SafeArrayData data(array.get());
        check(data.result());
        std::copy(values, values + count, data.as<double>());
    }
    Variant value;
    V_VT(&value) = VT_ARRAY | VT_R8;
    V_ARRAY(&value) = array.detach();
    return value;
}

Variant dispatchArrayArgument(const std::vector<IDispatch*>& objects) {
    SafeArray array(SafeArrayCreateVector(VT_DISPATCH, 0, static_cast<ULONG>(objects.size())));
    if (!array) {
        throw systemError(E_OUTOFMEMORY);
    }
    for (LONG index = 0; index < static_cast<LONG>(objects.size()); ++index) {
        // The array takes a reference of its own on every element.
        check(SafeArrayPutElement(array.get(), &index, objects[static_cast<std::size_t>(index)]));
    }
    Variant value;
    V_VT(&value) = VT_ARRAY | VT_DISPATCH;
    V_ARRAY(&value) = array.detach();
    return value;
}

ComPtr<IDispatch> objectResult(const VARIANT& value) {
    ComPtr<IDispatch> object;
    if (V_VT(&value) == VT_DISPATCH) {
        object = ComPtr<IDispatch>::share(V_DISPATCH(&value));
    } else if (V_VT(&value) == VT_UNKNOWN) {
        if (V_UNKNOWN(&value)) {
            check(V_UNKNOWN(&value)->QueryInterface(IID_IDispatch, object.putVoid()));
        }
    } else {
        throw typeMismatch();
    }
    if (!object) {
        throw objectNotSetError();
    }
    return object;
}

// VariantChangeType leaves its source alone; mingw-w64 declares it without const.
std::int32_t integerResult(const VARIANT& value) {
    Variant converted;
    check(VariantChangeType(&converted, const_cast<VARIANT*>(&value), 0, VT_I4));
    return V_I4(&converted);
}

double numberResult(const VARIANT& value) {
    Variant converted;
    check(VariantChangeType(&converted, const_cast<VARIANT*>(&value), 0, VT_R8));
    return V_R8(&converted);
}

bool booleanResult(const VARIANT& value) {
    Variant converted;
    check(VariantChangeType(&converted, const_cast<VARIANT*>(&value), 0, VT_BOOL));
    return V_BOOL(&converted) != VARIANT_FALSE;
}

std::string textResult(const VARIANT& value) {
    Variant converted;
    check(VariantChangeType(&converted, const_cast<VARIANT*>(&value), 0, VT_BSTR));
    return toUtf8(Bstr::viewOf(V_BSTR(&converted)));
}

std::vector<double> doublesResult(const VARIANT& value) {
    const VARTYPE element = V_VT(&value) & VT_TYPEMASK;
    if ((V_VT(&value) & (VT_ARRAY | VT_BYREF)) != VT_ARRAY || !V_ARRAY(&value) ||
        (element != VT_R8 && element != VT_VARIANT)) {
        throw typeMismatch();
    }
    SAFEARRAY* array = V_ARRAY(&value);
    if (SafeArrayGetDim(array) != 1) {
        throw typeMismatch();
    }
    LONG lower = 0;
    LONG upper = -1;
    check(SafeArrayGetLBound(array, 1, &lower));
    check(SafeArrayGetUBound(array, 1, &upper));
    std::vector<double> numbers;
    for (LONG index = lower; index <= upper; ++index) {
        if (element == VT_R8) {
            double number = 0;
            check(SafeArrayGetElement(array, &index, &number));
            numbers.push_back(number);
        } else {
            Variant item;
            check(SafeArrayGetElement(array, &index, &item));
            check(VariantChangeType(&item, &item, 0, VT_R8));
            numbers.push_back(V_R8(&item));
        }
    }
    return numbers;
}

}  // namespace tendra::cad::com
