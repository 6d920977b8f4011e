// The large benchmark drawing (200,000 LINEs and 20,000 four-vertex
// LWPOLYLINEs on a square of 10^6 units), written to /tmp on first use.
#pragma once

#include <string>

namespace tendra::bench {

const std::string& largeDrawingPath();

}  // namespace tendra::bench
