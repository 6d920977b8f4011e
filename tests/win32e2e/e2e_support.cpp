#include "tests/win32e2e/e2e_support.h"

#include <objbase.h>
#include <tlhelp32.h>

#include <thread>
#include <utility>

namespace tendra::testing::e2e {

std::string utf8(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size,
                        nullptr, nullptr);
    return result;
}

std::wstring utf16(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(),
                        size);
    return result;
}

namespace {

std::wstring thisProgram() {
    wchar_t path[MAX_PATH * 4] = {};
    GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    return path;
}

std::wstring folderOf(const std::wstring& path) {
    return path.substr(0, path.find_last_of(L"\\/"));
}

std::wstring quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

const std::wstring kStandInProgram = L"tendra_cad_standin.exe";

void setValue(HKEY root, const std::wstring& key, const std::wstring& value) {
    HKEY opened = nullptr;
    if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &opened, nullptr) ==
        ERROR_SUCCESS) {
        RegSetValueExW(opened, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(opened);
    }
}

}  // namespace

std::wstring besideThisProgram(const std::wstring& name) {
    return folderOf(thisProgram()) + L"\\" + name;
}

// The test program lives in <build>/tests/win32e2e.
std::wstring inBuildTree(const std::wstring& relativePath) {
    std::wstring path = folderOf(folderOf(folderOf(thisProgram()))) + L"\\" + relativePath;
    for (wchar_t& c : path) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return path;
}

bool fileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool waitUntil(const std::function<bool()>& ready, std::chrono::milliseconds timeout) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    while (!ready()) {
        if (std::chrono::steady_clock::now() > until) {
            return false;
        }
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

// --- Process -----------------------------------------------------------------

Process::Process(const std::wstring& commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring line = commandLine;
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &info)) {
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        id_ = info.dwProcessId;
    }
}

Process Process::attach(DWORD processId) {
    Process process;
    process.process_ = OpenProcess(
        PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    process.id_ = process.process_ ? processId : 0;
    return process;
}

Process::~Process() {
    kill();
}

Process::Process(Process&& other) noexcept
    : process_(std::exchange(other.process_, nullptr)), id_(std::exchange(other.id_, 0)) {}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        kill();
        process_ = std::exchange(other.process_, nullptr);
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

bool Process::running() const {
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

void Process::kill() {
    if (!process_) {
        return;
    }
    if (running()) {
        TerminateProcess(process_, 9);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
    process_ = nullptr;
}

void endStrayProcesses(const std::wstring& executableName) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return;
    }
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        if (_wcsicmp(entry.szExeFile, executableName.c_str()) == 0 &&
            entry.th32ProcessID != GetCurrentProcessId()) {
            Process::attach(entry.th32ProcessID).kill();
        }
    }
    CloseHandle(snapshot);
}

// --- StandIn -----------------------------------------------------------------

StandIn::StandIn(const std::string& script, std::wstring progId) : progId_(std::move(progId)) {
    // A stand-in left by an earlier test would answer in this one's place.
    endStrayProcesses(kStandInProgram);
    wchar_t temporary[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temporary);
    folder_ = std::wstring(temporary) + L"tendra-e2e-" + std::to_wstring(GetCurrentProcessId()) +
              L"-" + std::to_wstring(GetTickCount64());
    CreateDirectoryW(folder_.c_str(), nullptr);
    script_ = folder_ + L"\\script.txt";
    report_ = folder_ + L"\\report.txt";
    replaceFile(script_, script);
    registerClass();
}

// The stand-in's arguments, without -Embedding.
std::wstring StandIn::commandLine() const {
    return quoted(besideThisProgram(kStandInProgram)) + L" --clsid " + classId_ + L" --script " +
           quoted(script_) + L" --report " + quoted(report_);
}

void StandIn::registerClass() {
    if (!classId_.empty()) {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, (L"Software\\Classes\\CLSID\\" + classId_).c_str());
    }
    GUID id{};
    CoCreateGuid(&id);
    wchar_t text[40] = {};
    StringFromGUID2(id, text, 40);
    classId_ = text;
    const std::wstring classes = L"Software\\Classes\\";
    const std::wstring classKey = classes + L"CLSID\\" + classId_;
    setValue(HKEY_LOCAL_MACHINE, classes + progId_ + L"\\CLSID", classId_);
    setValue(HKEY_LOCAL_MACHINE, classKey + L"\\ProgID", progId_);
    setValue(HKEY_LOCAL_MACHINE, classKey + L"\\LocalServer32", commandLine());
}

