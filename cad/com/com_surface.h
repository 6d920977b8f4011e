// The CAD surface over AutoCAD's automation objects.
#pragma once

#include "cad/com/dispatch.h"
#include "cad/surface.h"

namespace tendra::cad::com {

// The surface over an application object; every object reached from it
// shares its policy and member ids.
ApplicationPtr wrapApplication(Dispatch application);

// The entity type AutoCAD numbers for the class an entity's ObjectName gives;
// 0 for a class Tendra has no number for.
int entityTypeOfObjectName(std::string_view objectName);

}  // namespace tendra::cad::com
