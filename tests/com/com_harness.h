// What the COM tests share: a class of their own per test, a client thread in
// another apartment, and a fixture that checks no object of the double is left.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <tuple>

#include "cad/com/com_platform.h"
#include "tests/com/automation_double.h"

namespace tendra::testing::com {

// Busy calls are retried every 10 ms for at most a second.
inline const cad::com::RetryPolicy kQuickRetry{std::chrono::milliseconds(1000),
                                               std::chrono::milliseconds(10)};

// A clock that moves only when a wait lets time pass, read by both
// apartments. Each wait may be watched.
class FakeClock final : public cad::com::WaitClock {
  public:
    std::chrono::milliseconds now() override { return std::chrono::milliseconds(now_.load()); }
    void wait(std::chrono::milliseconds duration) override {
        now_ += duration.count();
        if (onWait) {
            onWait();
        }
    }
    // The policy the program runs with, on this clock.
    cad::com::RetryPolicy policy() {
        cad::com::RetryPolicy policy;
        policy.clock = this;
        return policy;
    }
    std::function<void()> onWait;

  private:
    std::atomic<long long> now_{0};
};

// A fresh CLSID and ProgID for one test: the running-object table and the
// registry are shared by every test in the Wine prefix. The ProgID goes to
// HKLM\Software\Classes, where Wine looks (it ignores HKCU's). Everything is
// registered in this process and undone when the object goes.
class TestClass {
  public:
    TestClass();
    // A class of its own under this ProgID, such as another one's version
    // ("<ProgID>.17") or a compatible program's.
    explicit TestClass(const std::string& progId);
    ~TestClass();
    TestClass(const TestClass&) = delete;
    TestClass& operator=(const TestClass&) = delete;

    const std::string& progId() const { return progId_; }
    const CLSID& clsid() const { return clsid_; }

    // GetActiveObject finds this object from now on, instead of an earlier one.
    void run(IUnknown* application);
    // CoCreateInstance as a local server asks this factory from now on.
    void install(IClassFactory* factory);

  private:
    CLSID clsid_{};
    std::string progId_;
    HKEY root_ = nullptr;
    std::wstring key_;
    DWORD running_ = 0;
    DWORD installed_ = 0;
};

// Runs work on a thread of its own in another single-threaded apartment, with
// Tendra's message filter, while this thread serves the calls the work makes
// into objects living here. Rethrows whatever the work threw.
void runInOtherApartment(const std::function<void()>& work,
                         cad::com::RetryPolicy policy = kQuickRetry);
void runInOtherApartment(const std::function<void(cad::com::ComApartment&)>& work,
                         cad::com::RetryPolicy policy = kQuickRetry);

// Dispatches the messages queued for this thread.
void pumpMessages();

// How the backend reaches the double: in the same apartment, or through the
// proxies COM makes between apartments, as it does for AutoCAD.
enum class Reach { Direct, Proxy };
std::string reachName(Reach reach);
inline void PrintTo(Reach reach, std::ostream* out) {
    *out << reachName(reach);
}
void runReaching(Reach reach, const std::function<void()>& work);

// Every case of a table, reached both ways: parameters (case, reach).
template <class Cases>
auto bothReaches(const Cases& cases) {
    return ::testing::Combine(::testing::ValuesIn(cases),
                              ::testing::Values(Reach::Direct, Reach::Proxy));
}
// Names a (case, reach) test "<case name>_<reach>".
inline const auto caseAndReachName = [](const auto& info) {
    return std::string(std::get<0>(info.param).name) + "_" + reachName(std::get<1>(info.param));
};

// COM started on the test's thread; when the test ends, the registrations are
// undone and no object of the double may still be alive.
class ComTest : public ::testing::Test {
  protected:
    void TearDown() override;

    cad::com::ComApartment apartment{kQuickRetry};
    std::shared_ptr<DoubleCad> cad = std::make_shared<DoubleCad>();
    std::unique_ptr<TestClass> testClass = std::make_unique<TestClass>();
};

}  // namespace tendra::testing::com
