// The CAD surface over AutoCAD's automation objects.
#pragma once

#include "cad/com/dispatch.h"
#include "cad/surface.h"

namespace tendra::cad::com {

ApplicationPtr wrapApplication(ComPtr<IDispatch> application, RetryPolicy policy);

}  // namespace tendra::cad::com
