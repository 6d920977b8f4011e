// The two files between the stand-in AutoCAD and the test driving it: the
// script the stand-in answers from, and the drawing it reports back. Both are
// UTF-8 text, one entry a line, so a failing test can show them as they are.
//
// Script:
//   point 10 20 5          the next GetPoint answers (10, 20, 5)
//   end                    the next GetPoint ends the input, as Enter does
//   end 0x80040201         the same, reported under this number, as a CAD
//                          other than AutoCAD may report it (hex or decimal)
//   hang                   the next GetPoint never answers
//   wait 1500              the next GetPoint waits 1500 ms (state "picking"),
//                          then answers by the step after this one
//   select 24 -30 5 -20 2  SelectOnScreen selects an entity of type 24 with
//                          these coordinates, after those selected so far
//   bulges 0 0.2           the bulges of the entity selected last, by vertex
//   normal 0 0 -1          the normal of the entity selected last
//   text 5 8 0 钢束 N1      SelectOnScreen selects a TEXT inserted at (5, 8, 0)
//                          whose string is the rest of the line, blanks and all
//   mtext 5 8 0 {\fSimSun;N2}  the same for an MTEXT, its format codes included
//   height 3.5             the character height of the TEXT or MTEXT selected last
//   line 0 0 10 5          SelectOnScreen selects a LINE from (0, 0) to (10, 5)
//   arc 10 0 10 5 15 0     an ARC about (10, 0) from (10, 5) to (15, 0),
//                          counter-clockwise about its normal (see normal)
//   layer AT1              the layer of the entity selected last: the rest of
//                          the line, blanks and all
//   fitting 2              the Type of the old-style polyline (select 23 ...)
//                          selected last: 0 simple, 1 curve-fit, 2 or 3 splined
//   busy 2000              for 2000 ms from the first automation call, the
//                          message filter rejects every automation call
//                          (SERVERCALL_REJECTED: Wine serves a call that is
//                          answered SERVERCALL_RETRYLATER all the same)
//   starting 1500 500      it starts as AutoCAD does: every call is rejected
//                          for 1500 ms, then GetAcadState reports it still
//                          busy for 500 ms
//   caption AutoCAD - [x]  the application's Caption
// A GetPoint beyond the last pick step ends the input.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tendra::testing::e2e {

// The ProgID the stand-in's class is registered under.
inline constexpr const wchar_t* kAutoCadProgId = L"AutoCAD.Application";

struct PickStep {
    enum Kind { Point, End, Hang, Wait } kind = End;
    double x = 0, y = 0, z = 0;
    int milliseconds = 0;               // Wait
    std::int32_t number = -2147467259;  // End: what GetPoint fails with, E_FAIL unless told
};

struct SelectedEntity {
    int type = 24;
    std::vector<double> coordinates;
    std::vector<double> bulges = {};
    std::array<double, 3> normal = {0, 0, 1};
    std::string text = {};  // a TEXT's or MTEXT's string, UTF-8
    std::array<double, 3> insertion = {};
    std::string layer = "0";  // UTF-8
    // A LINE's or an ARC's ends and an ARC's centre.
    std::array<double, 3> start = {};
    std::array<double, 3> end = {};
    std::array<double, 3> center = {};
    int polylineType = 0;
    double height = 2.5;
};

// The entity types SelectOnScreen gives TEXT and MTEXT, LINE and ARC, and an
// old-style polyline.
inline constexpr int kTextType = 32;
inline constexpr int kMTextType = 21;
inline constexpr int kLineType = 19;
inline constexpr int kArcType = 4;
inline constexpr int kPolylineType = 23;

struct StandInScript {
    std::vector<PickStep> picks;
    std::vector<SelectedEntity> selection;
    int busyMilliseconds = 0;
    int startingMilliseconds = 0;
    int settlingMilliseconds = 0;
    std::optional<std::string> caption;
};

// The script in `text`, or nullopt with `error` naming the first bad line.
std::optional<StandInScript> parseScript(const std::string& text, std::string* error = nullptr);

// What the stand-in reports: its process, what it is doing, and its drawing.
struct DrawnMarker {
    int id = 0;
    double x = 0, y = 0, z = 0;
    int color = 256;
    bool operator==(const DrawnMarker&) const = default;
};
inline void PrintTo(const DrawnMarker& point, std::ostream* out) {
    *out << "Point#" << point.id << " (" << point.x << ", " << point.y << ", " << point.z
         << ") colour " << point.color;
}

struct StandInReport {
    unsigned long processId = 0;
    std::string state;      // "ready", "picking" (inside a GetPoint that does not answer), "ended"
    int rejectedCalls = 0;  // while busy or starting
    int servedWhileBusy = 0;  // calls that reached the drawing while it was busy
    std::vector<DrawnMarker> points;
    // Groups in the order they were made, members as "Point#<id>" in append order.
    std::vector<std::pair<std::string, std::vector<std::string>>> groups;
    std::map<std::string, std::string> variables;  // name -> "I2 3"
    std::vector<std::string> selectionSets;        // open, in the order they were added
    std::vector<std::string> calls;                // "Utility.GetPoint(missing, \"...\")"

    bool operator==(const StandInReport&) const = default;
};

std::string formatReport(const StandInReport& report);

// The whole file, "" when it cannot be read. Opened so that the writer can
// replace it meanwhile.
std::string readWholeFile(const std::wstring& path);
// Writes the text beside the file and moves it over the file in one step, so
// a reader sees the old text or the new, never half of it; false on failure.
bool replaceFile(const std::wstring& path, const std::string& text);
// Lines it does not know are skipped, so a report read half-written parses
// as far as it got; the writer replaces the file in one step anyway.
StandInReport parseReport(const std::string& text);

}  // namespace tendra::testing::e2e
