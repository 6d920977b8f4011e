#include "ui/win32/window_classes.h"

#include <commctrl.h>

#include <string_view>

#include "ui/win32/picture_control.h"

namespace tendra::ui::win32 {

void registerClasses() {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(WNDCLASSEXW);
        windowClass.style = CS_DBLCLKS;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hIcon = LoadIconW(windowClass.hInstance, L"TENDRA");
        windowClass.lpszClassName = kWindowClass;
        windowClass.lpfnWndProc = DefWindowProcW;  // replaced per window at creation
        RegisterClassExW(&windowClass);

        WNDCLASSEXW pictureClass{};
        pictureClass.cbSize = sizeof(WNDCLASSEXW);
        pictureClass.style = CS_DBLCLKS;
        pictureClass.hInstance = windowClass.hInstance;
        pictureClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        pictureClass.lpszClassName = kPictureClass;
        pictureClass.lpfnWndProc = pictureProc;
        RegisterClassExW(&pictureClass);

        INITCOMMONCONTROLSEX common{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&common);
        return true;
    }();
    (void)registered;
}

void withoutTheme(HWND control) {
    using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
    static const auto setWindowTheme = [] {
        HMODULE uxtheme = LoadLibraryW(L"uxtheme.dll");
        return uxtheme ? reinterpret_cast<SetWindowThemeFn>(
                             reinterpret_cast<void*>(GetProcAddress(uxtheme, "SetWindowTheme")))
                       : nullptr;
    }();
    if (setWindowTheme) {
        setWindowTheme(control, L"", L"");
    }
}

namespace {

BOOL CALLBACK collectOurs(HWND window, LPARAM lParam) {
    wchar_t name[64];
    if (GetClassNameW(window, name, 64) && std::wstring_view(name) == kWindowClass) {
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(window);
    }
    return TRUE;
}

}  // namespace

std::vector<HWND> threadWindows() {
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), collectOurs, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

}  // namespace tendra::ui::win32
