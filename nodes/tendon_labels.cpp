#include "nodes/tendon_labels.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <string_view>

namespace tendra {

namespace {

// The MTEXT codes that run up to the next semicolon: font, height, width,
// obliquing, alignment, tracking, spacing, colour, paragraph.
bool endsAtSemicolon(char code) {
    return std::string_view("fFHWQTACcp").find(code) != std::string_view::npos;
}

// The MTEXT switches that are one letter long: under-, over-, strike-through.
bool isSwitch(char code) {
    return std::string_view("LlOoKk").find(code) != std::string_view::npos;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string withoutFormatCodes(const std::string& text) {
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '{' || c == '}') {
            continue;
        }
        if (c != '\\' || i + 1 == text.size()) {
            plain += c;
            continue;
        }
        const char code = text[++i];
        if (code == 'P' || code == '~') {
            plain += ' ';
        } else if (code == '\\' || code == '{' || code == '}') {
            plain += code;
        } else if (endsAtSemicolon(code)) {
            // A code without its semicolon runs to the end of the text.
            const std::size_t end = text.find(';', i);
            i = end == std::string::npos ? text.size() : end;
        } else if (!isSwitch(code)) {
            // A code Tendra does not know stays as it was written.
            plain += '\\';
            plain += code;
        }
    }
    return plain;
}

struct Vec {
    double x = 0;
    double y = 0;
};

double distance(Vec a, Vec b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

double distanceToSegment(Vec p, Vec from, Vec to) {
    const double dx = to.x - from.x, dy = to.y - from.y;
    const double squared = dx * dx + dy * dy;
    if (squared == 0) {
        return distance(p, from);
    }
    const double t = std::clamp(((p.x - from.x) * dx + (p.y - from.y) * dy) / squared, 0.0, 1.0);
    return distance(p, {from.x + t * dx, from.y + t * dy});
}

// The arc from one vertex to the next with this bulge: its centre lies
// (1 - b²) / 4b chord lengths to the left of the chord's midpoint, and it
// sweeps 4·atan(b), counter-clockwise when b is positive.
double distanceToArc(Vec p, Vec from, Vec to, double bulge) {
    const Vec chord{to.x - from.x, to.y - from.y};
    const double offset = (1 - bulge * bulge) / (4 * bulge);
    const Vec centre{(from.x + to.x) / 2 - offset * chord.y,
                     (from.y + to.y) / 2 + offset * chord.x};
    const double radius = distance(from, centre);
    const double sweep = 4 * std::atan(bulge);
    const double start = std::atan2(from.y - centre.y, from.x - centre.x);
    const double at = std::atan2(p.y - centre.y, p.x - centre.x);
    const double turn = sweep > 0 ? at - start : start - at;
    const double along = std::fmod(turn + 4 * std::numbers::pi, 2 * std::numbers::pi);
    if (along <= std::abs(sweep)) {
        return std::abs(distance(p, centre) - radius);
    }
    return std::min(distance(p, from), distance(p, to));
}

// The box a tendon lies in: its vertices', each arc's widened by its
// sagitta |b|·chord/2, which no point of the arc lies farther out than.
struct Box {
    double minX = std::numeric_limits<double>::infinity();
    double minY = std::numeric_limits<double>::infinity();
    double maxX = -std::numeric_limits<double>::infinity();
    double maxY = -std::numeric_limits<double>::infinity();

    void add(double x, double y, double margin) {
        minX = std::min(minX, x - margin);
        minY = std::min(minY, y - margin);
        maxX = std::max(maxX, x + margin);
        maxY = std::max(maxY, y + margin);
    }
    // Infinite for an empty box.
    double distanceTo(double x, double y) const {
        if (minX > maxX) {
            return std::numeric_limits<double>::infinity();
        }
        return std::hypot(std::max({minX - x, 0.0, x - maxX}), std::max({minY - y, 0.0, y - maxY}));
    }
};

Box boxOf(const TendonShape& tendon) {
    const std::vector<double>& c = tendon.coordinates;
    Box box;
    for (std::size_t i = 0; i + 1 < c.size(); i += 2) {
        box.add(c[i], c[i + 1], 0);
        const std::size_t vertex = i / 2;
        if (vertex < tendon.bulges.size() && tendon.bulges[vertex] != 0 && i + 3 < c.size()) {
            const double sagitta = std::abs(tendon.bulges[vertex]) *
                                   distance({c[i], c[i + 1]}, {c[i + 2], c[i + 3]}) / 2;
            box.add(c[i], c[i + 1], sagitta);
            box.add(c[i + 2], c[i + 3], sagitta);
        }
    }
    return box;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::string labelName(const std::string& text, bool mtext) {
    const std::string plain = mtext ? withoutFormatCodes(text) : text;
    std::string name;
    name.reserve(plain.size());
    bool blankPending = false;
    for (const char c : plain) {
        if (isBlank(c)) {
            blankPending = !name.empty();
            continue;
        }
        if (blankPending) {
            name += ' ';
            blankPending = false;
        }
        name += c;
    }
    return name;
}

double distanceToTendon(const TendonShape& tendon, double x, double y) {
    const std::vector<double>& c = tendon.coordinates;
    const std::size_t vertices = c.size() / 2;
    if (vertices == 0) {
        return std::numeric_limits<double>::infinity();
    }
    const Vec p{x, y};
    if (vertices == 1) {
        return distance(p, {c[0], c[1]});
    }
    double nearest = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i + 1 < vertices; ++i) {
        const Vec from{c[2 * i], c[2 * i + 1]};
        const Vec to{c[2 * i + 2], c[2 * i + 3]};
        const double bulge = i < tendon.bulges.size() ? tendon.bulges[i] : 0;
        const bool arc = bulge != 0 && (from.x != to.x || from.y != to.y);
        nearest = std::min(
            nearest, arc ? distanceToArc(p, from, to, bulge) : distanceToSegment(p, from, to));
    }
    return nearest;
}

std::vector<std::optional<std::size_t>> assignLabels(const std::vector<TendonShape>& tendons,
                                                     const std::vector<Label>& labels) {
    // A box round each tendon, its arcs included, bounds the distance from
    // below cheaply: a tendon whose box is farther than the nearest found
    // so far is not measured, so a bridge's tendons each measure only the
    // few beside a label.
    std::vector<Box> boxes;
    boxes.reserve(tendons.size());
    for (const TendonShape& tendon : tendons) {
        boxes.push_back(boxOf(tendon));
    }
    std::vector<std::optional<std::size_t>> kept(tendons.size());
    std::vector<double> keptDistance(tendons.size(), std::numeric_limits<double>::infinity());
    for (std::size_t l = 0; l < labels.size(); ++l) {
        std::optional<std::size_t> nearest;
        const double reach = kLabelReachHeights * labels[l].height;
        double nearestDistance = std::numeric_limits<double>::infinity();
        for (std::size_t t = 0; t < tendons.size(); ++t) {
            const double bound = boxes[t].distanceTo(labels[l].x, labels[l].y);
            if (bound >= nearestDistance || bound > reach) {
                continue;
            }
            const double d = distanceToTendon(tendons[t], labels[l].x, labels[l].y);
            if (d < nearestDistance && d <= reach) {
                nearest = t;
                nearestDistance = d;
            }
        }
        if (nearest && nearestDistance < keptDistance[*nearest]) {
            kept[*nearest] = l;
            keptDistance[*nearest] = nearestDistance;
        }
    }
    return kept;
}

namespace {

bool sameLayer(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

}  // namespace

std::vector<std::optional<std::string>> layerNames(
    const std::vector<std::vector<std::string>>& layers) {
    std::vector<std::optional<std::string>> names(layers.size());
    for (std::size_t t = 0; t < layers.size(); ++t) {
        if (layers[t].empty()) {
            continue;
        }
        const std::string& layer = layers[t].front();
        const auto onIt = [&](const std::string& other) { return sameLayer(other, layer); };
        if (layer.empty() || sameLayer(layer, "0") || sameLayer(layer, "Defpoints") ||
            !std::all_of(layers[t].begin(), layers[t].end(), onIt)) {
            continue;
        }
        bool shared = false;
        for (std::size_t other = 0; other < layers.size() && !shared; ++other) {
            shared = other != t && std::any_of(layers[other].begin(), layers[other].end(), onIt);
        }
        if (!shared) {
            names[t] = layer;
        }
    }
    return names;
}

int naturalCompare(const std::string& a, const std::string& b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            // Numbers of any length: without their leading zeros, the longer
            // is the larger, and of equal length the digits decide.
            std::size_t aEnd = i, bEnd = j;
            while (aEnd < a.size() && isDigit(a[aEnd])) {
                ++aEnd;
            }
            while (bEnd < b.size() && isDigit(b[bEnd])) {
                ++bEnd;
            }
            while (i + 1 < aEnd && a[i] == '0') {
                ++i;
            }
            while (j + 1 < bEnd && b[j] == '0') {
                ++j;
            }
            const std::string_view x(a.data() + i, aEnd - i), y(b.data() + j, bEnd - j);
            if (x.size() != y.size()) {
                return x.size() < y.size() ? -1 : 1;
            }
            if (const int digits = x.compare(y); digits != 0) {
                return digits < 0 ? -1 : 1;
            }
            i = aEnd;
            j = bEnd;
            continue;
        }
        const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[j]);
        if (x != y) {
            return x < y ? -1 : 1;
        }
        ++i;
        ++j;
    }
    const bool aLeft = i < a.size(), bLeft = j < b.size();
    return aLeft == bLeft ? 0 : (aLeft ? 1 : -1);
}

