// Binary DXF: values of every type read back as text, one- and two-byte
// group codes, a file laid out byte by byte as the format describes it, and
// files cut short or carrying codes of no known type.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <variant>

#include "cad/board/model/dxf.h"
#include "cad/board/model/dxf_binary.h"

namespace tendra::board {
namespace {

namespace fs = std::filesystem;

const fs::path kData = TENDRA_TEST_DATA;

std::string readFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

TEST(DxfBinaryTest, ValuesOfEveryTypeComeBackAsText) {
    struct Row {
        const char* name;
        std::string text;
    };
    const Row rows[] = {
        {"string", "0\nSECTION\n"},
        {"real", "10\n1.5\n"},
        {"negative real", "20\n-0.125\n"},
        {"16-bit integer", "70\n-3\n"},
        {"32-bit integer", "90\n100000\n"},
        {"64-bit integer", "160\n5000000000\n"},
        {"boolean", "290\n1\n"},
        {"binary chunk", "310\n0AFF10\n"},
        {"handle", "5\n1F\n"},
        {"extended data real", "1040\n2.25\n"},
        {"comment", "999\nmade by hand\n"},
        {"empty string", "1\n\n"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(dxf::binaryToText(dxf::textToBinary(row.text)), row.text) << row.name;
    }
}

// R12 writes one-byte codes, 255 before a two-byte one.
TEST(DxfBinaryTest, OneByteCodes) {
    std::string bytes(dxf::kBinarySentinel);
    bytes += std::string("\0SECTION\0", 9);
    bytes += std::string(
        "\x02"
        "ENTITIES\0",
        10);
    bytes += std::string("\x0a", 1);
    const double x = 2.5;
    char raw[8];
    std::memcpy(raw, &x, 8);
    bytes.append(raw, 8);
    bytes += std::string(
        "\xff\xe8\x03"
        "xdata\0",
        9);  // 1000
    EXPECT_EQ(dxf::binaryToText(bytes), "0\nSECTION\n2\nENTITIES\n10\n2.5\n1000\nxdata\n");
}

// Writes a binary DXF with two-byte codes, each value in the width its
// code's range gives it, all little-endian; independent of the reader's
// own textToBinary, so that a width both got wrong still shows.
class BinaryDxfWriter {
  public:
    BinaryDxfWriter() : bytes_("AutoCAD Binary DXF\r\n\x1a", 21) { bytes_ += '\0'; }
    BinaryDxfWriter& string(int code, std::string_view value) {
        groupCode(code);
        bytes_ += value;
        bytes_ += '\0';
        return *this;
    }
    BinaryDxfWriter& real(int code, double value) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &value, 8);
        groupCode(code);
        little(bits, 8);
        return *this;
    }
    BinaryDxfWriter& int16(int code, std::int16_t value) { return integer(code, value, 2); }
    BinaryDxfWriter& int32(int code, std::int32_t value) { return integer(code, value, 4); }
    BinaryDxfWriter& int64(int code, std::int64_t value) { return integer(code, value, 8); }
    BinaryDxfWriter& boolean(int code, bool value) {
        groupCode(code);
        bytes_ += static_cast<char>(value ? 1 : 0);
        return *this;
    }
    // A length byte, then the bytes.
    BinaryDxfWriter& chunk(int code, std::string_view data) {
        groupCode(code);
        bytes_ += static_cast<char>(data.size());
        bytes_ += data;
        return *this;
    }
    const std::string& bytes() const { return bytes_; }

