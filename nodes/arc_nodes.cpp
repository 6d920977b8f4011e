#include "nodes/arc_nodes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tendra {

namespace {

struct Vec {
    double x = 0;
    double y = 0;
};

Vec operator-(Vec a, Vec b) {
    return {a.x - b.x, a.y - b.y};
}
Vec operator+(Vec a, Vec b) {
    return {a.x + b.x, a.y + b.y};
}
Vec operator*(double k, Vec a) {
    return {k * a.x, k * a.y};
}
double cross(Vec a, Vec b) {
    return a.x * b.y - a.y * b.x;
}
double dot(Vec a, Vec b) {
    return a.x * b.x + a.y * b.y;
}
double length(Vec a) {
    return std::hypot(a.x, a.y);
}
Vec unit(Vec a) {
    return (1 / length(a)) * a;
}
Vec rotated(Vec a, double angle) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    return {c * a.x - s * a.y, s * a.x + c * a.y};
}
// The angle between two unit directions, 0 to π.
double angleBetween(Vec a, Vec b) {
    return std::atan2(std::abs(cross(a, b)), dot(a, b));
}

// One segment of the polyline in drawn order, with the directions of travel
// at its two ends (the same for a straight one).
struct Segment {
    Vec from, to;
    double bulge = 0;
    Vec startDirection, endDirection;
    bool arc() const { return bulge != 0; }
    // The arc's radius: chord (1 + b²) / (4 |b|).
    double radius() const {
        return length(to - from) * (1 + bulge * bulge) / (4 * std::abs(bulge));
    }
};

// The segments between the vertices. A segment of no length has no
// direction: an arc beside it is refused, its lines being no lines.
std::vector<Segment> segmentsOf(const std::vector<double>& coordinates,
                                const std::vector<double>& bulges) {
    std::vector<Segment> segments;
    for (std::size_t i = 0; i + 3 < coordinates.size(); i += 2) {
        const double bulge = i / 2 < bulges.size() ? bulges[i / 2] : 0;
        Segment segment{{coordinates[i], coordinates[i + 1]},
                        {coordinates[i + 2], coordinates[i + 3]},
                        bulge,
                        {},
                        {}};
        const Vec chord = unit(segment.to - segment.from);
        // The tangents turn from the chord by half the included angle 4·atan(b).
        const double half = 2 * std::atan(segment.bulge);
        segment.startDirection = rotated(chord, -half);
        segment.endDirection = rotated(chord, half);
        segments.push_back(segment);
    }
    return segments;
}

}  // namespace

bool inWorldPlane(const cad::Point& normal) {
    const double across = std::hypot(normal[0], normal[1]);
    return normal[2] != 0 && across <= 1e-9 * std::abs(normal[2]);
}

bool toWorldPlane(std::vector<double>& coordinates, std::vector<double>& bulges,
                  const cad::Point& normal) {
    if (!inWorldPlane(normal)) {
        return false;
    }
    if (normal[2] < 0) {
        for (std::size_t i = 0; i < coordinates.size(); i += 2) {
            coordinates[i] = -coordinates[i];
        }
        for (double& bulge : bulges) {
            bulge = -bulge;
        }
    }
    return true;
}

std::size_t arcCount(const std::vector<double>& coordinates, const std::vector<double>& bulges) {
    const std::size_t segments = coordinates.size() / 2 > 0 ? coordinates.size() / 2 - 1 : 0;
    const std::size_t read = std::min(segments, bulges.size());
    return static_cast<std::size_t>(
        std::count_if(bulges.begin(), bulges.begin() + static_cast<std::ptrdiff_t>(read),
                      [](double bulge) { return bulge != 0; }));
}

void ArcTendon::keepFirst(std::size_t count) {
    count = std::min(count, nodes.size());
    nodes.resize(count);
    radii.resize(count);
    std::erase_if(offTangent, [&](std::size_t i) { return i >= count; });
}

ArcTendon nodesFromArcs(const std::vector<double>& coordinates, const std::vector<double>& bulges) {
    const double tolerance = kTangencyToleranceDegrees * std::numbers::pi / 180;
    const std::vector<Segment> segments = segmentsOf(coordinates, bulges);
    ArcTendon tendon;
    if (segments.empty()) {
        return tendon;
    }
    const auto addNode = [&](Vec at, std::optional<double> radius) {
        tendon.nodes.push_back({at.x, at.y});
        tendon.radii.push_back(radius);
    };
    const auto refuse = [&](const char* text) {
        ArcTendon refused;
        refused.refusal = text;
        return refused;
    };

    addNode(segments.front().from, std::nullopt);
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const Segment& segment = segments[i];
        if (!segment.arc()) {
            // A vertex between two straight segments is a corner the designer drew.
            if (i > 0 && !segments[i - 1].arc()) {
                addNode(segment.from, std::nullopt);
            }
            continue;
        }
        if (std::abs(segment.bulge) >= 1) {
            return refuse(kArcTooWideText);
        }
        const Segment* before = i > 0 && !segments[i - 1].arc() ? &segments[i - 1] : nullptr;
        const Segment* after =
            i + 1 < segments.size() && !segments[i + 1].arc() ? &segments[i + 1] : nullptr;
        // Both lines pass through the arc's ends: a straight segment ends
        // where the arc starts and starts where it ends.
        const Vec in = before ? before->endDirection : segment.startDirection;
        const Vec out = after ? after->startDirection : segment.endDirection;
        const double turn = cross(in, out);
        if (std::abs(turn) <= 1e-12) {
            return refuse(kTangentsApartText);
        }
        const Vec across = segment.to - segment.from;
        const double ahead = cross(across, out) / turn;
        const double behind = -cross(across, in) / turn;
        if (!(ahead > 0 && behind > 0)) {
            return refuse(kTangentsApartText);
        }
        const bool offTangent = (before && angleBetween(in, segment.startDirection) > tolerance) ||
                                (after && angleBetween(out, segment.endDirection) > tolerance);
        if (offTangent) {
            tendon.offTangent.push_back(tendon.nodes.size());
        }
        addNode(segment.from + ahead * in, segment.radius());
    }
    addNode(segments.back().to, std::nullopt);

    if (coordinates.size() >= 4 && coordinates[0] > coordinates[2]) {
        const std::size_t last = tendon.nodes.size() - 1;
        std::reverse(tendon.nodes.begin(), tendon.nodes.end());
        std::reverse(tendon.radii.begin(), tendon.radii.end());
        for (std::size_t& i : tendon.offTangent) {
            i = last - i;
        }
        std::reverse(tendon.offTangent.begin(), tendon.offTangent.end());
    }
    return tendon;
}

}  // namespace tendra