std::vector<std::size_t> outputOrder(const std::vector<TendonKey>& keys) {
    std::vector<std::size_t> named, unnamed;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        (keys[i].name ? named : unnamed).push_back(i);
    }
    std::stable_sort(named.begin(), named.end(), [&](std::size_t a, std::size_t b) {
        if (const int byName = naturalCompare(*keys[a].name, *keys[b].name); byName != 0) {
            return byName < 0;
        }
        return keys[a].leftEnd < keys[b].leftEnd;
    });
    named.insert(named.end(), unnamed.begin(), unnamed.end());
    return named;
}

std::vector<std::string> outputNames(const std::vector<TendonKey>& keys,
                                     const std::vector<std::size_t>& order) {
    std::vector<std::string> names;
    names.reserve(order.size());
    for (std::size_t position = 0; position < order.size(); ++position) {
        const TendonKey& key = keys[order[position]];
        names.push_back(key.name ? *key.name : kUnnamedTendon + std::to_string(position + 1));
    }
    return names;
}

std::string namedTablesText(const std::vector<NamedTable>& tables) {
    std::string text;
    for (std::size_t i = 0; i < tables.size(); ++i) {
        if (i > 0) {
            text += "\r\n";
        }
        text += tables[i].name + "\r\n" + tables[i].table;
    }
    return text;
}

}  // namespace tendra
