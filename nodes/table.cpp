// The node table: one line per node, the mirrored half for a symmetric
// tendon, and writing it into the output box.
#include "nodes/table.h"

#include <cmath>
#include <stdexcept>

#include "cad/command.h"
#include "nodes/fixed_point.h"
#include "nodes/form_port.h"
#include "nodes/number_reading.h"

namespace tendra {
namespace {

std::string trimSpaces(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string nodeTableText(const std::vector<Node>& nodes, const TableOptions& options,
                          const ArcRadii& arcRadii) {
    std::string text;
    const std::size_t n = nodes.size();
    if (n == 0) {
        return text;
    }
    const DecimalPattern pattern = patternForCount(options.decimals);
    const std::size_t rows = options.symmetric ? 2 * n : n;
    text.reserve(rows * (2 * (pattern.decimals + 12) + options.radius.size() + 4));

    const auto appendRow = [&](std::size_t i, double x, double y, bool zeroRadius) {
        appendFixed(text, x, pattern, options.separator);
        text.push_back('\t');
        appendFixed(text, y, pattern, options.separator);
        if (options.radiusColumn) {
            text.push_back('\t');
            if (zeroRadius) {
                text.push_back('0');
            } else if (i < arcRadii.size() && arcRadii[i]) {
                // A radius has no direction: a negative scale mirrors the
                // coordinates, not the bend.
                appendFixed(text, *arcRadii[i] * std::abs(options.scale), pattern,
                            options.separator);
            } else {
                text.append(options.radius);
            }
        }
        text.append("\r\n");
    };
    const auto relativeX = [&](std::size_t i) {
        return (nodes[i].x - options.originX) * options.scale;
    };
    const auto relativeY = [&](std::size_t i) {
        return (nodes[i].y - options.originY) * options.scale;
    };

    for (std::size_t i = 0; i < n; ++i) {
        // The last forward row closes the tendon unless the mirrored half follows.
        const bool zeroRadius = i == 0 || (i == n - 1 && !options.symmetric);
        appendRow(i, relativeX(i), relativeY(i), zeroRadius);
    }
    if (options.symmetric) {
        for (std::size_t i = n; i-- > 0;) {
            appendRow(i, -relativeX(i), relativeY(i), i == 0);
        }
    }
    return text;
}

TableOptions readTableOptions(FormPort& form, double scale, double originX, double originY) {
    TableOptions options;
    options.originX = originX;
    options.originY = originY;
    options.scale = scale;
    options.decimals = readDecimals(form.fieldText(Field::Text1));
    options.radius = trimSpaces(form.fieldText(Field::Text2));
    options.radiusColumn = form.optionTicked(Option::Check2);
    options.symmetric = form.optionTicked(Option::Check1);
    options.separator = form.decimalSeparator();
    return options;
}

bool WriteNodeTable(FormPort& form, const std::vector<Node>& nodes, const TableOptions& options,
                    const ArcRadii& arcRadii) {
    std::string text;
    try {
        text = nodeTableText(nodes, options, arcRadii);
    } catch (const std::overflow_error&) {
        form.showMessage(kOutOfRangeText, cad::kErrorTitle, MessageIcon::Stop);
        return false;
    }
    form.setOutputText(text);
    return true;
}

bool WriteNodeTable(FormPort& form, const std::vector<Node>& nodes, double scale, double originX,
                    double originY) {
    return WriteNodeTable(form, nodes, readTableOptions(form, scale, originX, originY));
}

}  // namespace tendra
