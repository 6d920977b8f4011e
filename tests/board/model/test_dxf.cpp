// DXF reading and writing: round trips, code pages, the sample drawing, and
// files the loader must refuse.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cad/board/model/dxf.h"
#include "tests/board/model/answers.h"

namespace tendra::board {
namespace {

namespace fs = std::filesystem;

const fs::path kData = TENDRA_TEST_DATA;
const fs::path kExamples = TENDRA_EXAMPLES;

std::string readFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

class TemporaryFile {
  public:
    explicit TemporaryFile(const std::string& name)
        : path_(fs::temp_directory_path() /
                (std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                 std::to_string(reinterpret_cast<std::uintptr_t>(this)) + "_" + name)) {}
    ~TemporaryFile() {
        std::error_code ignored;
        fs::remove(path_, ignored);
    }
    std::string path() const { return path_.string(); }

  private:
    fs::path path_;
};

template <typename T>
const T& as(const Entity& entity) {
    const T* geometry = std::get_if<T>(&entity.geometry);
    if (!geometry) {
        throw std::runtime_error("unexpected entity type " + std::to_string(entity.entityType()));
    }
    return *geometry;
}

// One entity of every kind, with values that test each field.
Drawing everyKind() {
    Drawing drawing;
    drawing.setLayer({"0", 7, false});
    drawing.setLayer({"钢束", 4, false});
    drawing.setLayer({"hidden", -2, false});
    drawing.add(Line{{-1.25, 2.5, 0}, {1e6 + 0.125, -3.75, 1}}, "0", 1);
    drawing.add(Arc{{10, 20, 0}, 5.5, 30, 300}, "hidden");
    drawing.add(Circle{{-7, 8, 0}, 0.1}, "0", 256);
    LightweightPolyline tendon;
    tendon.vertices = {{-20000, 1200, 0}, {-15000, 700, 0.024984394500785729}, {-5000, 200, 0}};
    tendon.elevation = 12.5;
    tendon.normal = {0, 0, -1};
    drawing.add(tendon, "钢束");
    Polyline2d old;
    old.vertices = {{0, 0, -0.5}, {1, 1, 0}, {2, 0, 0}};
    old.closed = true;
    old.elevation = 3;
    drawing.add(old, "0", 5);
    drawing.addPoint(-20000, 1200, 0);
    Text text;
    text.at = {100, 200, 0};
    text.height = 250;
    text.angle = 30;
    text.text = "钢束N1 ± 1%";
    drawing.add(text, "钢束", 2);
    Text centred = text;
    centred.horizontalAlignment = 1;
    centred.verticalAlignment = 2;
    centred.alignAt = {150, 225, 0};
    centred.text = "跨中";
    drawing.add(centred);
    MText note;
    note.at = {-5, -6, 0};
    note.height = 3.5;
    note.width = 80;
    note.angle = 90;
    note.attachment = 5;
    // Longer than one 250-byte piece in GBK, with a character GBK lacks.
    note.text = std::string("预应力钢束布置\\P") + std::string(150, 'x') + "中文跨越分段处" +
                std::string(150, 'y') + " 😀 end";
    drawing.add(note, "0");
    const EntityId marker = drawing.addPoint(1.5, 2.5, 0);
    drawing.setColor(marker, 3);
    drawing.setVariable("PDMODE", 3);
    drawing.setVariable("PDSIZE", -2.5);
    return drawing;
}

void expectPoint(const cad::Point& actual, const cad::Point& expected, const std::string& what) {
    for (int i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(actual[i], expected[i]) << what << " [" << i << "]";
    }
}

TEST(DxfRoundTripTest, EveryEntityKindSurvivesR2000) {
    const Drawing original = everyKind();
    TemporaryFile file("every_kind.dxf");
    saveDxfFile(original, file.path(), DxfVersion::R2000);
    const Drawing loaded = loadDxfFile(file.path());

    ASSERT_EQ(loaded.size(), original.size());
    for (std::size_t i = 0; i < original.size(); ++i) {
        const Entity& a = original.entities()[i];
        const Entity& b = loaded.entities()[i];
        const std::string what = "entity " + std::to_string(i);
        EXPECT_EQ(b.entityType(), a.entityType()) << what;
        EXPECT_EQ(b.layer, a.layer) << what;
        EXPECT_EQ(b.color, a.color) << what;
    }
    const auto& e = loaded.entities();
    const Line& line = as<Line>(e[0]);
    expectPoint(line.start, {-1.25, 2.5, 0}, "line start");
    expectPoint(line.end, {1e6 + 0.125, -3.75, 1}, "line end");
    const Arc& arc = as<Arc>(e[1]);
    expectPoint(arc.center, {10, 20, 0}, "arc centre");
    EXPECT_DOUBLE_EQ(arc.radius, 5.5);
    EXPECT_DOUBLE_EQ(arc.startAngle, 30);
    EXPECT_DOUBLE_EQ(arc.endAngle, 300);
    EXPECT_DOUBLE_EQ(as<Circle>(e[2]).radius, 0.1);

    const auto& tendon = as<LightweightPolyline>(e[3]);
    EXPECT_EQ(tendon.vertices, as<LightweightPolyline>(original.entities()[3]).vertices);
    EXPECT_EQ(tendon.elevation, 12.5);
    EXPECT_EQ(tendon.normal, (cad::Point{0, 0, -1}));
    EXPECT_FALSE(tendon.closed);
    const auto& old = as<Polyline2d>(e[4]);
    EXPECT_EQ(old.vertices, as<Polyline2d>(original.entities()[4]).vertices);
    EXPECT_TRUE(old.closed);
    EXPECT_EQ(old.elevation, 3);

    expectPoint(as<PointEntity>(e[5]).at, {-20000, 1200, 0}, "point");
    const Text& text = as<Text>(e[6]);
    EXPECT_EQ(text.text, "钢束N1 ± 1%");
    EXPECT_DOUBLE_EQ(text.angle, 30);
    EXPECT_DOUBLE_EQ(text.height, 250);
    const Text& centred = as<Text>(e[7]);
    EXPECT_EQ(centred.horizontalAlignment, 1);
    EXPECT_EQ(centred.verticalAlignment, 2);
    expectPoint(centred.alignAt, {150, 225, 0}, "alignment point");
    const MText& note = as<MText>(e[8]);
    EXPECT_EQ(note.text, as<MText>(original.entities()[8]).text);
    EXPECT_DOUBLE_EQ(note.angle, 90);
    EXPECT_EQ(note.attachment, 5);
    EXPECT_DOUBLE_EQ(note.width, 80);
    EXPECT_EQ(e[9].color, 3) << "marker colour";

    EXPECT_EQ(loaded.pointDisplayMode(), 3);
    EXPECT_EQ(loaded.pointDisplaySize(), -2.5);
    ASSERT_NE(loaded.layer("hidden"), nullptr);
    EXPECT_EQ(loaded.layer("hidden")->color, -2);
    EXPECT_EQ(loaded.layer("钢束")->color, 4);
}

TEST(DxfRoundTripTest, R12KeepsGeometryButHasOnlyOldPolylinesAndText) {
    const Drawing original = everyKind();
    TemporaryFile file("every_kind_r12.dxf");
    saveDxfFile(original, file.path(), DxfVersion::R12);
    EXPECT_NE(readFile(file.path()).find("AC1009"), std::string::npos);
    const Drawing loaded = loadDxfFile(file.path());

    ASSERT_EQ(loaded.size(), original.size());
    const auto& e = loaded.entities();
    const auto& tendon = as<Polyline2d>(e[3]);
    EXPECT_EQ(tendon.vertices, as<LightweightPolyline>(original.entities()[3]).vertices);
    EXPECT_EQ(tendon.elevation, 12.5);
    EXPECT_EQ(as<Polyline2d>(e[4]).vertices, as<Polyline2d>(original.entities()[4]).vertices);
    EXPECT_EQ(as<Text>(e[8]).text, as<MText>(original.entities()[8]).text);
    EXPECT_EQ(e[9].color, 3);
    EXPECT_EQ(loaded.pointDisplayMode(), 3);
}

TEST(DxfRoundTripTest, GroupsSurviveR2000) {
    Drawing original;
    original.add(Line{{0, 0, 0}, {1, 1, 0}});
    const EntityId origin = original.addPoint(0, 0);
    const EntityId a = original.addPoint(1, 0);
    const EntityId b = original.addPoint(2, 0);
    original.addGroup(".4709594");
    original.appendToGroup(".4709594", {origin, b, a});
    original.addGroup("标记");
    original.appendToGroup("标记", {a});
    original.addSelectionSet("not saved");

    TemporaryFile file("groups.dxf");
    saveDxfFile(original, file.path());
    const Drawing loaded = loadDxfFile(file.path());
    EXPECT_EQ(loaded.groupNames(), (std::vector<std::string>{".4709594", "标记"}));
    EXPECT_EQ(loaded.group(".4709594"), (std::vector<EntityId>{origin, b, a}));
    EXPECT_EQ(loaded.group("标记"), (std::vector<EntityId>{a}));
    EXPECT_FALSE(loaded.hasSelectionSet("not saved"));
}

// The loader takes values of up to 1000 bytes on one line each, so the writer
// never writes a longer one, however much the code page or its escapes make
// of a text, nor a line break inside one.
TEST(DxfRoundTripTest, TextIsWrittenSoThatItLoadsAgain) {
    Drawing original;
    std::string chinese;
    for (int i = 0; i < 600; ++i) {
        chinese += "钢";
    }
    Text text;
    text.text = chinese;
    original.add(text);
    text.text = std::string(400, 'a');
    for (int i = 0; i < 300; ++i) {
        text.text += "😀";  // outside GBK: two escapes of 7 bytes each
    }
    original.add(text);
    original.setLayer({chinese, 3, false});
    original.add(Line{}, chinese);
    text.text = "two\nlines\r\tand a tab";  // what \U+000A and the like decode to
    original.add(text);

    TemporaryFile file("long.dxf");
    saveDxfFile(original, file.path());
    const Drawing loaded = loadDxfFile(file.path());
    ASSERT_EQ(loaded.size(), 4u);
    const std::string& cut = as<Text>(loaded.entities()[0]).text;
    EXPECT_EQ(cut, chinese.substr(0, 500 * 3)) << "500 GBK characters fit in 1000 bytes";
    EXPECT_EQ(as<Text>(loaded.entities()[1]).text.rfind(std::string(400, 'a'), 0), 0u);
    EXPECT_EQ(loaded.entities()[2].layer, cut);
    EXPECT_EQ(as<Text>(loaded.entities()[3]).text, "two\nlines\r\tand a tab");
}

TEST(DxfRoundTripTest, FailedSaveKeepsTheOldFile) {
    TemporaryFile file("kept.dxf");
    saveDxfFile(everyKind(), file.path());
    const std::string before = readFile(file.path());
    EXPECT_THROW(saveDxfFile(everyKind(), "/nonexistent-directory/x.dxf"), SaveError);
    fs::create_directory(file.path() + ".saving");  // the temporary cannot be made
    EXPECT_THROW(saveDxfFile(Drawing(), file.path()), SaveError);
    fs::remove(file.path() + ".saving");
    EXPECT_EQ(readFile(file.path()), before);
}

TEST(DxfTextTest, ChineseFromEveryEncoding) {
    struct Row {
        const char* file;
        const char* layer;
        const char* text;
    };
    const Row rows[] = {
        {"chinese_gbk_r2000.dxf", "钢束", "钢束N1"},
        {"chinese_utf8_r2018.dxf", "钢束", "钢束N1"},
        {"chinese_utf8_no_header.dxf", "文字", "跨中 ½"},
    };
    for (const Row& row : rows) {
        const Drawing drawing = loadDxfFile((kData / row.file).string());
        ASSERT_FALSE(drawing.empty()) << row.file;
        const Entity& first = drawing.entities().front();
        EXPECT_EQ(first.layer, row.layer) << row.file;
        EXPECT_EQ(as<Text>(first).text, row.text) << row.file;
        if (drawing.size() > 1) {
            // Two MTEXT pieces, and a \U+ escape for a character outside GBK.
            EXPECT_EQ(as<MText>(drawing.entities()[1]).text, "预应力钢束€布置") << row.file;
            EXPECT_NE(drawing.layer("钢束"), nullptr) << row.file;
        }
    }
}

TEST(DxfLoadTest, R12FileFromAnotherProgram) {
    const Drawing drawing = loadDxfFile((kData / "r12_entities.dxf").string());
    ASSERT_EQ(drawing.size(), 6u);
    const auto& e = drawing.entities();
    EXPECT_EQ(e[1].entityType(), cad::entity_type::kPolyline);
    const auto& tendon = as<Polyline2d>(e[1]);
    EXPECT_EQ(tendon.vertices,
              (std::vector<PolylineVertex>{{0, 0, 0}, {100, 50, 0.25}, {200, 50, 0}}));
    EXPECT_TRUE(tendon.closed);
    EXPECT_EQ(tendon.elevation, 5);
    EXPECT_EQ(e[2].color, 1);
    EXPECT_EQ(e[3].color, 3);
    EXPECT_EQ(drawing.pointDisplayMode(), 3);
    EXPECT_EQ(e[1].layer, "TENDON");
}

TEST(DxfLoadTest, SampleTendon) {
    const Drawing drawing = loadDxfFile((kExamples / "tendon.dxf").string());
    std::vector<const Entity*> tendons;
    for (const Entity& entity : drawing.entities()) {
        if (entity.entityType() == cad::entity_type::kLightweightPolyline) {
            tendons.push_back(&entity);
        }
    }
    ASSERT_EQ(tendons.size(), 2u);
    EXPECT_EQ(drawing.coordinates(tendons[0]->id),
              (std::vector<double>{-20000, 1200, -17500, 950, -15000, 700, -5000, 200, 0, 200, 5000,
                                   200, 15000, 700, 17500, 950, 20000, 1200}));
    const auto& vertices = tendons[0]->polyline()->vertices;
    EXPECT_GT(vertices[2].bulge, 0) << "fillet into the flat middle";
    EXPECT_EQ(vertices[5].bulge, vertices[2].bulge) << "symmetric fillet";
    EXPECT_EQ(tendons[0]->layer, "钢束");
    // The half tendon: a fillet bending down, a sharp corner, a fillet
    // bending back, its end on the mid-span line.
    const auto& half = tendons[1]->polyline()->vertices;
    ASSERT_EQ(half.size(), 7u);
    EXPECT_LT(half[1].bulge, 0);
    EXPECT_GT(half[4].bulge, 0);
    EXPECT_EQ(half.back(), (PolylineVertex{0, 450, 0}));
    EXPECT_EQ(drawing.normal(tendons[1]->id), (cad::Point{0, 0, 1}));

    std::vector<std::string> labels;
    for (const Entity& entity : drawing.entities()) {
        if (const auto* text = std::get_if<Text>(&entity.geometry)) {
            labels.push_back(text->text);
        }
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"钢束N1", "跨中", "钢束N2"}));
    EXPECT_EQ(drawing.layer("中心线")->color, 6);
    EXPECT_EQ(drawing.extents()->min.x, -20000);
    EXPECT_EQ(drawing.extents()->max.x, 20000);
}

