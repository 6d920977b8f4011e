#include "nodes/commands.h"

#include <exception>

namespace tendra {

namespace {

constexpr std::int32_t kUnexpected = -2147418113;  // E_UNEXPECTED

}  // namespace

bool endsInput(std::int32_t errorNumber) {
    return errorNumber == cad::kEFail || errorNumber == cad::kInputEnded;
}

DrawingCommands::DrawingCommands(cad::Module1& module1, FormPort& form, cad::NameMaker& names)
    : module1_(module1), form_(form), names_(names) {}

std::optional<std::int32_t> DrawingCommands::attempt(const std::function<void()>& calls) {
    try {
        calls();
    } catch (const cad::CadError& error) {
        return error.number();
    } catch (const std::exception&) {
        return kUnexpected;
    }
    return std::nullopt;
}

void DrawingCommands::showError(const char* text) {
    form_.showMessage(text, kErrorTitle, MessageIcon::Stop);
}

void DrawingCommands::groupMarkers(const std::vector<cad::EntityPtr>& markers) {
    required(markerGroup_).appendItems(markers);
}

}  // namespace tendra
