// A stand-in AutoCAD as a program of its own: the in-process automation double
// served to other processes as a local server and as the running object of its
// class. It answers GetPoint and SelectOnScreen from a script and writes its
// drawing to a report file after every call it serves.
//
//   tendra_cad_standin.exe --clsid {...} --script S.txt --report R.txt [--lifetime 120]
//
// The class is given: Wine's class table keeps the entry of a server that was
// killed, and would hand out its dead class object for that CLSID until the
// prefix's services restart, so every test serves a class of its own.
//
// Started by COM through LocalServer32 it gets -Embedding appended; it serves
// the same way either way. It ends on WM_QUIT, or after its lifetime, so a
// test that dies cannot leave it behind for long.
#include <windows.h>

#include <objbase.h>
#include <oleauto.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "tests/com/automation_double.h"
#include "tests/win32e2e/standin_files.h"
#include "win32/text.h"

namespace tendra::testing::e2e {
namespace {

using com::DoubleCad;
using com::DoubleFactory;
using com::DoubleSelectable;

// Rejects every automation call for a while from the first one, as an
// AutoCAD busy with a command of its own. Other interfaces (the remote
// IUnknown that attaching needs) are let through.
class BusyFilter final : public IMessageFilter {
  public:
    explicit BusyFilter(int milliseconds) : milliseconds_(milliseconds) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) {
            return E_POINTER;
        }
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMessageFilter)) {
            *object = static_cast<IMessageFilter*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // Lives as long as the program.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO info) override {
        if (milliseconds_ <= 0 || !info || !IsEqualIID(info->iid, IID_IDispatch)) {
            return SERVERCALL_ISHANDLED;
        }
        const ULONGLONG now = GetTickCount64();
        if (!since_) {
            since_ = now;
        }
        if (now - since_ < static_cast<ULONGLONG>(milliseconds_)) {
            ++rejected_;
            return SERVERCALL_REJECTED;
        }
        return SERVERCALL_ISHANDLED;
    }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override {
        return static_cast<DWORD>(-1);
    }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override {
        return PENDINGMSG_WAITDEFPROCESS;
    }

    int rejected() const { return rejected_; }
    // Whether calls are rejected now: from the first automation call on, for a while.
    bool busy() const {
        return since_ && GetTickCount64() - since_ < static_cast<ULONGLONG>(milliseconds_);
    }

  private:
    int milliseconds_;
    ULONGLONG since_ = 0;
    int rejected_ = 0;
};

class StandIn {
  public:
    StandIn(StandInScript script, std::wstring reportPath)
        : script_(std::move(script)),
          reportPath_(std::move(reportPath)),
          filter_(script_.busyMilliseconds) {
        std::vector<DoubleSelectable> selection;
        for (const auto& entity : script_.selection) {
            DoubleSelectable selected{entity.type,   entity.coordinates,          entity.bulges,
                                      entity.normal, win32::toUtf16(entity.text), entity.insertion};
            selected.layer = win32::toUtf16(entity.layer);
            selected.start = entity.start;
            selected.end = entity.end;
            selected.center = entity.center;
            selected.polylineType = entity.polylineType;
            selected.height = entity.height;
            selection.push_back(std::move(selected));
        }
        cad_->prepareSelection(std::move(selection));
        if (script_.startingMilliseconds || script_.settlingMilliseconds) {
            cad_->startUp(std::chrono::milliseconds(script_.startingMilliseconds),
                          std::chrono::milliseconds(script_.settlingMilliseconds));
        }
        if (script_.caption) {
            cad_->caption = win32::toUtf16(*script_.caption);
        }
        cad_->onInvoke = [this](const com::DoubleCall& call) {
            if (filter_.busy()) {
                ++servedWhileBusy_;
            }
            if (call.text() == "Utility.GetPoint") {
                cad_->inputEnding = E_FAIL;
                nextPick();
            }
        };
    }

    BusyFilter& filter() { return filter_; }
    const std::shared_ptr<DoubleCad>& cad() const { return cad_; }

    // Writes the report when anything changed since the last one; false
    // when it had to be written and could not be.
    bool report(const std::string& state, bool always = false) {
        StandInReport report;
        report.processId = GetCurrentProcessId();
        report.state = state;
        // Turned away by the message filter while busy, or by the double while starting.
        report.rejectedCalls = filter_.rejected() + cad_->rejectedCalls();
        report.servedWhileBusy = servedWhileBusy_;
        for (const auto& point : cad_->points()) {
            report.points.push_back({point.id, point.at[0], point.at[1], point.at[2], point.color});
        }
        for (const auto& name : groupNames()) {
            report.groups.emplace_back(name, *cad_->group(name));
        }
        report.variables = cad_->variables();
        report.selectionSets = cad_->selectionSets();
        report.calls = cad_->transcript();
        // A write that failed is tried again at the next message or tick.
        if (!always && report == last_) {
            return true;
        }
        if (!replaceFile(reportPath_, formatReport(report))) {
            return false;
        }
        last_ = std::move(report);
        return true;
    }

  private:
    // The double keeps its groups by name only; the calls tell their order.
    std::vector<std::string> groupNames() const {
        std::vector<std::string> names;
        const auto& calls = cad_->calls();
        for (const auto& call : calls) {
            if (call.text() == "Groups.Add" && SUCCEEDED(call.outcome) &&
                call.arguments.size() >= 2) {
                const std::string name = call.arguments.substr(1, call.arguments.size() - 2);
                if (cad_->group(name)) {
                    names.push_back(name);
                }
            }
        }
        return names;
    }

