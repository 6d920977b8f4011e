#include "tests/com/automation_double.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "win32/text.h"

namespace tendra::testing::com {

using win32::toUtf8;

namespace {

std::atomic<long> live{0};

// Asked of any IDispatch, answers the double's own object behind it, so that
// AppendItems can tell its entities from anything else.
const IID kDoubleObjectIid = {
    0x5d1e3a44, 0x7c2b, 0x4f0e, {0x9a, 0x61, 0x2b, 0x8e, 0x4c, 0x13, 0x70, 0xd5}};

constexpr int kArcType = 4;
constexpr int kLineType = 19;
constexpr int kMTextType = 21;
constexpr int kPointType = 22;
constexpr int kPolylineType = 23;
constexpr int kLightweightPolylineType = 24;
constexpr int kTextType = 32;

std::string number(double value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

const VARIANT& deref(const VARIANT& value) {
    if (V_VT(&value) == (VT_VARIANT | VT_BYREF) && V_VARIANTREF(&value)) {
        return *V_VARIANTREF(&value);
    }
    return value;
}

bool isMissing(const VARIANT& value) {
    return V_VT(&value) == VT_ERROR && V_ERROR(&value) == DISP_E_PARAMNOTFOUND;
}

// The array in a VARIANT of exactly this element type, by value or by reference.
SAFEARRAY* arrayOf(const VARIANT& value, VARTYPE element) {
    if (V_VT(&value) == (VT_ARRAY | element)) {
        return V_ARRAY(&value);
    }
    if (V_VT(&value) == (VT_ARRAY | VT_BYREF | element) && V_ARRAYREF(&value)) {
        return *V_ARRAYREF(&value);
    }
    return nullptr;
}

// A 16- or 32-bit integer argument, as AutoCAD takes for indexes and colours.
std::optional<long> integerOf(const VARIANT& value) {
    if (V_VT(&value) == VT_I4) {
        return V_I4(&value);
    }
    if (V_VT(&value) == VT_I2) {
        return V_I2(&value);
    }
    return std::nullopt;
}

LONG elementCount(SAFEARRAY* array) {
    LONG lower = 0;
    LONG upper = -1;
    SafeArrayGetLBound(array, 1, &lower);
    SafeArrayGetUBound(array, 1, &upper);
    return upper - lower + 1;
}

}  // namespace

class DispatchObject;

// The double's object behind an interface pointer, or null for a foreign one.
// The pointer is borrowed: it lives as long as the caller's reference.
DispatchObject* doubleObject(IUnknown* object);

namespace {

std::string describe(const VARIANT& given);

template <typename Element, typename Text>
std::string arrayText(const char* kind, SAFEARRAY* array, Text text) {
    if (!array || SafeArrayGetDim(array) != 1) {
        return std::string(kind) + "[?]";
    }
    LONG lower = 0;
    LONG upper = -1;
    SafeArrayGetLBound(array, 1, &lower);
    SafeArrayGetUBound(array, 1, &upper);
    std::string result = std::string(kind) + "[";
    for (LONG index = lower; index <= upper; ++index) {
        Element element{};
        SafeArrayGetElement(array, &index, &element);
        result += (index > lower ? ", " : "") + text(element);
    }
    return result + "]";
}

}  // namespace

class DispatchObject : public IDispatch, public ISupportErrorInfo {
  public:
    DispatchObject(std::shared_ptr<DoubleCad> cad, std::string label)
        : cad_(std::move(cad)), label_(std::move(label)) {
        ++live;
    }
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;
    virtual ~DispatchObject() { --live; }

