// tendra.exe as the one file a Windows user copies: a Unicode GUI program
// carrying its icon, pictures, cursor and manifest.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

// Beside this test program's folder: tests/win32/ and app/win32/ of one build.
std::wstring programPath() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    for (int up = 0; up < 3; ++up) {
        path.resize(path.find_last_of(L"\\/"));
    }
    return path + L"\\app\\win32\\tendra.exe";
}

class ProgramFile : public ::testing::Test {
  protected:
    void SetUp() override {
        module_ = LoadLibraryExW(programPath().c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module_, nullptr) << "tendra.exe is built beside the tests";
    }
    void TearDown() override {
        if (module_) {
            FreeLibrary(module_);
        }
    }
    std::string resource(const wchar_t* name, const wchar_t* type) {
        HRSRC found = FindResourceW(module_, name, type);
        if (!found) {
            return {};
        }
        const char* data = static_cast<const char*>(LockResource(LoadResource(module_, found)));
        return std::string(data, SizeofResource(module_, found));
    }

    HMODULE module_ = nullptr;
};

TEST_F(ProgramFile, CarriesEveryPictureItShows) {
    struct Row {
        const wchar_t* name;
        const wchar_t* type;
    };
    const Row rows[] = {{L"TENDRA", RT_GROUP_ICON}, {L"KEY", RT_GROUP_ICON},
                        {L"IMAGE1", RT_BITMAP},     {L"MINIMISE", RT_BITMAP},
                        {L"QUIT", RT_BITMAP},       {L"HAND", RT_GROUP_CURSOR}};
    for (const Row& row : rows) {
        EXPECT_FALSE(resource(row.name, row.type).empty()) << static_cast<const void*>(row.name);
    }
}

TEST_F(ProgramFile, PicturesHaveTheirDesignedSizes) {
    struct Row {
        const wchar_t* name;
        LONG width, height;
    };
    const Row rows[] = {{L"IMAGE1", 992, 218}, {L"MINIMISE", 128, 128}, {L"QUIT", 128, 128}};
    for (const Row& row : rows) {
        const std::string bitmap = resource(row.name, RT_BITMAP);
        ASSERT_GE(bitmap.size(), sizeof(BITMAPINFOHEADER));
        BITMAPINFOHEADER header;
        std::memcpy(&header, bitmap.data(), sizeof header);
        EXPECT_EQ(header.biWidth, row.width);
        EXPECT_EQ(std::abs(header.biHeight), row.height);
    }
}

TEST_F(ProgramFile, HandCursorIsTwoColour32x32WithItsHotSpotAtTheFingertip) {
    // The group names one cursor image; its data starts with the hot spot.
    const std::string group = resource(L"HAND", RT_GROUP_CURSOR);
    ASSERT_GE(group.size(), 6u + 14u);
    WORD count = 0, id = 0;
    std::memcpy(&count, group.data() + 4, 2);
    std::memcpy(&id, group.data() + 6 + 12, 2);
    ASSERT_EQ(count, 1);
    const std::string cursor = resource(MAKEINTRESOURCEW(id), RT_CURSOR);
    ASSERT_GE(cursor.size(), 4u + sizeof(BITMAPINFOHEADER));
    WORD hotX = 99, hotY = 99;
    std::memcpy(&hotX, cursor.data(), 2);
    std::memcpy(&hotY, cursor.data() + 2, 2);
    BITMAPINFOHEADER header;
    std::memcpy(&header, cursor.data() + 4, sizeof header);
    EXPECT_EQ(hotX, 6);
    EXPECT_EQ(hotY, 0);
    EXPECT_EQ(header.biWidth, 32);
    EXPECT_EQ(header.biHeight, 64) << "image and mask";
    EXPECT_EQ(header.biBitCount, 1);
}

TEST_F(ProgramFile, ManifestAsksForCommonControls6AndPerMonitorDpi) {
    const std::string manifest = resource(MAKEINTRESOURCEW(1), RT_MANIFEST);
    for (const char* needed :
         {"Microsoft.Windows.Common-Controls", "version=\"6.0.0.0\"", "PerMonitorV2", "true/pm"}) {
        EXPECT_NE(manifest.find(needed), std::string::npos) << needed;
    }
}

TEST(ProgramHeader, IsAWindowsGuiProgram) {
    std::ifstream file(std::filesystem::path(programPath()), std::ios::binary);
    ASSERT_TRUE(file);
    IMAGE_DOS_HEADER dos;
    file.read(reinterpret_cast<char*>(&dos), sizeof dos);
    file.seekg(dos.e_lfanew);
    IMAGE_NT_HEADERS64 nt;
    file.read(reinterpret_cast<char*>(&nt), sizeof nt);
    ASSERT_EQ(nt.Signature, IMAGE_NT_SIGNATURE);
    EXPECT_EQ(nt.OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
}

}  // namespace
