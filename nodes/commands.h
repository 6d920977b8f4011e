// The three drawing commands, and the state of the main window they share:
// the origin and the marker group.
#pragma once

#include "cad/connection.h"
#include "cad/names.h"
#include "cad/surface.h"
#include "nodes/form_port.h"

namespace tendra {

// The most nodes one run collects.
inline constexpr int kMaxNodes = 100;

class DrawingCommands {
public:
    DrawingCommands(cad::Module1& module1, FormPort& form, cad::NameMaker& names);

    // Command3: clears the output box, connects, picks the origin, marks it,
    // starts a new marker group and enables the node buttons.
    void initialiseOrigin();
    // Command1: picks nodes one by one until the user ends the input.
    void pickNodes();
    // Command4: takes the nodes from the first lightweight polyline selected.
    void extractPolylineNodes();

    const cad::Point& origin() const { return origin_; }
    const cad::GroupPtr& markerGroup() const { return markerGroup_; }

private:
    cad::Module1& module1_;
    FormPort& form_;
    cad::NameMaker& names_;
    cad::Point origin_{0, 0, 0};
    cad::GroupPtr markerGroup_;
};

}  // namespace tendra
