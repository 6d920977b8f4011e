// What the two capture commands, manual picking and polyline extraction,
// share: the connection, the form, the origin and marker group that origin
// initialisation left, and a run's last steps: writing the table relative to
// the origin, checking it, and grouping the run's markers.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "cad/command.h"
#include "cad/connection.h"
#include "cad/names.h"
#include "cad/origin.h"
#include "cad/surface.h"
#include "nodes/form_port.h"
#include "nodes/table.h"
#include "nodes/tendon_labels.h"

namespace tendra {

// The name of a tendon taken alone that no label names: the one the first
// unnamed tendon of several gets.
inline const std::string kSoleTendonName = std::string(kUnnamedTendon) + "1";

// The most nodes one run collects.
inline constexpr int kMaxNodes = 100;

// The wait cursor for as long as it lives.
class BusyCursor {
  public:
    explicit BusyCursor(FormPort& form) : form_(form) { form_.setBusy(true); }
    ~BusyCursor() { form_.setBusy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

  private:
    FormPort& form_;
};

class NodeCapture {
  public:
    NodeCapture(cad::Module1& module1, FormPort& form, cad::NameMaker& names,
                cad::OriginState& state);

  protected:
    // The document as the latest connection left it; throws when there is none.
    cad::Document& document() const { return module1_.requireDocument(); }
    void showError(const std::string& text);

    // What checking a table of these nodes, written with these options,
    // finds, one line a finding: a mirrored half that folds back over the
    // forward half (the overlong legs the fold makes are left out for it),
    // bends that do not fit their legs (when the radius column is on, Text2
    // is a radius above 0 and the scale is not 0) and, for nodes made from
    // arcs, arcs that do not run tangentially into their legs.
    std::vector<std::string> tableFindings(const std::vector<Node>& nodes,
                                           const TableOptions& options, const ArcRadii& arcRadii,
                                           const std::vector<std::size_t>& offTangent) const;

    // A table written for a run, and what checking it found.
    struct WrittenTable {
        bool written = false;
        std::vector<std::string> findings;
    };
    // Writes the table for a run's nodes relative to the origin in the output
    // format, and checks it; writing MCT adds its own findings. In MCT the
    // tendon takes the name. Not written when the user has been told why.
    WrittenTable writeTable(const std::vector<Node>& nodes, double scale, OutputFormat format,
                            const std::string& name, const ArcRadii& arcRadii = {},
                            const std::vector<std::size_t>& offTangent = {});
    // Writes tendons' rows into the output box in the output format: one
    // tendon's node table alone, several each under its name, or every one
    // in one MCT section. What writing found (MCT's changed names and
    // radii); none when nothing was written and the user has been told why.
    std::optional<std::vector<std::string>> writeRows(OutputFormat format,
                                                      const std::vector<NamedRows>& tendons);
    // Shows a table's findings in one box, when there are any.
    void showFindings(const std::vector<std::string>& findings);
    // Appends a run's markers to the marker group, after the table is
    // written; a failure shows the unknown error and the table stays.
    void groupMarkers(const std::vector<cad::EntityPtr>& markers);

    cad::Module1& module1_;
    FormPort& form_;
    cad::NameMaker& names_;
    cad::OriginState& state_;
};

}  // namespace tendra
