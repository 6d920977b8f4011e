#include "tests/win32e2e/standin_files.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <sstream>

namespace tendra::testing::e2e {

namespace {

// The first word of a line and what follows it after one blank.
std::pair<std::string, std::string> split(const std::string& line) {
    const std::size_t blank = line.find(' ');
    if (blank == std::string::npos) {
        return {line, ""};
    }
    return {line.substr(0, blank), line.substr(blank + 1)};
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        result.push_back(line);
    }
    return result;
}

// Every word of `rest` as a number; false when one is not.
bool numbers(const std::string& rest, std::vector<double>& out) {
    std::istringstream in(rest);
    std::string word;
    while (in >> word) {
        std::size_t used = 0;
        try {
            out.push_back(std::stod(word, &used));
        } catch (...) {
            return false;
        }
        if (used != word.size()) {
            return false;
        }
    }
    return true;
}

// A 32-bit error number written as 0x80040201 or in signed decimal.
std::optional<std::int32_t> errorNumber(const std::string& text) {
    std::size_t used = 0;
    long long value = 0;
    try {
        const bool hex = text.starts_with("0x") || text.starts_with("0X");
        value = hex ? static_cast<long long>(std::stoull(text.substr(2), &used, 16))
                    : std::stoll(text, &used, 10);
        used += hex ? 2 : 0;
    } catch (...) {
        return std::nullopt;
    }
    if (used != text.size() || value < INT32_MIN || value > UINT32_MAX) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

// "X Y Z text": the insertion point, and the text after the blank that ends
// Z, kept as it is; false when the point is not three numbers.
bool textLine(const std::string& rest, SelectedEntity& entity) {
    std::size_t start = 0;
    for (double& coordinate : entity.insertion) {
        const std::size_t blank = rest.find(' ', start);
        const std::string word = rest.substr(start, blank - start);
        std::vector<double> value;
        if (!numbers(word, value) || value.size() != 1) {
            return false;
        }
        coordinate = value[0];
        start = blank == std::string::npos ? rest.size() : blank + 1;
    }
    entity.text = rest.substr(start);
    return true;
}

std::string number(double value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

}  // namespace

std::optional<StandInScript> parseScript(const std::string& text, std::string* error) {
    StandInScript script;
    int lineNumber = 0;
    for (const std::string& line : lines(text)) {
        ++lineNumber;
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const auto [word, rest] = split(line);
        std::vector<double> values;
        const bool numeric = numbers(rest, values);
        bool good = true;
        if (word == "point" && numeric && (values.size() == 2 || values.size() == 3)) {
            script.picks.push_back(
                {PickStep::Point, values[0], values[1], values.size() == 3 ? values[2] : 0});
        } else if (word == "end" && rest.empty()) {
            script.picks.push_back({PickStep::End});
        } else if (const auto ending = errorNumber(rest); word == "end" && ending) {
            PickStep end{PickStep::End};
            end.number = *ending;
            script.picks.push_back(end);
        } else if (word == "hang" && rest.empty()) {
            script.picks.push_back({PickStep::Hang});
        } else if (word == "wait" && numeric && values.size() == 1 && values[0] >= 0) {
            PickStep wait{PickStep::Wait};
            wait.milliseconds = static_cast<int>(values[0]);
            script.picks.push_back(wait);
        } else if (word == "select" && numeric && !values.empty() &&
                   values[0] == static_cast<int>(values[0])) {
            script.selection.push_back({static_cast<int>(values[0]),
                                        std::vector<double>(values.begin() + 1, values.end())});
        } else if (word == "text" || word == "mtext") {
            SelectedEntity entity{word == "text" ? kTextType : kMTextType, {}};
            good = textLine(rest, entity);
            script.selection.push_back(std::move(entity));
        } else if (word == "line" && numeric && values.size() == 4) {
            SelectedEntity line{kLineType, {}};
            line.start = {values[0], values[1], 0};
            line.end = {values[2], values[3], 0};
            script.selection.push_back(std::move(line));
        } else if (word == "arc" && numeric && values.size() == 6) {
            SelectedEntity arc{kArcType, {}};
            arc.center = {values[0], values[1], 0};
            arc.start = {values[2], values[3], 0};
            arc.end = {values[4], values[5], 0};
            script.selection.push_back(std::move(arc));
        } else if (word == "layer" && !rest.empty() && !script.selection.empty()) {
            script.selection.back().layer = rest;
        } else if (word == "fitting" && numeric && values.size() == 1 &&
                   values[0] == static_cast<int>(values[0]) && !script.selection.empty() &&
                   script.selection.back().type == kPolylineType) {
            script.selection.back().polylineType = static_cast<int>(values[0]);
        } else if (word == "height" && numeric && values.size() == 1 && values[0] > 0 &&
                   !script.selection.empty() &&
                   (script.selection.back().type == kTextType ||
                    script.selection.back().type == kMTextType)) {
            script.selection.back().height = values[0];
        } else if (word == "bulges" && numeric && !script.selection.empty()) {
            script.selection.back().bulges = values;
        } else if (word == "normal" && numeric && values.size() == 3 && !script.selection.empty()) {
            script.selection.back().normal = {values[0], values[1], values[2]};
        } else if (word == "busy" && numeric && values.size() == 1 && values[0] >= 0) {
            script.busyMilliseconds = static_cast<int>(values[0]);
        } else if (word == "starting" && numeric && values.size() == 2 && values[0] >= 0 &&
                   values[1] >= 0) {
            script.startingMilliseconds = static_cast<int>(values[0]);
            script.settlingMilliseconds = static_cast<int>(values[1]);
        } else if (word == "caption" && !rest.empty()) {
            script.caption = rest;
        } else {
            good = false;
        }
        if (!good) {
            if (error) {
                *error = "line " + std::to_string(lineNumber) + ": " + line;
            }
            return std::nullopt;
        }
    }
    return script;
}

std::string formatReport(const StandInReport& report) {
    std::string text = "pid " + std::to_string(report.processId) + "\n";
    text += "state " + report.state + "\n";
    text += "rejected " + std::to_string(report.rejectedCalls) + "\n";
    text += "served-while-busy " + std::to_string(report.servedWhileBusy) + "\n";
    for (const auto& point : report.points) {
        text += "point " + std::to_string(point.id) + " " + number(point.x) + " " +
                number(point.y) + " " + number(point.z) + " " + std::to_string(point.color) + "\n";
    }
    for (const auto& [name, members] : report.groups) {
        text += "group " + name;
        for (const auto& member : members) {
            text += " " + member;
        }
        text += "\n";
    }
    for (const auto& [name, value] : report.variables) {
        text += "variable " + name + " " + value + "\n";
    }
    for (const auto& set : report.selectionSets) {
        text += "set " + set + "\n";
    }
    for (const auto& call : report.calls) {
        text += "call " + call + "\n";
    }
    return text;
}

StandInReport parseReport(const std::string& text) {
    StandInReport report;
    for (const std::string& line : lines(text)) {
        const auto [word, rest] = split(line);
        std::istringstream in(rest);
        if (word == "pid") {
            in >> report.processId;
        } else if (word == "state") {
            report.state = rest;
        } else if (word == "rejected") {
            in >> report.rejectedCalls;
        } else if (word == "served-while-busy") {
            in >> report.servedWhileBusy;
        } else if (word == "point") {
            DrawnMarker point;
            if (in >> point.id >> point.x >> point.y >> point.z >> point.color) {
                report.points.push_back(point);
            }
        } else if (word == "group") {
            std::string name;
            std::string member;
            in >> name;
            std::vector<std::string> members;
            while (in >> member) {
                members.push_back(member);
            }
            report.groups.emplace_back(name, members);
        } else if (word == "variable") {
            const auto [name, value] = split(rest);
            report.variables[name] = value;
        } else if (word == "set") {
            report.selectionSets.push_back(rest);
        } else if (word == "call") {
            report.calls.push_back(rest);
        }
    }
    return report;
}

std::string readWholeFile(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        text.append(buffer, read);
    }
    CloseHandle(file);
    return text;
}

bool replaceFile(const std::wstring& path, const std::string& text) {
    const std::wstring partial = path + L".partial";
    HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool complete =
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
        written == text.size();
    CloseHandle(file);
    return complete && MoveFileExW(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace tendra::testing::e2e
