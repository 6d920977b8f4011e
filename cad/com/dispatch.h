// A late-bound automation object: members looked up by name with
// GetIDsOfNames and called with Invoke, with the VARIANT marshalling AutoCAD
// expects. Calls a busy server rejects are tried again for a bounded time.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cad/com/com_platform.h"
#include "cad/com/com_ptr.h"
#include "cad/surface.h"

namespace tendra::cad::com {

// The kinds of automation object whose members' DISPIDs are kept once looked
// up: every object of one kind answers a member under the same DISPID.
enum class ObjectKind {
    Uncached,  // looked up by name at every call
    Application,
    State,
    Document,
    Utility,
    ModelSpace,
    Groups,
    Group,
    SelectionSets,
    SelectionSet,
    Entity,               // the members every entity shares: colour, type, object name, layer
    LightweightPolyline,  // a lightweight polyline's own members: vertices, bulges, normal
    Polyline,             // an old-style 2D polyline's: fitting, vertices, bulges, normal
    Line,                 // a LINE's: its ends
    Arc,                  // an ARC's: its ends, centre and normal
    Text,                 // a TEXT's own members: string, insertion point, height
    MText,                // an MTEXT's, under DISPIDs of its own class
    Color,
};

// The DISPIDs of one application's objects by kind and member name. A name an
// object does not know is kept as such, so that a fallback is taken at once.
class MemberIds {
  public:
    struct Entry {
        HRESULT result;  // S_OK or DISP_E_UNKNOWNNAME
        DISPID id;
    };
    const Entry* find(ObjectKind kind, std::wstring_view member) const;
    void remember(ObjectKind kind, std::wstring_view member, Entry entry);

  private:
    std::map<std::pair<ObjectKind, std::wstring>, Entry> entries_;
};

class Dispatch {
  public:
    // An object whose members are looked up at every call.
    Dispatch(ComPtr<IDispatch> object, RetryPolicy policy);
    // An object of this kind, whose member ids are kept in ids.
    Dispatch(ComPtr<IDispatch> object, RetryPolicy policy, ObjectKind kind,
             std::shared_ptr<MemberIds> ids);

    IDispatch* get() const { return object_.get(); }
    const RetryPolicy& policy() const { return policy_; }

    // The object a member returned, of this kind, sharing this one's policy
    // and member ids.
    Dispatch child(const VARIANT& value, ObjectKind kind) const;
    // This object with its members looked up afresh: for a member whose
    // DISPID differs between the classes of one kind.
    Dispatch uncached() const { return Dispatch(object_, policy_); }
    // This object as one of a narrower kind, sharing this one's member ids.
    Dispatch asKind(ObjectKind kind) const { return Dispatch(object_, policy_, kind, ids_); }
    // This object under another policy.
    Dispatch withPolicy(const RetryPolicy& policy) const;

    // Whether the object knows this member by name. Throws for failures
    // other than an unknown name.
    bool knows(std::wstring_view member);
    Variant getProperty(std::wstring_view member);
    void putProperty(std::wstring_view member, Variant value);
    // Arguments in the order they are written in the call.
    Variant callMethod(std::wstring_view member, std::vector<Variant> arguments = {});

  private:
    HRESULT lookUp(std::wstring_view member, DISPID& id);
    DISPID memberId(std::wstring_view member);
    Variant invoke(std::wstring_view member, WORD flags, std::vector<Variant>& arguments);

    ComPtr<IDispatch> object_;
    RetryPolicy policy_;
    ObjectKind kind_ = ObjectKind::Uncached;
    std::shared_ptr<MemberIds> ids_;
};

// Runs a COM call, trying it again while the server answers that it is busy
// and the policy's total wait has not passed. Waiting keeps the apartment's
// modal loop running, so paint flows and input stays queued.
HRESULT callWithRetry(const RetryPolicy& policy, const std::function<HRESULT()>& call);
bool isBusy(HRESULT result);

// The policy's clock: its own, or the steady clock.
std::chrono::milliseconds clockNow(const RetryPolicy& policy);
// Lets time pass on the policy's clock; the steady clock waits in COM's modal
// loop, as a call would, so paint flows and input stays queued.
void waitFor(const RetryPolicy& policy, std::chrono::milliseconds duration);

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
// VT_DISPATCH; the argument holds its own reference.
Variant dispatchArgument(IDispatch* object);
// An optional argument left out.
Variant missingArgument();
// VT_ARRAY|VT_R8, lower bound 0.
Variant doubleArrayArgument(const double* values, std::size_t count);
// VT_ARRAY|VT_DISPATCH, lower bound 0; the array holds its own references.
Variant dispatchArrayArgument(const std::vector<IDispatch*>& objects);

// Results. Each throws CadError when the value is not of the kind asked for.
ComPtr<IDispatch> objectResult(const VARIANT& value);
std::int32_t integerResult(const VARIANT& value);
double numberResult(const VARIANT& value);
std::string textResult(const VARIANT& value);
bool booleanResult(const VARIANT& value);
// A one-dimensional array of numbers, read from its lower to its upper bound.
std::vector<double> doublesResult(const VARIANT& value);

}  // namespace tendra::cad::com
