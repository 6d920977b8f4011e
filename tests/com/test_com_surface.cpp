// Every operation of the CAD surface against the double, called directly and
// through the proxies COM puts between apartments: what reaches AutoCAD, with
// its VARIANT types, and what comes back.
#include <cstdio>

#include "cad/com/com_platform.h"
#include "tests/com/com_harness.h"

namespace tendra::testing::com {
namespace {

using Lines = std::vector<std::string>;

std::string numbers(const std::vector<double>& values) {
    std::string text;
    for (double value : values) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%g", value);
        text += (text.empty() ? "" : " ") + std::string(buffer);
    }
    return text;
}

struct SurfaceCase {
    const char* name;
    std::function<void(DoubleCad&)> script;
    // Runs in the client's apartment; returns what it read, as text.
    std::function<std::string(cad::Application&)> use;
    std::string result;
    Lines transcript;
    std::function<void(const DoubleCad&)> check;
};

const SurfaceCase kSurfaceCases[] = {
    {"VisibleIsABooleanPropertyPut",
     nullptr,
     [](cad::Application& application) {
         application.setVisible(true);
         return std::string();
     },
     "",
     {"Application.Visible = BOOL true"},
     [](const DoubleCad& cad) { EXPECT_TRUE(cad.visible()); }},
    {"CaptionComesBackAsUtf8",
     [](DoubleCad& cad) { cad.caption = L"AutoCAD 2004 - [桥梁.dwg]"; },
     [](cad::Application& application) { return application.caption(); },
     "AutoCAD 2004 - [桥梁.dwg]",
     {"Application.Caption"},
     nullptr},
    {"GetPointLeavesTheBasePointOutAndSendsThePromptAsAString",
     [](DoubleCad& cad) { cad.queuePoint(1.5, -2, 7); },
     [](cad::Application& application) {
         const auto point = application.activeDocument()->utility()->getPoint("点取坐标原点 ");
         return numbers({point[0], point[1], point[2]});
     },
     "1.5 -2 7",
     {"Application.ActiveDocument", "Document.Utility",
      "Utility.GetPoint(missing, \"点取坐标原点 \")"},
     nullptr},
    {"GetPointReadsThePointFromTheArraysLowerBound",
     [](DoubleCad& cad) {
         cad.arrayLowerBound = 1;
         cad.queuePoint(10, 20, 0);
     },
     [](cad::Application& application) {
         const auto point = application.activeDocument()->utility()->getPoint("p");
         return numbers({point[0], point[1], point[2]});
     },
     "10 20 0",
     {"Application.ActiveDocument", "Document.Utility", "Utility.GetPoint(missing, \"p\")"},
     nullptr},
    {"AddPointPassesThreeDoublesAndColorAnInteger",
     nullptr,
     [](cad::Application& application) {
         auto point = application.activeDocument()->modelSpace()->addPoint({1, 2.25, 0});
         point->setColor(1);
         return std::to_string(point->entityType());
     },
     "22",
     {"Application.ActiveDocument", "Document.ModelSpace", "ModelSpace.AddPoint(R8[1, 2.25, 0])",
      "Point#1.Color = I4 1", "Point#1.EntityType"},
     [](const DoubleCad& cad) {
         ASSERT_EQ(cad.points().size(), 1u);
         EXPECT_EQ(cad.points()[0].at, (std::array<double, 3>{1, 2.25, 0}));
         EXPECT_EQ(cad.points()[0].color, 1);
     }},
    {"SetVariableSendsPdmodeAsA16BitInteger",
     nullptr,
     [](cad::Application& application) {
         application.activeDocument()->setVariable("pdmode", 3);
         return std::string();
     },
     "",
     {"Application.ActiveDocument", "Document.SetVariable(\"pdmode\", I2 3)"},
     [](const DoubleCad& cad) { EXPECT_EQ(cad.variables().at("pdmode"), "I2 3"); }},
    {"AppendItemsSendsAnArrayOfObjects",
     nullptr,
     [](cad::Application& application) {
         auto document = application.activeDocument();
         auto space = document->modelSpace();
         auto first = space->addPoint({0, 0, 0});
         auto second = space->addPoint({5, 0, 0});
         document->groups()->add(".7055475")->appendItems({first, second});
         return std::string();
     },
     "",
     {"Application.ActiveDocument", "Document.ModelSpace", "ModelSpace.AddPoint(R8[0, 0, 0])",
      "ModelSpace.AddPoint(R8[5, 0, 0])", "Document.Groups", "Groups.Add(\".7055475\")",
      "Group:.7055475.AppendItems(DISPATCH[Point#1, Point#2])"},
     [](const DoubleCad& cad) {
         ASSERT_NE(cad.group(".7055475"), nullptr);
         EXPECT_EQ(*cad.group(".7055475"), (Lines{"Point#1", "Point#2"}));
     }},
    {"SelectionSetMembersComeByCountAndItemInOrder",
     [](DoubleCad& cad) {
         cad.prepareSelection({{24, {0, 0, 10, 5}}, {19, {}}});
     },
     [](cad::Application& application) {
         auto set = application.activeDocument()->selectionSets()->add(".25");
         set->selectOnScreen();
         std::string text = std::to_string(set->count());
         auto first = set->item(0);
         text += " " + std::to_string(first->entityType());
         text += " " + numbers(first->coordinates());
         text += " " + std::to_string(set->item(1)->entityType());
         return text;
     },
     "2 24 0 0 10 5 19",
     {"Application.ActiveDocument", "Document.SelectionSets", "SelectionSets.Add(\".25\")",
      "SelectionSet:.25.SelectOnScreen", "SelectionSet:.25.Count", "SelectionSet:.25.Item(I4 0)",
      "Entity#1.EntityType", "Entity#1.Coordinates", "SelectionSet:.25.Item(I4 1)",
      "Entity#2.EntityType"},
     [](const DoubleCad& cad) { EXPECT_EQ(cad.selectionSets(), Lines{".25"}); }},
    {"NoDrawingOpenGivesAutoCadsOwnError",
     [](DoubleCad& cad) { cad.hasDocument = false; },
     [](cad::Application& application) {
         try {
             application.activeDocument();
         } catch (const cad::CadError& error) {
             return std::to_string(error.number()) + " " + error.description();
         }
         return std::string("a document");
     },
     "-2145320900 无法获取 Document 对象",
     {"Application.ActiveDocument"},
     nullptr},
    {"DeleteRemovesTheSetAndLeavesItsEntitiesUsable",
     [](DoubleCad& cad) {
         cad.prepareSelection({{24, {0, 0, 10, 5}}});
     },
     [](cad::Application& application) {
         auto set = application.activeDocument()->selectionSets()->add(".5");
         set->selectOnScreen();
         auto member = set->item(0);
         set->deleteSet();
         std::string text = numbers(member->coordinates());
         try {
             set->count();
         } catch (const cad::CadError& error) {
             text += error.number() == kSetDeleted ? " deleted" : " other failure";
         }
         return text;
     },
     "0 0 10 5 deleted",
     {"Application.ActiveDocument", "Document.SelectionSets", "SelectionSets.Add(\".5\")",
      "SelectionSet:.5.SelectOnScreen", "SelectionSet:.5.Item(I4 0)", "SelectionSet:.5.Delete",
      "Entity#1.Coordinates", "SelectionSet:.5.Count"},
     [](const DoubleCad& cad) { EXPECT_TRUE(cad.selectionSets().empty()); }},
    // The colour object is a copy: without assigning it back the point
    // would keep its colour.
    {"WithoutColorTheColourGoesThroughTrueColor",
     [](DoubleCad& cad) { cad.hidesObsoleteMembers = true; },
     [](cad::Application& application) {
         application.activeDocument()->modelSpace()->addPoint({1, 2, 0})->setColor(3);
         return std::string();
     },
     "",
     {"Application.ActiveDocument", "Document.ModelSpace", "ModelSpace.AddPoint(R8[1, 2, 0])",
      "Point#1.TrueColor", "Color.ColorIndex = I4 3", "Point#1.TrueColor = Color"},
     [](const DoubleCad& cad) {
         ASSERT_EQ(cad.points().size(), 1u);
         EXPECT_EQ(cad.points()[0].color, 3);
     }},
    {"WithoutEntityTypeTheTypeIsToldByObjectName",
     [](DoubleCad& cad) {
         cad.hidesObsoleteMembers = true;
         cad.prepareSelection({{19, {}}, {24, {0, 0, 1, 1}}, {23, {0, 0, 1, 1}}});
     },
     [](cad::Application& application) {
         auto set = application.activeDocument()->selectionSets()->add("t");
         set->selectOnScreen();
         std::string text;
         for (int i = 0; i < 3; ++i) {
             text += (i ? " " : "") + std::to_string(set->item(i)->entityType());
         }
         return text;
     },
     "19 24 23",
     {"Application.ActiveDocument", "Document.SelectionSets", "SelectionSets.Add(\"t\")",
      "SelectionSet:t.SelectOnScreen", "SelectionSet:t.Item(I4 0)", "Entity#1.ObjectName",
      "SelectionSet:t.Item(I4 1)", "Entity#2.ObjectName", "SelectionSet:t.Item(I4 2)",
      "Entity#3.ObjectName"},
     nullptr},
    {"CoordinatesAreReadFromTheArraysLowerBound",
     [](DoubleCad& cad) {
         cad.arrayLowerBound = 5;
         cad.prepareSelection({{24, {1, 2, 3, 4, 5, 6}}});
     },
     [](cad::Application& application) {
         auto set = application.activeDocument()->selectionSets()->add("s");
         set->selectOnScreen();
         return numbers(set->item(0)->coordinates());
     },
     "1 2 3 4 5 6",
     {"Application.ActiveDocument", "Document.SelectionSets", "SelectionSets.Add(\"s\")",
      "SelectionSet:s.SelectOnScreen", "SelectionSet:s.Item(I4 0)", "Entity#1.Coordinates"},
     nullptr},
};

// What the label reads give for every member of a selection, in the order a
// command reads them: object name, string, insertion point; a read that fails
// gives its error number.
std::string readTexts(cad::Application& application, bool objectNameFirst = true) {
    auto set = application.activeDocument()->selectionSets()->add("t");
    set->selectOnScreen();
    std::string text;
    const int count = set->count();
    for (int i = 0; i < count; ++i) {
        auto member = set->item(i);
        std::string read = objectNameFirst ? member->objectName() + " " : std::string();
        try {
            read += member->textString() + " ";
            const cad::Point at = member->insertionPoint();
            read += numbers({at[0], at[1], at[2]});
        } catch (const cad::CadError& error) {
            read += std::to_string(error.number());
        }
        text += (i ? "; " : "") + read;
    }
    return text;
}

const SurfaceCase kTextCases[] = {
    {"TextStringComesBackAsUtf8AndInsertionPointAsThreeDoubles",
     [](DoubleCad& cad) { cad.prepareSelection({doubleText(L"钢束N1", 12.5, -3, 0)}); },
     [](cad::Application& application) { return readTexts(application); },
     "AcDbText 钢束N1 12.5 -3 0",
     {"Application.ActiveDocument", "Document.SelectionSets", "SelectionSets.Add(\"t\")",
      "SelectionSet:t.SelectOnScreen", "SelectionSet:t.Count", "SelectionSet:t.Item(I4 0)",
      "Entity#1.ObjectName", "Entity#1.TextString", "Entity#1.InsertionPoint"},
     nullptr},
    {"AnMTextsStringKeepsItsFormatCodes",
     [](DoubleCad& cad) {
         cad.prepareSelection({doubleMText(L"{\\fSimSun|b0;钢束}\\PN2", 40, 8, 1)});
     },
     [](cad::Application& application) { return readTexts(application); },
     "AcDbMText {\\fSimSun|b0;钢束}\\PN2 40 8 1",
     {"Application.ActiveDocument", "Document.SelectionSets", "SelectionSets.Add(\"t\")",
      "SelectionSet:t.SelectOnScreen", "SelectionSet:t.Count", "SelectionSet:t.Item(I4 0)",
      "Entity#1.ObjectName", "Entity#1.TextString", "Entity#1.InsertionPoint"},
     nullptr},
    // The two classes' DISPIDs differ: an id kept for the one would read the
    // other's wrong member and fail.
    {"TextsAndMTextsInTurnEachReadUnderTheirOwnClassesIds",
     [](DoubleCad& cad) {
         cad.prepareSelection({doubleText(L"N1", 1, 2), doubleMText(L"N2", 3, 4),
                               doubleText(L"N3", 5, 6), doubleMText(L"N4", 7, 8)});
     },
     [](cad::Application& application) { return readTexts(application); },
     "AcDbText N1 1 2 0; AcDbMText N2 3 4 0; AcDbText N3 5 6 0; AcDbMText N4 7 8 0",
     {"Application.ActiveDocument",    "Document.SelectionSets",    "SelectionSets.Add(\"t\")",
      "SelectionSet:t.SelectOnScreen", "SelectionSet:t.Count",      "SelectionSet:t.Item(I4 0)",
      "Entity#1.ObjectName",           "Entity#1.TextString",       "Entity#1.InsertionPoint",
      "SelectionSet:t.Item(I4 1)",     "Entity#2.ObjectName",       "Entity#2.TextString",
      "Entity#2.InsertionPoint",       "SelectionSet:t.Item(I4 2)", "Entity#3.ObjectName",
      "Entity#3.TextString",           "Entity#3.InsertionPoint",   "SelectionSet:t.Item(I4 3)",
      "Entity#4.ObjectName",           "Entity#4.TextString",       "Entity#4.InsertionPoint"},
     nullptr},
    {"WithoutTheObjectNameReadFirstTheTextMembersStillAnswer",
     [](DoubleCad& cad) {
         cad.prepareSelection({doubleMText(L"N2", 3, 4), doubleText(L"N1", 1, 2)});
     },
     [](cad::Application& application) { return readTexts(application, false); },
     "N2 3 4 0; N1 1 2 0",
     {"Application.ActiveDocument", "Document.SelectionSets", "SelectionSets.Add(\"t\")",
      "SelectionSet:t.SelectOnScreen", "SelectionSet:t.Count", "SelectionSet:t.Item(I4 0)",
      "Entity#1.TextString", "Entity#1.InsertionPoint", "SelectionSet:t.Item(I4 1)",
      "Entity#2.TextString", "Entity#2.InsertionPoint"},
     nullptr},
    // Where the type is told by the object name, that read serves the text
    // members as well.
    {"TheTypeToldByObjectNameServesTheTextMembers",
     [](DoubleCad& cad) {
         cad.hidesObsoleteMembers = true;
         cad.prepareSelection({doubleText(L"N1", 1, 2), doubleMText(L"N2", 3, 4)});
     },
     [](cad::Application& application) {
         auto set = application.activeDocument()->selectionSets()->add("t");
         set->selectOnScreen();
         std::string text;
         for (int i = 0; i < 2; ++i) {
             auto member = set->item(i);
             const int type = member->entityType();
             text += (i ? "; " : "") + std::to_string(type) + " " + member->textString();
         }
         return text;
     },
     "32 N1; 21 N2",
     {"Application.ActiveDocument", "Document.SelectionSets", "SelectionSets.Add(\"t\")",
      "SelectionSet:t.SelectOnScreen", "SelectionSet:t.Item(I4 0)", "Entity#1.ObjectName",
      "Entity#1.TextString", "SelectionSet:t.Item(I4 1)", "Entity#2.ObjectName",
      "Entity#2.TextString"},
     nullptr},
    // A line has no such member: the name lookup fails with its number before
    // anything is invoked.
    {"TextStringOfALineFailsWithUnknownName",
     [](DoubleCad& cad) {
         cad.prepareSelection({{19, {}}});
     },
     [](cad::Application& application) { return readTexts(application); },
     "AcDbLine " + std::to_string(DISP_E_UNKNOWNNAME),
     {"Application.ActiveDocument", "Document.SelectionSets", "SelectionSets.Add(\"t\")",
      "SelectionSet:t.SelectOnScreen", "SelectionSet:t.Count", "SelectionSet:t.Item(I4 0)",
      "Entity#1.ObjectName"},
     nullptr},
};

std::string point(const cad::Point& at) {
    return numbers({at[0], at[1], at[2]});
}

// What the reads of a tendon give for every member of a selection, in the
// order a command reads them: the type; a LINE's or an ARC's ends, an ARC's
// centre and normal; an old-style polyline's fitting; a polyline's
// vertices, normal and bulges; a text's height; then the layer.
std::string readPieces(cad::Application& application) {
    auto set = application.activeDocument()->selectionSets()->add("p");
    set->selectOnScreen();
    std::string text;
    const int count = set->count();
    for (int i = 0; i < count; ++i) {
        auto member = set->item(i);
        const int type = member->entityType();
        std::string read = std::to_string(type) + ":";
        if (type == cad::entity_type::kLine || type == cad::entity_type::kArc) {
            read += " " + point(member->startPoint());
            read += " / " + point(member->endPoint());
        }
        if (type == cad::entity_type::kArc) {
            read += " / " + point(member->center());
            read += " / " + point(member->normal());
        }
        if (type == cad::entity_type::kPolyline) {
            read += " " + std::to_string(member->polylineType());
        }
        if (type == cad::entity_type::kPolyline || type == cad::entity_type::kLightweightPolyline) {
            const std::vector<double> vertices = member->coordinates();
            read += " " + numbers(vertices);
            read += " / " + point(member->normal()) + " /";
            const std::size_t perVertex = type == cad::entity_type::kPolyline ? 3 : 2;
            for (std::size_t k = 0; k + 1 < vertices.size() / perVertex; ++k) {
                read += " " + numbers({member->bulge(static_cast<int>(k))});
            }
        }
        if (type == cad::entity_type::kText || type == cad::entity_type::kMText) {
            read += " " + numbers({member->height()});
        }
        read += " @" + member->layer();
        text += (i ? "; " : "") + read;
    }
    return text;
}

// The calls of readPieces: the selection, then member k's Item and reads.
Lines piecesRead(std::initializer_list<std::initializer_list<const char*>> members) {
    Lines calls = {"Application.ActiveDocument", "Document.SelectionSets",
                   "SelectionSets.Add(\"p\")", "SelectionSet:p.SelectOnScreen",
                   "SelectionSet:p.Count"};
    int k = 0;
    for (const auto& reads : members) {
        calls.push_back("SelectionSet:p.Item(I4 " + std::to_string(k++) + ")");
        for (const char* read : reads) {
            calls.push_back("Entity#" + std::to_string(k) + "." + read);
        }
    }
    return calls;
}

const SurfaceCase kPieceCases[] = {
    // Lines and arcs both have StartPoint and EndPoint, polylines of both
    // kinds Normal and GetBulge, texts of both kinds Height, under DISPIDs
    // of their own: an id kept for one class reads another member, or
    // none, of the next.
    {"PiecesPolylinesAndTextsInTurnEachReadUnderTheirOwnClassesIds",
     [](DoubleCad& cad) {
         DoubleSelectable splined{23, {0, 0, 7, 10, 0, 7, 20, 5, 7}, {0.5, -0.4}, {0, 0, -1}};
         splined.polylineType = 2;
         splined.layer = L"BT1";
         DoubleSelectable mtext = doubleMText(L"N2", 3, 4);
         mtext.height = 0.75;
         cad.prepareSelection({doubleLine(-30, 5, -20, 2.5, L"钢束AT1"),
                               doubleArc({1, 1}, {1, 0}, {2, 1}),
                               {24, {0, 0, 1, 1}, {0.25}, {0, 0, -1}},
                               splined,
                               doubleText(L"N1", 1, 2),
                               mtext,
                               doubleLine(2, 1, 2, 3),
                               doubleArc({3, 3}, {2, 3}, {3, 4}, L"AT2", {0, 0, -1})});
     },
     readPieces,
     "19: -30 5 0 / -20 2.5 0 @钢束AT1; 4: 1 0 0 / 2 1 0 / 1 1 0 / 0 0 1 @0; "
     "24: 0 0 1 1 / 0 0 -1 / 0.25 @0; 23: 2 0 0 7 10 0 7 20 5 7 / 0 0 -1 / 0.5 -0.4 @BT1; "
     "32: 2.5 @0; 21: 0.75 @0; 19: 2 1 0 / 2 3 0 @0; 4: 2 3 0 / 3 4 0 / 3 3 0 / 0 0 -1 @AT2",
     piecesRead({{"EntityType", "StartPoint", "EndPoint", "Layer"},
                 {"EntityType", "StartPoint", "EndPoint", "Center", "Normal", "Layer"},
                 {"EntityType", "Coordinates", "Normal", "GetBulge(I4 0)", "Layer"},
                 {"EntityType", "Type", "Coordinates", "Normal", "GetBulge(I4 0)", "GetBulge(I4 1)",
                  "Layer"},
                 {"EntityType", "Height", "Layer"},
                 {"EntityType", "Height", "Layer"},
                 {"EntityType", "StartPoint", "EndPoint", "Layer"},
                 {"EntityType", "StartPoint", "EndPoint", "Center", "Normal", "Layer"}}),
     nullptr},
    // Where the type is told by the object name, that read tells the class.
    {"WithoutEntityTypeTheObjectNameTellsAnArcsClass",
     [](DoubleCad& cad) {
         cad.hidesObsoleteMembers = true;
         cad.prepareSelection({doubleLine(0, 0, 1, 0, L"A"),
                               doubleArc({1, 1}, {1, 0}, {2, 1}, L"B"),
                               doubleLine(2, 1, 2, 3, L"C")});
     },
     readPieces, "19: 0 0 0 / 1 0 0 @A; 4: 1 0 0 / 2 1 0 / 1 1 0 / 0 0 1 @B; 19: 2 1 0 / 2 3 0 @C",
     piecesRead({{"ObjectName", "StartPoint", "EndPoint", "Layer"},
                 {"ObjectName", "StartPoint", "EndPoint", "Center", "Normal", "Layer"},
                 {"ObjectName", "StartPoint", "EndPoint", "Layer"}}),
     nullptr},
};

void PrintTo(const SurfaceCase& c, std::ostream* out) {
    *out << c.name;
}

class SurfaceTest : public ComTest,
                    public ::testing::WithParamInterface<std::tuple<SurfaceCase, Reach>> {};

TEST_P(SurfaceTest, SendsWhatAutoCadExpectsAndReadsItsAnswer) {
    const auto& [c, reach] = GetParam();
    if (c.script) {
        c.script(*cad);
    }
    ComPtr<IDispatch> application = makeApplication(cad);
    testClass->run(application.get());
    application.reset();

    std::string result;
    runReaching(reach, [&, use = c.use] {
        cad::com::ComPlatform platform(kQuickRetry);
        auto connected = platform.getRunningObject(testClass->progId());
        result = use(*connected);
    });

    EXPECT_EQ(result, c.result);
    EXPECT_EQ(cad->transcript(), c.transcript);
    if (c.check) {
        c.check(*cad);
    }
}

INSTANTIATE_TEST_SUITE_P(Operations, SurfaceTest, bothReaches(kSurfaceCases), caseAndReachName);
INSTANTIATE_TEST_SUITE_P(Texts, SurfaceTest, bothReaches(kTextCases), caseAndReachName);
INSTANTIATE_TEST_SUITE_P(Pieces, SurfaceTest, bothReaches(kPieceCases), caseAndReachName);

using SelectionSetLimitTest = ComTest;

// As in AutoCAD, a session holds only so many selection sets; a deleted one
// makes room again.
TEST_F(SelectionSetLimitTest, TheHundredTwentyNinthSetFailsUntilOneIsDeleted) {
    testClass->run(makeApplication(cad).get());
    cad::com::ComPlatform platform(kQuickRetry);
    auto sets = platform.getRunningObject(testClass->progId())->activeDocument()->selectionSets();
    std::vector<cad::SelectionSetPtr> open;
    for (int i = 0; i < kMaxSelectionSets; ++i) {
        open.push_back(sets->add("s" + std::to_string(i)));
    }
    std::int32_t failure = 0;
    try {
        sets->add("one more");
    } catch (const cad::CadError& error) {
        failure = error.number();
    }
    EXPECT_EQ(failure, kTooManySelectionSets);

    open.front()->deleteSet();
    EXPECT_NO_THROW(sets->add("one more"));
    EXPECT_EQ(cad->selectionSets().size(), static_cast<std::size_t>(kMaxSelectionSets));
}

}  // namespace
}  // namespace tendra::testing::com
