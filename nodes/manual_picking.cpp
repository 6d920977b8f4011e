// Command1: manual node picking.
#include "nodes/manual_picking.h"

#include "nodes/commands.h"
#include "nodes/table.h"

namespace tendra {

std::string nodePrompt(int number) {
    return "点取第" + std::to_string(number) + "节点(右键或回车结束) ";
}

void DrawingCommands::pickNodes() {
    module1_.connect();
    if (attempt([this] { module1_.activateCadWindow(); })) {
        showError(kUnknownErrorText);
        return;
    }
    const double scale = readNumber(form_.fieldText(Field::Text3));

    std::vector<Node> nodes;
    std::vector<cad::EntityPtr> markers;
    std::optional<std::int32_t> failure;
    while (!failure && nodes.size() < static_cast<std::size_t>(kMaxNodes)) {
        // A node counts once its marker is drawn and coloured; a marker drawn
        // for a node that failed later stays in the drawing, ungrouped.
        failure = attempt([&] {
            const int number = static_cast<int>(nodes.size()) + 1;
            const cad::Point picked = required(document().utility()).getPoint(nodePrompt(number));
            const Node node{picked[0], picked[1]};
            cad::EntityPtr marker = required(document().modelSpace()).addPoint({node.x, node.y, 0});
            required(marker).setColor(kNodeColor);
            nodes.push_back(node);
            markers.push_back(std::move(marker));
        });
    }
    // The 100th node ends the input as Enter would.
    if (failure && !endsInput(*failure)) {
        showError(kUnknownErrorText);
        return;
    }
    if (nodes.empty()) {
        form_.setOutputText("");
        return;
    }
    // A table already written stays when the grouping fails.
    if (attempt([&] {
            if (WriteNodeTable(form_, nodes, scale, origin_[0], origin_[1])) {
                groupMarkers(markers);
            }
        })) {
        showError(kUnknownErrorText);
    }
}

}  // namespace tendra
