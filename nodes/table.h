// The node table: one line per node, with the mirrored half of a symmetric
// tendon, first as rows, then as the table's text, and writing it into the
// output box.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "nodes/fixed_point.h"

namespace tendra {

class FormPort;

// Shown instead of a table whose scaled values are not finite.
inline constexpr const char* kOutOfRangeText = "数值超出范围！";

struct Node {
    double x;
    double y;
};

struct TableOptions {
    double originX = 0, originY = 0, scale = 1;
    std::int16_t decimals = 3;
    std::string radius;  // the radius text, already trimmed of spaces
    bool radiusColumn = true, symmetric = true;
    std::string separator = ".";  // the system's decimal separator
};

// Per node, the radius of the arc the node was made from, in drawing units;
// none for a node that takes the radius text. Empty when no node has one.
using ArcRadii = std::vector<std::optional<double>>;

// Where a line's radius field comes from.
enum class RadiusSource {
    None,  // the table has no radius column
    Zero,  // the tendon's first and last line: "0"
    Arc,   // the radius of the arc the node was made from
    Text,  // the radius text as it stands
};

// One line of the table: the node relative to the origin and scaled (its X
// turned round in the mirrored half), and its fields as the table writes
// them, with the system's separator.
struct TableRow {
    double x = 0, y = 0;
    std::string xText, yText;
    RadiusSource radiusSource = RadiusSource::None;
    double arcRadius = 0;    // Arc: the arc's radius times the scale's size
    std::string radiusText;  // "0", the arc's radius written like a coordinate, or the text
};

// A tendon's table before it is written in any format: its lines in order and
// the decimals the coordinates are written with.
struct TableRows {
    std::vector<TableRow> rows;
    DecimalPattern pattern;
};

// A tendon's rows under its name, as the writers take them.
struct NamedRows {
    std::string name;
    TableRows table;
};

// The rows of the table: one per node, then for a symmetric tendon the
// mirrored half in reverse. None for no nodes. A node with an arc radius
// takes that radius times the scale's size, written with the coordinates'
// decimals, where another node takes the radius text. Throws
// std::overflow_error when a scaled coordinate or radius is not finite.
TableRows tableRows(const std::vector<Node>& nodes, const TableOptions& options,
                    const ArcRadii& arcRadii = {});

// The table's text: TAB between fields, CR LF after every line. Empty for no
// rows.
std::string nodeTableText(const TableRows& table);
// The text of the rows of these nodes. Throws as tableRows does.
std::string nodeTableText(const std::vector<Node>& nodes, const TableOptions& options,
                          const ArcRadii& arcRadii = {});

// The options WriteNodeTable writes with: the decimals (Text1), radius (Text2,
// trimmed of spaces) and option fields (Check2, Check1) and the separator,
// read from the form now.
TableOptions readTableOptions(FormPort& form, double scale, double originX, double originY);

// Writes the table into the output box Text8 in one go, with options read
// from the form (readTableOptions): given the scale and the origin, it reads
// them itself. When a scaled value is not finite, Text8 keeps its text, the
// user is told, and the result is false.
bool WriteNodeTable(FormPort& form, const std::vector<Node>& nodes, const TableOptions& options,
                    const ArcRadii& arcRadii = {});
bool WriteNodeTable(FormPort& form, const std::vector<Node>& nodes, double scale, double originX,
                    double originY);

}  // namespace tendra