TEST(DxfLoadTest, PathBufferAndStreamAgreeAndProgressEnds) {
    const std::string bytes = readFile(kExamples / "tendon.dxf");
    std::vector<std::pair<std::uint64_t, std::uint64_t>> steps;
    const Drawing fromPath = loadDxfFile((kExamples / "tendon.dxf").string(),
                                         [&](std::uint64_t done, std::uint64_t total) {
                                             steps.push_back({done, total});
                                         });
    std::istringstream stream(bytes);
    const Drawing fromStream = loadDxf(stream);
    const Drawing fromBuffer = loadDxf(std::string_view(bytes));
    EXPECT_EQ(fromPath.size(), fromStream.size());
    EXPECT_EQ(fromPath.size(), fromBuffer.size());

    ASSERT_FALSE(steps.empty());
    for (std::size_t i = 1; i < steps.size(); ++i) {
        EXPECT_LE(steps[i - 1].first, steps[i].first);
        EXPECT_EQ(steps[i].second, steps.front().second);
    }
    EXPECT_EQ(steps.back().first, steps.back().second);
}

// dxflib reads code 9 as a header variable and a dxflib comment as a change
// of MTEXT angle units wherever they stand; inside entities both are ignored.
TEST(DxfLoadTest, StrayHeaderCodesInsideEntitiesChangeNothing) {
    const std::string file =
        "0\nSECTION\n2\nENTITIES\n"
        "0\nLWPOLYLINE\n8\n0\n90\n2\n10\n1\n20\n2\n9\n$PDMODE\n999\ndxflib 3.26.4.0\n"
        "10\n3\n20\n4\n"
        "0\nMTEXT\n8\n0\n10\n0\n20\n0\n40\n1\n1\nx\n50\n1.5707963267948966\n"
        "0\nENDSEC\n0\nEOF\n";
    const Drawing drawing = loadDxf(std::string_view(file));
    ASSERT_EQ(drawing.size(), 2u);
    EXPECT_EQ(drawing.coordinates(drawing.entities()[0].id), (std::vector<double>{1, 2, 3, 4}));
    EXPECT_DOUBLE_EQ(as<MText>(drawing.entities()[1]).angle, 90);
}

