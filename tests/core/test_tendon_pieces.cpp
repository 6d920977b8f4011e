#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "nodes/tendon_labels.h"
#include "nodes/tendon_pieces.h"

namespace tendra {
namespace {

// A tendon filleted at (-40, 0) with radius 4: line, arc (45°, clockwise in
// the plan), line, as FILLET leaves it.
const Piece kDown = linePiece({-50, 10, 0}, {-41.17157287525381, 1.17157287525381, 0});
const Piece kFillet =
    *arcPiece({-38.34314575050762, 4, 0}, {-41.17157287525381, 1.17157287525381, 0},
              {-38.34314575050762, 0, 0}, {0, 0, 1});
const Piece kLevel = linePiece({-38.34314575050762, 0, 0}, {-20, 0, 0});
const std::vector<double> kCourse{
    -50, 10, -41.17157287525381, 1.17157287525381, -38.34314575050762, 0, -20, 0};
const double kFilletBulge = 0.198912367379658;  // tan(45° / 4)

Piece reversed(Piece piece) {
    return {piece.endX, piece.endY, piece.startX, piece.startY, -piece.bulge};
}

TEST(ArcPiece, BulgeFromTheSweepAboutTheNormal) {
    const struct {
        const char* name;
        cad::Point start, end, normal;
        std::optional<double> bulge;
    } cases[] = {
        {"a quarter counter-clockwise",
         {10, 0, 0},
         {0, 10, 0},
         {0, 0, 1},
         std::tan(std::numbers::pi / 8)},
        {"three quarters counter-clockwise",
         {0, 10, 0},
         {10, 0, 0},
         {0, 0, 1},
         std::tan(3 * std::numbers::pi / 8)},
        {"a half circle", {10, 0, 0}, {-10, 0, 0}, {0, 0, 1}, 1.0},
        {"a normal down runs clockwise",
         {10, 0, 0},
         {0, 10, 0},
         {0, 0, -1},
         -std::tan(3 * std::numbers::pi / 8)},
        {"a quarter clockwise under a normal down",
         {0, 10, 0},
         {10, 0, 0},
         {0, 0, -1},
         -std::tan(std::numbers::pi / 8)},
        {"tilted is no piece", {10, 0, 0}, {0, 10, 0}, {0, 1, 0}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<Piece> piece = arcPiece({0, 0, 0}, c.start, c.end, c.normal);
        ASSERT_EQ(piece.has_value(), c.bulge.has_value());
        if (piece) {
            EXPECT_NEAR(piece->bulge, *c.bulge, 1e-12);
            EXPECT_EQ(piece->startX, c.start[0]);
            EXPECT_EQ(piece->endY, c.end[1]);
        }
    }
}

TEST(ChainPieces, JoinsPiecesEndToEndFromTheLeftEnd) {
    const std::vector<double> fillet{0, kFilletBulge, 0};
    const struct {
        const char* name;
        std::vector<Piece> pieces;
        std::vector<double> coordinates, bulges;
        std::vector<std::size_t> order;
    } cases[] = {
        {"in order", {kDown, kFillet, kLevel}, kCourse, fillet, {0, 1, 2}},
        {"shuffled", {kLevel, kDown, kFillet}, kCourse, fillet, {1, 2, 0}},
        {"every piece drawn backwards",
         {reversed(kLevel), reversed(kFillet), reversed(kDown)},
         kCourse,
         fillet,
         {2, 1, 0}},
        {"drawn from the right end", {kLevel, kFillet, kDown}, kCourse, fillet, {2, 1, 0}},
        {"a tie in X starts at the lower end",
         {linePiece({0, 5, 0}, {3, 9, 0}), linePiece({3, 9, 0}, {0, 0, 0})},
         {0, 0, 3, 9, 0, 5},
         {0, 0},
         {1, 0}},
        {"ends a millionth of the selection apart still meet",
         {linePiece({0, 0, 0}, {10, 2e-5, 0}), linePiece({10, 0, 0}, {20, 5, 0})},
         {0, 0, 10, 0, 20, 5},
         {0, 0},
         {0, 1}},
        {"a piece shorter than a visible gap",
         {linePiece({0, 0, 0}, {50, 0, 0}), linePiece({50, 0, 0}, {50.01, 0, 0}),
          linePiece({50.01, 0, 0}, {100, 0, 0})},
         {0, 0, 50, 0, 50.01, 0, 100, 0},
         {0, 0, 0},
         {0, 1, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Chaining chaining = chainPieces(c.pieces);
        ASSERT_FALSE(chaining.fault);
        ASSERT_EQ(chaining.chains.size(), 1u);
        const Chain& chain = chaining.chains[0];
        ASSERT_EQ(chain.coordinates.size(), c.coordinates.size());
        for (std::size_t i = 0; i < c.coordinates.size(); ++i) {
            EXPECT_NEAR(chain.coordinates[i], c.coordinates[i], 1e-12) << i;
        }
        ASSERT_EQ(chain.bulges.size(), c.bulges.size());
        for (std::size_t i = 0; i < c.bulges.size(); ++i) {
            EXPECT_NEAR(chain.bulges[i], c.bulges[i], 1e-12) << i;
        }
        EXPECT_EQ(chain.pieces, c.order);
        EXPECT_EQ(chain.firstPiece, 0u);
    }
}

TEST(ChainPieces, LeavesOutOutlinesAndLonePiecesAndOrdersChainsByTheirFirstPiece) {
    const std::vector<Piece> pieces{
        linePiece({100, 0, 0}, {110, 0, 0}),                                       // lone
        linePiece({0, 50, 0}, {10, 50, 0}),  linePiece({0, 0, 0}, {10, 0, 0}),     // two chains
        linePiece({0, 20, 0}, {10, 20, 0}),  linePiece({10, 20, 0}, {10, 30, 0}),  // outline
        linePiece({10, 30, 0}, {0, 30, 0}),  linePiece({0, 30, 0}, {0, 20, 0}),
        linePiece({10, 0, 0}, {20, 5, 0}),   linePiece({10, 50, 0}, {20, 45, 0}),
        linePiece({50, 50, 0}, {50, 50, 0}),  // no length
    };
    const Chaining chaining = chainPieces(pieces);
    ASSERT_FALSE(chaining.fault);
    ASSERT_EQ(chaining.chains.size(), 2u);
    EXPECT_EQ(chaining.chains[0].pieces, (std::vector<std::size_t>{1, 8}));
    EXPECT_EQ(chaining.chains[0].coordinates, (std::vector<double>{0, 50, 10, 50, 20, 45}));
    EXPECT_EQ(chaining.chains[1].pieces, (std::vector<std::size_t>{2, 7}));
    EXPECT_EQ(chaining.chains[1].firstPiece, 2u);
}

TEST(ChainPieces, RefusesGapsAndBranchesWhereTheyAre) {
    // The pieces span a box of diagonal about 100: ends up to 1e-4 apart
    // meet, ends under 0.1 apart but farther look joined and are not.
    const struct {
        const char* name;
        std::vector<Piece> pieces;
        std::optional<ChainFault::Kind> kind;
        std::string text;
    } cases[] = {
        {"a gap too small to see",
         {linePiece({0, 0, 0}, {50, 0, 0}), linePiece({50.01, 0, 0}, {100, 0, 0})},
         ChainFault::Kind::Gap,
         "钢束图元在 (50, 0) 处未连接！"},
        {"a visible gap is two pieces",
         {linePiece({0, 0, 0}, {50, 0, 0}), linePiece({50.2, 0, 0}, {100, 0, 0})},
         std::nullopt,
         ""},
        {"three ends at one point",
         {linePiece({0, 0, 0}, {50, 0.125, 0}), linePiece({50, 0.125, 0}, {100, 0, 0}),
          linePiece({50, 0.125, 0}, {50, 10, 0})},
         ChainFault::Kind::Branch,
         "钢束图元在 (50, 0.125) 处分叉！"},
        {"the first fault in the selection's order",
         {linePiece({-20.5, -3.25, 0}, {-10, -3.25, 0}), linePiece({0, 0, 0}, {50, 0, 0}),
          linePiece({50, 0, 0}, {80, 0, 0}), linePiece({-10.001, -3.25, 0}, {0, 0, 0}),
          linePiece({50, 0, 0}, {50, 10, 0})},
         ChainFault::Kind::Gap,
         "钢束图元在 (-10, -3.25) 处未连接！"},
        {"a lone piece shorter than a visible gap is no gap",
         {linePiece({0, 0, 0}, {100, 0, 0}), linePiece({50, 10, 0}, {50.05, 10, 0})},
         std::nullopt,
         ""},
        {"of two gaps the first selected",
         {linePiece({60, 0, 0}, {100, 0, 0}), linePiece({0, 0, 0}, {30, 0, 0}),
          linePiece({30.005, 0, 0}, {59.995, 0, 0})},
         ChainFault::Kind::Gap,
         "钢束图元在 (60, 0) 处未连接！"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Chaining chaining = chainPieces(c.pieces);
        ASSERT_EQ(chaining.fault.has_value(), c.kind.has_value());
        if (c.kind) {
            EXPECT_EQ(chaining.fault->kind, *c.kind);
            EXPECT_EQ(faultText(*chaining.fault), c.text);
            EXPECT_TRUE(chaining.chains.empty());
        }
    }
}

TEST(LabelReach, ALabelFartherThanFiveHeightsFromEveryTendonIsATitle) {
    const std::vector<TendonShape> tendons{{{0, 0, 100, 0}, {}}, {{0, 50, 100, 50}, {}}};
    const struct {
        const char* name;
        std::vector<Label> labels;
        std::vector<std::optional<std::size_t>> expected;
    } cases[] = {
        {"within five heights", {{"N1", 50, 12, 2.5}}, {0, std::nullopt}},
        {"just at five heights", {{"N1", 50, 12.5, 2.5}}, {0, std::nullopt}},
        {"past five heights", {{"title", 50, 12.6, 2.5}}, {std::nullopt, std::nullopt}},
        {"a title between two labels names nothing",
         {{"N1", 50, -3, 2.5}, {"5-45-BOTH", 50, 25, 2.5}, {"N2", 50, 53, 2.5}},
         {0, 2}},
        {"a tall label reaches farther", {{"N2", 50, 26, 5}}, {std::nullopt, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(assignLabels(tendons, c.labels), c.expected);
    }
    // Within the box round a slanting tendon, but beyond reach of the tendon.
    EXPECT_EQ(assignLabels({{{0, 0, 100, 100}, {}}}, {{"N1", 60, 40, 2.5}}),
              (std::vector<std::optional<std::size_t>>{std::nullopt}));
}

TEST(LayerNames, ALayerOfItsOwnNamesATendon) {
    using Layers = std::vector<std::vector<std::string>>;
    using Names = std::vector<std::optional<std::string>>;
    const struct {
        const char* name;
        Layers layers;
        Names expected;
    } cases[] = {
        {"each on a layer of its own", {{"AT1"}, {"AT2"}}, {"AT1", "AT2"}},
        {"a chain all on one layer", {{"AT1", "AT1", "at1"}, {"AT2"}}, {"AT1", "AT2"}},
        {"a chain across layers", {{"AT1", "AT2"}, {"AT3"}}, {std::nullopt, "AT3"}},
        {"a shared layer names neither",
         {{"T"}, {"t"}, {"AT3"}},
         {std::nullopt, std::nullopt, "AT3"}},
        {"a chain across layers shares them", {{"A", "B"}, {"B"}}, {std::nullopt, std::nullopt}},
        {"layer 0", {{"0"}, {"AT1"}}, {std::nullopt, "AT1"}},
        {"the layer of definition points", {{"DEFPOINTS"}, {"AT1"}}, {std::nullopt, "AT1"}},
        {"no layer name", {{""}}, {std::nullopt}},
        {"no entities", {{}}, {std::nullopt}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(layerNames(c.layers), c.expected);
    }
}

}  // namespace
}  // namespace tendra
