// Names for the groups and selection sets Tendra adds to a drawing.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_set>

namespace tendra::cad {

// Draws pseudo-random values in [0, 1) and writes them as names such as
// ".7055475". The generator is seeded from the clock once, when the first name
// is made; later names continue the sequence, so two names made within one
// tick of the clock still differ. Two values can share a seven-digit text, so a
// text already handed out is skipped and the next value drawn.
class NameMaker {
  public:
    using Clock = std::function<double()>;  // seconds since midnight
    NameMaker();
    explicit NameMaker(Clock clock);

    std::string next();

    // The text of a single-precision value: up to seven significant digits,
    // no zero before the decimal point, no blanks.
    static std::string text(float value);

  private:
    Clock clock_;
    bool seeded_ = false;
    std::uint32_t state_ = 0;
    std::unordered_set<std::string> made_;
};

}  // namespace tendra::cad
