// An MCT section in short, for tests that check its values rather than its
// layout: "NAME=N1" for a profile, "Y=x" for a plan point, "Z=x,z,radius" for
// an elevation point, separated by blanks.
#pragma once

#include <sstream>
#include <string>

namespace tendra::testing {

inline std::string mctSummary(const std::string& text) {
    std::string summary;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream in(line.substr(line.find_first_not_of(' ')));
        std::string field[5];
        for (std::string& f : field) {
            std::getline(in >> std::ws, f, ',');
        }
        if (field[0].starts_with("NAME=") || field[0].starts_with("Y=")) {
            summary += (summary.empty() ? "" : " ") + field[0];
        } else if (field[0].starts_with("Z=")) {
            summary += " " + field[0] + "," + field[1] + "," + field[4];
        }
    }
    return summary;
}

}  // namespace tendra::testing
