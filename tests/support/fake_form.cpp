#include "tests/support/fake_form.h"

#include "tests/support/scripted_cad.h"

namespace tendra::testing {

std::string controlName(Field field) {
    switch (field) {
        case Field::Text1:
            return "Text1";
        case Field::Text2:
            return "Text2";
        case Field::Text3:
            return "Text3";
    }
    return "?";
}

std::string controlName(Option option) {
    switch (option) {
        case Option::Check1:
            return "Check1";
        case Option::Check2:
            return "Check2";
        case Option::Check3:
            return "Check3";
    }
    return "?";
}

void FakeForm::note(const std::string& what) {
    log.push_back({what, cad_ ? cad_->callCount() : 0});
}

long FakeForm::firstRead(const std::string& control) const {
    for (const auto& entry : log) {
        if (entry.what == "read " + control) {
            return static_cast<long>(entry.cadCallsBefore);
        }
    }
    return -1;
}

std::size_t FakeForm::count(const std::string& what) const {
    std::size_t n = 0;
    for (const auto& entry : log) {
        n += entry.what == what;
    }
    return n;
}

std::string FakeForm::fieldText(Field field) {
    note("read " + controlName(field));
    return fields[field];
}

bool FakeForm::optionTicked(Option option) {
    note("read " + controlName(option));
    return options[option];
}

std::string FakeForm::decimalSeparator() {
    note("read separator");
    return separator;
}

void FakeForm::setOutputText(const std::string& text) {
    note("write Text8");
    output = text;
}

void FakeForm::setStatusText(const std::string& text) {
    note("write Label4");
    status = text;
}

void FakeForm::enableNodeButtons() {
    note("enable node buttons");
    nodeButtonsEnabled = true;
}

void FakeForm::showMessage(const std::string& text, const std::string& title, MessageIcon icon) {
    note("message " + text);
    messages.push_back({text, title, icon});
}

bool FakeForm::askYesNo(const std::string& text, const std::string& title) {
    note("question " + text);
    questions.push_back({text, title, MessageIcon::None});
    return answerYes;
}

void FakeForm::setBusy(bool on) {
    note(on ? "busy" : "not busy");
    busy = on;
}

OutputFormat FakeForm::outputFormat() {
    note("read Combo1");
    return format;
}

MctParameters FakeForm::mctParameters() {
    note("read mctfrm");
    return mct;
}

}  // namespace tendra::testing
