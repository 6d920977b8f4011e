#include "nodes/commands.h"

namespace tendra {

DrawingCommands::DrawingCommands(cad::Module1& module1, FormPort& form, cad::NameMaker& names)
    : module1_(module1), form_(form), names_(names) {}

void DrawingCommands::initialiseOrigin() {
    cad::initialiseOrigin(module1_, form_, names_, state_);
}

void DrawingCommands::showError(const char* text) {
    form_.showMessage(text, cad::kErrorTitle, MessageIcon::Stop);
}

bool DrawingCommands::writeTable(const std::vector<Node>& nodes, double scale) {
    return WriteNodeTable(form_, nodes, scale, state_.origin[0], state_.origin[1]);
}

void DrawingCommands::groupMarkers(const std::vector<cad::EntityPtr>& markers) {
    if (cad::attempt([&] { cad::required(state_.markerGroup).appendItems(markers); })) {
        showError(cad::kUnknownErrorText);
    }
}

}  // namespace tendra
