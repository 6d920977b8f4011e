// Message boxes, seen from the core. Every box has an OK button only.
#pragma once

#include <string>

namespace tendra {

// The title of message boxes that have none of their own.
inline constexpr const char* kApplicationTitle = "Tendra";

enum class MessageIcon { None, Stop, Information };

class MessageSink {
  public:
    virtual ~MessageSink() = default;
    // Shows a modal box with an OK button and returns when it is closed.
    virtual void showMessage(const std::string& text, const std::string& title,
                             MessageIcon icon) = 0;
};

}  // namespace tendra