  private:
    void groupCode(int code) { little(static_cast<std::uint16_t>(code), 2); }
    BinaryDxfWriter& integer(int code, std::int64_t value, int width) {
        groupCode(code);
        little(static_cast<std::uint64_t>(value), width);
        return *this;
    }
    void little(std::uint64_t value, int width) {
        for (int i = 0; i < width; ++i) {
            bytes_ += static_cast<char>((value >> (8 * i)) & 0xFF);
        }
    }
    std::string bytes_;
};

// A header, a line, a point with extended data and proxy graphics, and a
// closed lightweight polyline: codes of every width the format has.
std::string handMadeBinary() {
    BinaryDxfWriter w;
    w.string(0, "SECTION").string(2, "HEADER");
    w.string(9, "$ACADVER").string(1, "AC1015");
    w.string(9, "$PDMODE").int16(70, 3);
    w.string(9, "$ENDCAPS").int16(280, 1);
    w.string(9, "$LWDISPLAY").boolean(290, true);
    w.string(0, "ENDSEC");
    w.string(0, "SECTION").string(2, "ENTITIES");
    w.string(0, "LINE").string(5, "1F").string(100, "AcDbEntity").string(8, "TENDON");
    w.int16(62, 1).int16(284, 2).string(100, "AcDbLine");
    w.real(10, 0).real(20, 0).real(30, 0).real(11, 100).real(21, 50).real(31, 0);
    w.string(0, "POINT").string(8, "0").int16(62, 3);
    w.int64(160, 2).chunk(310, std::string("\x0a\xff", 2));
    w.real(10, 10.5).real(20, -20.25).real(30, 0);
    w.string(1001, "TENDRA").string(1000, "node").string(1002, "{").real(1040, 2.5);
    w.int16(1070, -7).int32(1071, 100000).chunk(1004, std::string("\x01\x02\x03", 3));
    w.real(1010, 1).real(1020, 2).real(1030, 3).string(1002, "}");
    w.string(0, "LWPOLYLINE").string(8, "0").int32(90, 3).int16(70, 1);
    w.real(10, 0).real(20, 0);
    w.real(10, 10).real(20, 0).real(42, 0.5);
    w.real(10, 10).real(20, 10);
    w.real(210, 0).real(220, 0).real(230, -1);
    w.string(0, "ENDSEC").string(0, "EOF");
    return w.bytes();
}

TEST(DxfBinaryTest, HandMadeFileReadsAsItsTextForm) {
    EXPECT_EQ(dxf::binaryToText(handMadeBinary()),
              "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n9\n$PDMODE\n70\n3\n"
              "9\n$ENDCAPS\n280\n1\n9\n$LWDISPLAY\n290\n1\n0\nENDSEC\n"
              "0\nSECTION\n2\nENTITIES\n"
              "0\nLINE\n5\n1F\n100\nAcDbEntity\n8\nTENDON\n62\n1\n284\n2\n100\nAcDbLine\n"
              "10\n0\n20\n0\n30\n0\n11\n100\n21\n50\n31\n0\n"
              "0\nPOINT\n8\n0\n62\n3\n160\n2\n310\n0AFF\n10\n10.5\n20\n-20.25\n30\n0\n"
              "1001\nTENDRA\n1000\nnode\n1002\n{\n1040\n2.5\n1070\n-7\n1071\n100000\n"
              "1004\n010203\n1010\n1\n1020\n2\n1030\n3\n1002\n}\n"
              "0\nLWPOLYLINE\n8\n0\n90\n3\n70\n1\n10\n0\n20\n0\n10\n10\n20\n0\n42\n0.5\n"
              "10\n10\n20\n10\n210\n0\n220\n0\n230\n-1\n"
              "0\nENDSEC\n0\nEOF\n");
}

TEST(DxfBinaryTest, HandMadeFileLoadsItsEntities) {
    const Drawing drawing = loadDxf(handMadeBinary());
    EXPECT_EQ(drawing.pointDisplayMode(), 3);
    ASSERT_EQ(drawing.entities().size(), 3u);

    const Entity& line = drawing.entities()[0];
    EXPECT_EQ(line.layer, "TENDON");
    EXPECT_EQ(line.color, 1);
    ASSERT_TRUE(std::holds_alternative<Line>(line.geometry));
    EXPECT_EQ(std::get<Line>(line.geometry).start, (cad::Point{0, 0, 0}));
    EXPECT_EQ(std::get<Line>(line.geometry).end, (cad::Point{100, 50, 0}));

    const Entity& point = drawing.entities()[1];
    EXPECT_EQ(point.color, 3);
    ASSERT_TRUE(std::holds_alternative<PointEntity>(point.geometry));
    EXPECT_EQ(std::get<PointEntity>(point.geometry).at, (cad::Point{10.5, -20.25, 0}));

    const Entity& polyline = drawing.entities()[2];
    ASSERT_TRUE(std::holds_alternative<LightweightPolyline>(polyline.geometry));
    const auto& shape = std::get<LightweightPolyline>(polyline.geometry);
    EXPECT_EQ(shape.vertices, (std::vector<PolylineVertex>{{0, 0, 0}, {10, 0, 0.5}, {10, 10, 0}}));
    EXPECT_TRUE(shape.closed);
    EXPECT_EQ(shape.normal, (cad::Point{0, 0, -1}));
}

// A binary file cut anywhere is refused, never loaded in part.
TEST(DxfBinaryTest, EveryTruncationIsRefused) {
    const std::string binary = readFile(kData / "blocks_binary.dxf");
    ASSERT_GT(binary.size(), 100u);
    for (std::size_t size = 18; size < binary.size(); size += 7) {
        try {
            loadDxf(std::string_view(binary).substr(0, size));
            ADD_FAILURE() << "loaded when cut at " << size;
        } catch (const LoadError& error) {
            EXPECT_FALSE(error.reason().empty()) << size;
        }
    }
    try {
        loadDxf(std::string_view(binary).substr(0, binary.size() - 3));
        ADD_FAILURE() << "loaded without its end";
    } catch (const LoadError& error) {
        EXPECT_NE(error.reason().find("缺少结束标记 EOF"), std::string::npos) << error.reason();
    }
}

TEST(DxfBinaryTest, UnknownCodeIsRefused) {
    std::string bytes(dxf::kBinarySentinel);
    bytes += std::string("\x00\x00SECTION\0\x58\x02", 12);  // code 600 has no type
    try {
        dxf::binaryToText(bytes);
        ADD_FAILURE() << "code 600 accepted";
    } catch (const LoadError& error) {
        EXPECT_NE(error.reason().find("未知组码 600"), std::string::npos) << error.reason();
    }
}

}  // namespace
}  // namespace tendra::board
