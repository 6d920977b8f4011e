#include "cad/command.h"

#include <exception>

#include "cad/connection.h"

namespace tendra::cad {

namespace {

constexpr std::int32_t kUnexpected = -2147418113;  // E_UNEXPECTED

}  // namespace

bool endsInput(std::int32_t errorNumber) {
    return errorNumber == kEFail || errorNumber == kInputEnded;
}

bool endedByUser(std::int32_t errorNumber, const Module1& module1,
                 bool (*knownEnding)(std::int32_t)) {
    if (knownEnding(errorNumber)) {
        return true;
    }
    if (module1.kind() != CadKind::Compatible) {
        return false;
    }
    return !attempt([&] { module1.requireApplication().caption(); });
}

std::optional<std::int32_t> attempt(const std::function<void()>& calls) {
    try {
        calls();
    } catch (const CadError& error) {
        return error.number();
    } catch (const std::exception&) {
        return kUnexpected;
    }
    return std::nullopt;
}

EntityPtr addMarker(ModelSpace& modelSpace, double x, double y, int color) {
    EntityPtr marker = modelSpace.addPoint({x, y, 0});
    required(marker).setColor(color);
    return marker;
}

}  // namespace tendra::cad