    const std::string& label() const { return label_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) {
            return E_POINTER;
        }
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
            IsEqualIID(iid, kDoubleObjectIid)) {
            *object = static_cast<IDispatch*>(this);
        } else if (IsEqualIID(iid, IID_ISupportErrorInfo)) {
            *object = static_cast<ISupportErrorInfo*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            delete this;
        }
        return left;
    }

    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override {
        return IsEqualIID(iid, IID_IDispatch) ? S_OK : S_FALSE;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) {
            return E_POINTER;
        }
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info) {
            *info = nullptr;
        }
        return DISP_E_BADINDEX;
    }

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        if (const HRESULT busy = busyAnswer()) {
            return busy;
        }
        if (!names || !ids || count == 0) {
            return E_INVALIDARG;
        }
        ++cad_->lookups_;
        std::fill(ids, ids + count, DISPID_UNKNOWN);
        for (std::size_t index = 0; index < members_.size(); ++index) {
            if (lstrcmpiW(names[0], members_[index].name) == 0) {
                ids[0] = static_cast<DISPID>(index + 1);
                return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
            }
        }
        return DISP_E_UNKNOWNNAME;
    }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override;

  protected:
    enum Access : unsigned { kGet = 1, kPut = 2, kMethod = 4 };

    struct Request {
        std::vector<const VARIANT*> arguments;  // in the order they are written
        VARIANT* result = nullptr;
        EXCEPINFO* exception = nullptr;
        UINT* argumentError = nullptr;

        std::size_t count() const { return arguments.size(); }
        const VARIANT& argument(std::size_t index) const { return deref(*arguments[index]); }

        HRESULT raise(HRESULT scode, std::wstring_view description) const {
            if (exception) {
                *exception = EXCEPINFO{};
                exception->scode = scode;
                exception->bstrSource = SysAllocString(L"AutoCAD");
                exception->bstrDescription =
                    SysAllocStringLen(description.data(), static_cast<UINT>(description.size()));
            }
            return DISP_E_EXCEPTION;
        }
        HRESULT wrongType(std::size_t index) const {
            if (argumentError) {
                *argumentError = static_cast<UINT>(arguments.size() - 1 - index);
            }
            return DISP_E_TYPEMISMATCH;
        }
        HRESULT answer(DispatchObject* object) const {
            ComPtr<DispatchObject> owned = ComPtr<DispatchObject>::adopt(object);
            if (result) {
                V_VT(result) = VT_DISPATCH;
                V_DISPATCH(result) = static_cast<IDispatch*>(owned.detach());
            }
            return S_OK;
        }
        HRESULT answer(long number) const {
            if (result) {
                V_VT(result) = VT_I4;
                V_I4(result) = number;
            }
            return S_OK;
        }
        HRESULT answer(double number) const {
            if (result) {
                V_VT(result) = VT_R8;
                V_R8(result) = number;
            }
            return S_OK;
        }
        HRESULT answer(std::wstring_view text) const {
            if (result) {
                V_VT(result) = VT_BSTR;
                V_BSTR(result) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
            }
            return S_OK;
        }
        HRESULT answer(const std::vector<double>& numbers, LONG lowerBound) const {
            if (!result) {
                return S_OK;
            }
            SAFEARRAYBOUND bound{static_cast<ULONG>(numbers.size()), lowerBound};
            SAFEARRAY* array = SafeArrayCreate(VT_R8, 1, &bound);
            if (!array) {
                return E_OUTOFMEMORY;
            }
            for (std::size_t index = 0; index < numbers.size(); ++index) {
                LONG at = lowerBound + static_cast<LONG>(index);
                SafeArrayPutElement(array, &at, const_cast<double*>(&numbers[index]));
            }
            V_VT(result) = VT_ARRAY | VT_R8;
            V_ARRAY(result) = array;
            return S_OK;
        }
    };

    struct Member {
        const wchar_t* name;
        unsigned access;
        std::size_t minArguments;
        std::size_t maxArguments;
        std::function<HRESULT(const Request&)> handler;
    };

    void add(Member member) { members_.push_back(std::move(member)); }
    DoubleCad& drawing() { return *cad_; }
    const std::shared_ptr<DoubleCad>& cadPointer() const { return cad_; }

  private:
    // What a busy double answers instead of the call, or S_OK.
    HRESULT busyAnswer() {
        if (cad_->startingUp()) {
            ++cad_->rejected_;
            return RPC_E_CALL_REJECTED;
        }
        if (cad_->rejectLeft_ <= 0) {
            return S_OK;
        }
        --cad_->rejectLeft_;
        ++cad_->rejected_;
        return cad_->rejectWith_;
    }
    HRESULT inject(const Failure& failure, const Request& request);

    std::shared_ptr<DoubleCad> cad_;
    std::string label_;
    std::vector<Member> members_;
    std::atomic<ULONG> references_{1};
};

DispatchObject* doubleObject(IUnknown* object) {
    if (!object) {
        return nullptr;
    }
    ComPtr<IDispatch> found;
    if (FAILED(object->QueryInterface(kDoubleObjectIid, found.putVoid()))) {
        return nullptr;
    }
    return static_cast<DispatchObject*>(found.get());
}

namespace {

std::string describe(const VARIANT& given) {
    const VARIANT& value = deref(given);
    const VARTYPE type = V_VT(&value);
    if (type & VT_ARRAY) {
        switch (type & VT_TYPEMASK) {
            case VT_R8:
                return arrayText<double>("R8", arrayOf(value, VT_R8), number);
            case VT_DISPATCH:
                return arrayText<IDispatch*>(
                    "DISPATCH", arrayOf(value, VT_DISPATCH), [](IDispatch* element) {
                        DispatchObject* object = doubleObject(element);
                        if (element) {
                            element->Release();
                        }
                        return object ? object->label() : std::string(element ? "?" : "null");
                    });
            case VT_VARIANT:
                return arrayText<VARIANT>("VARIANT", arrayOf(value, VT_VARIANT),
                                          [](VARIANT element) {
                                              std::string text = describe(element);
                                              VariantClear(&element);
                                              return text;
                                          });
            default:
                return "ARRAY " + std::to_string(type & VT_TYPEMASK);
        }
    }
    switch (type) {
        case VT_EMPTY:
            return "EMPTY";
        case VT_ERROR:
            return isMissing(value) ? "missing" : "ERROR";
        case VT_BOOL:
            return V_BOOL(&value) ? "BOOL true" : "BOOL false";
        case VT_I2:
            return "I2 " + std::to_string(V_I2(&value));
        case VT_I4:
            return "I4 " + std::to_string(V_I4(&value));
        case VT_R8:
            return "R8 " + number(V_R8(&value));
        case VT_BSTR:
            return "\"" + toUtf8(cad::com::Bstr::viewOf(V_BSTR(&value))) + "\"";
        case VT_DISPATCH: {
            DispatchObject* object = doubleObject(V_DISPATCH(&value));
            return object ? object->label() : "object";
        }
        default:
            return "VT " + std::to_string(type);
    }
}

Failure deferredFailure;

HRESULT STDAPICALLTYPE fillInDeferred(EXCEPINFO* exception) {
    exception->scode = deferredFailure.number;
    exception->bstrDescription = SysAllocString(deferredFailure.description.c_str());
    return S_OK;
}

}  // namespace

