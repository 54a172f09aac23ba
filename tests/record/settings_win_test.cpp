#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "record/portable_profile.h"
#include "record/profile_win.h"
#include "record/settings.h"
#include "tests/record/settings_cases.h"
#include "win/handles_win.h"
#include "win/system_error_win.h"

namespace dw {
namespace settings_test {
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, SettingsFileTest, Win32ProfileFiles);
}  // namespace settings_test

namespace {

using settings_test::Contains;
using settings_test::ReadAll;
using settings_test::SampleRecord;
using settings_test::TempDir;
using settings_test::Utf16Le;

namespace fs = std::filesystem;

class CrossProfileTest : public ::testing::Test {
protected:
    TempDir dir;
    std::wstring ini = (dir.path() / "Dealwarden.Ini").wstring();
    PortableProfileFiles portable;
    Win32ProfileFiles windows;

    TFCGameRecord ReadWith(ProfileFiles& files, bool& ren) {
        TFCGameRecord r;
        IniRead(files, ini, r, ren);
        return r;
    }
};

TEST_F(CrossProfileTest, EitherWritersFileReadsTheSameThroughTheOther) {
    const TFCGameRecord r = SampleRecord();
    bool ren = false;

    IniWrite(portable, ini, r, true);
    const std::string portableBytes = ReadAll(ini);
    EXPECT_EQ(ReadWith(windows, ren), r);
    EXPECT_TRUE(ren);

    std::filesystem::remove(ini);
    IniWrite(windows, ini, r, true);
    EXPECT_EQ(ReadAll(ini), portableBytes);  // the same layout, byte for byte
    EXPECT_EQ(ReadWith(portable, ren), r);
    EXPECT_TRUE(ren);

    // Taking turns on one file.
    TFCGameRecord next = r;
    next.CountWin();
    IniWrite(portable, ini, next, false);
    EXPECT_EQ(ReadWith(windows, ren), settings_test::Stored(next));
    next.CountFailedTry();
    IniWrite(windows, ini, next, true);
    EXPECT_EQ(ReadWith(portable, ren), settings_test::Stored(next));
    EXPECT_TRUE(ren);
}

// The fault the byte order mark mends: on a code page without Japanese, a
// file the profile functions create themselves loses the history.
TEST(Win32ProfileFilesTest, JapaneseHistorySurvivesOnANonJapaneseCodePage) {
    if (GetACP() == 932) GTEST_SKIP() << "the ANSI code page holds Japanese here";
    TempDir dir;
    const std::wstring plain = (dir.path() / "plain.Ini").wstring();
    const std::wstring line = L"57 負け（3回）";
    ASSERT_TRUE(WritePrivateProfileStringW(L"Hist", L"hist0", line.c_str(), plain.c_str()));
    wchar_t buf[64] = {};
    GetPrivateProfileStringW(L"Hist", L"hist0", L"", buf, 64, plain.c_str());
    ASSERT_NE(buf, line) << "this code page keeps Japanese; the case shows nothing";

    Win32ProfileFiles files;
    const std::wstring ini = (dir.path() / "Dealwarden.Ini").wstring();
    TFCGameRecord r;
    r.PushHist(line);
    IniWrite(files, ini, r, false);
    TFCGameRecord back;
    bool ren = true;
    IniRead(files, ini, back, ren);
    EXPECT_EQ(back.hist[0], line);
    EXPECT_TRUE(Contains(ReadAll(ini), Utf16Le(u"hist0=57 負け（3回）\r\n", false)));
}

TEST(Win32ProfileFilesTest, AFileHeldOpenWithoutSharingIsUnusableUntilItIsLetGo) {
    TempDir dir;
    const std::wstring ini = (dir.path() / "Dealwarden.Ini").wstring();
    Win32ProfileFiles files;
    IniWrite(files, ini, SampleRecord(), false);
    ASSERT_EQ(files.Unusable(ini), std::nullopt);
    {
        win::UniqueHandle held(CreateFileW(ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(held);
        const auto reason = files.Unusable(ini);
        ASSERT_TRUE(reason.has_value());
        EXPECT_FALSE(reason->empty());
        EXPECT_EQ(*reason, win::SystemErrorText(ERROR_SHARING_VIOLATION));
    }
    EXPECT_EQ(files.Unusable(ini), std::nullopt);
    TFCGameRecord back;
    bool ren = true;
    IniRead(files, ini, back, ren);
    EXPECT_EQ(back, SampleRecord()) << "the probe changed nothing";
}

TEST(Win32ProfileFilesTest, TheLengthRulesReasonIsTheSystemsTextForANameTooLong) {
    TempDir dir;
    const std::wstring base = (dir.path() / "").wstring();
    const std::wstring path =
        base + std::wstring(kMaxSettingsPathChars + 1 - base.size() - 4, L'n') + L".Ini";
    EXPECT_EQ(Win32ProfileFiles().Unusable(path), win::SystemErrorText(ERROR_FILENAME_EXCED_RANGE));
}

// Where a program kept at the longest path the system accepts keeps its settings.
TEST(Win32ProfileFilesTest, ASettingsPathOfTheLongestLengthSavesReadsBackAndLeavesNoCopy) {
    TempDir dir;
    const std::wstring name = L"Dealwarden.Ini";
    // Folders nested until the file's path is exactly the longest: no name
    // of a folder is near the limit on its own.
    fs::path folder = dir.path();
    const std::size_t target = kMaxSettingsPathChars - 1 - name.size();
    ASSERT_LT(folder.wstring().size() + 1, target);
    while (folder.wstring().size() < target) {
        const std::size_t left = target - folder.wstring().size();  // a separator and a name
        std::size_t len = std::min<std::size_t>(40, left - 1);
        if (left - 1 - len == 1) --len;  // never leave room for a separator alone
        folder /= std::wstring(len, L'd');
    }
    ASSERT_TRUE(fs::create_directories(folder));
    const std::wstring ini = (folder / name).wstring();
    ASSERT_EQ(ini.size(), kMaxSettingsPathChars);

    Win32ProfileFiles files;
    EXPECT_EQ(files.Unusable(ini), std::nullopt);
    TFCGameRecord r = SampleRecord();
    IniWrite(files, ini, r, true);  // a new file
    r.CountWin();
    IniWrite(files, ini, r, false);  // replacing it
    TFCGameRecord back;
    bool ren = true;
    IniRead(files, ini, back, ren);
    EXPECT_EQ(back, settings_test::Stored(r));
    EXPECT_FALSE(ren);
    EXPECT_EQ(files.Unusable(ini), std::nullopt);

    std::vector<std::wstring> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
    EXPECT_EQ(names, std::vector<std::wstring>{name}) << "the save's copy was left behind";
}

}  // namespace
}  // namespace dw
