#include "nodes/node_capture.h"

#include <cmath>
#include <stdexcept>

#include "nodes/mct_writer.h"
#include "nodes/number_reading.h"
#include "nodes/tendon_checks.h"

namespace tendra {

NodeCapture::NodeCapture(cad::Module1& module1, FormPort& form, cad::NameMaker& names,
                         cad::OriginState& state)
    : module1_(module1), form_(form), names_(names), state_(state) {}

void NodeCapture::showError(const std::string& text) {
    form_.showMessage(text, cad::kErrorTitle, MessageIcon::Stop);
}

std::vector<std::string> NodeCapture::tableFindings(
    const std::vector<Node>& nodes, const TableOptions& options, const ArcRadii& arcRadii,
    const std::vector<std::size_t>& offTangent) const {
    const bool foldsBack = options.symmetric && mirrorFoldsBack(nodes, options.originX);
    std::vector<Leg> overlong;
    const double radius = readNumber(options.radius);
    if (options.radiusColumn && radius > 0 && options.scale != 0) {
        // The radius text is in the table's units; the legs are in the drawing's.
        std::vector<double> radii(nodes.size(), radius / std::abs(options.scale));
        for (std::size_t i = 0; i < nodes.size() && i < arcRadii.size(); ++i) {
            if (arcRadii[i]) {
                radii[i] = *arcRadii[i];
            }
        }
        overlong = overlongLegs(nodes, radii, options.symmetric, options.originX);
        // A folding mirror turns the tendon round at its last forward node:
        // the legs beside that bend are too short for any radius, and the
        // fold is the finding, not they.
        if (foldsBack) {
            std::erase_if(overlong, [&](const Leg& leg) { return leg.to >= nodes.size(); });
        }
    }
    std::vector<std::size_t> offTangentLines;
    for (const std::size_t i : offTangent) {
        offTangentLines.push_back(i + 1);
    }
    return findingLines(foldsBack, offTangentLines, overlong);
}

NodeCapture::WrittenTable NodeCapture::writeTable(const std::vector<Node>& nodes, double scale,
                                                  OutputFormat format, const std::string& name,
                                                  const ArcRadii& arcRadii,
                                                  const std::vector<std::size_t>& offTangent) {
    const TableOptions options = readTableOptions(form_, scale, state_.origin[0], state_.origin[1]);
    std::vector<NamedRows> tendons(1);
    try {
        tendons[0] = {name, tableRows(nodes, options, arcRadii)};
    } catch (const std::overflow_error&) {
        showError(kOutOfRangeText);
        return {};
    }
    const auto written = writeRows(format, tendons);
    if (!written) {
        return {};
    }
    std::vector<std::string> findings = tableFindings(nodes, options, arcRadii, offTangent);
    findings.insert(findings.end(), written->begin(), written->end());
    return {true, std::move(findings)};
}

std::optional<std::vector<std::string>> NodeCapture::writeRows(
    OutputFormat format, const std::vector<NamedRows>& tendons) {
    if (format == OutputFormat::MidasMct) {
        return WriteMct(form_, tendons);
    }
    if (tendons.size() == 1) {
        form_.setOutputText(nodeTableText(tendons.front().table));
    } else {
        std::vector<NamedTable> tables;
        for (const NamedRows& tendon : tendons) {
            tables.push_back({tendon.name, nodeTableText(tendon.table)});
        }
        form_.setOutputText(namedTablesText(tables));
    }
    return std::vector<std::string>{};
}

void NodeCapture::showFindings(const std::vector<std::string>& findings) {
    if (!findings.empty()) {
        form_.showMessage(checkMessage(findings), kCheckTitle, MessageIcon::Information);
    }
}

void NodeCapture::groupMarkers(const std::vector<cad::EntityPtr>& markers) {
    if (cad::attempt([&] { cad::required(state_.markerGroup).appendItems(markers); })) {
        showError(cad::kUnknownErrorText);
    }
}

}  // namespace tendra
