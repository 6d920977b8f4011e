// Measures how long programs take from being started to showing their main
// window, as whole processes: each run starts the program, polls for a
// visible top-level window of that process with the caption, and ends it.
// Runs alternate between the programs, so a drift in the machine's load
// affects them alike.
//
//   start_probe.exe [--runs 10] [--title "Tendra V2.0"] PROGRAM...
//
// Prints each run's time, the median per program, and each program's median
// over the last one's.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

double seconds() {
    static const double frequency = [] {
        LARGE_INTEGER value;
        QueryPerformanceFrequency(&value);
        return static_cast<double>(value.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / frequency;
}

struct Search {
    DWORD processId;
    const std::wstring* title;
    bool found = false;
};

BOOL CALLBACK lookAt(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || !IsWindowVisible(window)) {
        return TRUE;
    }
    wchar_t title[256] = {};
    GetWindowTextW(window, title, static_cast<int>(std::size(title)));
    if (*search.title == title) {
        search.found = true;
        return FALSE;
    }
    return TRUE;
}

// Milliseconds from CreateProcess to the window, or a negative number when
// the program did not start or showed no window within 30 s.
double timeToWindow(const std::wstring& program, const std::wstring& title) {
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const double start = seconds();
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return -1;
    }
    Search search{process.dwProcessId, &title};
    double elapsed = -1;
    while (seconds() - start < 30) {
        EnumWindows(lookAt, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            elapsed = (seconds() - start) * 1000;
            break;
        }
        if (WaitForSingleObject(process.hProcess, 1) != WAIT_TIMEOUT) {
            break;  // ended without a window
        }
    }
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string utf8(const std::wstring& text) {
    std::string result;
    for (wchar_t c : text) {
        result += c < 0x80 ? static_cast<char>(c) : '?';
    }
    return result;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    int runs = 10;
    std::wstring title = L"Tendra V2.0";
    std::vector<std::wstring> programs;
    for (int i = 1; i < argc; ++i) {
        const std::wstring argument = argv[i];
        if (argument == L"--runs" && i + 1 < argc) {
            runs = _wtoi(argv[++i]);
        } else if (argument == L"--title" && i + 1 < argc) {
            title = argv[++i];
        } else {
            programs.push_back(argument);
        }
    }
    if (programs.empty() || runs < 1) {
        std::fprintf(stderr, "usage: start_probe [--runs N] [--title T] PROGRAM...\n");
        return 2;
    }
    std::vector<std::vector<double>> times(programs.size());
    for (int run = 1; run <= runs; ++run) {
        for (std::size_t p = 0; p < programs.size(); ++p) {
            const double ms = timeToWindow(programs[p], title);
            if (ms < 0) {
                std::fprintf(stderr, "%s: no window \"%s\"\n", utf8(programs[p]).c_str(),
                             utf8(title).c_str());
                return 1;
            }
            times[p].push_back(ms);
            std::printf("run %2d  %-40s %8.1f ms\n", run,
                        utf8(programs[p].substr(programs[p].find_last_of(L"\\/") + 1)).c_str(), ms);
            std::fflush(stdout);
            Sleep(200);
        }
    }
    const double last = median(times.back());
    for (std::size_t p = 0; p < programs.size(); ++p) {
        const double m = median(times[p]);
        std::printf("median  %-40s %8.1f ms  %.2fx\n",
                    utf8(programs[p].substr(programs[p].find_last_of(L"\\/") + 1)).c_str(), m,
                    m / last);
    }
    return 0;
}
