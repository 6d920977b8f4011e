#include "ui/win32/picture_control.h"

#include <algorithm>
#include <cwctype>
#include <string>
#include <utility>
#include <vector>

#include "ui/win32/colours.h"
#include "ui/win32/designed_window.h"
#include "win32/text.h"

namespace tendra::ui::win32 {

using tendra::win32::toUtf16;

namespace {

// A picture as a resource of the program: an icon, drawn at its natural size,
// or a bitmap. Null when the program has none of that name. Each is decoded
// once and kept for the program's life: the windows paint them often.
struct Picture {
    HANDLE handle = nullptr;
    bool isIcon = false;
};

Picture loadPicture(const char* name) {
    static std::vector<std::pair<std::string, Picture>> loaded;
    for (const auto& [loadedName, picture] : loaded) {
        if (loadedName == name) {
            return picture;
        }
    }
    std::wstring resource = toUtf16(name);
    std::transform(resource.begin(), resource.end(), resource.begin(), ::towupper);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    Picture picture;
    if (HANDLE icon = LoadImageW(instance, resource.c_str(), IMAGE_ICON, 0, 0, 0)) {
        picture = {icon, true};
    } else {
        picture = {LoadImageW(instance, resource.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION),
                   false};
    }
    loaded.emplace_back(name, picture);
    return picture;
}

void paintPicture(HWND hwnd, HDC dc, const ControlDesign& design, COLORREF background) {
    RECT client{};
    GetClientRect(hwnd, &client);
    HBRUSH fill = CreateSolidBrush(background);
    FillRect(dc, &client, fill);
    DeleteObject(fill);
    if (!design.picture) {
        return;
    }
    const Picture picture = loadPicture(design.picture);
    if (!picture.handle) {
        return;
    }
    if (picture.isIcon) {
        DrawIconEx(dc, 0, 0, static_cast<HICON>(picture.handle), 0, 0, 0, nullptr, DI_NORMAL);
        return;
    }
    HBITMAP bitmap = static_cast<HBITMAP>(picture.handle);
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, bitmap);
    if (design.stretched) {
        SetStretchBltMode(dc, HALFTONE);
        StretchBlt(dc, 0, 0, client.right, client.bottom, source, 0, 0, info.bmWidth, info.bmHeight,
                   SRCCOPY);
    } else {
        BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
    }
    SelectObject(source, old);
    DeleteDC(source);
}

}  // namespace

LRESULT CALLBACK pictureProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(hwnd, &paint);
            DesignedWindow* owner = DesignedWindow::containing(hwnd);
            const ControlDesign* design = owner ? owner->designOf(hwnd) : nullptr;
            if (design) {
                const COLORREF background = design->background   ? colourRef(*design->background)
                                            : design->foreground ? colourRef(*design->foreground)
                                                                 : GetSysColor(COLOR_BTNFACE);
                paintPicture(hwnd, dc, *design, background);
            }
            EndPaint(hwnd, &paint);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONUP:
            SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), STN_CLICKED),
                         reinterpret_cast<LPARAM>(hwnd));
            return 0;
        case WM_LBUTTONDBLCLK:
            SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), STN_DBLCLK),
                         reinterpret_cast<LPARAM>(hwnd));
            return 0;
        case WM_COMMAND:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
            return SendMessageW(GetParent(hwnd), message, wParam, lParam);
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace tendra::ui::win32
