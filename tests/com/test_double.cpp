// The double is as strict as AutoCAD: a backend that sent the wrong VARIANT
// types would fail against it. Without this, the other tests would prove less.
#include "cad/com/dispatch.h"
#include "tests/com/com_harness.h"

namespace tendra::testing::com {
namespace {

using cad::com::Dispatch;
using cad::com::Variant;

// The double's objects as a late-bound client reaches them.
struct Objects {
    explicit Objects(const std::shared_ptr<DoubleCad>& cad)
        : application(makeApplication(cad), kQuickRetry),
          document(cad::com::objectResult(application.getProperty(L"ActiveDocument")),
                   kQuickRetry) {}
    Dispatch member(const wchar_t* name) {
        return Dispatch(cad::com::objectResult(document.getProperty(name)), kQuickRetry);
    }
    Dispatch application;
    Dispatch document;
};

std::vector<Variant> arguments(Variant first) {
    std::vector<Variant> result;
    result.push_back(std::move(first));
    return result;
}

std::vector<Variant> arguments(Variant first, Variant second) {
    std::vector<Variant> result = arguments(std::move(first));
    result.push_back(std::move(second));
    return result;
}

Variant variantArray(std::size_t count) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(count));
    for (LONG index = 0; index < static_cast<LONG>(count); ++index) {
        Variant element;
        V_VT(&element) = VT_R8;
        V_R8(&element) = index;
        SafeArrayPutElement(array, &index, &element);
    }
    Variant value;
    V_VT(&value) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(&value) = array;
    return value;
}

struct StrictCase {
    const char* name;
    std::function<void(Objects&)> call;
    std::int32_t number;
};

void PrintTo(const StrictCase& c, std::ostream* out) {
    *out << c.name;
}

const double kTwo[] = {1, 2};
const double kThree[] = {1, 2, 0};

const StrictCase kStrictCases[] = {
    {"PointOfTwoDoubles",
     [](Objects& objects) {
         objects.member(L"ModelSpace")
             .callMethod(L"AddPoint", arguments(cad::com::doubleArrayArgument(kTwo, 2)));
     },
     kWrongElementCount},
    {"PointAsAnArrayOfVariants",
     [](Objects& objects) {
         objects.member(L"ModelSpace").callMethod(L"AddPoint", arguments(variantArray(3)));
     },
     DISP_E_TYPEMISMATCH},
    {"BasePointAsText",
     [](Objects& objects) {
         objects.member(L"Utility")
             .callMethod(L"GetPoint",
                         arguments(cad::com::bstrArgument("0,0"), cad::com::bstrArgument("p")));
     },
     DISP_E_TYPEMISMATCH},
    {"AppendItemsWithAnArrayOfVariants",
     [](Objects& objects) {
         Dispatch group(cad::com::objectResult(objects.member(L"Groups").callMethod(
                            L"Add", arguments(cad::com::bstrArgument("g")))),
                        kQuickRetry);
         group.callMethod(L"AppendItems", arguments(variantArray(1)));
     },
     DISP_E_TYPEMISMATCH},
    {"AppendItemsWithSomethingNotAnEntity",
     [](Objects& objects) {
         Dispatch group(cad::com::objectResult(objects.member(L"Groups").callMethod(
                            L"Add", arguments(cad::com::bstrArgument("g")))),
                        kQuickRetry);
         Dispatch space = objects.member(L"ModelSpace");
         group.callMethod(L"AppendItems",
                          arguments(cad::com::dispatchArrayArgument({space.get()})));
     },
     DISP_E_TYPEMISMATCH},
    {"PdmodeAsA32BitInteger",
     [](Objects& objects) {
         objects.document.callMethod(L"SetVariable", arguments(cad::com::bstrArgument("pdmode"),
                                                               cad::com::int32Argument(3)));
     },
     DISP_E_TYPEMISMATCH},
    {"ColorAsText",
     [](Objects& objects) {
         Dispatch point(
             cad::com::objectResult(
                 objects.member(L"ModelSpace")
                     .callMethod(L"AddPoint", arguments(cad::com::doubleArrayArgument(kThree, 3)))),
             kQuickRetry);
         point.putProperty(L"Color", cad::com::bstrArgument("3"));
     },
     DISP_E_TYPEMISMATCH},
    {"VisibleAsAnInteger",
     [](Objects& objects) {
         objects.application.putProperty(L"Visible", cad::com::int32Argument(1));
     },
     DISP_E_TYPEMISMATCH},
    {"SelectOnScreenWithAFilter",
     [](Objects& objects) {
         Dispatch set(cad::com::objectResult(
                          objects.member(L"SelectionSets")
                              .callMethod(L"Add", arguments(cad::com::bstrArgument("s")))),
                      kQuickRetry);
         set.callMethod(L"SelectOnScreen", arguments(cad::com::int16Argument(0)));
     },
     DISP_E_TYPEMISMATCH},
    {"GroupNameTaken",
     [](Objects& objects) {
         Dispatch groups = objects.member(L"Groups");
         groups.callMethod(L"Add", arguments(cad::com::bstrArgument(".5")));
         groups.callMethod(L"Add", arguments(cad::com::bstrArgument(".5")));
     },
     kNameTaken},
    {"PromptEndedWithEnter",
     [](Objects& objects) {
         objects.member(L"Utility")
             .callMethod(L"GetPoint",
                         arguments(cad::com::missingArgument(), cad::com::bstrArgument("p")));
     },
     cad::kEFail},
    {"MethodCalledAsAProperty",
     [](Objects& objects) { objects.member(L"Utility").getProperty(L"GetPoint"); },
     DISP_E_MEMBERNOTFOUND},
    {"MemberItDoesNotHave", [](Objects& objects) { objects.document.getProperty(L"Layouts"); },
     DISP_E_UNKNOWNNAME},
};

class StrictDoubleTest : public ComTest, public ::testing::WithParamInterface<StrictCase> {};

TEST_P(StrictDoubleTest, RejectsWhatAutoCadRejects) {
    std::int32_t number = 0;
    try {
        Objects objects(cad);
        GetParam().call(objects);
    } catch (const cad::CadError& error) {
        number = error.number();
    }
    EXPECT_EQ(number, GetParam().number);
}

INSTANTIATE_TEST_SUITE_P(Arguments, StrictDoubleTest, ::testing::ValuesIn(kStrictCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A put must name its value DISPID_PROPERTYPUT, as Invoke's contract says.
TEST_F(ComTest, PropertyPutWithoutItsNamedArgumentIsRejected) {
    ComPtr<IDispatch> application = makeApplication(cad);
    LPOLESTR name = const_cast<LPOLESTR>(L"Visible");
    DISPID id = 0;
    ASSERT_EQ(application->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK);
    Variant value = cad::com::boolArgument(true);
    DISPPARAMS parameters{&value, nullptr, 1, 0};

    EXPECT_EQ(application->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUT, &parameters, nullptr,
                                  nullptr, nullptr),
              DISP_E_PARAMNOTFOUND);
    EXPECT_FALSE(cad->visible());
}

}  // namespace
}  // namespace tendra::testing::com
