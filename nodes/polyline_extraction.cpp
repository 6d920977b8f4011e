// Command4: polyline node extraction.
#include "nodes/polyline_extraction.h"

#include <optional>

#include "nodes/arc_nodes.h"
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

// The bulges of the segments between the vertices, one CAD call each; the
// last vertex's starts no segment of an open polyline.
std::vector<double> segmentBulges(cad::Entity& polyline, std::size_t vertexCount) {
    std::vector<double> bulges;
    for (std::size_t i = 0; i + 1 < vertexCount; ++i) {
        bulges.push_back(polyline.bulge(static_cast<int>(i)));
    }
    return bulges;
}

std::string arcChoiceQuestion(std::size_t arcs) {
    return "所选多段线含 " + std::to_string(arcs) +
           " 段圆弧。\n是：以圆弧两侧切线交点为节点，半径列取圆弧半径；\n"
           "否：按顶点取节点（与以前相同）。";
}

}  // namespace

void PolylineExtraction::run() {
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
    // The set is deleted again once its members are read, on every path:
    // AutoCAD keeps only so many open in a session, and a set is session
    // state, nothing the user keeps. A set that cannot be deleted changes
    // nothing else, so that failure goes unreported.
    const auto selectFailure = cad::attempt([&] { selection->selectOnScreen(); });
    cad::EntityPtr polyline;
    std::vector<double> coordinates;
    std::vector<double> bulges;
    cad::Point normal{0, 0, 1};
    std::optional<std::int32_t> readFailure;
    if (!selectFailure) {
        readFailure = cad::attempt([&] {
            polyline = firstLightweightPolyline(*selection);
            if (polyline) {
                coordinates = polyline->coordinates();
                normal = polyline->normal();
                // A polyline that is refused needs no bulges.
                if (inWorldPlane(normal)) {
                    bulges = segmentBulges(*polyline, coordinates.size() / 2);
                }
            }
        });
    }
    cad::attempt([&] { selection->deleteSet(); });
    // Cancelling the selection ends the click quietly.
    if (selectFailure) {
        if (!cad::endedByUser(*selectFailure, module1_)) {
            showError(cad::kUnknownErrorText);
        }
        return;
    }
    if (readFailure) {
        showError(cad::kUnknownErrorText);
        return;
    }
    if (!polyline) {
        showError(kNoPolylineText);
        return;
    }

    // The coordinates are the polyline's own; the origin was picked in the world's.
    if (!toWorldPlane(coordinates, bulges, normal)) {
        showError(kNotInPlaneText);
        return;
    }
    std::vector<Node> nodes = orderedVertices(coordinates);
    if (nodes.size() < 2) {
        showError(kTooFewVerticesText);
        return;
    }
    ArcTendon arcs;
    if (const std::size_t arcSegments = arcCount(coordinates, bulges);
        arcSegments > 0 && form_.askYesNo(arcChoiceQuestion(arcSegments), kApplicationTitle)) {
        arcs = nodesFromArcs(coordinates, bulges);
        if (arcs.refusal) {
            showError(arcs.refusal);
            return;
        }
        nodes = arcs.nodes;
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
    arcs.keepFirst(count);
    const double scale = readNumber(form_.fieldText(Field::Text3));

    // Model space is fetched once for the run, not once a node.
    std::vector<cad::EntityPtr> markers;
    if (cad::attempt([&] {
            const std::shared_ptr<cad::ModelSpace> modelSpace = document().modelSpace();
            for (const Node& node : nodes) {
                markers.push_back(
                    cad::addMarker(cad::required(modelSpace), node.x, node.y, cad::kNodeColor));
            }
        })) {
        showError(cad::kUnknownErrorText);
        return;
    }
    // The count goes up with the table, so Label4 never describes an older
    // table than Text8 holds, even when the grouping fails.
    const WrittenTable table = writeTable(nodes, scale, arcs.radii, arcs.offTangent);
    if (table.written) {
        form_.setStatusText("角点个数：" + std::to_string(tableLineCount(nodes.size(), symmetric)));
        groupMarkers(markers);
        showFindings(table.findings);
    }
}

}  // namespace tendra
