// How many calls reach AutoCAD for each node a command captures: name
// lookups and invokes together, each a round trip to another process.
#include <functional>
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

// Several tendons answered Yes: what each further tendon of four straight
// vertices and its TEXT label add. Each member's Item and EntityType (4), the
// polyline's Coordinates, its Normal and three bulges (5), the label's object
// name, string, insertion point and height (4), and a marker and its colour
// for each of the four nodes (8).
constexpr int kPerTendonAndLabel = 21;

class SeveralTendonsTest : public ComTest {
  protected:
    // Round trips of an origin initialisation and one extraction of n
    // labelled tendons.
    int roundTrips(int n) {
        auto drawing = std::make_shared<DoubleCad>();
        drawing->queuePoint(0, 0);
        std::vector<DoubleSelectable> selection;
        for (int i = 0; i < n; ++i) {
            const double y = 10.0 * i;
            selection.push_back({24, {0, y, 10, y + 1, 20, y, 30, y + 1}});
        }
        for (int i = 0; i < n; ++i) {
            selection.push_back(doubleText(L"N" + std::to_wstring(i + 1), 15, 10.0 * i + 2));
        }
        drawing->prepareSelection(std::move(selection));
        auto running = std::make_unique<TestClass>();
        running->run(makeApplication(drawing).get());

        FakeForm form;
        form.options[Option::Check1] = false;
        form.answerYes = true;
        {
            cad::com::ComPlatform platform(kQuickRetry);
            cad::Module1 module1(platform, form, {running->progId(), {}});
            cad::NameMaker names([] { return 100.0; });
            DrawingCommands commands(module1, form, names);
            commands.initialiseOrigin();
            commands.extractPolylineNodes();
        }
        EXPECT_EQ(drawing->points().size(), static_cast<std::size_t>(4 * n) + 1);
        EXPECT_EQ(form.status,
                  "钢束数：" + std::to_string(n) + "，角点个数：" + std::to_string(4 * n));
        return drawing->nameLookups() + drawing->invokes();
    }
};

TEST_F(SeveralTendonsTest, EachFurtherTendonAndLabelCostsOnlyItsOwnCalls) {
    const int two = roundTrips(2);
    const int four = roundTrips(4);
    const int eight = roundTrips(8);
    const double early = (four - two) / 2.0;
    const double late = (eight - four) / 4.0;
    std::cout << "two tendons and two labels: " << two << " round trips in all; " << late
              << " per further tendon of four vertices and its label\n";
    EXPECT_LE(late, kPerTendonAndLabel);
    EXPECT_LE(late, early) << "a further tendon costs more the more there are";
}

// What reading a label costs: the three reads of a TEXT and of an MTEXT, on
// the first of its class in a selection and on a later one.
enum class TextClass { Text, MText };
enum class LabelRead { ObjectName, TextString, InsertionPoint };

struct LabelReadCase {
    const char* name;
    TextClass textClass;
    LabelRead read;
    int first;  // the most round trips on the first of its class
    int later;  // the most on every later one
};

void PrintTo(const LabelReadCase& c, std::ostream* out) {
    *out << c.name;
}

// An MTEXT's object name costs one round trip from the first: the name is a
// member every entity shares, and a TEXT came first.
const LabelReadCase kLabelReadCases[] = {
    {"ObjectNameOfAText", TextClass::Text, LabelRead::ObjectName, 2, 1},
    {"TextStringOfAText", TextClass::Text, LabelRead::TextString, 2, 1},
    {"InsertionPointOfAText", TextClass::Text, LabelRead::InsertionPoint, 2, 1},
    {"ObjectNameOfAnMText", TextClass::MText, LabelRead::ObjectName, 1, 1},
    {"TextStringOfAnMText", TextClass::MText, LabelRead::TextString, 2, 1},
    {"InsertionPointOfAnMText", TextClass::MText, LabelRead::InsertionPoint, 2, 1},
};

class LabelReadTest : public ComTest, public ::testing::WithParamInterface<LabelReadCase> {};

