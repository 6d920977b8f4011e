// Command3: origin initialisation, and the main-window state it sets: the
// relative origin and the marker group.
#pragma once

#include <string>

#include "cad/connection.h"
#include "cad/message.h"
#include "cad/names.h"
#include "cad/surface.h"

namespace tendra::cad {

inline constexpr const char* kOriginPrompt = "点取坐标原点 ";

// What origin initialisation writes on the main window.
class OriginForm : public MessageSink {
  public:
    // Replaces the text of the output box Text8.
    virtual void setOutputText(const std::string& text) = 0;
    // Enables Command1 and Command4.
    virtual void enableNodeButtons() = 0;
};

// The origin the node coordinates are taken relative to (Z always 0), and
// the group the node markers join; no group until the first initialisation.
struct OriginState {
    Point origin{0, 0, 0};
    GroupPtr markerGroup;
};

class OriginInitialisation {
  public:
    OriginInitialisation(Module1& module1, OriginForm& form, NameMaker& names, OriginState& state);

    // Clears the output box, connects, picks the origin, marks it in red,
    // sets the point display mode, starts a new marker group with the origin
    // marker and enables the node buttons. An ended pick (E_FAIL, or on a
    // compatible CAD a pick failure the CAD answers after) stops quietly; any
    // other failure shows the unknown error. What succeeded before a failure
    // stays.
    void run();

  private:
    Module1& module1_;
    OriginForm& form_;
    NameMaker& names_;
    OriginState& state_;
};

}  // namespace tendra::cad
