// Failed COM calls as CadError: the number an automation client sees and the
// best description on offer.
#pragma once

#include <windows.h>

#include <string>

#include "cad/com/com_ptr.h"
#include "cad/surface.h"

namespace tendra::cad::com {

// The system's text for a result, or "Unknown error 0x8XXXXXXX" where it has none.
std::string describe(HRESULT result);

// A failed system call (ProgID lookup, attach, start).
CadError systemError(HRESULT result);

// A failed IDispatch call. For DISP_E_EXCEPTION the number is the EXCEPINFO's
// scode (its wCode when the scode is 0) once any deferred fill-in has run, and
// the text its description; otherwise the number is the HRESULT and the text
// comes from the object's error info when it supports one.
CadError invokeError(HRESULT result, ExcepInfo& exception, IDispatch* object);

}  // namespace tendra::cad::com
