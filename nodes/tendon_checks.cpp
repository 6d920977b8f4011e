#include "nodes/tendon_checks.h"

#include <algorithm>
#include <cmath>

namespace tendra {

namespace {

// One bend of the tendon: a point of the table, the first and last of the
// lines that write it, and its radius.
struct Bend {
    double x = 0;
    double y = 0;
    std::size_t firstLine = 0;
    std::size_t lastLine = 0;
    double radius = 0;
};

bool samePlace(const Bend& a, double x, double y) {
    const double size = std::max({1.0, std::abs(a.x), std::abs(a.y), std::abs(x), std::abs(y)});
    return std::hypot(x - a.x, y - a.y) <= 1e-9 * size;
}

}  // namespace

std::vector<Leg> overlongLegs(const std::vector<Node>& nodes, const std::vector<double>& radii,
                              bool symmetric, double originX) {
    const std::size_t n = nodes.size();
    std::vector<Bend> bends;
    std::size_t line = 0;
    const auto addRow = [&](double x, double y, double radius) {
        ++line;
        if (!bends.empty() && samePlace(bends.back(), x, y)) {
            bends.back().lastLine = line;
            bends.back().radius = std::max(bends.back().radius, radius);
            return;
        }
        bends.push_back({x, y, line, line, radius});
    };
    for (std::size_t i = 0; i < n; ++i) {
        addRow(nodes[i].x, nodes[i].y, radii[i]);
    }
    if (symmetric) {
        for (std::size_t i = n; i-- > 0;) {
            addRow(2 * originX - nodes[i].x, nodes[i].y, radii[i]);
        }
    }
    if (bends.size() < 2) {
        return {};
    }

    // The table's first and last lines end the tendon: no bend there.
    std::vector<double> tangent(bends.size(), 0);
    for (std::size_t j = 1; j + 1 < bends.size(); ++j) {
        const double inX = bends[j].x - bends[j - 1].x, inY = bends[j].y - bends[j - 1].y;
        const double outX = bends[j + 1].x - bends[j].x, outY = bends[j + 1].y - bends[j].y;
        const double deflection =
            std::atan2(std::abs(inX * outY - inY * outX), inX * outX + inY * outY);
        tangent[j] = bends[j].radius * std::tan(deflection / 2);
    }
    std::vector<Leg> overlong;
    for (std::size_t j = 0; j + 1 < bends.size(); ++j) {
        const Leg leg{bends[j].lastLine, bends[j + 1].firstLine};
        if (leg.from > n) {
            break;
        }
        const double length = std::hypot(bends[j + 1].x - bends[j].x, bends[j + 1].y - bends[j].y);
        if (tangent[j] + tangent[j + 1] > length * (1 + 1e-9)) {
            overlong.push_back(leg);
        }
    }
    return overlong;
}

bool mirrorFoldsBack(const std::vector<Node>& nodes, double originX) {
    if (nodes.empty()) {
        return false;
    }
    // A node on the line within rounding counts as on it.
    const auto offset = [originX](double x) {
        const double d = x - originX;
        return std::abs(d) <= 1e-9 * std::max({1.0, std::abs(x), std::abs(originX)}) ? 0.0 : d;
    };
    bool left = false, right = false;
    double nearest = std::abs(offset(nodes.front().x));
    for (const Node& node : nodes) {
        const double d = offset(node.x);
        left = left || d < 0;
        right = right || d > 0;
        nearest = std::min(nearest, std::abs(d));
    }
    return (left && right) || std::abs(offset(nodes.back().x)) > nearest;
}

std::vector<std::string> findingLines(bool foldsBack,
                                      const std::vector<std::size_t>& offTangentLines,
                                      const std::vector<Leg>& overlong) {
    // By line; at one line the arc comes before the leg that starts there.
    std::vector<std::pair<std::size_t, std::string>> findings;
    for (const std::size_t line : offTangentLines) {
        findings.emplace_back(2 * line,
                              "节点 " + std::to_string(line) + "：圆弧与相邻直线段不相切");
    }
    for (const Leg& leg : overlong) {
        findings.emplace_back(2 * leg.from + 1, "节点 " + std::to_string(leg.from) + "–" +
                                                    std::to_string(leg.to) +
                                                    "：半径过大，两端切线长之和超过直线段长");
    }
    std::stable_sort(findings.begin(), findings.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> lines;
    if (foldsBack) {
        lines.push_back(kFoldFinding);
    }
    for (auto& finding : findings) {
        lines.push_back(std::move(finding.second));
    }
    return lines;
}

std::string checkMessage(const std::vector<std::string>& lines) {
    if (lines.empty()) {
        return {};
    }
    std::string text = "请检查：";
    for (const std::string& line : lines) {
        text += "\n" + line;
    }
    return text;
}

std::string checkMessage(const std::vector<std::size_t>& offTangentLines,
                         const std::vector<Leg>& overlong) {
    return checkMessage(findingLines(false, offTangentLines, overlong));
}

}  // namespace tendra
