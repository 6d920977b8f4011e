// The about window as designed.
#pragma once

#include "ui/design.h"

namespace tendra {

const ui::WindowDesign& aboutfrmDesign();

}  // namespace tendra
