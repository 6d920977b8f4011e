// A platform on which no CAD application can be reached: builds without the
// drawing board and without COM run on it, and so do the benchmarks.
#pragma once

#include "cad/surface.h"

namespace tendra::cad {

// REGDB_E_CLASSNOTREG, what starting an unregistered class returns.
inline constexpr std::int32_t kClassNotRegistered = -2147221164;

class NoCadPlatform : public Platform {
  public:
    ApplicationPtr getRunningObject(const std::string& progId) override;
    ApplicationPtr createObject(const std::string& progId) override;
    void activateWindow(const std::string& title) override;
};

}  // namespace tendra::cad