    void nextPick() {
        if (nextPick_ >= script_.picks.size()) {
            return;  // an empty queue ends the input
        }
        const PickStep step = script_.picks[nextPick_++];
        switch (step.kind) {
            case PickStep::Point:
                cad_->queuePoint(step.x, step.y, step.z);
                break;
            case PickStep::End:
                cad_->inputEnding = step.number;
                break;
            case PickStep::Hang:
                // The user never picks: the test ends this process from here.
                while (!report("picking", true)) {
                    Sleep(10);
                }
                Sleep(INFINITE);
                break;
            case PickStep::Wait:
                // The user takes a while; the test acts on Tendra meanwhile.
                while (!report("picking", true)) {
                    Sleep(10);
                }
                Sleep(static_cast<DWORD>(step.milliseconds));
                report("ready", true);
                nextPick();
                break;
        }
    }

    StandInScript script_;
    std::wstring reportPath_;
    BusyFilter filter_;
    std::shared_ptr<DoubleCad> cad_ = std::make_shared<DoubleCad>();
    std::size_t nextPick_ = 0;
    int servedWhileBusy_ = 0;
    StandInReport last_;
};

int fail(const std::wstring& reportPath, const std::string& why) {
    std::fprintf(stderr, "tendra_cad_standin: %s\n", why.c_str());
    if (!reportPath.empty()) {
        replaceFile(reportPath, "pid " + std::to_string(GetCurrentProcessId()) +
                                    "\nstate failed: " + why + "\n");
    }
    return 2;
}

int serve(int argc, wchar_t** argv) {
    std::wstring classId;
    std::wstring scriptPath;
    std::wstring reportPath;
    int lifetimeSeconds = 120;
    for (int i = 1; i < argc; ++i) {
        const std::wstring option = argv[i];
        if (option == L"--clsid" && i + 1 < argc) {
            classId = argv[++i];
        } else if (option == L"--script" && i + 1 < argc) {
            scriptPath = argv[++i];
        } else if (option == L"--report" && i + 1 < argc) {
            reportPath = argv[++i];
        } else if (option == L"--lifetime" && i + 1 < argc) {
            lifetimeSeconds = _wtoi(argv[++i]);
        } else if (_wcsicmp(option.c_str(), L"-Embedding") != 0 &&
                   _wcsicmp(option.c_str(), L"/Embedding") != 0) {
            return fail(reportPath, "unknown argument " + win32::toUtf8(option));
        }
    }
    if (reportPath.empty()) {
        return fail(reportPath, "no --report file");
    }
    CLSID clsid{};
    if (FAILED(CLSIDFromString(classId.c_str(), &clsid))) {
        return fail(reportPath, "no --clsid");
    }
    std::string error;
    const std::optional<StandInScript> script =
        scriptPath.empty() ? StandInScript{} : parseScript(readWholeFile(scriptPath), &error);
    if (!script) {
        return fail(reportPath, "script " + error);
    }

    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        return fail(reportPath, "COM does not start");
    }
    int status = 0;
    {
        StandIn standIn(*script, reportPath);
        IMessageFilter* previous = nullptr;
        CoRegisterMessageFilter(&standIn.filter(), &previous);

        com::ComPtr<IDispatch> application = com::makeApplication(standIn.cad());
        // One AutoCAD: every client that creates one gets the running application.
        com::ComPtr<DoubleFactory> factory =
            DoubleFactory::create([application] { return application; });
        DWORD classCookie = 0;
        DWORD runningCookie = 0;
        const HRESULT registered = CoRegisterClassObject(clsid, factory.get(), CLSCTX_LOCAL_SERVER,
                                                         REGCLS_MULTIPLEUSE, &classCookie);
        const HRESULT running =
            RegisterActiveObject(application.get(), clsid, ACTIVEOBJECT_STRONG, &runningCookie);
        if (FAILED(registered) || FAILED(running)) {
            status = fail(reportPath, "registration failed");
        } else {
            standIn.report("ready", true);
            const UINT_PTR lifetime =
                SetTimer(nullptr, 0, static_cast<UINT>(lifetimeSeconds) * 1000, nullptr);
            // Wakes the loop to retry a report that could not be written.
            SetTimer(nullptr, 0, 50, nullptr);
            MSG message;
            while (GetMessageW(&message, nullptr, 0, 0) > 0) {
                if (message.message == WM_TIMER && !message.hwnd && message.wParam == lifetime) {
                    break;
                }
                TranslateMessage(&message);
                DispatchMessageW(&message);
                standIn.report("ready");
            }
        }
        if (runningCookie) {
            RevokeActiveObject(runningCookie, nullptr);
        }
        if (classCookie) {
            CoRevokeClassObject(classCookie);
        }
        if (status == 0) {
            standIn.report("ended", true);
        }
        CoRegisterMessageFilter(previous, nullptr);
    }
    CoUninitialize();
    return status;
}

}  // namespace
}  // namespace tendra::testing::e2e

int wmain(int argc, wchar_t** argv) {
    return tendra::testing::e2e::serve(argc, argv);
}
