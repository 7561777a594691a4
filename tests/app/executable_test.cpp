// The built tavrel.exe as Windows sees it: a 64-bit GUI image that imports only system
// DLLs and carries its manifest, version block and icon.

#include "sys/files.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace tavrel {
namespace {

std::filesystem::path programPath() {
    // Test binaries live in build/tests, the program in build.
    return modulePath().parent_path().parent_path() / L"tavrel.exe";
}

class ExecutableTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::ifstream file(programPath(), std::ios::binary);
        ASSERT_TRUE(file) << programPath();
        image.assign(std::istreambuf_iterator<char>(file), {});
        module = LoadLibraryExW(programPath().c_str(), nullptr,
                                LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module, nullptr);
    }
    void TearDown() override {
        if (module) FreeLibrary(module);
    }

    template <typename T>
    const T* at(std::size_t offset) const {
        return reinterpret_cast<const T*>(image.data() + offset);
    }
    const IMAGE_NT_HEADERS64* headers() const { return at<IMAGE_NT_HEADERS64>(at<IMAGE_DOS_HEADER>(0)->e_lfanew); }

    // File offset of a relative virtual address.
    std::size_t offsetOf(DWORD rva) const {
        const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(headers());
        for (WORD i = 0; i < headers()->FileHeader.NumberOfSections; ++i, ++section)
            if (rva >= section->VirtualAddress && rva < section->VirtualAddress + section->Misc.VirtualSize)
                return rva - section->VirtualAddress + section->PointerToRawData;
        ADD_FAILURE() << "address outside every section";
        return 0;
    }

    std::string resource(const wchar_t* type, int id) const {
        const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
        if (!found) return {};
        const char* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
        return std::string(data, SizeofResource(module, found));
    }

    std::vector<char> image;
    HMODULE module = nullptr;
};

TEST_F(ExecutableTest, IsA64BitGuiImage) {
    EXPECT_EQ(headers()->Signature, IMAGE_NT_SIGNATURE);
    EXPECT_EQ(headers()->FileHeader.Machine, IMAGE_FILE_MACHINE_AMD64);
    EXPECT_EQ(headers()->OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR64_MAGIC);
    EXPECT_EQ(headers()->OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
}

TEST_F(ExecutableTest, ImportsOnlyWindowsSystemLibraries) {
    const std::set<std::string> system = {"advapi32.dll", "comctl32.dll", "gdi32.dll",   "gdiplus.dll",
                                          "kernel32.dll", "msvcrt.dll",   "ole32.dll",   "oleaut32.dll",
                                          "shell32.dll",  "shlwapi.dll",  "user32.dll",  "winhttp.dll",
                                          "xmllite.dll",  "version.dll",  "wtsapi32.dll", "psapi.dll",
                                          "dwmapi.dll",   "uxtheme.dll",  "crypt32.dll", "bcrypt.dll"};
    const IMAGE_DATA_DIRECTORY& directory = headers()->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    ASSERT_NE(directory.VirtualAddress, 0u);
    std::set<std::string> imported;
    for (auto* entry = at<IMAGE_IMPORT_DESCRIPTOR>(offsetOf(directory.VirtualAddress)); entry->Name; ++entry) {
        std::string name = at<char>(offsetOf(entry->Name));
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
        imported.insert(name);
    }
    EXPECT_TRUE(imported.count("kernel32.dll"));
    for (const std::string& name : imported) EXPECT_TRUE(system.count(name)) << name << " is not a system DLL";
}

TEST_F(ExecutableTest, ManifestAsksForCommonControls6DpiLongPathsAndWindows10) {
    const std::string manifest = resource(RT_MANIFEST, 1);
    ASSERT_FALSE(manifest.empty());
    for (const char* part : {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
                             ">PerMonitorV2</dpiAwareness>", ">true</longPathAware>", "level=\"asInvoker\"",
                             "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>"})
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
}

TEST_F(ExecutableTest, VersionBlockSays153) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(programPath().c_str(), &ignored);
    ASSERT_NE(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(programPath().c_str(), 0, size, block.data()));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length));
    EXPECT_EQ(info->dwFileVersionMS, MAKELONG(5, 1));
    EXPECT_EQ(info->dwFileVersionLS, MAKELONG(0, 3));
    EXPECT_EQ(info->dwProductVersionMS, MAKELONG(5, 1));
    EXPECT_EQ(info->dwProductVersionLS, MAKELONG(0, 3));
    wchar_t* text = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\StringFileInfo\\040904B0\\ProductVersion",
                               reinterpret_cast<void**>(&text), &length));
    EXPECT_STREQ(text, L"1.5.3");
}

#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width, height, colors, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST_F(ExecutableTest, IconOneHoldsPngImagesOfEverySize) {
    const std::string group = resource(RT_GROUP_ICON, 1);
    ASSERT_GE(group.size(), 6u);
    const WORD count = *reinterpret_cast<const WORD*>(group.data() + 4);
    ASSERT_EQ(group.size(), 6u + count * sizeof(IconGroupEntry));
    const auto* entries = reinterpret_cast<const IconGroupEntry*>(group.data() + 6);
    std::vector<int> sizes;
    for (WORD i = 0; i < count; ++i) {
        const int size = entries[i].width == 0 ? 256 : entries[i].width;
        sizes.push_back(size);
        EXPECT_EQ(entries[i].width, entries[i].height);
        const std::string image = resource(RT_ICON, entries[i].id);
        EXPECT_EQ(image.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8)) << size << " px is not a PNG";
        // The PNG's own header must agree with the directory.
        ASSERT_GE(image.size(), 24u);
        const auto* width = reinterpret_cast<const unsigned char*>(image.data() + 16);
        EXPECT_EQ((width[0] << 24) | (width[1] << 16) | (width[2] << 8) | width[3], size);
    }
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, (std::vector<int>{16, 20, 24, 32, 40, 48, 64, 96, 128, 256}));
    // Windows picks the image for the size it asks for.
    const HICON icon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(1), IMAGE_ICON, 32, 32, 0));
    EXPECT_NE(icon, nullptr);
    if (icon) DestroyIcon(icon);
}

}  // namespace
}  // namespace tavrel