// Arcs, old-style polylines and whole numbers as other programs write them,
// read back as the commands ask for them.
TEST(DxfLoadTest, PiecesOldPolylinesAndWholeNumbersWrittenAsReals) {
    using testing::Read;
    const auto polyline = [](const std::string& codes) {
        return "0\nPOLYLINE\n8\nAT1\n66\n1\n30\n7\n" + codes +
               "0\nVERTEX\n8\nAT1\n10\n1\n20\n2\n30\n5\n42\n0.5\n"
               "0\nVERTEX\n8\nAT1\n10\n3\n20\n4\n30\n6\n0\nSEQEND\n";
    };
    const std::string mirroredArc =
        "0\nARC\n8\nAT1\n10\n10\n20\n20\n40\n5\n50\n0\n51\n90\n"
        "210\n0\n220\n0\n230\n-1\n";
    const std::string down = "210\n0\n220\n0\n230\n-1\n";
    struct Row {
        const char* name;
        std::string entities;
        int type;
        Read read;
        std::vector<double> expected;
    };
    const Row rows[] = {
        {"mirrored arc: its normal", mirroredArc, 4, Read::Normal, {0, 0, -1}},
        {"mirrored arc: its start with X turned round", mirroredArc, 4, Read::Start, {-15, 20, 0}},
        {"2D polyline: X, Y and elevation",
         polyline("70\n0\n"),
         23,
         Read::Coordinates,
         {1, 2, 7, 3, 4, 7}},
        {"2D polyline: its normal", polyline("70\n0\n" + down), 23, Read::Normal, {0, 0, -1}},
        {"2D polyline: curve-fit", polyline("70\n2\n"), 23, Read::Type, {1}},
        {"2D polyline: quadratic B-spline", polyline("70\n4\n75\n5\n"), 23, Read::Type, {2}},
        {"2D polyline: cubic B-spline", polyline("70\n4\n75\n6\n"), 23, Read::Type, {3}},
        {"3D polyline: numbered apart, each vertex its Z",
         polyline("70\n8\n"),
         2,
         Read::Coordinates,
         {1, 2, 5, 3, 4, 6}},
        {"3D polyline's flag written as a real",
         polyline("70\n8.00\n"),
         2,
         Read::Coordinates,
         {1, 2, 5, 3, 4, 6}},
        {"vertex count written as a real",
         "0\nLWPOLYLINE\n8\nAT1\n90\n2.0000\n70\n0\n10\n1\n20\n2\n10\n3\n20\n4\n",
         24,
         Read::Coordinates,
         {1, 2, 3, 4}},
    };
    for (const Row& row : rows) {
        const std::string file = "0\nSECTION\n2\nENTITIES\n" + row.entities + "0\nENDSEC\n0\nEOF\n";
        Drawing drawing;
        try {
            drawing = loadDxf(std::string_view(file));
        } catch (const LoadError& error) {
            ADD_FAILURE() << row.name << ": " << error.reason();
            continue;
        }
        ASSERT_EQ(drawing.size(), 1u) << row.name;
        const Entity& entity = drawing.entities().front();
        EXPECT_EQ(entity.entityType(), row.type) << row.name;
        EXPECT_EQ(entity.layer, "AT1") << row.name;
        EXPECT_EQ(testing::answer(drawing, entity.id, row.read), row.expected) << row.name;
    }
}

