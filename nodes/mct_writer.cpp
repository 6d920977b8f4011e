// midas Civil's tendon profiles as MCT command text.
#include "nodes/mct_writer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <set>
#include <stdexcept>

#include "cad/command.h"
#include "nodes/fixed_point.h"
#include "nodes/number_reading.h"

namespace tendra {
namespace {

// MCT is a file format: the full stop whatever the system's settings.
constexpr const char* kMctSeparator = ".";

// A profile point as the block writes it.
struct ProfilePoint {
    std::string x, z, radius;
};

std::string fixed(double value, DecimalPattern pattern) {
    std::string text;
    appendFixed(text, value, pattern, kMctSeparator);
    return text;
}

// The radius a row gives a round curve: none where the table has none or
// writes "0", else the arc's radius or the radius text's number.
std::string rowRadius(const TableRow& row, DecimalPattern pattern, bool& notNumber) {
    switch (row.radiusSource) {
        case RadiusSource::Arc:
            return fixed(row.arcRadius, pattern);
        case RadiusSource::Text:
            if (startsWithNumber(row.radiusText)) {
                return fixed(readNumber(row.radiusText), pattern);
            }
            notNumber = true;
            return "0";
        case RadiusSource::None:
        case RadiusSource::Zero:
            break;
    }
    return "0";
}

// The table's lines as profile points; a line at the same point as the one
// before it is left out, as a round curve cannot take a leg of length zero.
std::vector<ProfilePoint> profilePoints(const TableRows& table, bool& radiusNotNumber) {
    std::vector<ProfilePoint> points;
    points.reserve(table.rows.size());
    for (const TableRow& row : table.rows) {
        ProfilePoint point{fixed(row.x, table.pattern), fixed(row.y, table.pattern), {}};
        if (!points.empty() && points.back().x == point.x && points.back().z == point.z) {
            continue;
        }
        point.radius = rowRadius(row, table.pattern, radiusNotNumber);
        points.push_back(std::move(point));
    }
    return points;
}

void appendPointRow(std::string& text, const char* axis, const std::string& x,
                    const std::string& value, const std::string& radius) {
    text.append("      ").append(axis).append(x).append(", ").append(value);
    text.append(", NO, 0, ").append(radius).append(", NONE, , , , \r\n");
}

}  // namespace

MctNames mctNames(const std::vector<std::string>& names) {
    std::vector<std::string> cleaned;
    cleaned.reserve(names.size());
    for (std::string name : names) {
        std::replace_if(
            name.begin(), name.end(), [](char c) { return c == ',' || c == ';'; }, '_');
        cleaned.push_back(std::move(name));
    }
    // A suffix never takes a name that another tendon has as it stands.
    const std::set<std::string> given(cleaned.begin(), cleaned.end());
    std::set<std::string> used;
    MctNames result;
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::string name = cleaned[i];
        if (!used.insert(name).second) {
            for (int suffix = 2;; ++suffix) {
                std::string candidate = cleaned[i] + "-" + std::to_string(suffix);
                if (!given.contains(candidate) && used.insert(candidate).second) {
                    name = std::move(candidate);
                    break;
                }
            }
        }
        if (name != names[i]) {
            result.findings.push_back("钢束名 " + names[i] + "：MCT 中改为 " + name +
                                      "（名称须唯一，且不含逗号、分号）");
        }
        result.names.push_back(std::move(name));
    }
    return result;
}

std::string mctNumber(double value) {
    if (!std::isfinite(value)) {
        throw std::overflow_error("value out of range");
    }
    if (value == 0) {
        return "0";  // also for -0
    }
    // Fixed form in the fewest digits that read back as the same double; the
    // largest double takes 309 digits.
    char text[400];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed).ptr;
    return std::string(text, end);
}

MctText tdnProfileText(const std::vector<NamedRows>& tendons, const MctParameters& parameters) {
    std::vector<std::string> givenNames;
    for (const NamedRows& tendon : tendons) {
        givenNames.push_back(tendon.name);
    }
    MctNames names = mctNames(givenNames);
    const std::string insertion = mctNumber(parameters.insertionX) + ", " +
                                  mctNumber(parameters.insertionY) + ", " +
                                  mctNumber(parameters.insertionZ);

    MctText result;
    std::string& text = result.text;
    text = "*TDN-PROFILE\r\n";
    bool radiusNotNumber = false;
    for (std::size_t i = 0; i < tendons.size(); ++i) {
        const std::vector<ProfilePoint> points = profilePoints(tendons[i].table, radiusNotNumber);
        text.append("   NAME=").append(names.names[i]).append(", ").append(parameters.property);
        text.append(", ").append(parameters.elements).append(", 0, 0, ROUND, 2D\r\n");
        text.append("      ").append(parameters.group).append(", USER, 0, 0, NO, \r\n");
        text.append("      STRAIGHT, ").append(insertion).append(", X, 0, 0\r\n");
        text.append("      0, YES, Y, 0\r\n");
        // The tendon lies in the vertical plane through the insertion point.
        if (!points.empty()) {
            appendPointRow(text, "Y=", points.front().x, "0", "0");
            if (points.back().x != points.front().x) {
                appendPointRow(text, "Y=", points.back().x, "0", "0");
            }
        }
        for (const ProfilePoint& point : points) {
            appendPointRow(text, "Z=", point.x, point.z, point.radius);
        }
    }
    if (radiusNotNumber) {
        result.findings.push_back(kRadiusNotNumberFinding);
    }
    result.findings.insert(result.findings.end(), names.findings.begin(), names.findings.end());
    return result;
}

std::optional<std::vector<std::string>> WriteMct(FormPort& form,
                                                 const std::vector<NamedRows>& tendons) {
    MctText mct;
    try {
        mct = tdnProfileText(tendons, form.mctParameters());
    } catch (const std::overflow_error&) {
        form.showMessage(kOutOfRangeText, cad::kErrorTitle, MessageIcon::Stop);
        return std::nullopt;
    }
    form.setOutputText(mct.text);
    return std::move(mct.findings);
}

}  // namespace tendra
