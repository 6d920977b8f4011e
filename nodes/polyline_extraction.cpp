// Command4: polyline node extraction.
#include "nodes/commands.h"
#include "nodes/number_reading.h"
#include "nodes/polyline.h"

namespace tendra {

namespace {

// The first lightweight polyline in selection order, or none.
cad::EntityPtr firstLightweightPolyline(cad::SelectionSet& selection) {
    const int count = selection.count();
    for (int i = 0; i < count; ++i) {
        cad::EntityPtr member = selection.item(i);
        if (cad::required(member).entityType() == cad::entity_type::kLightweightPolyline) {
            return member;
        }
    }
    return nullptr;
}

}  // namespace

void DrawingCommands::extractPolylineNodes() {
    module1_.connect();
    cad::SelectionSetPtr selection;
    if (cad::attempt([&] {
            module1_.activateCadWindow();
            selection = cad::required(document().selectionSets()).add(names_.next());
            cad::required(selection);
        })) {
        showError(cad::kUnknownErrorText);
        return;
    }
    // Cancelling the selection ends the click quietly.
    if (const auto failure = cad::attempt([&] { selection->selectOnScreen(); })) {
        if (!cad::endsInput(*failure)) {
            showError(cad::kUnknownErrorText);
        }
        return;
    }
    cad::EntityPtr polyline;
    std::vector<double> coordinates;
    if (cad::attempt([&] {
            polyline = firstLightweightPolyline(*selection);
            if (polyline) {
                coordinates = polyline->coordinates();
            }
        })) {
        showError(cad::kUnknownErrorText);
        return;
    }
    if (!polyline) {
        showError(kNoPolylineText);
        return;
    }

    std::vector<Node> nodes = orderedVertices(coordinates);
    if (nodes.size() < 2) {
        showError(kTooFewVerticesText);
        return;
    }
    const bool symmetric = form_.optionTicked(Option::Check1);
    const bool symmetricWithLast = form_.optionTicked(Option::Check3);
    const std::size_t count = polylineNodeCount(nodes.size(), symmetric, symmetricWithLast);
    // Refused before anything is drawn, so no marker is left without a node.
    if (count > static_cast<std::size_t>(kMaxNodes)) {
        showError(kTooManyNodesText);
        return;
    }
    nodes.resize(count);
    const double scale = readNumber(form_.fieldText(Field::Text3));

    std::vector<cad::EntityPtr> markers;
    if (cad::attempt([&] {
            for (const Node& node : nodes) {
                markers.push_back(cad::addMarker(cad::required(document().modelSpace()), node.x,
                                                 node.y, cad::kNodeColor));
            }
        })) {
        showError(cad::kUnknownErrorText);
        return;
    }
    // The count goes up with the table, so Label4 never describes an older
    // table than Text8 holds, even when the grouping fails.
    if (writeTable(nodes, scale)) {
        form_.setStatusText("角点个数：" + std::to_string(tableLineCount(nodes.size(), symmetric)));
        groupMarkers(markers);
    }
}

}  // namespace tendra
