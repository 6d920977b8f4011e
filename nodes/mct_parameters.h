// Checking the texts of the MCT parameters window: from the four fields to
// the parameters the MCT writer uses, or to a message that names the field
// and what is wrong with it.
#pragma once

#include <optional>
#include <string>

#include "nodes/form_port.h"

namespace tendra {

// mctfrm's fields as typed.
struct MctFieldTexts {
    std::string property;   // Text1
    std::string elements;   // Text2
    std::string group;      // Text3
    std::string insertion;  // Text4
};

enum class MctField { Property, Elements, Group, Insertion };

struct MctFieldError {
    MctField field;
    std::string message;  // "钢束特性：不能为空"
};

// Either parameters or the first field that is not valid, in field order.
struct MctCheck {
    MctParameters parameters;
    std::optional<MctFieldError> error;
};

// The rules:
// - property: required; no comma or semicolon (they end a field or start a
//   comment in MCT text). Blanks around it are dropped.
// - elements: required; blank-separated items, each a positive integer N,
//   "NtoM" with N <= M, or "NtoMbyK" with N <= M and K >= 1 ("to" and "by"
//   in any case). The accepted list is written back one blank between items,
//   numbers without leading zeros, "to" and "by" in lower case.
// - group: may be empty; no comma or semicolon. Blanks around it are dropped.
// - insertion point: three numbers separated by commas, or, where the text
//   has no comma, by blanks. Each part is read as the main window's fields
//   are (leading number, blanks inside skipped), and must start with one.
MctCheck checkMctFields(const MctFieldTexts& texts);

}  // namespace tendra
