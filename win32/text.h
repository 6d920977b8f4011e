// UTF-8 in the rest of Tendra, UTF-16 where Windows takes text: the COM
// backend and the Win32 windows both convert here, and only here.
#pragma once

#include <string>
#include <string_view>

namespace tendra::win32 {

std::wstring toUtf16(std::string_view text);
std::string toUtf8(std::wstring_view text);

}  // namespace tendra::win32
