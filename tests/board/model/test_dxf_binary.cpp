// Binary DXF: values of every type read back as text, one- and two-byte
// group codes, and files cut short or carrying codes of no known type.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

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
