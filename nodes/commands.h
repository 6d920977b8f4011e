// The three drawing commands, and the state of the main window they share:
// the origin and the marker group.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cad/connection.h"
#include "cad/names.h"
#include "cad/surface.h"
#include "nodes/form_port.h"

namespace tendra {

// The most nodes one run collects.
inline constexpr int kMaxNodes = 100;

// What the commands show the user. Every box is titled kErrorTitle, with the
// stop icon.
inline constexpr const char* kErrorTitle = "错误";
inline constexpr const char* kUnknownErrorText = "未知错误！";
inline constexpr const char* kNoPolylineText = "所选对象应为多段线！";
inline constexpr const char* kTooFewVerticesText = "所选多段线的顶点少于两个！";
inline constexpr const char* kTooManyNodesText = "节点数超过100个，无法处理！";

inline constexpr const char* kOriginPrompt = "点取坐标原点 ";
inline constexpr int kOriginColor = 1;               // red
inline constexpr int kNodeColor = 3;                 // green
inline constexpr std::int16_t kMarkerPointMode = 3;  // points drawn as an X

// Whether a failed pick or selection is the user ending the input (Enter, a
// right click, Esc) rather than a fault.
bool endsInput(std::int32_t errorNumber);

class DrawingCommands {
  public:
    DrawingCommands(cad::Module1& module1, FormPort& form, cad::NameMaker& names);

    // Command3: clears the output box, connects, picks the origin, marks it,
    // starts a new marker group and enables the node buttons.
    void initialiseOrigin();
    // Command1: picks nodes one by one until the user ends the input.
    void pickNodes();
    // Command4: takes the nodes from the first lightweight polyline selected.
    void extractPolylineNodes();

    const cad::Point& origin() const { return origin_; }
    const cad::GroupPtr& markerGroup() const { return markerGroup_; }

  private:
    // Runs CAD calls; returns the number of the failure that stopped them, or
    // nothing when all succeeded. A failure that carries no CAD number counts
    // as E_UNEXPECTED, which no command takes for the user's doing.
    static std::optional<std::int32_t> attempt(const std::function<void()>& calls);

    // The document as the latest connection left it; throws when there is none.
    cad::Document& document() const { return module1_.requireDocument(); }
    void showError(const char* text);

    // Appends a run's markers to the marker group, after the table is written.
    void groupMarkers(const std::vector<cad::EntityPtr>& markers);

    cad::Module1& module1_;
    FormPort& form_;
    cad::NameMaker& names_;
    cad::Point origin_{0, 0, 0};
    cad::GroupPtr markerGroup_;
};

// The object a CAD call returned; a call that returned no object fails as a
// reference that was never set.
template <class T>
T& required(const std::shared_ptr<T>& object) {
    if (!object) {
        throw cad::CadError(cad::kObjectNotSet, "Object variable not set");
    }
    return *object;
}

}  // namespace tendra
