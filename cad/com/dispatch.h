// A late-bound automation object: members looked up by name with
// GetIDsOfNames and called with Invoke, with the VARIANT marshalling AutoCAD
// expects. Calls a busy server rejects are tried again for a bounded time.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cad/com/com_platform.h"
#include "cad/com/com_ptr.h"
#include "cad/surface.h"

namespace tendra::cad::com {

class Dispatch {
  public:
    Dispatch(ComPtr<IDispatch> object, RetryPolicy policy);

    IDispatch* get() const { return object_.get(); }
    const RetryPolicy& policy() const { return policy_; }

    Variant getProperty(std::wstring_view member);
    void putProperty(std::wstring_view member, Variant value);
    // Arguments in the order they are written in the call.
    Variant callMethod(std::wstring_view member, std::vector<Variant> arguments = {});

  private:
    DISPID memberId(std::wstring_view member);
    Variant invoke(std::wstring_view member, WORD flags, std::vector<Variant>& arguments);

    ComPtr<IDispatch> object_;
    RetryPolicy policy_;
};

// Runs a COM call, trying it again while the server answers that it is busy
// and the policy's total wait has not passed. Waiting keeps the apartment's
// modal loop running, so paint flows and input stays queued.
HRESULT callWithRetry(const RetryPolicy& policy, const std::function<HRESULT()>& call);
bool isBusy(HRESULT result);

// Arguments, in the order they are written in the call. A Variant only
// moves, so a braced list cannot hold them.
template <class... Values>
std::vector<Variant> argumentList(Values... values) {
    std::vector<Variant> list;
    list.reserve(sizeof...(Values));
    (list.push_back(std::move(values)), ...);
    return list;
}

Variant bstrArgument(std::string_view utf8);
Variant int16Argument(std::int16_t value);
Variant int32Argument(std::int32_t value);
Variant boolArgument(bool value);
// An optional argument left out.
Variant missingArgument();
// VT_ARRAY|VT_R8, lower bound 0.
Variant doubleArrayArgument(const double* values, std::size_t count);
// VT_ARRAY|VT_DISPATCH, lower bound 0; the array holds its own references.
Variant dispatchArrayArgument(const std::vector<IDispatch*>& objects);

// Results. Each throws CadError when the value is not of the kind asked for.
ComPtr<IDispatch> objectResult(const VARIANT& value);
std::int32_t integerResult(const VARIANT& value);
std::string textResult(const VARIANT& value);
// A one-dimensional array of numbers, read from its lower to its upper bound.
std::vector<double> doublesResult(const VARIANT& value);

}  // namespace tendra::cad::com
