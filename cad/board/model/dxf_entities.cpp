#include "cad/board/model/dxf_entities.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

#include "cad/board/model/geometry.h"

namespace tendra::board::dxf {

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180;
constexpr double kTwoPi = 2 * std::numbers::pi;
// Curve points the board keeps at most for one spline or hatch edge.
constexpr std::size_t kMaxCurvePoints = 4096;
constexpr int kSamplesPerSpan = 16;

double finiteOr(double value, double otherwise) {
    return std::isfinite(value) ? value : otherwise;
}

// The pairs of one entity, read in order or looked up by code.
class Pairs {
  public:
    explicit Pairs(const std::vector<Pair>& pairs) : pairs_(pairs) {}

    const Pair* find(int code) const {
        for (const Pair& pair : pairs_) {
            if (pair.code == code) {
                return &pair;
            }
        }
        return nullptr;
    }
    double real(int code, double otherwise = 0) const {
        const Pair* pair = find(code);
        return pair ? finiteOr(parseReal(pair->value).value_or(otherwise), otherwise) : otherwise;
    }
    long long integer(int code, long long otherwise = 0) const {
        const Pair* pair = find(code);
        return pair ? parseInteger(pair->value).value_or(otherwise) : otherwise;
    }
    std::string text(int code) const {
        const Pair* pair = find(code);
        return pair ? std::string(pair->value) : std::string();
    }
    Vec2 point(int code, Vec2 otherwise = {}) const {
        return {real(code, otherwise.x), real(code + 10, otherwise.y)};
    }
    cad::Point point3(int code) const { return {real(code), real(code + 10), real(code + 20)}; }
    // Extrusion (0, 0, -1): the entity's X runs the other way.
    bool mirrored() const { return real(230, 1) < 0; }

    // Reading in order.
    bool atEnd() const { return next_ >= pairs_.size(); }
    const Pair& peek() const { return pairs_[next_]; }
    void skip() { ++next_; }
    std::size_t left() const { return pairs_.size() - next_; }
    // The value of the next pair when it has this code.
    std::optional<double> take(int code) {
        if (atEnd() || peek().code != code) {
            return std::nullopt;
        }
        return finiteOr(parseReal(pairs_[next_++].value).value_or(0), 0);
    }
    double takeOr(int code, double otherwise) { return take(code).value_or(otherwise); }
    // Moves to the next pair with this code; false at the end.
    bool seek(int code) {
        while (!atEnd() && peek().code != code) {
            ++next_;
        }
        return !atEnd();
    }
    std::size_t count(int code) {
        const auto value = take(code);
        return value && *value > 0 ? static_cast<std::size_t>(std::min(*value, 1e7)) : 0;
    }