TEST(DxfRoundTripTest, NormalsFitsAndThreeDPolylinesSurviveR2000) {
    Drawing original;
    original.add(Arc{{10, 20, 0}, 5, 30, 120, {0, 0, -1}});
    Polyline2d old;
    old.vertices = {{0, 0, 0.5}, {1, 1, 0}};
    old.normal = {0, 0, -1};
    old.fit = 2;
    original.add(old);
    Polyline3d spatial;
    spatial.vertices = {{0, 0, 0}, {1, 1, 0}};
    spatial.z = {2, 3};
    original.add(spatial);
    TemporaryFile file("pieces.dxf");
    saveDxfFile(original, file.path());
    const Drawing loaded = loadDxfFile(file.path());
    ASSERT_EQ(loaded.size(), 3u);
    const auto& e = loaded.entities();
    EXPECT_EQ(as<Arc>(e[0]).normal, (cad::Point{0, 0, -1}));
    EXPECT_EQ(as<Polyline2d>(e[1]).normal, (cad::Point{0, 0, -1}));
    EXPECT_EQ(as<Polyline2d>(e[1]).fit, 2);
    EXPECT_EQ(as<Polyline2d>(e[1]).vertices, old.vertices);
    EXPECT_EQ(loaded.coordinates(e[2].id), (std::vector<double>{0, 0, 2, 1, 1, 3}));
}

