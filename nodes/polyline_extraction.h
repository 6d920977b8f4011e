// Command4: polyline node extraction. The user selects the tendon on screen;
// the first lightweight polyline selected gives the nodes, from its vertices
// or, when the user chooses it, from the tangent lines of its arcs.
#pragma once

#include "nodes/node_capture.h"

namespace tendra {

inline constexpr const char* kNoPolylineText = "所选对象应为多段线！";
inline constexpr const char* kTooFewVerticesText = "所选多段线的顶点少于两个！";
inline constexpr const char* kTooManyNodesText = "节点数超过100个，无法处理！";

class PolylineExtraction : public NodeCapture {
  public:
    using NodeCapture::NodeCapture;

    // Connects, makes a selection set and lets the user select; marks the
    // nodes, writes the table and shows its line count in the status label.
    // A cancelled selection ends quietly; every other refusal is shown.
    void run();
};

}  // namespace tendra
