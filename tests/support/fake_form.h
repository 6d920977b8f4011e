// A recording form for tests of the core: fields and options as plain values,
// and a log of every read and write in order.
#pragma once

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "nodes/form_port.h"

namespace tendra::testing {

class ScriptedCad;

struct ShownMessage {
    std::string text;
    std::string title;
    MessageIcon icon;
    bool operator==(const ShownMessage&) const = default;
};

// Failures name the message by its text and title.
inline void PrintTo(const ShownMessage& message, std::ostream* out) {
    *out << "\"" << message.text << "\" (" << message.title << ")";
}

// What a command shows when a CAD call fails with a number it does not expect.
inline const ShownMessage kUnknownError{"未知错误！", "错误", MessageIcon::Stop};

class FakeForm : public FormPort {
  public:
    // With a CAD, every log entry notes how many CAD calls came before it.
    explicit FakeForm(const ScriptedCad* cad = nullptr) : cad_(cad) {}

    // The designed start values.
    std::map<Field, std::string> fields{
        {Field::Text1, "3"}, {Field::Text2, "15"}, {Field::Text3, "1"}};
    std::map<Option, bool> options{
        {Option::Check1, true}, {Option::Check2, true}, {Option::Check3, false}};
    std::string separator = ".";
    OutputFormat format = OutputFormat::NodeTable;  // Combo1
    MctParameters mct;                              // as last accepted in mctfrm

    std::string output;  // Text8
    std::string status;  // Label4
    bool nodeButtonsEnabled = false;
    std::vector<ShownMessage> messages;
    // The questions asked, and how each is answered: true for Yes.
    std::vector<ShownMessage> questions;
    bool answerYes = false;
    bool busy = false;  // the wait cursor shows

    struct Entry {
        std::string what;  // "read Text3", "read Check1", "read Combo1", "read mctfrm",
                           // "write Text8", "message ...", "busy", "not busy"
        std::size_t cadCallsBefore;
    };
    std::vector<Entry> log;
    // The number of CAD calls made before the first read of this control,
    // or -1 when it was never read.
    long firstRead(const std::string& control) const;
    std::size_t count(const std::string& what) const;

    std::string fieldText(Field field) override;
    bool optionTicked(Option option) override;
    std::string decimalSeparator() override;
    void setOutputText(const std::string& text) override;
    void setStatusText(const std::string& text) override;
    void enableNodeButtons() override;
    void showMessage(const std::string& text, const std::string& title, MessageIcon icon) override;
    bool askYesNo(const std::string& text, const std::string& title) override;
    void setBusy(bool busy) override;
    OutputFormat outputFormat() override;
    MctParameters mctParameters() override;

  private:
    void note(const std::string& what);
    const ScriptedCad* cad_;
};

std::string controlName(Field field);
std::string controlName(Option option);

}  // namespace tendra::testing
