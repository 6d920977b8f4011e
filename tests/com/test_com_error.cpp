// Failed calls as an automation client sees them, and calls a busy AutoCAD
// rejects: directly and through proxies.
#include <chrono>

#include "cad/com/com_error.h"
#include "cad/com/com_platform.h"
#include "cad/com/dispatch.h"
#include "cad/surface.h"
#include "tests/com/com_harness.h"

namespace tendra::testing::com {
namespace {

struct Caught {
    bool thrown = false;
    std::int32_t number = 0;
    std::string description;
    std::string result;
};

// Reads the caption through the backend and notes how it failed, if it did.
Caught readCaption(const std::string& progId, const cad::com::RetryPolicy& policy = kQuickRetry) {
    Caught caught;
    try {
        cad::com::ComPlatform platform(policy);
        caught.result = platform.getRunningObject(progId)->caption();
    } catch (const cad::CadError& error) {
        caught = {true, error.number(), error.description(), {}};
    }
    return caught;
}

struct ErrorCase {
    const char* name;
    Failure failure;
    std::int32_t number;
    std::string description;
    // Whether Wine's proxies carry this case as Windows' do; see the rows.
    bool throughProxies = true;
};

void PrintTo(const ErrorCase& c, std::ostream* out) {
    *out << c.name;
}

const ErrorCase kErrorCases[] = {
    {"ExceptionGivesItsScodeAndDescription",
     {E_FAIL, FailureStyle::Exception, L"Input ended"},
     cad::kEFail,
     "Input ended"},
    {"ExceptionScodeOfAnEndedPromptIsKept",
     {kInputEnded, FailureStyle::Exception, L"用户输入为关键字"},
     cad::kInputEnded,
     "用户输入为关键字"},
    // Windows' remoting stub runs a deferred fill-in on the server's side, so
    // a proxy never hands one out; Wine's sends the pointer across, cut to 32 bits.
    {"DeferredFillInRunsBeforeTheScodeIsRead",
     {kNameTaken, FailureStyle::DeferredException, L"Duplicate record name"},
     kNameTaken,
     "Duplicate record name",
     false},
    {"WordCodeStandsInForAMissingScode",
     {1001, FailureStyle::WordCodeException, L"Custom failure"},
     1001,
     "Custom failure"},
    // Wine does not carry the error object back across apartments.
    {"ReturnedErrorTakesItsTextFromErrorInfo",
     {kWrongElementCount, FailureStyle::ResultWithErrorInfo, kWrongElementCountText},
     kWrongElementCount,
     "Number of elements in SafeArray is incorrect",
     false},
    {"ReturnedErrorWithoutTextGetsTheFallback",
     {kWrongElementCount, FailureStyle::Result, L""},
     kWrongElementCount,
     "Unknown error 0x80210010"},
    {"ExceptionWithoutDescriptionGetsTheFallback",
     {kWrongElementCount, FailureStyle::Exception, L""},
     kWrongElementCount,
     "Unknown error 0x80210010"},
};

class ErrorTest : public ComTest,
                  public ::testing::WithParamInterface<std::tuple<ErrorCase, Reach>> {};

TEST_P(ErrorTest, CarriesTheNumberAndTextAClientSees) {
    const auto& [c, reach] = GetParam();
    testClass->run(makeApplication(cad).get());
    cad->failInvoke(1, c.failure);

    Caught caught;
    runReaching(reach, [&] { caught = readCaption(testClass->progId()); });

    ASSERT_TRUE(caught.thrown);
    EXPECT_EQ(caught.number, c.number);
    EXPECT_EQ(caught.description, c.description);
}

std::vector<std::tuple<ErrorCase, Reach>> errorCases() {
    std::vector<std::tuple<ErrorCase, Reach>> cases;
    for (const auto& c : kErrorCases) {
        cases.emplace_back(c, Reach::Direct);
        if (c.throughProxies) {
            cases.emplace_back(c, Reach::Proxy);
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Failures, ErrorTest, ::testing::ValuesIn(errorCases()), caseAndReachName);

// A limit of its own, neither the default nor a whole number of intervals:
// the last wait is cut short so that the retries end at the limit.
constexpr std::chrono::milliseconds kBusyLimit{2550};
constexpr std::chrono::milliseconds kBusyInterval{100};

struct BusyCase {
    const char* name;
    int rejections;
    HRESULT rejectWith;
    bool succeeds;
    std::chrono::milliseconds waited;  // on the fake clock
    int rejected;                      // calls turned away in all
};

void PrintTo(const BusyCase& c, std::ostream* out) {
    *out << c.name;
}

const BusyCase kBusyCases[] = {
    {"RejectedCallsAreTriedAgain", 3, RPC_E_CALL_REJECTED, true, 3 * kBusyInterval, 3},
    {"RetryLaterIsTriedAgainToo", 3, RPC_E_SERVERCALL_RETRYLATER, true, 3 * kBusyInterval, 3},
    // Tried at 0, 100, ..., 2500 and once more at 2550.
    {"BusyForeverFailsAtTheConfiguredLimit", 1 << 30, RPC_E_CALL_REJECTED, false, kBusyLimit, 27},
};

class BusyTest : public ComTest,
                 public ::testing::WithParamInterface<std::tuple<BusyCase, Reach>> {};

TEST_P(BusyTest, RetriesForABoundedTime) {
    const auto& [c, reach] = GetParam();
    testClass->run(makeApplication(cad).get());
    cad->rejectCalls(c.rejections, c.rejectWith);
    FakeClock clock;
    cad::com::RetryPolicy policy = clock.policy();
    policy.totalWait = kBusyLimit;
    policy.interval = kBusyInterval;

    Caught caught;
    runReaching(reach, [&] { caught = readCaption(testClass->progId(), policy); });

    EXPECT_EQ(clock.now(), c.waited);
    EXPECT_EQ(cad->rejectedCalls(), c.rejected);
    if (c.succeeds) {
        EXPECT_FALSE(caught.thrown) << caught.description;
        EXPECT_EQ(caught.result, "AutoCAD 2000 - [Drawing1.dwg]");
    } else {
        EXPECT_TRUE(caught.thrown);
        EXPECT_EQ(caught.number, RPC_E_CALL_REJECTED);
        EXPECT_EQ(cad->invokes(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Busy, BusyTest, bothReaches(kBusyCases), caseAndReachName);

// A server whose own message filter turns calls away while it is busy, as
// AutoCAD does in the middle of a command.
class RejectingFilter final : public IMessageFilter {
  public:
    explicit RejectingFilter(int rejections) : left_(rejections) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMessageFilter)) {
            *object = this;
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override {
        if (left_ > 0) {
            --left_;
            ++rejected;
            return SERVERCALL_RETRYLATER;
        }
        return SERVERCALL_ISHANDLED;
    }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override {
        return static_cast<DWORD>(-1);
    }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override {
        return PENDINGMSG_WAITDEFPROCESS;
    }
    int rejected = 0;

  private:
    int left_;
};

using StaleErrorTest = ComTest;

// An error text left on the thread by some earlier failure must not describe
// a new failure that brings none of its own.
TEST_F(StaleErrorTest, AnOldErrorInfoIsNotTakenForAFailedNameLookup) {
    cad::com::Dispatch application(makeApplication(cad), kQuickRetry);
    ComPtr<ICreateErrorInfo> create;
    ComPtr<IErrorInfo> stale;
    ASSERT_EQ(CreateErrorInfo(create.put()), S_OK);
    create->SetDescription(const_cast<wchar_t*>(L"stale text"));
    ASSERT_EQ(create.queryInterface(IID_IErrorInfo, stale), S_OK);
    SetErrorInfo(0, stale.get());

    Caught caught;
    try {
        application.getProperty(L"NoSuchMember");
    } catch (const cad::CadError& error) {
        caught = {true, error.number(), error.description(), {}};
    }

    ASSERT_TRUE(caught.thrown);
    EXPECT_EQ(caught.number, DISP_E_UNKNOWNNAME);
    EXPECT_EQ(caught.description, cad::com::describe(DISP_E_UNKNOWNNAME));
}

// A rejected attempt that left a description behind, then an attempt that
// fails with an exception it does not fill in: the failure gets the system's
// text, not the rejected attempt's.
TEST_F(StaleErrorTest, WhatARejectedAttemptLeftIsClearedBeforeTheNextAttempt) {
    testClass->run(makeApplication(cad).get());
    cad::com::ComPlatform platform(kQuickRetry);
    auto application = platform.getRunningObject(testClass->progId());
    application->caption();  // its DISPID is known from now on
    cad->rejectionText = L"stale text";
    cad->rejectCalls(1);
    cad->failInvoke(1, {DISP_E_EXCEPTION, FailureStyle::Result, L""});

    Caught caught;
    try {
        application->caption();
    } catch (const cad::CadError& error) {
        caught = {true, error.number(), error.description(), {}};
    }

    EXPECT_EQ(cad->rejectedCalls(), 1);
    ASSERT_TRUE(caught.thrown);
    EXPECT_EQ(caught.number, DISP_E_EXCEPTION);
    EXPECT_EQ(caught.description, cad::com::describe(DISP_E_EXCEPTION));
}

using ServerFilterTest = ComTest;

TEST_F(ServerFilterTest, CallsTheServersFilterTurnsAwayAreTriedAgain) {
    testClass->run(makeApplication(cad).get());
    RejectingFilter server(2);
    IMessageFilter* previous = nullptr;
    ASSERT_EQ(CoRegisterMessageFilter(&server, &previous), S_OK);

    Caught caught;
    runInOtherApartment([&] { caught = readCaption(testClass->progId()); });

    IMessageFilter* ours = nullptr;
    CoRegisterMessageFilter(previous, &ours);
    if (previous) {
        previous->Release();
    }
    EXPECT_FALSE(caught.thrown) << caught.description;
    EXPECT_EQ(caught.result, "AutoCAD 2000 - [Drawing1.dwg]");
    EXPECT_EQ(server.rejected, 2);
}

}  // namespace
}  // namespace tendra::testing::com
