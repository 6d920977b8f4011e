// How many calls reach AutoCAD for each node a command captures: name
// lookups and invokes together, each a round trip to another process.
#include <iostream>

#include "cad/com/com_platform.h"
#include "cad/connection.h"
#include "cad/names.h"
#include "nodes/commands.h"
#include "tests/com/com_harness.h"
#include "tests/support/fake_form.h"

namespace tendra::testing::com {
namespace {

enum class Capture { Picking, Polyline };

struct RoundTripCase {
    const char* name;
    Capture capture;
    // The most round trips each further node may add.
    double perNode;
};

void PrintTo(const RoundTripCase& c, std::ostream* out) {
    *out << c.name;
}

const RoundTripCase kRoundTripCases[] = {
    {"PickingANode", Capture::Picking, 3},
    // The marker and its colour, and the vertex's bulge.
    {"ExtractingAVertex", Capture::Polyline, 3},
};

class RoundTripTest : public ComTest, public ::testing::WithParamInterface<RoundTripCase> {
  protected:
    // Round trips of an origin initialisation followed by a capture of n nodes.
    int roundTrips(Capture capture, int n) {
        auto drawing = std::make_shared<DoubleCad>();
        drawing->queuePoint(0, 0);
        std::vector<double> vertices;
        for (int i = 0; i < n; ++i) {
            if (capture == Capture::Picking) {
                drawing->queuePoint(i, i % 3);
            }
            vertices.insert(vertices.end(), {double(i), double(i % 3)});
        }
        drawing->prepareSelection({{24, vertices}});
        testClass->run(makeApplication(drawing).get());

        FakeForm form;
        form.options[Option::Check1] = false;
        {
            cad::com::ComPlatform platform(kQuickRetry);
            cad::Module1 module1(platform, form, {testClass->progId(), {}});
            cad::NameMaker names([] { return 100.0; });
            DrawingCommands commands(module1, form, names);
            commands.initialiseOrigin();
            if (capture == Capture::Picking) {
                commands.pickNodes();
            } else {
                commands.extractPolylineNodes();
            }
        }
        EXPECT_EQ(drawing->points().size(), static_cast<std::size_t>(n) + 1);
        return drawing->nameLookups() + drawing->invokes();
    }
};

TEST_P(RoundTripTest, EachFurtherNodeCostsOnlyItsOwnCalls) {
    const RoundTripCase& c = GetParam();
    const int few = roundTrips(c.capture, 10);
    const int many = roundTrips(c.capture, 30);
    const double perNode = (many - few) / 20.0;
    std::cout << c.name << ": " << perNode << " round trips per further node, " << many / 30.0
              << " per node of 30 in all\n";
    EXPECT_LE(perNode, c.perNode);
}

INSTANTIATE_TEST_SUITE_P(Commands, RoundTripTest, ::testing::ValuesIn(kRoundTripCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tendra::testing::com
