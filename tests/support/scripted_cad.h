// A scripted CAD for tests: a platform, an application and a drawing that
// answer from a script, record every call in order, and fail on demand.
//
//   ScriptedCad cad;
//   cad.queuePoint(10, 20);             // the next GetPoint answers (10, 20, 0)
//   cad.failCall(7, -2147418113);       // the 7th call of the run fails
//   cad::Module1 module1(cad.platform(), messages);
//   ... run a command ...
//   EXPECT_EQ(cad.members(), (std::vector<std::string>{"Platform.GetActiveObject", ...}));
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cad/surface.h"

namespace tendra::testing {

struct Call {
    std::string object;  // "Platform", "Application", "Document", "Utility", "ModelSpace",
                         // "Groups", "Group:<name>", "SelectionSets", "SelectionSet:<name>",
                         // "Point#<id>" for drawn points, "Entity#<id>" for selectable ones
    std::string member;  // the CAD's member name: "GetPoint", "AddPoint", "Color", ...
    std::string args;    // the arguments as text: "(1, 2, 0)", "\"pdmode\", 3", ...
    bool failed = false;
    std::string text() const { return object + "." + member; }
    // "Object.Member args", as a transcript line.
    std::string line() const { return args.empty() ? text() : text() + " " + args; }
};

// A point added to model space.
struct DrawnPoint {
    int id = 0;
    cad::Point at{};
    int color = 256;  // ByLayer until set
};

// An entity the user can select on screen.
struct Selectable {
    int type = cad::entity_type::kLightweightPolyline;
    std::vector<double> coordinates;
    std::vector<double> bulges = {};  // per vertex; a vertex past the list is straight
    cad::Point normal = {0, 0, 1};
    // A TEXT's or MTEXT's string and insertion point.
    std::string text = {};
    cad::Point at = {0, 0, 0};
    // The class name it reports; empty for the one its type has.
    std::string objectName = {};
    std::string layer = "0";
    // A LINE's or an ARC's ends and an ARC's centre, in world coordinates.
    cad::Point start = {0, 0, 0};
    cad::Point end = {0, 0, 0};
    cad::Point center = {0, 0, 0};
    // An old-style 2D polyline's fitting (0: none).
    int polylineType = 0;
    // A TEXT's or MTEXT's character height.
    double height = 2.5;
};

Selectable polyline(std::vector<double> coordinates);
Selectable polyline(std::vector<double> coordinates, std::vector<double> bulges,
                    cad::Point normal = {0, 0, 1});
Selectable entityOfType(int type);
// A LINE from (x1, y1) to (x2, y2).
Selectable line(double x1, double y1, double x2, double y2);
// An ARC about (cx, cy) from one end to the other, counter-clockwise about
// its normal: (0, 0, -1) runs it clockwise in the world's plan.
Selectable arc(double cx, double cy, cad::Point start, cad::Point end,
               cad::Point normal = {0, 0, 1});
// An old-style 2D polyline: vertices as X, Y pairs, given three numbers a
// vertex as the CAD gives them (Z 0).
Selectable polyline2d(const std::vector<double>& xy, std::vector<double> bulges = {},
                      int polylineType = 0);
// The same entity on another layer.
Selectable onLayer(Selectable entity, std::string layer);
// A TEXT, or an MTEXT whose string may hold format codes, inserted at (x, y).
Selectable text(std::string string, double x, double y);
Selectable mtext(std::string string, double x, double y);

class ScriptedCad {
  public:
    ScriptedCad();
    ~ScriptedCad();
    ScriptedCad(const ScriptedCad&) = delete;
    ScriptedCad& operator=(const ScriptedCad&) = delete;

    // --- The script -------------------------------------------------------
    // GetPoint answers from this queue; an empty queue ends the input (E_FAIL).
    void queuePoint(double x, double y, double z = 0);
    // What the next SelectOnScreen selects, in order.
    void prepareSelection(std::vector<Selectable> entities);
    // The k-th call from now on (1 = the next one) fails with this number.
    void failCall(int k, std::int32_t number);

    bool running = true;  // getRunningObject finds the application
    // When not empty, the running application is found under these classes only.
    std::vector<std::string> runningAs;
    // What versionedProgIds lists, whatever it is asked.
    std::vector<std::string> versions;
    bool installed = true;    // createObject can start one
    bool hasDocument = true;  // ActiveDocument answers
    std::string caption = "AutoCAD 2000 - [Drawing1.dwg]";
    std::string startFailure = "ActiveX component can't create object";
    // Called after every call has been recorded (before it answers).
    std::function<void(const Call&)> onCall;

    // --- What happened ----------------------------------------------------
    cad::Platform& platform();
    const std::vector<Call>& calls() const { return calls_; }
    // "Object.Member" for every call, in order.
    std::vector<std::string> members() const;
    // Call::line() for every call, in order: members with their arguments.
    std::vector<std::string> transcript() const;
    // How many calls were made to this member ("AddPoint") or "Object.Member".
    std::size_t countOf(const std::string& member) const;
    std::size_t callCount() const { return calls_.size(); }
    void clearCalls() { calls_.clear(); }

    const std::vector<DrawnPoint>& points() const { return points_; }
    const DrawnPoint* point(int id) const;
    // Groups by name, each with its member ids ("Point#3" → 3) in order.
    const std::vector<std::pair<std::string, std::vector<int>>>& groups() const { return groups_; }
    const std::vector<int>* group(const std::string& name) const;
    // The selection sets open, in the order they were added.
    const std::vector<std::string>& selectionSets() const { return selectionSets_; }
    const std::map<std::string, std::int16_t>& variables() const { return variables_; }
    const std::vector<std::string>& activatedWindows() const { return activated_; }
    int instancesStarted() const { return started_; }
    bool visible() const { return visible_; }

    // The error number a scripted failure carries for a name that exists.
    static constexpr std::int32_t kNameTaken = -2145386476;  // 0x80200014
    // Adding a selection set while kMaxSelectionSets are open.
    static constexpr std::int32_t kTooManySelectionSets = cad::kEFail;
    // A call on a selection set that was deleted.
    static constexpr std::int32_t kSetDeleted = -2147417848;  // RPC_E_DISCONNECTED

    // Records a call, runs onCall, and throws if the script says so.
    void record(const std::string& object, const std::string& member, const std::string& args);

    // Used by the scripted objects.
    struct Impl;
    Impl& impl() { return *impl_; }

  private:
    friend struct Impl;
    friend struct Access;
    std::unique_ptr<Impl> impl_;
    std::vector<Call> calls_;
    std::map<std::size_t, std::int32_t> failures_;  // by call index from 0
    std::deque<cad::Point> picks_;
    std::vector<Selectable> selection_;
    std::vector<DrawnPoint> points_;
    std::vector<std::pair<std::string, std::vector<int>>> groups_;
    std::vector<std::string> selectionSets_;
    std::map<std::string, std::int16_t> variables_;
    std::vector<std::string> activated_;
    int started_ = 0;
    bool visible_ = false;
};

// Text of a point as the call log writes it: "(1, 2.5, 0)".
std::string pointText(const cad::Point& point);

}  // namespace tendra::testing
