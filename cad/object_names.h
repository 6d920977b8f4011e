// AutoCAD's class names (ObjectName) of the entity types Tendra numbers in
// cad::entity_type, in both directions.
#pragma once

#include <string_view>

namespace tendra::cad {

// "AcDbText" for entity_type::kText, ...; empty for a type without one here.
std::string_view objectNameOfType(int entityType);

// The entity type of a class name; 0 for a class Tendra has no number for.
int entityTypeOfObjectName(std::string_view objectName);

}  // namespace tendra::cad
