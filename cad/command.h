// What the drawing commands share: how a failed CAD call is judged, the texts
// they show, and the marker points they draw.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "cad/surface.h"

namespace tendra::cad {

class Module1;

// What the commands show the user. Every box is titled kErrorTitle, with the
// stop icon.
inline constexpr const char* kErrorTitle = "错误";
inline constexpr const char* kUnknownErrorText = "未知错误！";

inline constexpr int kOriginColor = 1;               // red
inline constexpr int kNodeColor = 3;                 // green
inline constexpr std::int16_t kMarkerPointMode = 3;  // points drawn as an X

// Whether a failed pick or selection is the user ending the input (Enter, a
// right click, Esc) rather than a fault.
bool endsInput(std::int32_t errorNumber);

// Whether a pick or selection that failed with this number was the user
// ending it, on the CAD the connection holds. The numbers `knownEnding`
// accepts always are. A compatible CAD reports the ending under numbers of
// its own, so there any other number is too when the CAD answers a read of
// its caption at once afterwards, as a CAD that faulted or went away does
// not. With AutoCAD any other number is a fault.
bool endedByUser(std::int32_t errorNumber, const Module1& module1,
                 bool (*knownEnding)(std::int32_t) = endsInput);

// Runs CAD calls; returns the number of the failure that stopped them, or
// nothing when all succeeded. A failure that carries no CAD number counts as
// E_UNEXPECTED, which no command takes for the user's doing.
std::optional<std::int32_t> attempt(const std::function<void()>& calls);

// Draws a marker point at (x, y, 0) in this colour and returns it. A marker
// that was drawn but could not be coloured stays in the drawing.
EntityPtr addMarker(ModelSpace& modelSpace, double x, double y, int color);

}  // namespace tendra::cad
