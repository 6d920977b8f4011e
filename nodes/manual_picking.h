// Manual node picking, the parts that need no CAD.
#pragma once

#include <string>

namespace tendra {

// The prompt for the n-th node: "点取第5节点(右键或回车结束) ".
std::string nodePrompt(int number);

}  // namespace tendra
