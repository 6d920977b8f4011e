// The answers a drawing gives the CAD surface's reads, as numbers, so that
// tests can put them in tables.
#pragma once

#include <vector>

#include "cad/board/model/drawing.h"

namespace tendra::board::testing {

enum class Read { Start, End, Centre, Normal, Coordinates, Type, Height };

inline std::vector<double> answer(const Drawing& drawing, EntityId id, Read what) {
    const auto flat = [](const cad::Point& p) { return std::vector<double>{p[0], p[1], p[2]}; };
    switch (what) {
        case Read::Start:
            return flat(drawing.startPoint(id));
        case Read::End:
            return flat(drawing.endPoint(id));
        case Read::Centre:
            return flat(drawing.center(id));
        case Read::Normal:
            return flat(drawing.normal(id));
        case Read::Coordinates:
            return drawing.coordinates(id);
        case Read::Type:
            return {double(drawing.polylineType(id))};
        case Read::Height:
            return {drawing.textHeight(id)};
    }
    return {};
}

}  // namespace tendra::board::testing
