#include "ui/win32/designed_names.h"

#include <algorithm>

#include "win32/text.h"

namespace tendra::ui::win32 {

namespace {

using tendra::win32::toUtf16;
using tendra::win32::toUtf8;

struct FindState {
    std::string_view name;
    HWND found = nullptr;
};

BOOL CALLBACK findChild(HWND child, LPARAM lParam) {
    auto* state = reinterpret_cast<FindState*>(lParam);
    if (designedName(child) == state->name) {
        state->found = child;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

void setDesignedName(HWND window, const char* name) {
    const ATOM atom = GlobalAddAtomW(toUtf16(name).c_str());
    SetPropW(window, kNameProperty, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(atom)));
}

void clearDesignedName(HWND window) {
    const auto atom =
        static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(RemovePropW(window, kNameProperty)));
    if (atom != 0) {
        GlobalDeleteAtom(atom);
    }
}

std::string designedName(HWND window) {
    const auto atom =
        static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(GetPropW(window, kNameProperty)));
    if (atom == 0) {
        return {};
    }
    wchar_t name[256];
    const UINT length = GlobalGetAtomNameW(atom, name, 256);
    return toUtf8(std::wstring_view(name, length));
}

HWND findDesigned(HWND window, std::string_view name) {
    if (designedName(window) == name) {
        return window;
    }
    FindState state{name};
    EnumChildWindows(window, findChild, reinterpret_cast<LPARAM>(&state));
    return state.found;
}

std::string windowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return toUtf8(text);
}

void setWindowText(HWND window, std::string_view text) {
    SetWindowTextW(window, toUtf16(text).c_str());
}

}  // namespace tendra::ui::win32
