// Command3: origin initialisation.
#include "nodes/commands.h"

namespace tendra {

void DrawingCommands::initialiseOrigin() {
    form_.setOutputText("");
    module1_.connect();
    // Whatever succeeded before a failure stays: a failure after the pick
    // leaves the new origin, possibly without its marker or group.
    const auto failure = attempt([this] {
        const cad::Point picked = required(document().utility()).getPoint(kOriginPrompt);
        origin_ = {picked[0], picked[1], 0};
        const cad::EntityPtr marker = required(document().modelSpace()).addPoint(origin_);
        required(marker).setColor(kOriginColor);
        document().setVariable("pdmode", kMarkerPointMode);
        const std::string name = names_.next();
        cad::GroupPtr group = required(document().groups()).add(name);
        required(group);
        markerGroup_ = std::move(group);
        groupMarkers({marker});
        form_.enableNodeButtons();
    });
    // Only E_FAIL is the user ending the pick here.
    if (failure && *failure != cad::kEFail) {
        showError(kUnknownErrorText);
    }
}

}  // namespace tendra
