// What the end-to-end tests share: the stand-in AutoCAD registered and
// started, programs started and ended, and another process's windows found by
// their designed names and read with window messages.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/win32e2e/standin_files.h"

namespace tendra::testing::e2e {

using namespace std::chrono_literals;

// A program of this build, next to the test program or at a path relative to
// the build's top folder.
std::wstring besideThisProgram(const std::wstring& name);
std::wstring inBuildTree(const std::wstring& relativePath);
bool fileExists(const std::wstring& path);

// Polls `ready` every 20 ms until it holds or `timeout` passes.
bool waitUntil(const std::function<bool()>& ready, std::chrono::milliseconds timeout = 10s);

// A process this test started; ended and waited for when the object goes.
class Process {
  public:
    Process() = default;
    explicit Process(const std::wstring& commandLine);
    ~Process();
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;

    static Process attach(DWORD processId);

    bool started() const { return process_ != nullptr; }
    DWORD id() const { return id_; }
    bool running() const;
    // Ends it at once, as the task manager would.
    void kill();

  private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// One stand-in AutoCAD for one test: its script and report files, and a class
// of its own registered under HKLM\Software\Classes as "AutoCAD.Application"
// (or another CAD's ProgID) with a LocalServer32 that starts it with this
// script. The registration and any stand-in still running go with the object.
class StandIn {
  public:
    explicit StandIn(const std::string& script, std::wstring progId = kAutoCadProgId);
    ~StandIn();
    StandIn(const StandIn&) = delete;
    StandIn& operator=(const StandIn&) = delete;

    // Starts it as AutoCAD is started by hand, and waits until it is registered.
    bool start();
    // No AutoCAD on this machine: the ProgID and the class are unregistered.
    void uninstall();
    // The script a stand-in that COM starts from now on answers from, under a
    // class of its own.
    void restartWith(const std::string& script);
    // The report as the stand-in last wrote it; empty before it first did.
    StandInReport report() const;
    // Waits until the report satisfies `ready`.
    bool waitForReport(const std::function<bool(const StandInReport&)>& ready,
                       std::chrono::milliseconds timeout = 10s) const;
    // The running stand-in, whoever started it; attaches through the report.
    Process& process();
    const std::wstring& reportPath() const { return report_; }

  private:
    void registerClass();
    std::wstring commandLine() const;

    std::wstring progId_;
    std::wstring classId_;
    std::wstring folder_;
    std::wstring script_;
    std::wstring report_;
    Process process_;
};

// Every stand-in and every program of this name still running in the prefix.
void endStrayProcesses(const std::wstring& executableName);

// --- Another process's windows ----------------------------------------------
// A visible top-level window of this process with this title (any title when
// empty) and window class (any class when empty).
HWND topWindowOf(DWORD processId, const std::wstring& title, const std::wstring& className = L"");
// The descendant that carries this designed name; null when there is none.
HWND controlNamed(HWND window, const std::string& name);
// The designed name a window carries, "" when none.
std::string designedNameOf(HWND window);
// A window's text by WM_GETTEXT, as UTF-8, with a timeout so a busy owner
// cannot hang the test; nullopt when it did not answer.
std::optional<std::string> textOf(HWND window);
// Whether a check box is ticked, by BM_GETCHECK with a timeout; nullopt when
// its owner did not answer.
std::optional<bool> tickOf(HWND checkBox);
// Presses a button by a posted BM_CLICK: the handler may run a long modal
// call, and the test must keep polling meanwhile.
void click(HWND button);

// Presses a button as the mouse does: a button-down and a button-up queued
// for it, input as far as its program can tell.
void mouseClick(HWND button);

// A message box of this process: its title and its text.
struct MessageBoxSeen {
    HWND window = nullptr;
    std::string title;
    std::string text;
};
std::optional<MessageBoxSeen> messageBoxOf(DWORD processId);
// Closes it as its OK button does.
void dismiss(const MessageBoxSeen& box);
// Closes it as the button with this identifier (IDYES, IDNO) does.
void press(const MessageBoxSeen& box, int button);

std::string utf8(const std::wstring& text);
std::wstring utf16(const std::string& text);

}  // namespace tendra::testing::e2e
