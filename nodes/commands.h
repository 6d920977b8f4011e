// The three drawing commands as the main window runs them from its buttons,
// and the state of the window they share: the origin and the marker group.
#pragma once

#include "cad/connection.h"
#include "cad/names.h"
#include "cad/origin.h"
#include "cad/surface.h"
#include "nodes/form_port.h"

namespace tendra {

class DrawingCommands {
  public:
    DrawingCommands(cad::Module1& module1, FormPort& form, cad::NameMaker& names);

    // Command3: origin initialisation (cad/origin.h).
    void initialiseOrigin();
    // Command1: manual node picking (nodes/manual_picking.h).
    void pickNodes();
    // Command4: polyline node extraction (nodes/polyline_extraction.h).
    void extractPolylineNodes();

    const cad::Point& origin() const { return state_.origin; }
    const cad::GroupPtr& markerGroup() const { return state_.markerGroup; }

  private:
    cad::Module1& module1_;
    FormPort& form_;
    cad::NameMaker& names_;
    cad::OriginState state_;
};

}  // namespace tendra
