// UTF-8 in the rest of Tendra, UTF-16 in COM: the conversion happens here only.
#pragma once

#include <string>
#include <string_view>

namespace tendra::cad::com {

std::wstring toUtf16(std::string_view text);
std::string toUtf8(std::wstring_view text);

}  // namespace tendra::cad::com
