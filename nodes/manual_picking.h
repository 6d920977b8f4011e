// Command1: manual node picking. The user picks the nodes one by one in the
// CAD until ending the input (or the 100th node); each gets a marker, and the
// table is written for them.
#pragma once

#include <string>

#include "nodes/node_capture.h"

namespace tendra {

// The prompt for the n-th node: "点取第5节点(右键或回车结束) ".
std::string nodePrompt(int number);

class ManualPicking : public NodeCapture {
  public:
    using NodeCapture::NodeCapture;

    // Connects, then picks nodes until the user ends the input; an ended
    // input writes the table of the nodes picked so far (none empties the
    // output box), any other failure shows the unknown error.
    void run();
};

}  // namespace tendra