HRESULT DispatchObject::inject(const Failure& failure, const Request& request) {
    switch (failure.style) {
        case FailureStyle::Exception:
            return request.raise(failure.number, failure.description);
        case FailureStyle::DeferredException:
            if (request.exception) {
                *request.exception = EXCEPINFO{};
                deferredFailure = failure;
                request.exception->pfnDeferredFillIn = fillInDeferred;
            }
            return DISP_E_EXCEPTION;
        case FailureStyle::WordCodeException:
            request.raise(0, failure.description);
            if (request.exception) {
                request.exception->wCode = static_cast<WORD>(failure.number);
            }
            return DISP_E_EXCEPTION;
        case FailureStyle::Result:
            return failure.number;
        case FailureStyle::ResultWithErrorInfo: {
            ComPtr<ICreateErrorInfo> create;
            ComPtr<IErrorInfo> info;
            if (SUCCEEDED(CreateErrorInfo(create.put())) &&
                SUCCEEDED(
                    create->SetDescription(const_cast<wchar_t*>(failure.description.c_str()))) &&
                SUCCEEDED(create->SetGUID(IID_IDispatch)) &&
                SUCCEEDED(create.queryInterface(IID_IErrorInfo, info))) {
                SetErrorInfo(0, info.get());
            }
            return failure.number;
        }
    }
    return E_UNEXPECTED;
}

HRESULT DispatchObject::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* parameters,
                               VARIANT* result, EXCEPINFO* exception, UINT* argumentError) {
    if (const HRESULT busy = busyAnswer()) {
        const std::wstring& text = cad_->rejectionText;
        if (exception && !text.empty()) {
            exception->bstrDescription =
                SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        }
        return busy;
    }
    if (!IsEqualIID(iid, IID_NULL)) {
        return DISP_E_UNKNOWNINTERFACE;
    }
    if (id < 1 || static_cast<std::size_t>(id) > members_.size()) {
        return DISP_E_MEMBERNOTFOUND;
    }
    if (!parameters) {
        return E_INVALIDARG;
    }
    const Member& member = members_[static_cast<std::size_t>(id - 1)];
    const bool put = (flags & DISPATCH_PROPERTYPUT) != 0;
    const bool allowed = put ? (member.access & kPut) != 0
                             : ((flags & DISPATCH_METHOD) && (member.access & kMethod)) ||
                                   ((flags & DISPATCH_PROPERTYGET) && (member.access & kGet));
    if (!allowed) {
        return DISP_E_MEMBERNOTFOUND;
    }
    // A property put names its value DISPID_PROPERTYPUT; nothing else takes named arguments.
    if (put) {
        if (parameters->cArgs != 1 || parameters->cNamedArgs != 1 ||
            !parameters->rgdispidNamedArgs ||
            parameters->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) {
            return DISP_E_PARAMNOTFOUND;
        }
    } else if (parameters->cNamedArgs != 0) {
        return DISP_E_NONAMEDARGS;
    } else if (parameters->cArgs < member.minArguments || parameters->cArgs > member.maxArguments) {
        return DISP_E_BADPARAMCOUNT;
    }
    if (parameters->cArgs > 0 && !parameters->rgvarg) {
        return E_INVALIDARG;
    }

    Request request;
    for (UINT index = parameters->cArgs; index > 0; --index) {
        request.arguments.push_back(&parameters->rgvarg[index - 1]);
    }
    request.result = result;
    request.exception = exception;
    request.argumentError = argumentError;
    if (result) {
        VariantInit(result);
    }

    std::string arguments;
    for (std::size_t index = 0; index < request.count(); ++index) {
        arguments += (index ? ", " : "") + describe(*request.arguments[index]);
    }
    const char* kind = put ? "put" : (flags & DISPATCH_METHOD) ? "method" : "get";
    const std::size_t record = cad_->calls_.size();
    cad_->calls_.push_back({label_, toUtf8(member.name), arguments, kind, S_OK});
    const int number = cad_->invokes_++;
    if (cad_->onInvoke) {
        const DoubleCall call = cad_->calls_[record];
        cad_->onInvoke(call);
    }

    HRESULT outcome;
    if (auto failure = cad_->failures_.find(number); failure != cad_->failures_.end()) {
        const Failure injected = failure->second;
        cad_->failures_.erase(failure);
        outcome = inject(injected, request);
    } else {
        outcome = member.handler(request);
    }
    cad_->calls_[record].outcome =
        (outcome == DISP_E_EXCEPTION && exception && exception->scode) ? exception->scode : outcome;
    return outcome;
}