TEST(DxfLoadTest, MissingFile) {
    try {
        loadDxfFile((kData / "no_such_file.dxf").string());
        FAIL() << "loaded a missing file";
    } catch (const LoadError& error) {
        EXPECT_EQ(error.userText(), "无法读取图形文件：文件不存在或无法打开");
    }
}

// Every hostile file is refused with a reason, never loaded in part.
TEST(DxfLoadTest, HostileFilesAreRefusedWithAReason) {
    struct Row {
        const char* file;
        const char* reason;
    };
    const Row rows[] = {
        {"empty.dxf", "文件是空的"},
        {"blank_lines.dxf", "文件是空的"},
        {"binary_dxf.dxf", "缺少结束标记 EOF"},  // a sentinel, then no whole group
        {"random_bytes.dxf", "二进制数据"},
        {"plain_text.dxf", "不是 DXF 文件"},
        {"truncated.dxf", "缺少结束标记 EOF"},
        {"truncated_after_code.dxf", "缺少结束标记 EOF"},
        {"no_eof.dxf", "缺少结束标记 EOF"},
        {"absurd_vertex_count.dxf", "顶点数 2147483647 不合理"},
        {"vertex_count_with_fraction.dxf", "顶点数无效"},
        {"negative_vertex_count.dxf", "顶点数 -4 不合理"},
        {"vertex_count_mismatch.dxf", "声明了 5 个顶点，实际读到 3 个"},
        {"vertex_without_polyline.dxf", "顶点不属于任何多段线（第 18 行）"},
        {"bulge_before_vertex.dxf", "凸度出现在第一个顶点之前"},
        {"missing_seqend.dxf", "缺少结束标记 SEQEND"},
        {"long_line.dxf", "过长的行"},
        {"bad_group_code.dxf", "应为组码（第 9 行）"},
    };
    for (const Row& row : rows) {
        const fs::path path = kData / "hostile" / row.file;
        ASSERT_TRUE(fs::exists(path)) << row.file;
        try {
            loadDxfFile(path.string());
            ADD_FAILURE() << row.file << " loaded";
        } catch (const LoadError& error) {
            EXPECT_NE(error.reason().find(row.reason), std::string::npos)
                << row.file << ": " << error.reason();
            EXPECT_EQ(error.userText(), std::string("无法读取图形文件：") + error.reason());
        }
    }
}

// Cutting a good file anywhere before its end marker never gives a drawing.
TEST(DxfLoadTest, EveryTruncationIsRefused) {
    const std::string bytes = readFile(kExamples / "tendon.dxf");
    const std::size_t end = bytes.rfind("EOF");
    ASSERT_NE(end, std::string::npos);
    for (std::size_t length = 0; length < end; length += 97) {
        EXPECT_THROW(loadDxf(std::string_view(bytes).substr(0, length)), LoadError) << length;
    }
}

}  // namespace
}  // namespace tendra::board