  private:
    const std::vector<Pair>& pairs_;
    std::size_t next_ = 0;
};

// A code or flag read as a real, as an integer; anything out of range is 0.
long long whole(double value) {
    return value >= -1e9 && value <= 1e9 ? static_cast<long long>(value) : 0;
}

Vec2 mirrorX(Vec2 v) {
    return {-v.x, v.y};
}

// The points of every code that starts one, with its Y from code + 10.
std::vector<Vec2> pointsOf(const std::vector<Pair>& pairs, int code) {
    std::vector<Vec2> points;
    for (const Pair& pair : pairs) {
        if (pair.code == code) {
            points.push_back({finiteOr(parseReal(pair.value).value_or(0), 0), 0});
        } else if (pair.code == code + 10 && !points.empty()) {
            points.back().y = finiteOr(parseReal(pair.value).value_or(0), 0);
        }
    }
    return points;
}

std::vector<double> valuesOf(const std::vector<Pair>& pairs, int code) {
    std::vector<double> values;
    for (const Pair& pair : pairs) {
        if (pair.code == code) {
            values.push_back(finiteOr(parseReal(pair.value).value_or(0), 0));
        }
    }
    return values;
}

// Points along a circular arc from start through sweep (radians, negative
// for clockwise).
void appendArc(std::vector<Vec2>& into, Vec2 center, Vec2 major, Vec2 minor, double start,
               double sweep) {
    const int steps =
        std::clamp(static_cast<int>(std::ceil(std::abs(sweep) / kTwoPi * 72)), 2, 720);
    for (int step = 0; step <= steps; ++step) {
        const double t = start + sweep * step / steps;
        into.push_back({center.x + major.x * std::cos(t) + minor.x * std::sin(t),
                        center.y + major.y * std::cos(t) + minor.y * std::sin(t)});
    }
}

// A sweep in (0, 2π] from start to end, counter-clockwise.
double sweepBetween(double start, double end) {
    double sweep = std::fmod(end - start, kTwoPi);
    if (!(sweep > 1e-12)) {
        sweep += kTwoPi;
    }
    return sweep;
}

Geometry readReference(const Pairs& p) {
    BlockReference ref;
    ref.block = p.text(2);
    ref.at = p.point3(10);
    ref.scale = {p.real(41, 1), p.real(42, 1)};
    ref.rotation = p.real(50);
    ref.columns = static_cast<int>(std::clamp<long long>(p.integer(70, 1), 1, 32767));
    ref.rows = static_cast<int>(std::clamp<long long>(p.integer(71, 1), 1, 32767));
    ref.columnSpacing = p.real(44);
    ref.rowSpacing = p.real(45);
    if (p.mirrored()) {
        // The same placement seen from above: X, the angle and the columns turn round.
        ref.at[0] = -ref.at[0];
        ref.scale.x = -ref.scale.x;
        ref.rotation = -ref.rotation;
        ref.columnSpacing = -ref.columnSpacing;
    }
    return ref;
}

Geometry readDimension(const Pairs& p) {
    Dimension dim;
    dim.block = p.text(2);
    dim.flags = static_cast<int>(p.integer(70));
    dim.kind = dim.flags & 7;
    dim.definitionPoint = p.point3(10);
    dim.textPoint = p.point3(11);
    dim.text = p.text(1);
    return dim;
}

Geometry readEllipse(const Pairs& p) {
    Ellipse e;
    e.center = p.point3(10);
    e.major = p.point(11, {1, 0});
    const double ratio = p.real(40, 1);
    e.minor = {-e.major.y * ratio, e.major.x * ratio};
    e.startParameter = p.real(41, 0);
    e.endParameter = p.real(42, kTwoPi);
    if (p.mirrored()) {
        e.center[0] = -e.center[0];
        e.major = mirrorX(e.major);
        e.minor = mirrorX(e.minor);
    }
    return e;
}

Geometry readSolid(const Pairs& p, bool trace) {
    Solid solid;
    solid.trace = trace;
    solid.corners = {p.point(10), p.point(11), p.point(12), p.point(12)};
    if (p.find(13)) {
        solid.corners[3] = p.point(13);
    }
    if (p.mirrored()) {
        for (Vec2& corner : solid.corners) {
            corner = mirrorX(corner);
        }
    }
    return solid;
}

Geometry readLeader(const Pairs& p, const std::vector<Pair>& pairs) {
    Leader leader;
    leader.arrowhead = p.integer(71, 1) != 0;
    leader.vertices = pointsOf(pairs, 10);
    return leader;
}

std::optional<Geometry> readSpline(const Pairs& p, const std::vector<Pair>& pairs) {
    Spline spline;
    spline.flags = static_cast<int>(p.integer(70));
    spline.degree = static_cast<int>(std::clamp<long long>(p.integer(71, 3), 1, 10));
    spline.knots = valuesOf(pairs, 40);
    spline.weights = valuesOf(pairs, 41);
    spline.controlPoints = pointsOf(pairs, 10);
    spline.fitPoints = pointsOf(pairs, 11);
    spline.shown = splineCurve(spline);
    if (spline.shown.empty()) {
        return std::nullopt;
    }
    return spline;
}

// One boundary loop of a hatch, from its 92 on.
std::vector<Vec2> readLoop(Pairs& p) {
    std::vector<Vec2> loop;
    const long long flags = whole(p.takeOr(92, 0));
    if (flags & 2) {
        // A polyline: vertices with optional bulges.
        const bool bulges = p.takeOr(72, 0) != 0;
        p.take(73);
        const std::size_t count = std::min(p.count(93), p.left());
        PolylineShape shape;
        shape.closed = true;
        for (std::size_t i = 0; i < count && !p.atEnd(); ++i) {
            PolylineVertex v;
            v.x = p.takeOr(10, 0);
            v.y = p.takeOr(20, 0);
            if (bulges) {
                v.bulge = p.takeOr(42, 0);
            }
            shape.vertices.push_back(v);
        }
        loop = flattenedOutline(shape);
        return loop;
    }
    const std::size_t edges = std::min(p.count(93), p.left());
    for (std::size_t i = 0; i < edges && !p.atEnd(); ++i) {
        const long long type = whole(p.takeOr(72, 0));
        std::vector<Vec2> piece;
        if (type == 1) {
            const Vec2 from{p.takeOr(10, 0), p.takeOr(20, 0)};
            const Vec2 to{p.takeOr(11, 0), p.takeOr(21, 0)};
            piece = {from, to};
        } else if (type == 2 || type == 3) {
            const Vec2 center{p.takeOr(10, 0), p.takeOr(20, 0)};
            Vec2 major;
            double ratio = 1;
            if (type == 2) {
                major = {p.takeOr(40, 1), 0};
            } else {
                major = {p.takeOr(11, 1), p.takeOr(21, 0)};
                ratio = p.takeOr(40, 1);
            }
            const double start = p.takeOr(50, 0) * kRadiansPerDegree;
            const double end = p.takeOr(51, 360) * kRadiansPerDegree;
            const bool counterClockwise = p.takeOr(73, 1) != 0;
            const Vec2 minor{-major.y * ratio, major.x * ratio};
            if (counterClockwise) {
                appendArc(piece, center, major, minor, start, sweepBetween(start, end));
            } else {
                // Clockwise edges keep their angles measured clockwise.
                appendArc(piece, center, major, minor, -start, -sweepBetween(start, end));
            }
        } else if (type == 4) {
            Spline spline;
            spline.degree = static_cast<int>(std::clamp(p.takeOr(94, 3), 1.0, 10.0));
            p.take(73);
            p.take(74);
            const std::size_t knots = std::min(p.count(95), p.left());
            const std::size_t controls = std::min(p.count(96), p.left());
            for (std::size_t k = 0; k < knots && !p.atEnd(); ++k) {
                spline.knots.push_back(p.takeOr(40, 0));
            }
            for (std::size_t c = 0; c < controls && !p.atEnd(); ++c) {
                spline.controlPoints.push_back({p.takeOr(10, 0), p.takeOr(20, 0)});
                if (auto weight = p.take(42)) {
                    spline.weights.push_back(*weight);
                }
            }
            if (spline.weights.size() != spline.controlPoints.size()) {
                spline.weights.clear();
            }
            const std::size_t fits = std::min(p.count(97), p.left());
            for (std::size_t f = 0; f < fits && !p.atEnd(); ++f) {
                spline.fitPoints.push_back({p.takeOr(11, 0), p.takeOr(21, 0)});
            }
            while (!p.atEnd() && (p.peek().code == 12 || p.peek().code == 22 ||
                                  p.peek().code == 13 || p.peek().code == 23)) {
                p.skip();
            }
            piece = splineCurve(spline);
        } else {
            break;  // not an edge: the loop is read as far as it goes
        }
        for (Vec2 point : piece) {
            if (loop.empty() || !(loop.back() == point)) {
                loop.push_back(point);
            }
        }
    }
    return loop;
}

std::optional<Geometry> readHatch(const Pairs& whole, const std::vector<Pair>& pairs) {
    Hatch hatch;
    hatch.pattern = whole.text(2);
    hatch.solid = whole.integer(70) == 1;
    Pairs p(pairs);
    if (!p.seek(91)) {
        return hatch;
    }
    const std::size_t loops = std::min(p.count(91), p.left());
    for (std::size_t i = 0; i < loops && p.seek(92); ++i) {
        std::vector<Vec2> loop = readLoop(p);
        if (loop.size() >= 2) {
            if (loop.size() > 2 && loop.front() == loop.back()) {
                loop.pop_back();
            }
            hatch.loops.push_back(std::move(loop));
        }
    }
    if (whole.mirrored()) {
        for (auto& loop : hatch.loops) {
            for (Vec2& point : loop) {
                point = mirrorX(point);
            }
        }
    }
    return hatch;
}

// The B-spline at u by de Boor's algorithm, in homogeneous form.
Vec2 deBoor(const Spline& s, std::size_t span, double u) {
    const int p = s.degree;
    struct H {
        double x, y, w;
    };
    std::vector<H> d(static_cast<std::size_t>(p) + 1);
    for (int j = 0; j <= p; ++j) {
        const std::size_t index = span - static_cast<std::size_t>(p) + static_cast<std::size_t>(j);
        const double w = s.weights.empty() ? 1 : s.weights[index];
        d[static_cast<std::size_t>(j)] = {s.controlPoints[index].x * w,
                                          s.controlPoints[index].y * w, w};
    }
    for (int r = 1; r <= p; ++r) {
        for (int j = p; j >= r; --j) {
            const std::size_t i = span - static_cast<std::size_t>(p) + static_cast<std::size_t>(j);
            const double denominator =
                s.knots[i + static_cast<std::size_t>(p - r) + 1] - s.knots[i];
            const double a = denominator == 0 ? 0 : (u - s.knots[i]) / denominator;
            H& h = d[static_cast<std::size_t>(j)];
            const H& prev = d[static_cast<std::size_t>(j) - 1];
            h = {(1 - a) * prev.x + a * h.x, (1 - a) * prev.y + a * h.y,
                 (1 - a) * prev.w + a * h.w};
        }
    }
    const H& h = d[static_cast<std::size_t>(p)];
    return h.w == 0 ? Vec2{h.x, h.y} : Vec2{h.x / h.w, h.y / h.w};
}

bool knotsFit(const Spline& s) {
    const std::size_t n = s.controlPoints.size();
    const auto p = static_cast<std::size_t>(s.degree);
    if (n <= p || s.knots.size() != n + p + 1 || (!s.weights.empty() && s.weights.size() != n)) {
        return false;
    }
    for (std::size_t i = 0; i + 1 < s.knots.size(); ++i) {
        if (!(s.knots[i] <= s.knots[i + 1])) {
            return false;
        }
    }
    for (double w : s.weights) {
        if (!(w > 0)) {
            return false;
        }
    }
    return s.knots[p] < s.knots[n];
}

// A Catmull-Rom curve through the points.
std::vector<Vec2> throughPoints(const std::vector<Vec2>& points) {
    std::vector<Vec2> curve;
    if (points.size() < 3) {
        return points;
    }
    const int steps = static_cast<int>(
        std::clamp<std::size_t>(kMaxCurvePoints / points.size(), 1, kSamplesPerSpan / 2));
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        const Vec2 p0 = points[i == 0 ? 0 : i - 1];
        const Vec2 p1 = points[i];
        const Vec2 p2 = points[i + 1];
        const Vec2 p3 = points[i + 2 < points.size() ? i + 2 : i + 1];
        for (int step = 0; step < steps; ++step) {
            const double t = static_cast<double>(step) / steps;
            const double t2 = t * t;
            const double t3 = t2 * t;
            auto blend = [&](double a, double b, double c, double d) {
                return 0.5 * (2 * b + (-a + c) * t + (2 * a - 5 * b + 4 * c - d) * t2 +
                              (-a + 3 * b - 3 * c + d) * t3);
            };
            curve.push_back({blend(p0.x, p1.x, p2.x, p3.x), blend(p0.y, p1.y, p2.y, p3.y)});
        }
    }
    curve.push_back(points.back());
    return curve;
}

}  // namespace

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<long long> parseGroupCode(std::string_view text) {
    const std::optional<long long> value = parseInteger(text);
    return value && trim(text).find('.') == std::string_view::npos ? value : std::nullopt;
}