// Reaches the drawing's private parts for the objects below.
struct Members {
    static auto& picks(DoubleCad& cad) { return cad.picks_; }
    static auto& selection(DoubleCad& cad) { return cad.selection_; }
    static int& nextSelectable(DoubleCad& cad) { return cad.nextSelectable_; }
    static auto& points(DoubleCad& cad) { return cad.points_; }
    static auto& groups(DoubleCad& cad) { return cad.groups_; }
    static auto& selectionSets(DoubleCad& cad) { return cad.selectionSets_; }
    static auto& variables(DoubleCad& cad) { return cad.variables_; }
    static bool& visible(DoubleCad& cad) { return cad.visible_; }
    static bool quiescent(const DoubleCad& cad) { return cad.quiescent(); }
    static std::vector<std::string>* group(DoubleCad& cad, const std::string& name) {
        for (auto& group : cad.groups_) {
            if (group.first == name) {
                return &group.second;
            }
        }
        return nullptr;
    }
};

namespace {

// An AcCmColor: a colour by its index, handed out as a copy that takes effect
// only once assigned back to the entity's TrueColor.
class ColorObject final : public DispatchObject {
  public:
    ColorObject(std::shared_ptr<DoubleCad> cad, int index)
        : DispatchObject(std::move(cad), "Color"), index_(index) {
        add({L"ColorIndex", kGet | kPut, 0, 0, [this](const Request& request) {
                 if (request.count() == 0) {
                     return request.answer(static_cast<long>(index_));
                 }
                 const auto index = integerOf(request.argument(0));
                 if (!index) {
                     return request.wrongType(0);
                 }
                 index_ = static_cast<int>(*index);
                 return S_OK;
             }});
    }
    int index() const { return index_; }

  private:
    int index_;
};

std::wstring objectNameOf(int type) {
    switch (type) {
        case kArcType:
            return L"AcDbArc";
        case 8:
            return L"AcDbCircle";
        case kLineType:
            return L"AcDbLine";
        case kPointType:
            return L"AcDbPoint";
        case kPolylineType:
            return L"AcDb2dPolyline";
        case kLightweightPolylineType:
            return L"AcDbPolyline";
        case kTextType:
            return L"AcDbText";
        case kMTextType:
            return L"AcDbMText";
        default:
            return L"AcDbEntity";
    }
}

class EntityObject final : public DispatchObject {
  public:
    // A point drawn with AddPoint, kept in the drawing's point list.
    EntityObject(std::shared_ptr<DoubleCad> cad, int pointId)
        : DispatchObject(std::move(cad), "Point#" + std::to_string(pointId)), pointId_(pointId) {
        addCommonMembers(kPointType, L"0");
        add({L"Coordinates", kGet, 0, 0, [this](const Request& request) {
                 const DoublePoint& point = drawnPoint();
                 return request.answer({point.at.begin(), point.at.end()},
                                       drawing().arrayLowerBound);
             }});
    }
    // An entity the user selected on screen. Each class lists its own
    // members in an order of its own, so each has DISPIDs of its own, as
    // AutoCAD's classes do: an id kept for one class reads the wrong member
    // of another, or none. Only polylines have a vertex list; lines, circles
    // and arcs lack the member.
    EntityObject(std::shared_ptr<DoubleCad> cad, int number, DoubleSelectable what)
        : DispatchObject(std::move(cad), "Entity#" + std::to_string(number)) {
        addCommonMembers(what.type, what.layer);
        const Member coordinates{L"Coordinates", kGet, 0, 0, [this, what](const Request& request) {
                                     return request.answer(what.coordinates,
                                                           drawing().arrayLowerBound);
                                 }};
        const Member normal{L"Normal", kGet, 0, 0, [this, what](const Request& request) {
                                return request.answer({what.normal.begin(), what.normal.end()},
                                                      drawing().arrayLowerBound);
                            }};
        const auto point = [this](const wchar_t* name, std::array<double, 3> at) {
            return Member{
                name, kGet, 0, 0, [this, at](const Request& request) {
                    return request.answer({at.begin(), at.end()}, drawing().arrayLowerBound);
                }};
        };
        const Member textString{L"TextString", kGet, 0, 0, [what](const Request& request) {
                                    return request.answer(std::wstring_view(what.text));
                                }};
        const Member height{L"Height", kGet, 0, 0,
                            [what](const Request& request) { return request.answer(what.height); }};
        switch (what.type) {
            case kLightweightPolylineType:
                add(coordinates);
                add(bulges(what, 2));
                add(normal);
                break;
            case kPolylineType:
                add({L"Type", kGet, 0, 0, [what](const Request& request) {
                         return request.answer(static_cast<long>(what.polylineType));
                     }});
                add(normal);
                add(bulges(what, 3));
                add(coordinates);
                break;
            case kLineType:
                add(point(L"StartPoint", what.start));
                add(point(L"EndPoint", what.end));
                break;
            case kArcType:
                add(normal);
                add(point(L"Center", what.center));
                add(point(L"StartPoint", what.start));
                add(point(L"EndPoint", what.end));
                break;
            case kTextType:
                add(textString);
                add(point(L"InsertionPoint", what.insertion));
                add(height);
                break;
            case kMTextType:
                add(point(L"InsertionPoint", what.insertion));
                add(height);
                add(textString);
                break;
            default:
                break;
        }
    }

