#include "cad/connection.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <tuple>

namespace tendra::cad {

namespace {

// A number of one to six digits, or nothing.
std::optional<long> numberOf(const std::string& text) {
    if (text.empty() || text.size() > 6 || !std::all_of(text.begin(), text.end(), [](char c) {
            return std::isdigit(static_cast<unsigned char>(c));
        })) {
        return std::nullopt;
    }
    return std::stol(text);
}

// "NN" or "NN.M" as (NN, M), a bare NN as (NN, -1); nothing for other text.
std::optional<std::pair<long, long>> versionOf(const std::string& suffix) {
    const auto dot = suffix.find('.');
    const auto major = numberOf(suffix.substr(0, dot));
    if (!major) {
        return std::nullopt;
    }
    if (dot == std::string::npos) {
        return std::pair{*major, -1L};
    }
    const auto minor = numberOf(suffix.substr(dot + 1));
    if (!minor) {
        return std::nullopt;
    }
    return std::pair{*major, *minor};
}

bool startsWithIgnoringCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

}  // namespace

CadClasses defaultCadClasses() {
    return {kAutoCadProgId, {std::begin(kCompatibleProgIds), std::end(kCompatibleProgIds)}};
}

std::vector<std::string> versionsNewestFirst(const std::string& progId,
                                             const std::vector<std::string>& names) {
    const std::string prefix = progId + ".";
    std::vector<std::tuple<long, long, std::string>> versions;
    for (const std::string& name : names) {
        if (!startsWithIgnoringCase(name, prefix)) {
            continue;
        }
        if (const auto version = versionOf(name.substr(prefix.size()))) {
            versions.emplace_back(version->first, version->second, name);
        }
    }
    std::stable_sort(versions.begin(), versions.end(), [](const auto& a, const auto& b) {
        return std::tie(std::get<0>(a), std::get<1>(a)) > std::tie(std::get<0>(b), std::get<1>(b));
    });
    std::vector<std::string> result;
    for (auto& version : versions) {
        result.push_back(std::move(std::get<2>(version)));
    }
    return result;
}

Module1::Module1(Platform& platform, MessageSink& messages, CadClasses classes)
    : platform_(platform), messages_(messages), classes_(std::move(classes)) {}

ApplicationPtr Module1::runningAs(const std::string& progId) {
    try {
        return platform_.getRunningObject(progId);
    } catch (const CadError&) {
        return nullptr;
    }
}

Module1::Found Module1::findRunning() {
    if (ApplicationPtr found = runningAs(classes_.autoCad)) {
        return {found, CadKind::AutoCad};
    }
    std::vector<std::string> versions;
    try {
        versions = platform_.versionedProgIds(classes_.autoCad);
    } catch (const CadError&) {
    }
    for (const std::string& progId : versions) {
        if (ApplicationPtr found = runningAs(progId)) {
            return {found, CadKind::AutoCad};
        }
    }
    for (const std::string& progId : classes_.compatible) {
        if (ApplicationPtr found = runningAs(progId)) {
            return {found, CadKind::Compatible};
        }
    }
    return {};
}

void Module1::connect() {
    Found found = findRunning();
    if (!found.application) {
        try {
            found = {platform_.createObject(classes_.autoCad), CadKind::AutoCad};
        } catch (const CadError& error) {
            messages_.showMessage(error.description(), kApplicationTitle, MessageIcon::None);
            return;
        }
    }
    // A start that answered nothing keeps the previous application, and its kind.
    if (found.application) {
        application_ = std::move(found.application);
        kind_ = found.kind;
    }
    if (!application_) {
        return;
    }
    try {
        application_->setVisible(true);
    } catch (const CadError&) {
    }
    try {
        if (DocumentPtr document = application_->activeDocument()) {
            document_ = std::move(document);
        }
    } catch (const CadError&) {
    }
    try {
        activateCadWindow();
    } catch (const CadError&) {
    }
}

void Module1::activateCadWindow() {
    platform_.activateWindow(requireApplication().caption());
}

Application& Module1::requireApplication() const {
    if (!application_) {
        throw objectNotSetError();
    }
    return *application_;
}

Document& Module1::requireDocument() const {
    if (!document_) {
        throw objectNotSetError();
    }
    return *document_;
}

}  // namespace tendra::cad
