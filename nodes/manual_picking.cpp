// Command1: manual node picking.
#include "nodes/manual_picking.h"

#include "nodes/number_reading.h"

namespace tendra {

std::string nodePrompt(int number) {
    return "点取第" + std::to_string(number) + "节点(右键或回车结束) ";
}

void ManualPicking::run() {
    module1_.connect();
    if (cad::attempt([this] { module1_.activateCadWindow(); })) {
        showError(cad::kUnknownErrorText);
        return;
    }
    const double scale = readNumber(form_.fieldText(Field::Text3));

    std::vector<Node> nodes;
    std::vector<cad::EntityPtr> markers;
    std::optional<std::int32_t> failure;
    // Utility and model space are fetched once for the run, each when first
    // needed, not once a node.
    std::shared_ptr<cad::Utility> utility;
    std::shared_ptr<cad::ModelSpace> modelSpace;
    bool inPick = false;
    while (!failure && nodes.size() < static_cast<std::size_t>(kMaxNodes)) {
        // A node counts once its marker is drawn and coloured; a marker drawn
        // for a node that failed later stays in the drawing, ungrouped.
        failure = cad::attempt([&] {
            const int number = static_cast<int>(nodes.size()) + 1;
            if (!utility) {
                utility = document().utility();
            }
            cad::Utility& picker = cad::required(utility);
            inPick = true;
            const cad::Point picked = picker.getPoint(nodePrompt(number));
            inPick = false;
            const Node node{picked[0], picked[1]};
            if (!modelSpace) {
                modelSpace = document().modelSpace();
            }
            cad::EntityPtr marker =
                cad::addMarker(cad::required(modelSpace), node.x, node.y, cad::kNodeColor);
            nodes.push_back(node);
            markers.push_back(std::move(marker));
        });
    }
    // The 100th node ends the input as Enter would. Only the pick's own
    // failure can be a compatible CAD's way of ending it.
    if (failure && !(inPick ? cad::endedByUser(*failure, module1_) : cad::endsInput(*failure))) {
        showError(cad::kUnknownErrorText);
        return;
    }
    if (nodes.empty()) {
        form_.setOutputText("");
        return;
    }
    // A picked tendon has no label to name it.
    const WrittenTable table = writeTable(nodes, scale, form_.outputFormat(), kSoleTendonName);
    if (table.written) {
        groupMarkers(markers);
        showFindings(table.findings);
    }
}

}  // namespace tendra
