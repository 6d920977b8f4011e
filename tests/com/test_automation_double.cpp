// The double is as strict as AutoCAD: a backend that sent the wrong VARIANT
// types would fail against it. Without this, the other tests would prove less.
#include "cad/com/dispatch.h"
#include "tests/com/com_harness.h"
#include "tests/support/cad_errors.h"
#include "win32/text.h"

namespace tendra::testing::com {
namespace {

using cad::com::argumentList;
using cad::com::bstrArgument;
using cad::com::Dispatch;
using cad::com::doubleArrayArgument;
using cad::com::int16Argument;
using cad::com::int32Argument;
using cad::com::objectResult;
using cad::com::Variant;
using win32::toUtf8;

// The double's objects as a late-bound client reaches them.
struct Objects {
    explicit Objects(const std::shared_ptr<DoubleCad>& cad)
        : application(makeApplication(cad), kQuickRetry),
          document(objectResult(application.getProperty(L"ActiveDocument")), kQuickRetry) {}
    Dispatch member(const wchar_t* name) {
        return Dispatch(objectResult(document.getProperty(name)), kQuickRetry);
    }
    // A new member of one of the document's collections: Groups or SelectionSets.
    Dispatch added(const wchar_t* collection, const char* name) {
        return Dispatch(
            objectResult(member(collection).callMethod(L"Add", argumentList(bstrArgument(name)))),
            kQuickRetry);
    }
    Dispatch application;
    Dispatch document;
};

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
             .callMethod(L"AddPoint", argumentList(doubleArrayArgument(kTwo, 2)));
     },
     kWrongElementCount},
    {"PointAsAnArrayOfVariants",
     [](Objects& objects) {
         objects.member(L"ModelSpace").callMethod(L"AddPoint", argumentList(variantArray(3)));
     },
     DISP_E_TYPEMISMATCH},
    {"BasePointAsText",
     [](Objects& objects) {
         objects.member(L"Utility")
             .callMethod(L"GetPoint", argumentList(bstrArgument("0,0"), bstrArgument("p")));
     },
     DISP_E_TYPEMISMATCH},
    {"AppendItemsWithAnArrayOfVariants",
     [](Objects& objects) {
         objects.added(L"Groups", "g").callMethod(L"AppendItems", argumentList(variantArray(1)));
     },
     DISP_E_TYPEMISMATCH},
    {"AppendItemsWithSomethingNotAnEntity",
     [](Objects& objects) {
         Dispatch space = objects.member(L"ModelSpace");
         objects.added(L"Groups", "g")
             .callMethod(L"AppendItems",
                         argumentList(cad::com::dispatchArrayArgument({space.get()})));
     },
     DISP_E_TYPEMISMATCH},
    {"PdmodeAsA32BitInteger",
     [](Objects& objects) {
         objects.document.callMethod(L"SetVariable",
                                     argumentList(bstrArgument("pdmode"), int32Argument(3)));
     },
     DISP_E_TYPEMISMATCH},
    {"ColorAsText",
     [](Objects& objects) {
         Dispatch point(objectResult(objects.member(L"ModelSpace")
                                         .callMethod(L"AddPoint",
                                                     argumentList(doubleArrayArgument(kThree, 3)))),
                        kQuickRetry);
         point.putProperty(L"Color", bstrArgument("3"));
     },
     DISP_E_TYPEMISMATCH},
    {"VisibleAsAnInteger",
     [](Objects& objects) { objects.application.putProperty(L"Visible", int32Argument(1)); },
     DISP_E_TYPEMISMATCH},
    {"SelectOnScreenWithAFilter",
     [](Objects& objects) {
         objects.added(L"SelectionSets", "s")
             .callMethod(L"SelectOnScreen", argumentList(int16Argument(0)));
     },
     DISP_E_TYPEMISMATCH},
    {"GroupNameTaken",
     [](Objects& objects) {
         objects.added(L"Groups", ".5");
         objects.added(L"Groups", ".5");
     },
     kNameTaken},
    {"PromptEndedWithEnter",
     [](Objects& objects) {
         objects.member(L"Utility")
             .callMethod(L"GetPoint", argumentList(cad::com::missingArgument(), bstrArgument("p")));
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
    EXPECT_EQ(errorOf([&] {
                  Objects objects(cad);
                  GetParam().call(objects);
              }),
              GetParam().number);
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

// A backend that kept one text class's DISPIDs for the other is caught only
// if the two classes' ids differ, as AutoCAD's do.
TEST_F(ComTest, TextAndMTextAreClassesOfTheirOwn) {
    cad->prepareSelection({doubleText(L"N1", 1, 2), doubleMText(L"N2", 3, 4)});
    Objects objects(cad);
    Dispatch set = objects.added(L"SelectionSets", "s");
    set.callMethod(L"SelectOnScreen");
    const auto member = [&](int index) {
        return Dispatch(objectResult(set.callMethod(L"Item", argumentList(int32Argument(index)))),
                        kQuickRetry);
    };
    const auto idOf = [](Dispatch& object, const wchar_t* name) {
        DISPID id = DISPID_UNKNOWN;
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        EXPECT_EQ(object.get()->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK)
            << toUtf8(name);
        return id;
    };
    Dispatch text = member(0);
    Dispatch mtext = member(1);
    EXPECT_EQ(cad::com::integerResult(text.getProperty(L"EntityType")), 32);
    EXPECT_EQ(cad::com::integerResult(mtext.getProperty(L"EntityType")), 21);
    EXPECT_NE(idOf(text, L"TextString"), idOf(mtext, L"TextString"));
    EXPECT_NE(idOf(text, L"InsertionPoint"), idOf(mtext, L"InsertionPoint"));
    EXPECT_EQ(idOf(text, L"ObjectName"), idOf(mtext, L"ObjectName"));
}

}  // namespace
}  // namespace tendra::testing::com
