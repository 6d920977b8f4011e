// Command4: polyline node extraction. The user selects the tendon on screen;
// the first tendon selected gives the nodes, from its vertices or, when the
// user chooses it, from the tangent lines of its arcs. A tendon is a
// lightweight or old-style polyline, or a chain of LINE and ARC pieces
// joined end to end. A selection of several tendons may instead give every
// one's table, each named by the label the selection holds beside it or by
// its layer.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "nodes/node_capture.h"
#include "nodes/tendon_labels.h"

namespace tendra {

inline constexpr const char* kNoPolylineText = "所选对象应为多段线！";
inline constexpr const char* kTooFewVerticesText = "所选多段线的顶点少于两个！";
inline constexpr const char* kTooManyNodesText = "节点数超过100个，无法处理！";

// The question asked when the selection holds this many polylines (two or more).
std::string severalPolylinesQuestion(std::size_t polylines);
// The question asked when the selection holds this many polylines and
// chains of pieces, two or more tendons in all.
std::string severalTendonsQuestion(std::size_t polylines, std::size_t chains);
// The question asked when the polylines taken have this many arc segments.
std::string arcChoiceQuestion(std::size_t arcs);

class PolylineExtraction : public NodeCapture {
  public:
    using NodeCapture::NodeCapture;

    // Connects, makes a selection set and lets the user select; marks the
    // nodes, writes the table and shows its line count in the status label.
    // With several polylines selected, and the user's yes to taking them
    // all, it writes every tendon's table, named. A cancelled selection ends
    // quietly; every other refusal is shown.
    void run();

    // One selected polyline on its way to a table.
    struct Tendon;

  private:
    // The nodes of one polyline, as the command has always taken them; in
    // MCT named by the label nearest to it, when one is within reach.
    void runOne(Tendon& tendon, const std::vector<Label>& labels, OutputFormat format);
    // The nodes of every polyline, each tendon with a table of its own.
    void runSeveral(std::vector<Tendon>& tendons, const std::vector<Label>& labels,
                    OutputFormat format);
    // Marks every node of these lists in green; false, and the user told,
    // when the drawing failed.
    bool drawMarkers(const std::vector<const std::vector<Node>*>& nodeLists,
                     std::vector<cad::EntityPtr>& markers);
};

}  // namespace tendra
