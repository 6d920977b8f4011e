// Command3: origin initialisation.
#include "cad/origin.h"

#include "cad/command.h"

namespace tendra::cad {

OriginInitialisation::OriginInitialisation(Module1& module1, OriginForm& form, NameMaker& names,
                                           OriginState& state)
    : module1_(module1), form_(form), names_(names), state_(state) {}

void OriginInitialisation::run() {
    form_.setOutputText("");
    module1_.connect();
    // Whatever succeeded before a failure stays: a failure after the pick
    // leaves the new origin, possibly without its marker or group.
    const auto failure = attempt([&] {
        Document& document = module1_.requireDocument();
        const Point picked = required(document.utility()).getPoint(kOriginPrompt);
        state_.origin = {picked[0], picked[1], 0};
        const EntityPtr marker = addMarker(required(document.modelSpace()), state_.origin[0],
                                           state_.origin[1], kOriginColor);
        document.setVariable("pdmode", kMarkerPointMode);
        const std::string name = names_.next();
        GroupPtr group = required(document.groups()).add(name);
        required(group);
        state_.markerGroup = std::move(group);
        state_.markerGroup->appendItems({marker});
        form_.enableNodeButtons();
    });
    // Only E_FAIL is the user ending the pick here.
    if (failure && *failure != kEFail) {
        form_.showMessage(kUnknownErrorText, kErrorTitle, MessageIcon::Stop);
    }
}

}  // namespace tendra::cad
