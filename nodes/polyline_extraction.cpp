// Command4: polyline node extraction.
#include "nodes/polyline_extraction.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

#include "nodes/arc_nodes.h"
#include "nodes/number_reading.h"
#include "nodes/polyline.h"
#include "nodes/tendon_checks.h"
#include "nodes/tendon_pieces.h"

namespace tendra {

struct PolylineExtraction::Tendon {
    // Where the tendon stands in the selection: its polyline's position, or
    // its chain's first piece's.
    std::size_t position = 0;
    // The polyline, or the pieces of a chain.
    std::vector<cad::EntityPtr> entities;
    // Set when the polyline was refused as read.
    const char* refusal = nullptr;
    // As read, then in world X and Y.
    std::vector<double> coordinates;
    std::vector<double> bulges;
    cad::Point normal{0, 0, 1};
    // The ordered vertices, then the nodes the table takes.
    std::vector<Node> nodes;
    ArcTendon arcs;

    // The polyline in world X and Y, and its vertices in table order; the
    // refusal, if it cannot be.
    const char* takeVertices() {
        if (refusal) {
            return refusal;
        }
        // The coordinates are the polyline's own; the origin was picked in the world's.
        if (!toWorldPlane(coordinates, bulges, normal)) {
            return kNotInPlaneText;
        }
        nodes = orderedVertices(coordinates);
        return nodes.size() < 2 ? kTooFewVerticesText : nullptr;
    }
    std::size_t arcSegments() const { return arcCount(coordinates, bulges); }
    // The nodes from the arcs' tangent lines, when the user chose them.
    const char* takeArcs(bool fromArcs) {
        if (!fromArcs || arcSegments() == 0) {
            return nullptr;
        }
        arcs = nodesFromArcs(coordinates, bulges);
        if (arcs.refusal) {
            return arcs.refusal;
        }
        nodes = arcs.nodes;
        return nullptr;
    }
    // The node-count rule of a symmetric tendon, and the run's limit.
    const char* keepNodes(bool symmetric, bool symmetricWithLast) {
        const std::size_t count = polylineNodeCount(nodes.size(), symmetric, symmetricWithLast);
        if (count > static_cast<std::size_t>(kMaxNodes)) {
            return kTooManyNodesText;
        }
        nodes.resize(count);
        arcs.keepFirst(count);
        return nullptr;
    }
};

namespace {

struct Member {
    cad::EntityPtr entity;
    int type = 0;
};

// Every member of the selection in selection order, with its type.
std::vector<Member> membersOf(cad::SelectionSet& selection) {
    std::vector<Member> members;
    const int count = selection.count();
    for (int i = 0; i < count; ++i) {
        cad::EntityPtr member = selection.item(i);
        const int type = cad::required(member).entityType();
        members.push_back({std::move(member), type});
    }
    return members;
}

bool isPolyline(const Member& member) {
    return member.type == cad::entity_type::kLightweightPolyline ||
           member.type == cad::entity_type::kPolyline;
}

bool isPiece(const Member& member) {
    return member.type == cad::entity_type::kLine || member.type == cad::entity_type::kArc;
}

// A LINE's or an ARC's course in the plan; none for an arc that does not
// lie flat, which is no piece of a tendon.
std::optional<Piece> readPiece(const Member& member) {
    cad::Entity& entity = *member.entity;
    const cad::Point start = entity.startPoint();
    const cad::Point end = entity.endPoint();
    if (member.type == cad::entity_type::kLine) {
        return linePiece(start, end);
    }
    const cad::Point center = entity.center();
    return arcPiece(center, start, end, entity.normal());
}

// The pieces of the selection, each with its member's position.
struct Pieces {
    std::vector<Piece> courses;
    std::vector<std::size_t> members;
};

Pieces readPieces(const std::vector<Member>& members) {
    Pieces pieces;
    for (std::size_t i = 0; i < members.size(); ++i) {
        if (isPiece(members[i])) {
            if (const std::optional<Piece> piece = readPiece(members[i])) {
                pieces.courses.push_back(*piece);
                pieces.members.push_back(i);
            }
        }
    }
    return pieces;
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

// X, Y pairs of an old-style polyline's X, Y, Z triples.
std::vector<double> planOf(const std::vector<double>& triples) {
    std::vector<double> plan;
    plan.reserve(triples.size() / 3 * 2);
    for (std::size_t i = 0; i + 2 < triples.size(); i += 3) {
        plan.insert(plan.end(), {triples[i], triples[i + 1]});
    }
    return plan;
}

PolylineExtraction::Tendon readPolyline(const Member& member, std::size_t position) {
    PolylineExtraction::Tendon tendon;
    tendon.position = position;
    tendon.entities = {member.entity};
    cad::Entity& polyline = *member.entity;
    const bool oldStyle = member.type == cad::entity_type::kPolyline;
    // A fitted polyline's vertices are not its course.
    if (oldStyle && polyline.polylineType() != 0) {
        tendon.refusal = kFittedPolylineText;
        return tendon;
    }
    tendon.coordinates = oldStyle ? planOf(polyline.coordinates()) : polyline.coordinates();
    tendon.normal = polyline.normal();
    // A polyline that is refused needs no bulges.
    if (inWorldPlane(tendon.normal)) {
        tendon.bulges = segmentBulges(polyline, tendon.coordinates.size() / 2);
    }
    return tendon;
}

// A TEXT's or MTEXT's name and place; none for another entity or an empty name.
std::optional<Label> readLabel(cad::Entity& entity) {
    const std::string objectName = entity.objectName();
    const bool mtext = objectName == "AcDbMText";
    if (!mtext && objectName != "AcDbText") {
        return std::nullopt;
    }
    std::string name = labelName(entity.textString(), mtext);
    if (name.empty()) {
        return std::nullopt;
    }
    const cad::Point at = entity.insertionPoint();
    return Label{std::move(name), at[0], at[1], entity.height()};
}

PolylineExtraction::Tendon chainTendon(const Chain& chain, const Pieces& pieces,
                                       const std::vector<Member>& members) {
    PolylineExtraction::Tendon tendon;
    tendon.position = pieces.members[chain.firstPiece];
    for (const std::size_t piece : chain.pieces) {
        tendon.entities.push_back(members[pieces.members[piece]].entity);
    }
    // Pieces are read in the world's plan already.
    tendon.coordinates = chain.coordinates;
    tendon.bulges = chain.bulges;
    return tendon;
}

std::string named(const std::string& name, const char* text) {
    return name + "：" + text;
}

}  // namespace

namespace {

constexpr const char* kSeveralChoices =
    "\n是：逐条取节点，每条钢束一张表；\n否：只取第一条（与以前相同）。";

}  // namespace

std::string severalPolylinesQuestion(std::size_t polylines) {
    return "所选对象含 " + std::to_string(polylines) + " 条多段线。" + kSeveralChoices;
}

std::string severalTendonsQuestion(std::size_t polylines, std::size_t chains) {
    if (chains == 0) {
        return severalPolylinesQuestion(polylines);
    }
    return "所选对象含 " + std::to_string(polylines + chains) + " 条钢束（多段线 " +
           std::to_string(polylines) + " 条，直线与圆弧连成 " + std::to_string(chains) + " 条）。" +
           kSeveralChoices;
}

std::string arcChoiceQuestion(std::size_t arcs) {
    return "所选多段线含 " + std::to_string(arcs) +
           " 段圆弧。\n是：以圆弧两侧切线交点为节点，半径列取圆弧半径；\n"
           "否：按顶点取节点（与以前相同）。";
}

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
    const auto selectFailure = cad::attempt([&] { selection->selectOnScreen(); });
    const BusyCursor busy(form_);
    std::vector<Member> members;
    Pieces pieces;
    Chaining chaining;
    std::vector<Tendon> tendons;
    std::vector<Label> labels;
    bool several = false;
    OutputFormat format = OutputFormat::NodeTable;
    std::optional<std::int32_t> readFailure;
    if (!selectFailure) {
        readFailure = cad::attempt([&] {
            members = membersOf(*selection);
            pieces = readPieces(members);
        });
        chaining = chainPieces(pieces.courses);
    }
    if (!selectFailure && !readFailure && !chaining.fault) {
        const auto polylines =
            static_cast<std::size_t>(std::count_if(members.begin(), members.end(), isPolyline));
        const std::size_t chains = chaining.chains.size();
        several = polylines + chains >= 2 &&
                  form_.askYesNo(severalTendonsQuestion(polylines, chains), kApplicationTitle);
        format = form_.outputFormat();
        // The chains in the selection's order, by where their first piece stands.
        std::size_t nextChain = 0;
        const auto chainsBefore = [&](std::size_t position) {
            while (nextChain < chains &&
                   pieces.members[chaining.chains[nextChain].firstPiece] < position) {
                tendons.push_back(chainTendon(chaining.chains[nextChain++], pieces, members));
            }
        };
        // One tendon needs nothing of the other members but, in MCT, a label
        // to name it; several read the labels among them.
        const bool withLabels = several || format == OutputFormat::MidasMct;
        readFailure = cad::attempt([&] {
            for (std::size_t i = 0; i < members.size(); ++i) {
                chainsBefore(i);
                const bool taken = !several && !tendons.empty();
                if (taken && !withLabels) {
                    return;
                }
                if (isPolyline(members[i])) {
                    if (!taken) {
                        tendons.push_back(readPolyline(members[i], i));
                    }
                } else if (withLabels && !isPiece(members[i])) {
                    if (auto label = readLabel(*members[i].entity)) {
                        labels.push_back(std::move(*label));
                    }
                }
            }
            chainsBefore(members.size());
        });
        if (!several && tendons.size() > 1) {
            tendons.resize(1);
        }
    }
    // The set is deleted again once its members are read, on every path:
    // AutoCAD keeps only so many open in a session, and a set is session
    // state, nothing the user keeps. A set that cannot be deleted changes
    // nothing else, so that failure goes unreported.
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
    if (chaining.fault) {
        showError(faultText(*chaining.fault));
        return;
    }
    if (tendons.empty()) {
        showError(kNoPolylineText);
        return;
    }
    if (several) {
        runSeveral(tendons, labels, format);
    } else {
        runOne(tendons.front(), labels, format);
    }
}

void PolylineExtraction::runOne(Tendon& tendon, const std::vector<Label>& labels,
                                OutputFormat format) {
    if (const char* refusal = tendon.takeVertices()) {
        showError(refusal);
        return;
    }
    std::string name = kSoleTendonName;
    if (const auto label = assignLabels({{tendon.coordinates, tendon.bulges}}, labels).front()) {
        name = labels[*label].name;
    }
    const std::size_t arcSegments = tendon.arcSegments();
    const bool fromArcs =
        arcSegments > 0 && form_.askYesNo(arcChoiceQuestion(arcSegments), kApplicationTitle);
    if (const char* refusal = tendon.takeArcs(fromArcs)) {
        showError(refusal);
        return;
    }
    const bool symmetric = form_.optionTicked(Option::Check1);
    const bool symmetricWithLast = form_.optionTicked(Option::Check3);
    // Refused before anything is drawn, so no marker is left without a node.
    if (const char* refusal = tendon.keepNodes(symmetric, symmetricWithLast)) {
        showError(refusal);
        return;
    }
    const double scale = readNumber(form_.fieldText(Field::Text3));

    std::vector<cad::EntityPtr> markers;
    if (!drawMarkers({&tendon.nodes}, markers)) {
        return;
    }
    // The count goes up with the table, so Label4 never describes an older
    // table than Text8 holds, even when the grouping fails.
    const WrittenTable table =
        writeTable(tendon.nodes, scale, format, name, tendon.arcs.radii, tendon.arcs.offTangent);
    if (table.written) {
        form_.setStatusText("角点个数：" +
                            std::to_string(tableLineCount(tendon.nodes.size(), symmetric)));
        groupMarkers(markers);
        showFindings(table.findings);
    }
}

void PolylineExtraction::runSeveral(std::vector<Tendon>& tendons, const std::vector<Label>& labels,
                                    OutputFormat format) {
    // Labels go by the world's distances: a polyline that is not in the
    // world's plane has none, and is refused below.
    std::vector<const char*> refusals;
    std::vector<TendonShape> shapes;
    for (Tendon& tendon : tendons) {
        refusals.push_back(tendon.takeVertices());
        shapes.push_back(refusals.back() == kNotInPlaneText
                             ? TendonShape{}
                             : TendonShape{tendon.coordinates, tendon.bulges});
    }
    const std::vector<std::optional<std::size_t>> assigned = assignLabels(shapes, labels);
    std::vector<std::optional<std::string>> byLayer(tendons.size());
    if (std::find(assigned.begin(), assigned.end(), std::nullopt) != assigned.end()) {
        // A tendon without a label may take its layer's name, if no other
        // tendon lies on that layer.
        std::vector<std::vector<std::string>> layers(tendons.size());
        if (cad::attempt([&] {
                for (std::size_t i = 0; i < tendons.size(); ++i) {
                    for (const cad::EntityPtr& entity : tendons[i].entities) {
                        layers[i].push_back(entity->layer());
                    }
                }
            })) {
            showError(cad::kUnknownErrorText);
            return;
        }
        byLayer = layerNames(layers);
    }
    std::vector<TendonKey> keys;
    for (std::size_t i = 0; i < tendons.size(); ++i) {
        keys.push_back({assigned[i] ? std::optional(labels[*assigned[i]].name) : byLayer[i],
                        tendons[i].nodes.empty() ? 0 : tendons[i].nodes.front().x});
    }
    const std::vector<std::size_t> order = outputOrder(keys);
    const std::vector<std::string> names = outputNames(keys, order);

    // Any tendon refused refuses the run, before anything is drawn.
    const auto refuse = [&](const auto& take) {
        for (std::size_t position = 0; position < order.size(); ++position) {
            if (const char* refusal = take(tendons[order[position]], order[position])) {
                showError(named(names[position], refusal));
                return true;
            }
        }
        return false;
    };
    if (refuse([&](Tendon&, std::size_t i) { return refusals[i]; })) {
        return;
    }
    std::size_t arcSegments = 0;
    for (const Tendon& tendon : tendons) {
        arcSegments += tendon.arcSegments();
    }
    const bool fromArcs =
        arcSegments > 0 && form_.askYesNo(arcChoiceQuestion(arcSegments), kApplicationTitle);
    if (refuse([&](Tendon& tendon, std::size_t) { return tendon.takeArcs(fromArcs); })) {
        return;
    }
    const bool symmetric = form_.optionTicked(Option::Check1);
    const bool symmetricWithLast = form_.optionTicked(Option::Check3);
    if (refuse([&](Tendon& tendon, std::size_t) {
            return tendon.keepNodes(symmetric, symmetricWithLast);
        })) {
        return;
    }
    const double scale = readNumber(form_.fieldText(Field::Text3));

    std::vector<const std::vector<Node>*> nodeLists;
    for (const std::size_t i : order) {
        nodeLists.push_back(&tendons[i].nodes);
    }
    std::vector<cad::EntityPtr> markers;
    if (!drawMarkers(nodeLists, markers)) {
        return;
    }
    const TableOptions options = readTableOptions(form_, scale, state_.origin[0], state_.origin[1]);
    std::vector<NamedRows> rows;
    std::size_t lines = 0;
    for (std::size_t position = 0; position < order.size(); ++position) {
        const Tendon& tendon = tendons[order[position]];
        try {
            rows.push_back({names[position], tableRows(tendon.nodes, options, tendon.arcs.radii)});
        } catch (const std::overflow_error&) {
            showError(named(names[position], kOutOfRangeText));
            return;
        }
        lines += tableLineCount(tendon.nodes.size(), symmetric);
    }
    const auto written = writeRows(format, rows);
    if (!written) {
        return;
    }
    form_.setStatusText("钢束数：" + std::to_string(rows.size()) + "，角点个数：" +
                        std::to_string(lines));
    groupMarkers(markers);
    std::vector<std::string> findings;
    for (std::size_t position = 0; position < order.size(); ++position) {
        const Tendon& tendon = tendons[order[position]];
        for (const std::string& line :
             tableFindings(tendon.nodes, options, tendon.arcs.radii, tendon.arcs.offTangent)) {
            findings.push_back(names[position] + " " + line);
        }
    }
    findings.insert(findings.end(), written->begin(), written->end());
    showFindings(findings);
}

bool PolylineExtraction::drawMarkers(const std::vector<const std::vector<Node>*>& nodeLists,
                                     std::vector<cad::EntityPtr>& markers) {
    // Model space is fetched once for the run, not once a node.
    if (cad::attempt([&] {
            const std::shared_ptr<cad::ModelSpace> modelSpace = document().modelSpace();
            for (const std::vector<Node>* nodes : nodeLists) {
                for (const Node& node : *nodes) {
                    markers.push_back(
                        cad::addMarker(cad::required(modelSpace), node.x, node.y, cad::kNodeColor));
                }
            }
        })) {
        showError(cad::kUnknownErrorText);
        return false;
    }
    return true;
}

}  // namespace tendra