  private:
    // GetBulge(index) of a polyline with this many numbers a vertex.
    static Member bulges(const DoubleSelectable& what, std::size_t perVertex) {
        return {L"GetBulge", kMethod, 1, 1, [what, perVertex](const Request& request) {
                    const auto index = integerOf(request.argument(0));
                    if (!index) {
                        return request.wrongType(0);
                    }
                    const auto at = static_cast<std::size_t>(*index);
                    if (*index < 0 || at >= what.coordinates.size() / perVertex) {
                        return request.raise(E_INVALIDARG, L"Invalid argument");
                    }
                    return request.answer(at < what.bulges.size() ? what.bulges[at] : 0.0);
                }};
    }

    // The members every entity shares, under the same DISPIDs in every class.
    void addCommonMembers(int type, std::wstring layer) {
        add({L"ObjectName", kGet, 0, 0,
             [type](const Request& request) { return request.answer(objectNameOf(type)); }});
        add({L"Layer", kGet, 0, 0,
             [layer](const Request& request) { return request.answer(std::wstring_view(layer)); }});
        add({L"TrueColor", kGet | kPut, 0, 0, [this](const Request& request) {
                 if (request.count() == 0) {
                     return request.answer(new ColorObject(cadPointer(), color()));
                 }
                 const VARIANT& value = request.argument(0);
                 auto* given = V_VT(&value) == VT_DISPATCH
                                   ? dynamic_cast<ColorObject*>(doubleObject(V_DISPATCH(&value)))
                                   : nullptr;
                 if (!given) {
                     return request.wrongType(0);
                 }
                 setColor(given->index());
                 return S_OK;
             }});
        if (drawing().hidesObsoleteMembers) {
            return;
        }
        add({L"Color", kGet | kPut, 0, 0, [this](const Request& request) {
                 if (request.count() == 0) {
                     return request.answer(static_cast<long>(color()));
                 }
                 const auto color = integerOf(request.argument(0));
                 if (!color) {
                     return request.wrongType(0);
                 }
                 setColor(static_cast<int>(*color));
                 return S_OK;
             }});
        add({L"EntityType", kGet, 0, 0,
             [type](const Request& request) { return request.answer(static_cast<long>(type)); }});
    }
    DoublePoint& drawnPoint() {
        return Members::points(drawing())[static_cast<std::size_t>(pointId_ - 1)];
    }
    int color() { return pointId_ ? drawnPoint().color : color_; }
    void setColor(int color) {
        if (pointId_) {
            drawnPoint().color = color;
        } else {
            color_ = color;
        }
    }

    int pointId_ = 0;
    int color_ = 256;
};

class GroupObject final : public DispatchObject {
  public:
    GroupObject(std::shared_ptr<DoubleCad> cad, std::string name)
        : DispatchObject(std::move(cad), "Group:" + name), name_(std::move(name)) {
        // Only an array of objects will do; AutoCAD rejects an array of VARIANTs.
        add({L"AppendItems", kMethod, 1, 1, [this](const Request& request) {
                 SAFEARRAY* array = arrayOf(request.argument(0), VT_DISPATCH);
                 if (!array || SafeArrayGetDim(array) != 1) {
                     return request.wrongType(0);
                 }
                 LONG lower = 0;
                 LONG upper = -1;
                 SafeArrayGetLBound(array, 1, &lower);
                 SafeArrayGetUBound(array, 1, &upper);
                 std::vector<std::string> labels;
                 for (LONG index = lower; index <= upper; ++index) {
                     ComPtr<IDispatch> element;
                     SafeArrayGetElement(array, &index, element.put());
                     auto* entity = dynamic_cast<EntityObject*>(doubleObject(element.get()));
                     if (!entity) {
                         return request.wrongType(0);
                     }
                     labels.push_back(entity->label());
                 }
                 auto* members = groupMembers();
                 if (!members) {
                     return request.raise(E_FAIL, L"The group has been erased");
                 }
                 members->insert(members->end(), labels.begin(), labels.end());
                 return S_OK;
             }});
    }

