// Command3: origin initialisation.
#include "cad/origin.h"

#include "cad/command.h"

namespace tendra::cad {

namespace {

// AutoCAD ends the origin pick with E_FAIL only.
bool endsOriginPick(std::int32_t errorNumber) {
    return errorNumber == kEFail;
}

}  // namespace

OriginInitialisation::OriginInitialisation(Module1& module1, OriginForm& form, NameMaker& names,
                                           OriginState& state)
    : module1_(module1), form_(form), names_(names), state_(state) {}

void OriginInitialisation::run() {
    form_.setOutputText("");
    module1_.connect();
    // Whatever succeeded before a failure stays: a failure after the pick
    // leaves the new origin, possibly without its marker or group.
    bool inPick = false;
    const auto failure = attempt([&] {
        Document& document = module1_.requireDocument();
        const std::shared_ptr<Utility> utility = document.utility();
        Utility& picker = required(utility);
        inPick = true;
        const Point picked = picker.getPoint(kOriginPrompt);
        inPick = false;
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
    // Only the pick's own failure can be a compatible CAD's way of ending it.
    if (failure &&
        !(inPick ? endedByUser(*failure, module1_, endsOriginPick) : endsOriginPick(*failure))) {
        form_.showMessage(kUnknownErrorText, kErrorTitle, MessageIcon::Stop);
    }
}

}  // namespace tendra::cad
