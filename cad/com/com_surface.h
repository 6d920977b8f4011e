// The CAD surface over AutoCAD's automation objects.
#pragma once

#include "cad/com/dispatch.h"
#include "cad/surface.h"

namespace tendra::cad::com {

// The surface over an application object; every object reached from it
// shares its policy and member ids.
ApplicationPtr wrapApplication(Dispatch application);

}  // namespace tendra::cad::com