TEST_P(LabelReadTest, ALaterLabelOfTheSameClassCostsOneRoundTripARead) {
    const LabelReadCase& c = GetParam();
    cad->prepareSelection({doubleText(L"N1", 0, 0), doubleMText(L"N2", 0, 0),
                           doubleText(L"N3", 0, 0), doubleMText(L"N4", 0, 0)});
    testClass->run(makeApplication(cad).get());
    cad::com::ComPlatform platform(kQuickRetry);
    auto set = platform.getRunningObject(testClass->progId())
                   ->activeDocument()
                   ->selectionSets()
                   ->add("labels");
    set->selectOnScreen();

    const auto roundTrips = [&] { return cad->nameLookups() + cad->invokes(); };
    // The reads of one class's members, in selection order.
    std::vector<int> costs;
    for (int i = 0; i < 4; ++i) {
        auto member = set->item(i);
        const TextClass textClass = i % 2 == 0 ? TextClass::Text : TextClass::MText;
        const auto measured = [&](LabelRead read, const std::function<void()>& call) {
            const int before = roundTrips();
            call();
            if (textClass == c.textClass && read == c.read) {
                costs.push_back(roundTrips() - before);
            }
        };
        measured(LabelRead::ObjectName, [&] { member->objectName(); });
        measured(LabelRead::TextString, [&] { member->textString(); });
        measured(LabelRead::InsertionPoint, [&] { member->insertionPoint(); });
    }
    ASSERT_EQ(costs.size(), 2u);
    std::cout << c.name << ": " << costs[0] << " round trips on the first, " << costs[1]
              << " on a later one\n";
    EXPECT_LE(costs[0], c.first);
    EXPECT_LE(costs[1], c.later);
}

INSTANTIATE_TEST_SUITE_P(Labels, LabelReadTest, ::testing::ValuesIn(kLabelReadCases),
                         [](const auto& info) { return std::string(info.param.name); });

// What reading one member of a selection costs as a command reads it, from
// its type on: on the first of its class in a selection, and on a later one,
// when every member's DISPIDs are kept.
struct PieceReadCase {
    const char* name;
    DoubleSelectable member;
    std::function<void(cad::Entity&)> read;
    int first;  // the most round trips on the first of its class
    int later;  // the most on every later one
};

void PrintTo(const PieceReadCase& c, std::ostream* out) {
    *out << c.name;
}

DoubleSelectable labelOfHeight(double height) {
    DoubleSelectable label = doubleText(L"AT1", 0, 0);
    label.height = height;
    return label;
}

// A lookup and an invoke for each member the first time, an invoke after.
const PieceReadCase kPieceReadCases[] = {
    {"LinePieceAndItsLayer", doubleLine(0, 0, 10, 0, L"AT1"),
     [](cad::Entity& line) {
         line.entityType();
         line.startPoint();
         line.endPoint();
         line.layer();
     },
     8, 4},
    {"ArcPiece", doubleArc({0, 5}, {0, 0}, {5, 5}),
     [](cad::Entity& arc) {
         arc.entityType();
         arc.startPoint();
         arc.endPoint();
         arc.center();
         arc.normal();
     },
     10, 5},
    {"OldStylePolylineOfFourVertices",
     {23, {0, 0, 0, 10, 1, 0, 20, 0, 0, 30, 1, 0}, {0, 0.2}},
     [](cad::Entity& polyline) {
         polyline.entityType();
         polyline.polylineType();
         polyline.coordinates();
         polyline.normal();
         for (int k = 0; k < 3; ++k) {
             polyline.bulge(k);
         }
     },
     12,
     7},
    {"LabelWithItsHeight", labelOfHeight(3.5),
     [](cad::Entity& label) {
         label.entityType();
         label.objectName();
         label.textString();
         label.insertionPoint();
         label.height();
     },
     10, 5},
};

class PieceReadTest : public ComTest, public ::testing::WithParamInterface<PieceReadCase> {};

TEST_P(PieceReadTest, ALaterMemberOfTheSameClassCostsOneRoundTripARead) {
    const PieceReadCase& c = GetParam();
    cad->prepareSelection({c.member, c.member, c.member});
    testClass->run(makeApplication(cad).get());
    cad::com::ComPlatform platform(kQuickRetry);
    auto set = platform.getRunningObject(testClass->progId())
                   ->activeDocument()
                   ->selectionSets()
                   ->add("pieces");
    set->selectOnScreen();

    std::vector<int> costs;
    for (int i = 0; i < 3; ++i) {
        auto member = set->item(i);
        const int before = cad->nameLookups() + cad->invokes();
        c.read(*member);
        costs.push_back(cad->nameLookups() + cad->invokes() - before);
    }
    std::cout << c.name << ": " << costs[0] << " round trips on the first, " << costs[1]
              << " on a later one\n";
    EXPECT_LE(costs[0], c.first);
    EXPECT_LE(costs[1], c.later);
    EXPECT_EQ(costs[2], costs[1]) << "a later member costs more than the one before";
}

INSTANTIATE_TEST_SUITE_P(Pieces, PieceReadTest, ::testing::ValuesIn(kPieceReadCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tendra::testing::com