StandIn::~StandIn() {
    process().kill();
    endStrayProcesses(kStandInProgram);
    uninstall();
    DeleteFileW(script_.c_str());
    DeleteFileW(report_.c_str());
    RemoveDirectoryW(folder_.c_str());
}

void StandIn::uninstall() {
    const std::wstring classes = L"Software\\Classes\\";
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, (classes + progId_).c_str());
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, (classes + L"CLSID\\" + classId_).c_str());
}

bool StandIn::start() {
    process_ = Process(commandLine());
    return process_.started() &&
           waitForReport([](const StandInReport& report) { return report.state == "ready"; });
}

void StandIn::restartWith(const std::string& script) {
    replaceFile(script_, script);
    registerClass();
}

StandInReport StandIn::report() const {
    return parseReport(readWholeFile(report_));
}

bool StandIn::waitForReport(const std::function<bool(const StandInReport&)>& ready,
                            std::chrono::milliseconds timeout) const {
    return waitUntil([&] { return ready(report()); }, timeout);
}

Process& StandIn::process() {
    if (!process_.started()) {
        if (const DWORD id = report().processId) {
            process_ = Process::attach(id);
        }
    }
    return process_;
}

// --- Windows -----------------------------------------------------------------

namespace {

std::wstring classOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return name;
}

std::wstring titleOf(HWND window) {
    const std::optional<std::string> text = textOf(window);
    return text ? utf16(*text) : std::wstring();
}

std::vector<HWND> childrenOf(HWND window) {
    std::vector<HWND> children;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM found) {
            reinterpret_cast<std::vector<HWND>*>(found)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    return children;
}

}  // namespace

HWND topWindowOf(DWORD processId, const std::wstring& title, const std::wstring& className) {
    struct Search {
        DWORD processId;
        const std::wstring& title;
        const std::wstring& className;
        HWND found = nullptr;
    } search{processId, title, className};
    EnumWindows(
        [](HWND window, LPARAM data) {
            auto& search = *reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != search.processId || !IsWindowVisible(window)) {
                return TRUE;
            }
            if ((!search.title.empty() && titleOf(window) != search.title) ||
                (!search.className.empty() && classOf(window) != search.className)) {
                return TRUE;
            }
            search.found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The name is a global atom in a window property, readable from any process.
std::string designedNameOf(HWND window) {
    const auto atom =
        static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(window, L"TendraName")));
    if (!atom) {
        return {};
    }
    wchar_t name[256] = {};
    const UINT length = GlobalGetAtomNameW(atom, name, static_cast<int>(std::size(name)));
    return utf8(std::wstring(name, length));
}

HWND controlNamed(HWND window, const std::string& name) {
    for (HWND child : childrenOf(window)) {
        if (designedNameOf(child) == name) {
            return child;
        }
    }
    return nullptr;
}

std::optional<std::string> textOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) {
        return std::nullopt;
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, 2000, &copied)) {
        return std::nullopt;
    }
    text.resize(copied);
    return utf8(text);
}

std::optional<bool> tickOf(HWND checkBox) {
    DWORD_PTR state = 0;
    if (!SendMessageTimeoutW(checkBox, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &state)) {
        return std::nullopt;
    }
    return state == BST_CHECKED;
}

void click(HWND button) {
    PostMessageW(button, BM_CLICK, 0, 0);
}

void mouseClick(HWND button) {
    PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
}

std::optional<MessageBoxSeen> messageBoxOf(DWORD processId) {
    HWND box = topWindowOf(processId, L"", L"#32770");
    if (!box) {
        return std::nullopt;
    }
    MessageBoxSeen seen{box, utf8(titleOf(box)), ""};
    // The box's text is its static control with identifier 0xFFFF; the icon
    // is a static without text.
    for (HWND child : childrenOf(box)) {
        if (classOf(child) == L"Static" && seen.text.empty()) {
            seen.text = textOf(child).value_or("");
        }
    }
    return seen;
}

void dismiss(const MessageBoxSeen& box) {
    press(box, IDOK);
}

void press(const MessageBoxSeen& box, int button) {
    PostMessageW(box.window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

}  // namespace tendra::testing::e2e
