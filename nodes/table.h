// The node table: one line per node, with the mirrored half of a symmetric
// tendon, and writing it into the output box.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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

// The table's text: TAB between fields, CR LF after every line. Empty for no
// nodes. A node with an arc radius writes that radius times the scale's size
// with the coordinates' decimals where another node writes the radius text.
// Throws std::overflow_error when a scaled coordinate or radius is not finite.
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
