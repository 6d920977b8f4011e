// The midas MCT parameters window as designed: the tendon property, the
// elements, the tendon group and the insertion point that only the model
// knows, asked once and kept for the run.
#pragma once

#include "ui/design.h"

namespace tendra {

// Text4's text until the user accepts another insertion point.
inline constexpr const char* kInitialInsertionPoint = "0, 0, 0";

const ui::WindowDesign& mctfrmDesign();

}  // namespace tendra
