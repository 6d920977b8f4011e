// Starts a program and waits until it maps a top-level window with a given
// title, then prints the time from the start to the map and the program's
// peak resident memory so far, and ends the program.
//
//   tendra_map_probe TITLE TIMEOUT_MS PROGRAM [ARGUMENTS...]
//
// Prints "<milliseconds> <peak RSS in kB>" on success; exits non-zero when the
// window did not appear in time or the program ended first.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

// The window's title: _NET_WM_NAME (UTF-8) where set, else WM_NAME.
std::string titleOf(Display* display, Window window) {
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count,
                           &remaining, &data) == Success &&
        data) {
        title.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
        if (!title.empty()) {
            return title;
        }
    }
    char* name = nullptr;
    if (XFetchName(display, window, &name) && name) {
        title = name;
        XFree(name);
    }
    return title;
}

long peakRssKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s TITLE TIMEOUT_MS PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    const std::string wanted = argv[1];
    const auto timeout = std::chrono::milliseconds(std::stol(argv[2]));
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    // Top-level windows are the root's children: their maps reach the root.
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[3], argv + 3);
        _exit(127);
    }
    int result = 1;
    const int connection = ConnectionNumber(display);
    while (Clock::now() - start < timeout) {
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            std::fprintf(stderr, "%s ended before it showed \"%s\"\n", argv[3], wanted.c_str());
            return 1;
        }
        if (!XPending(display)) {
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(connection, &readable);
            timeval wait{0, 5000};
            select(connection + 1, &readable, nullptr, nullptr, &wait);
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != MapNotify) {
            continue;
        }
        // The title is set before the window is first mapped.
        if (titleOf(display, event.xmap.window) == wanted) {
            const double ms =
                std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            std::printf("%.1f %ld\n", ms, peakRssKb(child));
            result = 0;
            break;
        }
    }
    if (result != 0) {
        std::fprintf(stderr, "no window \"%s\" within %s ms\n", wanted.c_str(), argv[2]);
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    XCloseDisplay(display);
    return result;
}
