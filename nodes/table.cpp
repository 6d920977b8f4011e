// The node table: one line per node, the mirrored half for a symmetric
// tendon, as rows and as text, and writing it into the output box.
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

TableRows tableRows(const std::vector<Node>& nodes, const TableOptions& options,
                    const ArcRadii& arcRadii) {
    TableRows table;
    table.pattern = patternForCount(options.decimals);
    const std::size_t n = nodes.size();
    table.rows.reserve(options.symmetric ? 2 * n : n);

    const auto addRow = [&](std::size_t i, double x, double y, bool zeroRadius) {
        TableRow& row = table.rows.emplace_back();
        row.x = x;
        row.y = y;
        appendFixed(row.xText, x, table.pattern, options.separator);
        appendFixed(row.yText, y, table.pattern, options.separator);
        if (!options.radiusColumn) {
            return;
        }
        if (zeroRadius) {
            row.radiusSource = RadiusSource::Zero;
            row.radiusText.push_back('0');
        } else if (i < arcRadii.size() && arcRadii[i]) {
            // A radius has no direction: a negative scale mirrors the
            // coordinates, not the bend.
            row.radiusSource = RadiusSource::Arc;
            row.arcRadius = *arcRadii[i] * std::abs(options.scale);
            appendFixed(row.radiusText, row.arcRadius, table.pattern, options.separator);
        } else {
            row.radiusSource = RadiusSource::Text;
            row.radiusText = options.radius;
        }
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
        addRow(i, relativeX(i), relativeY(i), zeroRadius);
    }
    if (options.symmetric) {
        for (std::size_t i = n; i-- > 0;) {
            addRow(i, -relativeX(i), relativeY(i), i == 0);
        }
    }
    return table;
}

std::string nodeTableText(const TableRows& table) {
    std::size_t size = 0;
    for (const TableRow& row : table.rows) {
        size += row.xText.size() + row.yText.size() + row.radiusText.size() + 4;
    }
    std::string text;
    text.reserve(size);
    for (const TableRow& row : table.rows) {
        text.append(row.xText);
        text.push_back('\t');
        text.append(row.yText);
        if (row.radiusSource != RadiusSource::None) {
            text.push_back('\t');
            text.append(row.radiusText);
        }
        text.append("\r\n");
    }
    return text;
}

std::string nodeTableText(const std::vector<Node>& nodes, const TableOptions& options,
                          const ArcRadii& arcRadii) {
    return nodeTableText(tableRows(nodes, options, arcRadii));
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
