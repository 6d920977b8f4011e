#include "app/no_cad.h"

namespace tendra {

cad::ApplicationPtr NoCadPlatform::getRunningObject(const std::string& /*progId*/) {
    throw cad::CadError(kClassNotRegistered, "ActiveX component can't create object");
}

cad::ApplicationPtr NoCadPlatform::createObject(const std::string& /*progId*/) {
    throw cad::CadError(kClassNotRegistered, "ActiveX component can't create object");
}

void NoCadPlatform::activateWindow(const std::string& /*title*/) {}

}  // namespace tendra
