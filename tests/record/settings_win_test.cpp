#include <windows.h>

#include <gtest/gtest.h>

#include "record/portable_profile.h"
#include "record/settings.h"
#include "tests/record/settings_cases.h"
#include "ui/profile_win.h"

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

}  // namespace
}  // namespace dw
