#include "nodes/commands.h"

#include "nodes/manual_picking.h"
#include "nodes/polyline_extraction.h"

namespace tendra {

DrawingCommands::DrawingCommands(cad::Module1& module1, FormPort& form, cad::NameMaker& names)
    : module1_(module1), form_(form), names_(names) {}

void DrawingCommands::initialiseOrigin() {
    cad::OriginInitialisation(module1_, form_, names_, state_).run();
}

void DrawingCommands::pickNodes() {
    ManualPicking(module1_, form_, names_, state_).run();
}

void DrawingCommands::extractPolylineNodes() {
    PolylineExtraction(module1_, form_, names_, state_).run();
}

}  // namespace tendra