  private:
    std::vector<std::string>* groupMembers() { return Members::group(drawing(), name_); }
    std::string name_;
};

class SelectionSetObject final : public DispatchObject {
  public:
    SelectionSetObject(std::shared_ptr<DoubleCad> cad, std::string name)
        : DispatchObject(std::move(cad), "SelectionSet:" + name), name_(name) {
        // The filter arguments are optional; Tendra gives none.
        add(whileOpen({L"SelectOnScreen", kMethod, 0, 2, [this](const Request& request) {
                           for (std::size_t index = 0; index < request.count(); ++index) {
                               if (!isMissing(request.argument(index))) {
                                   return request.wrongType(index);
                               }
                           }
                           members_.clear();
                           for (const auto& what : Members::selection(drawing())) {
                               members_.push_back(ComPtr<DispatchObject>::adopt(new EntityObject(
                                   cadPointer(), Members::nextSelectable(drawing())++, what)));
                           }
                           return S_OK;
                       }}));
        add(whileOpen({L"Count", kGet, 0, 0, [this](const Request& request) {
                           return request.answer(static_cast<long>(members_.size()));
                       }}));
        // The set leaves the document's selection sets; its entities stay.
        add(whileOpen({L"Delete", kMethod, 0, 0, [this](const Request&) {
                           auto& sets = Members::selectionSets(drawing());
                           sets.erase(std::remove(sets.begin(), sets.end(), name_), sets.end());
                           members_.clear();
                           deleted_ = true;
                           return S_OK;
                       }}));
        add(whileOpen({L"Item", kMethod, 1, 1, [this](const Request& request) {
                           const auto index = integerOf(request.argument(0));
                           if (!index) {
                               return request.wrongType(0);
                           }
                           const long at = *index;
                           if (at < 0 || at >= static_cast<long>(members_.size())) {
                               return request.raise(DISP_E_BADINDEX, L"Invalid index");
                           }
                           DispatchObject* member = members_[static_cast<std::size_t>(at)].get();
                           member->AddRef();
                           return request.answer(member);
                       }}));
    }

  private:
    // A deleted set answers nothing more.
    Member whileOpen(Member member) {
        member.handler = [this, handler = std::move(member.handler)](const Request& request) {
            return deleted_ ? request.raise(kSetDeleted, L"The selection set was deleted")
                            : handler(request);
        };
        return member;
    }

    std::string name_;
    std::vector<ComPtr<DispatchObject>> members_;
    bool deleted_ = false;
};

}  // namespace

