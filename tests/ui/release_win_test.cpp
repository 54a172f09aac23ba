// What a player downloads: Dealwarden.exe needs no DLL beyond Windows' own
// and carries its manifest, version and icon.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "ui/SeisekiF_win.h"
#include "ui/resource_ids.h"

namespace {

std::vector<char> ReadAll(const char* path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

// The DLL names of the import directory of an exe built like this test (PE32+
// on x86-64, PE32 on x86), upper-cased.
std::vector<std::string> ImportedDlls(const std::vector<char>& file) {
    std::vector<std::string> dlls;
    if (file.size() < sizeof(IMAGE_DOS_HEADER)) return dlls;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(file.data());
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(file.data() + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE ||
        nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR_MAGIC)
        return dlls;
    const auto* sections = IMAGE_FIRST_SECTION(nt);
    const auto offsetOf = [&](DWORD rva) -> size_t {
        for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
            const auto& s = sections[i];
            if (rva >= s.VirtualAddress &&
                rva < s.VirtualAddress + std::max(s.Misc.VirtualSize, s.SizeOfRawData))
                return rva - s.VirtualAddress + s.PointerToRawData;
        }
        return 0;
    };
    const DWORD importRva =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (size_t at = offsetOf(importRva); at && at + sizeof(IMAGE_IMPORT_DESCRIPTOR) <= file.size();
         at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(file.data() + at);
        if (d->Name == 0) break;
        std::string name(file.data() + offsetOf(d->Name));
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return std::toupper(c); });
        dlls.push_back(name);
    }
    return dlls;
}

TEST(ReleaseTest, ImportsOnlyWindowsOwnDlls) {
    const std::set<std::string> windowsOwn = {"KERNEL32.DLL", "USER32.DLL", "GDI32.DLL",
                                              "COMCTL32.DLL", "MSVCRT.DLL", "ADVAPI32.DLL",
                                              "SHELL32.DLL"};
    const auto dlls = ImportedDlls(ReadAll(DW_DEALWARDEN_EXE));
    ASSERT_FALSE(dlls.empty()) << "no import table read";
    for (const auto& dll : dlls)
        EXPECT_TRUE(windowsOwn.count(dll)) << dll << " is not part of Windows";
    EXPECT_TRUE(std::count(dlls.begin(), dlls.end(), "COMCTL32.DLL"))
        << "the up-down control comes from comctl32";
}

class ExeResources : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string path = DW_DEALWARDEN_EXE;
        module_ = LoadLibraryExW(std::wstring(path.begin(), path.end()).c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module_, nullptr);
    }
    void TearDown() override {
        if (module_) FreeLibrary(module_);
    }
    std::string Resource(LPCWSTR type, LPCWSTR name) {
        HRSRC r = FindResourceW(module_, name, type);
        if (!r) return {};
        const char* p = static_cast<const char*>(LockResource(LoadResource(module_, r)));
        return std::string(p, SizeofResource(module_, r));
    }
    HMODULE module_ = nullptr;
};

TEST_F(ExeResources, ManifestAsksForVisualStylesAndNoElevation) {
    const std::string manifest = Resource(RT_MANIFEST, MAKEINTRESOURCEW(1));
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string::npos);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(manifest.find("{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"), std::string::npos)
        << "Windows 7";
    EXPECT_NE(manifest.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"), std::string::npos)
        << "Windows 10/11";
}

TEST_F(ExeResources, VersionNamesTheProductAndTheBuildsVersion) {
    const std::string version = Resource(RT_VERSION, MAKEINTRESOURCEW(VS_VERSION_INFO));
    ASSERT_FALSE(version.empty());
    const auto has = [&](const std::wstring& text) {
        const std::string bytes(reinterpret_cast<const char*>(text.c_str()),
                                text.size() * sizeof(wchar_t));
        return version.find(bytes) != std::string::npos;
    };
    EXPECT_TRUE(has(L"ProductName"));
    EXPECT_TRUE(has(L"Dealwarden"));
    EXPECT_TRUE(has(std::wstring(L"" DW_TEST_PROJECT_VERSION))) << DW_TEST_PROJECT_VERSION;
}

TEST_F(ExeResources, ScoreWindowMenuHasItsOneCommandWithoutAccessKeys) {
    HMENU bar = LoadMenuW(module_, MAKEINTRESOURCEW(DW_IDM_SEISEKI));
    ASSERT_NE(bar, nullptr);
    wchar_t text[128] = {};
    ASSERT_EQ(GetMenuItemCount(bar), 1);
    GetMenuStringW(bar, 0, text, 128, MF_BYPOSITION);
    EXPECT_STREQ(text, L"編集");
    HMENU edit = GetSubMenu(bar, 0);
    ASSERT_EQ(GetMenuItemCount(edit), 1);
    GetMenuStringW(edit, dw::TFCSeisekiF::kIdNo1, text, 128, MF_BYCOMMAND);
    EXPECT_STREQ(text, L"ｹﾞｰﾑNoをｾｯﾄしてからｸﾘｯｸ(一旦終了します)");
    DestroyMenu(bar);
}

TEST_F(ExeResources, CarriesItsIcon) {
    EXPECT_FALSE(Resource(RT_GROUP_ICON, MAKEINTRESOURCEW(1)).empty());
}

}  // namespace
