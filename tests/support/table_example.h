// The node table's worked example, shared by the table's and the MCT
// writer's tests: origin (100, 50), scale 0.5, two decimals, radius 15,
// symmetric, and three nodes.
#pragma once

#include <vector>

#include "nodes/table.h"

namespace tendra::testing {

inline TableOptions exampleOptions() {
    TableOptions options;
    options.originX = 100;
    options.originY = 50;
    options.scale = 0.5;
    options.decimals = 2;
    options.radius = "15";
    return options;
}

inline const std::vector<Node> kExampleNodes = {{80, 60}, {90, 52}, {96, 50.5}};

}  // namespace tendra::testing
