// What the table writer and the capture commands see of the main window, on
// top of what origin initialisation writes. Form1 implements it with its
// widgets; tests implement it with a recording fake, so the moment each field
// is read can be checked.
#pragma once

#include <string>

#include "cad/origin.h"

namespace tendra {

enum class Field { Text1, Text2, Text3 };      // decimals, radius, scale
enum class Option { Check1, Check2, Check3 };  // symmetric, radius column, symmetric with last node

// What the capture commands write into the output box: the node table, or
// midas Civil's tendon profiles as MCT command text (Combo1).
enum class OutputFormat { NodeTable, MidasMct };

// The tendon profiles' parameters that only the model knows, as accepted in
// the parameters window mctfrm.
struct MctParameters {
    std::string property;  // the tendon property's name (Text1)
    std::string elements;  // the element list, "1to40 45 50to60by2" (Text2)
    std::string group;     // the tendon group, may be empty (Text3)
    double insertionX = 0, insertionY = 0, insertionZ = 0;  // Text4
};

class FormPort : public cad::OriginForm {
  public:
    virtual std::string fieldText(Field field) = 0;
    virtual bool optionTicked(Option option) = 0;
    // The decimal separator of the system's number settings.
    virtual std::string decimalSeparator() = 0;
    // Sets the caption of the status label Label4.
    virtual void setStatusText(const std::string& text) = 0;
    // Asks a question in a modal box with Yes and No buttons; true for Yes.
    // Closing the box answers No.
    virtual bool askYesNo(const std::string& text, const std::string& title) = 0;
    // Shows the wait cursor over the program while busy, from the moment a
    // command has what it waited for from the user until it is done; the
    // normal cursor again when not. A message or question shown while busy
    // shows the normal cursor over its box.
    virtual void setBusy(bool busy) = 0;
    // The output format chosen in Combo1; the node table where a form offers
    // no choice.
    virtual OutputFormat outputFormat() { return OutputFormat::NodeTable; }
    // The parameters last accepted in mctfrm.
    virtual MctParameters mctParameters() { return {}; }
};

}  // namespace tendra
