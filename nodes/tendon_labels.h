// Several tendons taken from one selection: the names their labels give
// them, which label belongs to which tendon, and the order their tables are
// written in. Pure functions of what the selection held; no CAD calls.
#pragma once

#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "nodes/table.h"

namespace tendra {

// The name of a tendon that no label names, before its 1-based position in
// the output: "钢束3".
inline constexpr const char* kUnnamedTendon = "钢束";

// A label's text as a name: an MTEXT's inline format codes removed (\P and
// \~ become a blank; braces, font, height, width, obliquing, tracking,
// alignment, colour and paragraph codes and the under-, over- and strike-
// through switches dropped; \\, \{ and \} give the character), runs of
// blanks made one and blanks at the ends trimmed. A TEXT's text is only
// trimmed and its blanks joined. Empty when nothing is left.
std::string labelName(const std::string& text, bool mtext);

// A tendon polyline in world X and Y: flat X0, Y0, X1, Y1, ... and one
// bulge per vertex (a vertex past the list is straight).
struct TendonShape {
    std::vector<double> coordinates;
    std::vector<double> bulges;
};

// A label with a name, at its insertion point in world X and Y, written
// this high; a label whose height is not known reaches any tendon.
struct Label {
    std::string name;
    double x = 0;
    double y = 0;
    double height = std::numeric_limits<double>::infinity();
};

// How many text heights from a tendon a label may stand and still name it;
// a text farther from every tendon is a title.
inline constexpr double kLabelReachHeights = 5;

// The shortest distance from (x, y) to the polyline's segments, its arcs as
// arcs; a polyline of one vertex is that point. Infinite for no vertices.
double distanceToTendon(const TendonShape& tendon, double x, double y);

// Per tendon, the label it keeps, by its position in labels; none for a
// tendon that no label is nearest to. Each label goes to the nearest
// tendon within its reach (kLabelReachHeights of its height), and a tendon
// that gets several keeps the nearest of them. Ties go to the one that
// comes first.
std::vector<std::optional<std::size_t>> assignLabels(const std::vector<TendonShape>& tendons,
                                                     const std::vector<Label>& labels);

// Per tendon, the name its layer gives it: the one layer all its entities
// lie on (layers: per tendon, its entities' layers), when no other tendon
// lies on that layer and it is no layer every drawing has ("0",
// "Defpoints"). Layer names are compared as the CAD does, without case.
std::vector<std::optional<std::string>> layerNames(
    const std::vector<std::vector<std::string>>& layers);

// Natural order: runs of digits compare as numbers, the rest as text, so
// "N2" comes before "N10". Negative, zero or positive as in strcmp.
int naturalCompare(const std::string& a, const std::string& b);

// A tendon as the output orders it: its label's name, if any, and where its
// ordered vertices start.
struct TendonKey {
    std::optional<std::string> name;
    double leftEnd = 0;
};

// The order the tendons' tables are written in, as positions in keys:
// named tendons first, in natural order of their names (equal names left to
// right by their left ends), then the unnamed ones as they were selected.
std::vector<std::size_t> outputOrder(const std::vector<TendonKey>& keys);

// Each tendon's name in the output order: its label's, or kUnnamedTendon
// followed by its 1-based position in that order.
std::vector<std::string> outputNames(const std::vector<TendonKey>& keys,
                                     const std::vector<std::size_t>& order);

// One tendon's table in the output of several.
struct NamedTable {
    std::string name;
    std::string table;  // as nodeTableText writes it, CR LF after every line
};

// The tables of several tendons in one text: each tendon's name alone on a
// line, then its table; one empty line between two tendons, none after the
// last.
std::string namedTablesText(const std::vector<NamedTable>& tables);

}  // namespace tendra
