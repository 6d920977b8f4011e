// Form1, the main window, as designed: its controls, the instructions text,
// and the rule by which the help button folds the instructions in and out.
#pragma once

#include <cstdint>
#include <string>

#include "ui/design.h"

namespace tendra {

// The window's caption.
inline constexpr const char* kMainWindowCaption = "Tendra V2.0";

// Designed sizes in twips: the client area at start, and the outer heights
// (title bar and border included) the help button switches between. Both
// heights include the output-format row below the buttons.
inline constexpr int kClientWidthTwips = 6465;
inline constexpr int kOutputFormatRowTwips = 480;
inline constexpr int kCompactClientHeightTwips = 5220 + kOutputFormatRowTwips;
inline constexpr int kExpandedOuterHeightTwips = 8475 + kOutputFormatRowTwips;
inline constexpr int kCompactOuterHeightTwips = 5700 + kOutputFormatRowTwips;

// Combo1's entries, in order: the output formats the capture commands write.
inline constexpr const char* kNodeTableFormat = "节点表";
inline constexpr const char* kMidasMctFormat = "midas MCT";

// The window and its controls, in tab order.
const ui::WindowDesign& form1Design();

// The instructions Label5 shows: five lines joined by CR LF, the last ending
// with the vendor's home page.
std::string instructionsText();

// The help-click count after one more click: 16 bits that wrap around, so
// the expanded and compact states keep alternating however often it is
// clicked.
std::int16_t nextHelpClickCount(std::int16_t count);
// The outer height, in twips, that goes with a help-click count.
int helpOuterHeightTwips(std::int16_t count);

}  // namespace tendra
