#include "ui/fonts.h"

namespace tendra::ui {

namespace {

// Tahoma is narrower than Verdana; DejaVu Sans has Verdana's widths.
constexpr const char* kTahoma[] = {"DejaVu Sans Condensed", "DejaVu Sans"};
constexpr const char* kVerdana[] = {"DejaVu Sans"};
constexpr const char* kSongTi[] = {"SimSun", "Noto Serif CJK SC", "Noto Sans CJK SC"};

}  // namespace

std::span<const char* const> standInFaces(std::string_view family) {
    if (family == "Tahoma") {
        return kTahoma;
    }
    if (family == "Verdana") {
        return kVerdana;
    }
    if (family == "宋体" || family == "SimSun") {
        return {kSongTi + (family == "SimSun" ? 1 : 0), kSongTi + 3};
    }
    return {};
}

}  // namespace tendra::ui
