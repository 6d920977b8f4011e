// Designed faces that may be missing, and the faces that stand in for them.
#pragma once

#include <span>
#include <string_view>

namespace tendra::ui {

// Installed faces of about the same look and width as a designed one, best
// first, so designed captions still fit their controls: "Tahoma" falls back
// to DejaVu Sans Condensed, "Verdana" to DejaVu Sans, "宋体" to SimSun, Noto
// Serif CJK SC (a Song face like it), Noto Sans CJK SC. None for other faces.
std::span<const char* const> standInFaces(std::string_view family);

}  // namespace tendra::ui