namespace {

std::string textOf(const VARIANT& value) {
    return toUtf8(cad::com::Bstr::viewOf(V_BSTR(&value)));
}

class GroupsObject final : public DispatchObject {
  public:
    explicit GroupsObject(std::shared_ptr<DoubleCad> cad)
        : DispatchObject(std::move(cad), "Groups") {
        add({L"Add", kMethod, 1, 1, [this](const Request& request) {
                 if (V_VT(&request.argument(0)) != VT_BSTR) {
                     return request.wrongType(0);
                 }
                 const std::string name = textOf(request.argument(0));
                 auto& groups = Members::groups(drawing());
                 for (const auto& group : groups) {
                     if (group.first == name) {
                         return request.raise(kNameTaken, L"Duplicate record name");
                     }
                 }
                 groups.emplace_back(name, std::vector<std::string>{});
                 return request.answer(new GroupObject(cadPointer(), name));
             }});
    }
};

class SelectionSetsObject final : public DispatchObject {
  public:
    explicit SelectionSetsObject(std::shared_ptr<DoubleCad> cad)
        : DispatchObject(std::move(cad), "SelectionSets") {
        add({L"Add", kMethod, 1, 1, [this](const Request& request) {
                 if (V_VT(&request.argument(0)) != VT_BSTR) {
                     return request.wrongType(0);
                 }
                 const std::string name = textOf(request.argument(0));
                 auto& sets = Members::selectionSets(drawing());
                 if (std::find(sets.begin(), sets.end(), name) != sets.end()) {
                     return request.raise(kNameTaken, L"Duplicate record name");
                 }
                 if (sets.size() >= static_cast<std::size_t>(kMaxSelectionSets)) {
                     return request.raise(kTooManySelectionSets, L"Too many selection sets");
                 }
                 sets.push_back(name);
                 return request.answer(new SelectionSetObject(cadPointer(), name));
             }});
    }
};

// A point argument holds exactly three doubles in one dimension.
bool holdsAPoint(SAFEARRAY* array) {
    return SafeArrayGetDim(array) == 1 && elementCount(array) == 3;
}

class ModelSpaceObject final : public DispatchObject {
  public:
    explicit ModelSpaceObject(std::shared_ptr<DoubleCad> cad)
        : DispatchObject(std::move(cad), "ModelSpace") {
        add({L"AddPoint", kMethod, 1, 1, [this](const Request& request) {
                 SAFEARRAY* array = arrayOf(request.argument(0), VT_R8);
                 if (!array) {
                     return request.wrongType(0);
                 }
                 if (!holdsAPoint(array)) {
                     return request.raise(kWrongElementCount, kWrongElementCountText);
                 }
                 DoublePoint point;
                 LONG lower = 0;
                 SafeArrayGetLBound(array, 1, &lower);
                 for (LONG index = 0; index < 3; ++index) {
                     LONG at = lower + index;
                     SafeArrayGetElement(array, &at, &point.at[static_cast<std::size_t>(index)]);
                 }
                 auto& points = Members::points(drawing());
                 point.id = static_cast<int>(points.size()) + 1;
                 points.push_back(point);
                 return request.answer(new EntityObject(cadPointer(), point.id));
             }});
    }
};

class UtilityObject final : public DispatchObject {
  public:
    explicit UtilityObject(std::shared_ptr<DoubleCad> cad)
        : DispatchObject(std::move(cad), "Utility") {
        // GetPoint([Point], [Prompt]): a base point, when given, is a point
        // array; the prompt is a string.
        add({L"GetPoint", kMethod, 0, 2, [this](const Request& request) {
                 if (request.count() >= 1 && !isMissing(request.argument(0))) {
                     SAFEARRAY* base = arrayOf(request.argument(0), VT_R8);
                     if (!base) {
                         return request.wrongType(0);
                     }
                     if (!holdsAPoint(base)) {
                         return request.raise(kWrongElementCount, kWrongElementCountText);
                     }
                 }
                 if (request.count() == 2 && !isMissing(request.argument(1)) &&
                     V_VT(&request.argument(1)) != VT_BSTR) {
                     return request.wrongType(1);
                 }
                 auto& picks = Members::picks(drawing());
                 if (picks.empty()) {
                     return request.raise(drawing().inputEnding, L"Input ended");
                 }
                 const std::array<double, 3> at = picks.front();
                 picks.pop_front();
                 return request.answer({at.begin(), at.end()}, drawing().arrayLowerBound);
             }});
    }
};

class DocumentObject final : public DispatchObject {
  public:
    explicit DocumentObject(std::shared_ptr<DoubleCad> cad)
        : DispatchObject(std::move(cad), "Document") {
        add({L"ModelSpace", kGet, 0, 0, [this](const Request& request) {
                 return request.answer(new ModelSpaceObject(cadPointer()));
             }});
        add({L"Utility", kGet, 0, 0, [this](const Request& request) {
                 return request.answer(new UtilityObject(cadPointer()));
             }});
        add({L"Groups", kGet, 0, 0, [this](const Request& request) {
                 return request.answer(new GroupsObject(cadPointer()));
             }});
        add({L"SelectionSets", kGet, 0, 0, [this](const Request& request) {
                 return request.answer(new SelectionSetsObject(cadPointer()));
             }});
        // System variables are typed: PDMODE is a 16-bit integer.
        add({L"SetVariable", kMethod, 2, 2, [this](const Request& request) {
                 if (V_VT(&request.argument(0)) != VT_BSTR) {
                     return request.wrongType(0);
                 }
                 const std::string name = textOf(request.argument(0));
                 const VARIANT& value = request.argument(1);
                 if (lstrcmpiA(name.c_str(), "pdmode") == 0 && V_VT(&value) != VT_I2) {
                     return request.wrongType(1);
                 }
                 Members::variables(drawing())[name] = describe(value);
                 return S_OK;
             }});
    }
};

class StateObject final : public DispatchObject {
  public:
    explicit StateObject(std::shared_ptr<DoubleCad> cad) : DispatchObject(std::move(cad), "State") {
        add({L"IsQuiescent", kGet, 0, 0, [this](const Request& request) {
                 if (request.result) {
                     V_VT(request.result) = VT_BOOL;
                     V_BOOL(request.result) =
                         Members::quiescent(drawing()) ? VARIANT_TRUE : VARIANT_FALSE;
                 }
                 return S_OK;
             }});
    }
};

class ApplicationObject final : public DispatchObject {
  public:
    explicit ApplicationObject(std::shared_ptr<DoubleCad> cad)
        : DispatchObject(std::move(cad), "Application") {
        if (drawing().reportsState) {
            add({L"GetAcadState", kMethod, 0, 0, [this](const Request& request) {
                     return request.answer(new StateObject(cadPointer()));
                 }});
        }
        add({L"Visible", kGet | kPut, 0, 0, [this](const Request& request) {
                 bool& visible = Members::visible(drawing());
                 if (request.count() == 0) {
                     if (request.result) {
                         V_VT(request.result) = VT_BOOL;
                         V_BOOL(request.result) = visible ? VARIANT_TRUE : VARIANT_FALSE;
                     }
                     return S_OK;
                 }
                 if (V_VT(&request.argument(0)) != VT_BOOL) {
                     return request.wrongType(0);
                 }
                 visible = V_BOOL(&request.argument(0)) != VARIANT_FALSE;
                 return S_OK;
             }});
        add({L"ActiveDocument", kGet, 0, 0, [this](const Request& request) {
                 if (!drawing().hasDocument) {
                     return request.raise(kNoDocumentObject, kNoDocumentObjectText);
                 }
                 return request.answer(new DocumentObject(cadPointer()));
             }});
        add({L"Caption", kGet, 0, 0,
             [this](const Request& request) { return request.answer(drawing().caption); }});
    }
};

}  // namespace

