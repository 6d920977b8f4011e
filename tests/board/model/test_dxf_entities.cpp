// Reading the kinds beyond lines and polylines: block references, dimensions,
// curves and fills from the test drawings, in text and as their binary twins,
// round trips that keep blocks, and the skipped kinds the user is told of.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cad/board/model/dxf.h"
#include "cad/board/model/dxf_binary.h"

namespace tendra::board {
namespace {

namespace fs = std::filesystem;
namespace kind = entity_kind;
namespace type = cad::entity_type;

const fs::path kData = TENDRA_TEST_DATA;

std::string readFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<int> typesOf(const Drawing& drawing) {
    std::vector<int> types;
    for (const Entity& entity : drawing.entities()) {
        types.push_back(entity.entityType());
    }
    return types;
}

std::size_t partCount(const Entity& entity) {
    if (const auto* ref = std::get_if<BlockReference>(&entity.geometry)) {
        return ref->parts.size();
    }
    if (const auto* dim = std::get_if<Dimension>(&entity.geometry)) {
        return dim->parts.size();
    }
    return 0;
}

std::vector<std::size_t> partCounts(const Drawing& drawing) {
    std::vector<std::size_t> counts;
    for (const Entity& entity : drawing.entities()) {
        counts.push_back(partCount(entity));
    }
    return counts;
}

TEST(DxfKindsTest, TestDrawingsLoadEveryKind) {
    struct Row {
        const char* file;
        std::vector<int> types;
        std::vector<std::size_t> parts;
        std::string skipped;
    };
    const Row rows[] = {
        {"blocks.dxf",
         {kind::kBlockReference, kind::kBlockReference, kind::kBlockReference, kind::kMInsertBlock,
          kind::kBlockReference, kind::kBlockReference, kind::kBlockReference,
          kind::kBlockReference, kind::kBlockReference, type::kLightweightPolyline},
         // OUTER is 5 parts three deep; the 4 × 3 array of a 3-part block;
         // 3 parts and an attribute; a self-reference keeps its line only;
         // a missing block shows nothing.
         {5, 5, 5, 36, 4, 1, 2, 5, 0, 0},
         ""},
        {"dimensions.dxf",
         {kind::kDimensionRotated, kind::kDimensionAligned, kind::kDimensionAngular,
          kind::kDimensionDiametric, kind::kDimensionRadial, kind::kDimension3PointAngular,
          kind::kDimensionOrdinate, type::kLine, type::kLine, type::kLine},
         {4, 3, 4, 3, 3, 4, 3, 0, 0, 0},
         ""},
        {"curves.dxf",
         {kind::kEllipse, kind::kEllipse, kind::kSpline, kind::kSpline, kind::kSolid, kind::kTrace,
          kind::kHatch, kind::kHatch, kind::kLeader, type::kPolyline, type::kMText, type::kMText},
         std::vector<std::size_t>(12, 0),
         "未显示：2 MLINE、1 WIPEOUT、1 3DSOLID"},
    };
    for (const Row& row : rows) {
        const Drawing drawing = loadDxfFile((kData / row.file).string());
        EXPECT_EQ(typesOf(drawing), row.types) << row.file;
        EXPECT_EQ(partCounts(drawing), row.parts) << row.file;
        EXPECT_EQ(skippedKindsText(drawing.skipped()), row.skipped) << row.file;
    }
}

TEST(DxfKindsTest, ReferencesKeepWhatTheFileSays) {
    const Drawing drawing = loadDxfFile((kData / "blocks.dxf").string());
    const auto& mirrored = std::get<BlockReference>(drawing.entities()[1].geometry);
    EXPECT_EQ(mirrored.block, "OUTER");
    EXPECT_EQ(mirrored.scale, (Vec2{-1, 1}));
    const auto& array = std::get<BlockReference>(drawing.entities()[3].geometry);
    EXPECT_EQ(array.columns, 4);
    EXPECT_EQ(array.rows, 3);
    EXPECT_EQ(array.columnSpacing, 20);
    EXPECT_EQ(array.rowSpacing, 15);
    const auto& attributed = std::get<BlockReference>(drawing.entities()[4].geometry);
    ASSERT_EQ(attributed.attributes.size(), 1u);
    EXPECT_EQ(attributed.attributes[0].tag, "NO");
    EXPECT_EQ(attributed.attributes[0].text, "N1");
    // Extrusion (0, 0, -1): the insertion point's X is seen from below.
    const auto& below = std::get<BlockReference>(drawing.entities()[7].geometry);
    EXPECT_EQ(below.at[0], -300);
    EXPECT_EQ(below.scale.x, -1);
    EXPECT_EQ(drawing.blocks().size(), 6u);
}

TEST(DxfKindsTest, MTextDirectionIsADirection) {
    const Drawing drawing = loadDxfFile((kData / "curves.dxf").string());
    const auto& along = std::get<MText>(drawing.entities()[10].geometry);
    EXPECT_NEAR(along.angle, 0, 1e-9);  // direction (3, 0, 0)
    EXPECT_EQ(along.height, 5);
    const auto& turned = std::get<MText>(drawing.entities()[11].geometry);
    EXPECT_NEAR(turned.angle, 30, 1e-9);  // zero direction: code 50
}

void expectSameDrawing(const Drawing& a, const Drawing& b, const std::string& what) {
    EXPECT_EQ(typesOf(a), typesOf(b)) << what;
    EXPECT_EQ(partCounts(a), partCounts(b)) << what;
    EXPECT_EQ(a.extents(), b.extents()) << what;
    ASSERT_EQ(a.blocks().size(), b.blocks().size()) << what;
    for (std::size_t i = 0; i < a.blocks().size(); ++i) {
        EXPECT_EQ(a.blocks()[i].name, b.blocks()[i].name) << what;
        EXPECT_EQ(a.blocks()[i].base, b.blocks()[i].base) << what;
        EXPECT_EQ(a.blocks()[i].entities.size(), b.blocks()[i].entities.size()) << what;
    }
}

TEST(DxfKindsTest, RoundTripKeepsBlocksAndReferences) {
    for (const char* file : {"blocks.dxf", "dimensions.dxf", "curves.dxf"}) {
        const Drawing first = loadDxfFile((kData / file).string());
        const std::string path =
            (fs::temp_directory_path() / ("round_trip_" + std::string(file))).string();
        saveDxfFile(first, path);
        const Drawing again = loadDxfFile(path);
        fs::remove(path);
        expectSameDrawing(first, again, file);
    }
}

TEST(DxfBinaryTest, BinaryTwinLoadsTheSameDrawing) {
    const std::string text = readFile(kData / "blocks.dxf");
    const std::string binary = readFile(kData / "blocks_binary.dxf");
    EXPECT_EQ(dxf::textToBinary(text), binary) << "the twin is made by textToBinary";
    expectSameDrawing(loadDxf(text), loadDxf(binary), "blocks_binary.dxf");
    // Every kind survives the binary form too.
    for (const char* file : {"dimensions.dxf", "curves.dxf", "r12_entities.dxf"}) {
        const std::string source = readFile(kData / file);
        expectSameDrawing(loadDxf(source), loadDxf(dxf::textToBinary(source)), file);
    }
}

TEST(DxfKindsTest, SkippedKindsText) {
    struct Row {
        const char* name;
        std::vector<SkippedKind> skipped;
        std::string expected;
    };
    const Row rows[] = {
        {"nothing skipped says nothing", {}, ""},
        {"one kind", {{"MLINE", 3}}, "未显示：3 MLINE"},
        {"kinds in the order met",
         {{"WIPEOUT", 1}, {"3DSOLID", 2}},
         "未显示：1 WIPEOUT、2 3DSOLID"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(skippedKindsText(row.skipped), row.expected) << row.name;
    }
}

}  // namespace
}  // namespace tendra::board
