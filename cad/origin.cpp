// Command3: origin initialisation.
#include "cad/origin.h"

#include "cad/command.h"

namespace tendra::cad {

void initialiseOrigin(Module1& module1, OriginForm& form, NameMaker& names, OriginState& state) {
    form.setOutputText("");
    module1.connect();
    // Whatever succeeded before a failure stays: a failure after the pick
    // leaves the new origin, possibly without its marker or group.
    const auto failure = attempt([&] {
        Document& document = module1.requireDocument();
        const Point picked = required(document.utility()).getPoint(kOriginPrompt);
        state.origin = {picked[0], picked[1], 0};
        const EntityPtr marker = addMarker(required(document.modelSpace()), state.origin[0],
                                           state.origin[1], kOriginColor);
        document.setVariable("pdmode", kMarkerPointMode);
        const std::string name = names.next();
        GroupPtr group = required(document.groups()).add(name);
        required(group);
        state.markerGroup = std::move(group);
        state.markerGroup->appendItems({marker});
        form.enableNodeButtons();
    });
    // Only E_FAIL is the user ending the pick here.
    if (failure && *failure != kEFail) {
        form.showMessage(kUnknownErrorText, kErrorTitle, MessageIcon::Stop);
    }
}

}  // namespace tendra::cad
