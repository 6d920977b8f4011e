// Entity kinds the loader reads from the group codes itself rather than
// through dxflib: block references with their attributes, dimensions,
// ellipses, splines, solids and traces, hatches and leaders. Strings in the
// result are still the file's raw bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "cad/board/model/drawing.h"

namespace tendra::board::dxf {

struct Pair {
    int code;
    std::string_view value;
    std::size_t line;  // of the value
};

// Without the blanks and tabs around it.
std::string_view trim(std::string_view text);
// An integer, also when written as a real with a fraction of zeros ("2.0000").
std::optional<long long> parseInteger(std::string_view text);
// A group code: an integer written as one.
std::optional<long long> parseGroupCode(std::string_view text);
std::optional<double> parseReal(std::string_view text);

// Whether the loader reads this kind itself.
bool readsItself(std::string_view name);
// The entity of that kind from its pairs (after its code 0); none when the
// pairs do not make one (a spline without points).
std::optional<Geometry> readEntity(std::string_view name, const std::vector<Pair>& pairs);
// An ATTRIB's text, tag and placement; none for an invisible one.
std::optional<Attribute> readAttribute(const std::vector<Pair>& pairs);

// A spline's curve as a polyline: the B-spline of its control points and
// knots when they agree, else a smooth curve through its fit points, else
// the control polygon.
std::vector<Vec2> splineCurve(const Spline& spline);

}  // namespace tendra::board::dxf
