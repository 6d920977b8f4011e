#include <gtest/gtest.h>

#include <set>

#include "cad/names.h"

namespace tendra::cad {
namespace {

TEST(NameText, WritesUpToSevenDigitsWithoutTheLeadingZero) {
    const struct {
        float value;
        const char* text;
    } cases[] = {
        {0.7055475f, ".7055475"},       {0.5f, ".5"}, {0.0f, "0"}, {0.125f, ".125"},
        {0.99999994f, ".9999999"},  // the largest value below 1
        {0.0000596046f, "5.96046E-05"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NameMaker::text(c.value), c.text) << c.value;
    }
}

TEST(NameMaker, NamesMadeWithinOneTickOfTheClockDiffer) {
    NameMaker names([] { return 43200.0; });
    std::set<std::string> seen;
    for (int i = 0; i < 10000; ++i) {
        const std::string name = names.next();
        EXPECT_TRUE(seen.insert(name).second) << name << " repeated after " << i << " names";
        EXPECT_EQ(name.find(' '), std::string::npos);
    }
}

TEST(NameMaker, ReadsTheClockOnceOnly) {
    int reads = 0;
    NameMaker names([&] {
        ++reads;
        return 1.5;
    });
    names.next();
    names.next();
    names.next();
    EXPECT_EQ(reads, 1);
}

TEST(NameMaker, DifferentClocksGiveDifferentFirstNames) {
    NameMaker morning([] { return 8 * 3600.0 + 0.25; });
    NameMaker evening([] { return 20 * 3600.0 + 0.75; });
    EXPECT_NE(morning.next(), evening.next());
}

}  // namespace
}  // namespace tendra::cad
