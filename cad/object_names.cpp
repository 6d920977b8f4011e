#include "cad/object_names.h"

#include "cad/surface.h"

namespace tendra::cad {

namespace {

struct Known {
    int type;
    std::string_view objectName;
};

constexpr Known kKnown[] = {
    {entity_type::kArc, "AcDbArc"},
    {entity_type::kCircle, "AcDbCircle"},
    {entity_type::kLine, "AcDbLine"},
    {entity_type::kMText, "AcDbMText"},
    {entity_type::kPoint, "AcDbPoint"},
    {entity_type::kPolyline, "AcDb2dPolyline"},
    {entity_type::kLightweightPolyline, "AcDbPolyline"},
    {entity_type::kText, "AcDbText"},
};

}  // namespace

std::string_view objectNameOfType(int entityType) {
    for (const Known& known : kKnown) {
        if (known.type == entityType) {
            return known.objectName;
        }
    }
    return {};
}

int entityTypeOfObjectName(std::string_view objectName) {
    for (const Known& known : kKnown) {
        if (known.objectName == objectName) {
            return known.type;
        }
    }
    return 0;
}

}  // namespace tendra::cad
