#include "cad/names.h"

#include <chrono>
#include <cstdio>
#include <cstring>

namespace tendra::cad {

namespace {

double secondsSinceMidnight() {
    using namespace std::chrono;
    const auto now = system_clock::now().time_since_epoch();
    const auto day = duration_cast<microseconds>(now) % hours(24);
    return duration<double>(day).count();
}

// A 24-bit linear congruential generator: every value is exact in a float,
// and the sequence repeats only after 2^24 draws.
constexpr std::uint32_t kMultiplier = 0x43FD43FDu;
constexpr std::uint32_t kIncrement = 0x00C39EC3u;
constexpr std::uint32_t kMask = 0x00FFFFFFu;

}  // namespace

NameMaker::NameMaker() : NameMaker(secondsSinceMidnight) {}

NameMaker::NameMaker(Clock clock) : clock_(std::move(clock)) {}

std::string NameMaker::next() {
    if (!seeded_) {
        // Fold the clock's bits, fractions of a second included, into the seed.
        const double seconds = clock_();
        std::uint64_t bits = 0;
        static_assert(sizeof bits == sizeof seconds);
        std::memcpy(&bits, &seconds, sizeof bits);
        state_ = static_cast<std::uint32_t>(bits ^ (bits >> 24) ^ (bits >> 48)) & kMask;
        seeded_ = true;
    }
    for (;;) {
        state_ = (state_ * kMultiplier + kIncrement) & kMask;
        std::string name = text(static_cast<float>(state_) / 16777216.0f);
        if (made_.insert(name).second) {
            return name;
        }
    }
}

std::string NameMaker::text(float value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.7G", static_cast<double>(value));
    std::string result = buffer;
    if (result.rfind("0.", 0) == 0) {
        result.erase(0, 1);
    } else if (result.rfind("-0.", 0) == 0) {
        result.erase(1, 1);
    }
    return result;
}

}  // namespace tendra::cad
