// The error number a CAD call throws, for tests that expect a failure.
#pragma once

#include <cstdint>
#include <functional>

#include "cad/surface.h"

namespace tendra::testing {

// The number of the CadError the call throws, or 0 when it returns.
inline std::int32_t errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const cad::CadError& error) {
        return error.number();
    }
    return 0;
}

}  // namespace tendra::testing