std::optional<long long> parseInteger(std::string_view text) {
    text = trim(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || text.empty()) {
        return std::nullopt;
    }
    // Some programs write whole numbers as reals ("2.0000"): a fraction of
    // zeros still makes an integer, any other digit does not.
    std::string_view rest(end, static_cast<std::size_t>(text.data() + text.size() - end));
    if (!rest.empty() && rest.front() == '.' &&
        rest.find_first_not_of('0', 1) == std::string_view::npos) {
        rest = {};
    }
    if (!rest.empty()) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> parseReal(std::string_view text) {
    text = trim(text);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

std::vector<Vec2> splineCurve(const Spline& s) {
    if (knotsFit(s)) {
        const std::size_t n = s.controlPoints.size();
        const auto p = static_cast<std::size_t>(s.degree);
        const std::size_t spans = n - p;
        const std::size_t perSpan =
            std::clamp<std::size_t>(kMaxCurvePoints / spans, 1, kSamplesPerSpan);
        std::vector<Vec2> curve;
        for (std::size_t span = p; span < n; ++span) {
            const double from = s.knots[span];
            const double to = s.knots[span + 1];
            if (!(to > from)) {
                continue;
            }
            for (std::size_t step = 0; step < perSpan; ++step) {
                curve.push_back(deBoor(s, span, from + (to - from) * step / perSpan));
            }
        }
        curve.push_back(deBoor(s, n - 1, s.knots[n]));
        return curve;
    }
    if (s.fitPoints.size() >= 2) {
        return throughPoints(s.fitPoints);
    }
    return s.controlPoints;
}

bool readsItself(std::string_view name) {
    return name == "INSERT" || name == "DIMENSION" || name == "ELLIPSE" || name == "SPLINE" ||
           name == "SOLID" || name == "TRACE" || name == "HATCH" || name == "LEADER";
}

std::optional<Geometry> readEntity(std::string_view name, const std::vector<Pair>& pairs) {
    const Pairs p(pairs);
    if (name == "INSERT") {
        return readReference(p);
    }
    if (name == "DIMENSION") {
        return readDimension(p);
    }
    if (name == "ELLIPSE") {
        return readEllipse(p);
    }
    if (name == "SPLINE") {
        return readSpline(p, pairs);
    }
    if (name == "SOLID" || name == "TRACE") {
        return readSolid(p, name == "TRACE");
    }
    if (name == "HATCH") {
        return readHatch(p, pairs);
    }
    if (name == "LEADER") {
        return readLeader(p, pairs);
    }
    return std::nullopt;
}

std::optional<Attribute> readAttribute(const std::vector<Pair>& pairs) {
    const Pairs p(pairs);
    if (p.integer(70) & 1) {
        return std::nullopt;
    }
    Attribute a;
    a.at = p.point3(10);
    a.height = p.real(40);
    a.text = p.text(1);
    a.tag = p.text(2);
    a.angle = p.real(50);
    a.horizontalAlignment = static_cast<int>(p.integer(72));
    a.verticalAlignment = static_cast<int>(p.integer(74));
    a.alignAt = p.find(11) ? p.point3(11) : a.at;
    if (p.mirrored()) {
        a.at[0] = -a.at[0];
        a.alignAt[0] = -a.alignAt[0];
    }
    return a;
}

}  // namespace tendra::board::dxf
