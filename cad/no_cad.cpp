#include "cad/no_cad.h"

namespace tendra::cad {

ApplicationPtr NoCadPlatform::getRunningObject(const std::string& /*progId*/) {
    throw CadError(kClassNotRegistered, "ActiveX component can't create object");
}

ApplicationPtr NoCadPlatform::createObject(const std::string& /*progId*/) {
    throw CadError(kClassNotRegistered, "ActiveX component can't create object");
}

void NoCadPlatform::activateWindow(const std::string& /*title*/) {}

}  // namespace tendra::cad