std::string DoubleCall::line() const {
    if (flags == "put") {
        return text() + " = " + arguments;
    }
    return arguments.empty() ? text() : text() + "(" + arguments + ")";
}

std::chrono::milliseconds DoubleCad::now() const {
    if (clock) {
        return clock();
    }
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

void DoubleCad::startUp(std::chrono::milliseconds rejecting, std::chrono::milliseconds settling) {
    rejectUntil_ = now() + rejecting;
    quiescentAt_ = rejectUntil_ + settling;
}

bool DoubleCad::startingUp() const {
    return now() < rejectUntil_;
}

bool DoubleCad::quiescent() const {
    return now() >= quiescentAt_;
}

DoubleSelectable doubleText(std::wstring text, double x, double y, double z) {
    return {kTextType, {}, {}, {0, 0, 1}, std::move(text), {x, y, z}};
}

DoubleSelectable doubleMText(std::wstring text, double x, double y, double z) {
    return {kMTextType, {}, {}, {0, 0, 1}, std::move(text), {x, y, z}};
}

DoubleSelectable doubleLine(double x0, double y0, double x1, double y1, std::wstring layer) {
    DoubleSelectable line{kLineType, {}};
    line.layer = std::move(layer);
    line.start = {x0, y0, 0};
    line.end = {x1, y1, 0};
    return line;
}

DoubleSelectable doubleArc(std::array<double, 2> center, std::array<double, 2> start,
                           std::array<double, 2> end, std::wstring layer,
                           std::array<double, 3> normal) {
    DoubleSelectable arc{kArcType, {}};
    arc.normal = normal;
    arc.layer = std::move(layer);
    arc.center = {center[0], center[1], 0};
    arc.start = {start[0], start[1], 0};
    arc.end = {end[0], end[1], 0};
    return arc;
}

void DoubleCad::queuePoint(double x, double y, double z) {
    picks_.push_back({x, y, z});
}
void DoubleCad::prepareSelection(std::vector<DoubleSelectable> entities) {
    selection_ = std::move(entities);
}
void DoubleCad::failInvoke(int k, Failure failure) {
    failures_[invokes_ + k - 1] = std::move(failure);
}
void DoubleCad::rejectCalls(int k, HRESULT with) {
    rejectLeft_ = k;
    rejectWith_ = with;
}

std::vector<std::string> DoubleCad::members() const {
    std::vector<std::string> result;
    for (const auto& call : calls_) {
        result.push_back(call.text());
    }
    return result;
}

std::vector<std::string> DoubleCad::transcript() const {
    std::vector<std::string> result;
    for (const auto& call : calls_) {
        result.push_back(call.line());
    }
    return result;
}

const std::vector<std::string>* DoubleCad::group(const std::string& name) const {
    for (const auto& group : groups_) {
        if (group.first == name) {
            return &group.second;
        }
    }
    return nullptr;
}

ComPtr<IDispatch> makeApplication(const std::shared_ptr<DoubleCad>& cad) {
    return ComPtr<IDispatch>::adopt(new ApplicationObject(cad));
}

DoubleFactory::DoubleFactory(std::function<ComPtr<IDispatch>()> start) : start_(std::move(start)) {
    ++live;
}
DoubleFactory::~DoubleFactory() {
    --live;
}

ComPtr<DoubleFactory> DoubleFactory::create(std::function<ComPtr<IDispatch>()> start) {
    return ComPtr<DoubleFactory>::adopt(new DoubleFactory(std::move(start)));
}

HRESULT DoubleFactory::QueryInterface(REFIID iid, void** object) {
    if (!object) {
        return E_POINTER;
    }
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG DoubleFactory::AddRef() {
    return ++references_;
}

ULONG DoubleFactory::Release() {
    const ULONG left = --references_;
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT DoubleFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
    if (!object) {
        return E_POINTER;
    }
    *object = nullptr;
    if (outer) {
        return CLASS_E_NOAGGREGATION;
    }
    if (FAILED(failure)) {
        return failure;
    }
    ++started_;
    ComPtr<IDispatch> application = start_();
    return application->QueryInterface(iid, object);
}

HRESULT DoubleFactory::LockServer(BOOL) {
    return S_OK;
}

long liveObjects() {
    return live;
}

}  // namespace tendra::testing::com
