#include "tests/com/com_harness.h"

#include <cwctype>
#include <exception>
#include <thread>
#include <utility>

#include "cad/com/com_ptr.h"
#include "win32/text.h"

namespace tendra::testing::com {

using cad::com::HandleGuard;

namespace {

// A ProgID no other test uses.
std::string freshProgId() {
    GUID guid{};
    CoCreateGuid(&guid);
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    std::wstring digits;
    for (const wchar_t* at = text; *at; ++at) {
        if (iswxdigit(*at)) {
            digits += *at;
        }
    }
    return win32::toUtf8(L"TendraTest." + digits.substr(0, 24));
}

}  // namespace

TestClass::TestClass() : TestClass(freshProgId()) {}

TestClass::TestClass(const std::string& name) {
    CoCreateGuid(&clsid_);
    wchar_t text[40] = {};
    StringFromGUID2(clsid_, text, 40);
    const std::wstring progId = win32::toUtf16(name);
    progId_ = name;
    key_ = L"Software\\Classes\\" + progId;
    HKEY key = nullptr;
    // Windows without elevation refuses HKLM; its HKCU then serves as well.
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        if (RegCreateKeyExW(root, (key_ + L"\\CLSID").c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                            &key, nullptr) == ERROR_SUCCESS) {
            root_ = root;
            break;
        }
    }
    if (key) {
        RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                       static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    } else {
        ADD_FAILURE() << "cannot register the ProgID " << progId_;
    }
}

TestClass::~TestClass() {
    if (running_) {
        RevokeActiveObject(running_, nullptr);
    }
    if (installed_) {
        CoRevokeClassObject(installed_);
    }
    if (root_) {
        RegDeleteTreeW(root_, key_.c_str());
    }
}

void TestClass::run(IUnknown* application) {
    if (running_) {
        RevokeActiveObject(std::exchange(running_, 0), nullptr);
    }
    ASSERT_EQ(RegisterActiveObject(application, clsid_, ACTIVEOBJECT_STRONG, &running_), S_OK);
}

void TestClass::install(IClassFactory* factory) {
    ASSERT_EQ(CoRegisterClassObject(clsid_, factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE,
                                    &installed_),
              S_OK);
}

void pumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void runInOtherApartment(const std::function<void()>& work, cad::com::RetryPolicy policy) {
    runInOtherApartment([&](cad::com::ComApartment&) { work(); }, policy);
}

void runInOtherApartment(const std::function<void(cad::com::ComApartment&)>& work,
                         cad::com::RetryPolicy policy) {
    HandleGuard done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::exception_ptr failure;
    std::thread client([&] {
        try {
            cad::com::ComApartment apartment(policy);
            work(apartment);
        } catch (...) {
            failure = std::current_exception();
        }
        SetEvent(done.get());
    });
    HANDLE handle = done.get();
    while (MsgWaitForMultipleObjectsEx(1, &handle, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE) !=
           WAIT_OBJECT_0) {
        pumpMessages();
    }
    client.join();
    pumpMessages();
    if (failure) {
        std::rethrow_exception(failure);
    }
}

std::string reachName(Reach reach) {
    return reach == Reach::Direct ? "Direct" : "Proxy";
}

void runReaching(Reach reach, const std::function<void()>& work) {
    if (reach == Reach::Direct) {
        work();
    } else {
        runInOtherApartment(work);
    }
}

void ComTest::TearDown() {
    testClass.reset();
    pumpMessages();
    EXPECT_EQ(liveObjects(), 0) << "objects of the double outlived the test";
}

}  // namespace tendra::testing::com
