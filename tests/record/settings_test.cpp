#include "record/settings.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#if defined(__unix__)
#include <sys/resource.h>
#include <unistd.h>
#endif

#include "record/portable_profile.h"
#include "tests/record/settings_cases.h"

namespace dw {
namespace settings_test {
INSTANTIATE_TYPED_TEST_SUITE_P(Portable, SettingsFileTest, PortableProfileFiles);
}  // namespace settings_test

namespace {

using settings_test::ReadAll;
using settings_test::SampleRecord;
using settings_test::TempDir;
using settings_test::Utf16Le;
using settings_test::WriteAll;

TEST(IniFileNameForTest, ReplacesTheExtensionOfTheFileName) {
    static const struct {
        const wchar_t* exe;
        const wchar_t* ini;
    } cases[] = {
        {L"D:\\Games\\tool.exe", L"D:\\Games\\tool.Ini"},
        {L"C:\\Program Files\\Dealwarden\\Dealwarden.EXE",
         L"C:\\Program Files\\Dealwarden\\Dealwarden.Ini"},
        {L"C:\\my.dir\\tool", L"C:\\my.dir\\tool.Ini"},  // a dot in a folder is no extension
        {L"/opt/dw.d/Dealwarden", L"/opt/dw.d/Dealwarden.Ini"},
        {L"C:\\x\\tool.tar.exe", L"C:\\x\\tool.tar.Ini"},
        {L"C:tool.exe", L"C:tool.Ini"},
        {L"\\\\server\\share\\ツール.exe", L"\\\\server\\share\\ツール.Ini"},
    };
    for (const auto& c : cases) EXPECT_EQ(IniFileNameFor(c.exe), c.ini);
}

TEST(IniTempFileNameForTest, TheCopyIsNeverLongerThanAnIniPathAndNeverTheFileItself) {
    static const struct {
        const wchar_t* ini;
        const wchar_t* temp;
    } cases[] = {
        {L"D:\\Games\\tool.Ini", L"D:\\Games\\tool.tmp"},
        {L"C:\\x\\tool.tar.Ini", L"C:\\x\\tool.tar.tmp"},
        {L"/opt/dw.d/Dealwarden.Ini", L"/opt/dw.d/Dealwarden.tmp"},
        {L"C:\\my.dir\\settings", L"C:\\my.dir\\settings.tmp"},
        {L"C:\\x\\tool.cfg", L"C:\\x\\tool.tmp"},
        {L"C:\\x\\tool.tmp", L"C:\\x\\tool.tmp.tmp"},
        {L"C:\\x\\tool.TMP", L"C:\\x\\tool.TMP.tmp"},
    };
    for (const auto& c : cases) EXPECT_EQ(IniTempFileNameFor(c.ini), c.temp);

    // The settings file of the longest exe path the system accepts.
    const std::wstring exe = L"C:\\" + std::wstring(kMaxSettingsPathChars - 7, L'x') + L".exe";
    ASSERT_EQ(exe.size(), kMaxSettingsPathChars);
    const std::wstring ini = IniFileNameFor(exe);
    EXPECT_EQ(ini.size(), kMaxSettingsPathChars);
    EXPECT_FALSE(SettingsPathTooLong(IniTempFileNameFor(ini)));
}

// Records every call; fails the call whose index is failAt.
class RecordingProfileFiles : public ProfileFiles {
public:
    std::vector<std::wstring> calls;
    std::optional<std::size_t> failAt;
    std::wstring answer = L"0x10";  // every read gets this

    std::optional<std::wstring> Unusable(const std::wstring& file) override {
        Step(L"unusable " + file);
        return std::nullopt;
    }
    std::wstring ReadValue(const std::wstring& file, const std::wstring& section,
                           const std::wstring& key) override {
        Step(L"read " + file + L" " + section + L"/" + key);
        return answer;
    }
    bool WriteValue(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                    const std::wstring& value) override {
        return Step(L"write " + file + L" " + section + L"/" + key + L"=" + value);
    }
    bool StartCopy(const std::wstring& file, const std::wstring& copy) override {
        return Step(L"copy " + file + L" " + copy);
    }
    bool ReplaceWith(const std::wstring& copy, const std::wstring& file) override {
        return Step(L"replace " + copy + L" " + file);
    }
    void Remove(const std::wstring& file) override { Step(L"remove " + file); }

private:
    bool Step(std::wstring call) {
        calls.push_back(std::move(call));
        return calls.size() - 1 != failAt;
    }
};

const std::wstring kIni = L"D:\\g\\Dealwarden.Ini";
const std::wstring kTmp = L"D:\\g\\Dealwarden.tmp";

TEST(SameStoredFieldsTest, OnlyWhatTheFileKeepsCounts) {
    const TFCGameRecord base;
    const std::pair<const char*, void (*)(TFCGameRecord&)> changes[] = {
        {"GameNo", [](TFCGameRecord& r) { r.GameNo = 9; }},
        {"TryCnt", [](TFCGameRecord& r) { r.TryCnt = 2; }},
        {"won", [](TFCGameRecord& r) { r.won = 1; }},
        {"wins", [](TFCGameRecord& r) { r.wins = 1; }},
        {"lost", [](TFCGameRecord& r) { r.lost = 1; }},
        {"losses", [](TFCGameRecord& r) { r.losses = 1; }},
        {"streak", [](TFCGameRecord& r) { r.streak = 1; }},
        {"stype", [](TFCGameRecord& r) { r.stype = 1; }},
        {"hist99", [](TFCGameRecord& r) { r.hist[99] = L"x"; }},
    };
    for (const auto& [name, change] : changes) {
        TFCGameRecord r = base;
        change(r);
        EXPECT_FALSE(SameStoredFields(base, r)) << name;
    }
    TFCGameRecord notStored = base;
    notStored.WGameNo = 5;
    notStored.kachi = 3;
    notStored.make = 4;
    EXPECT_TRUE(SameStoredFields(base, notStored));
}

TEST(IniReadTest, ReadsEveryKeyOnceInOrderAndGameNoTwice) {
    RecordingProfileFiles files;
    TFCGameRecord r;
    r.kachi = 3;
    r.make = 4;
    bool ren = false;
    IniRead(files, kIni, r, ren);

    std::vector<std::wstring> expected = {
        L"read " + kIni + L" Game/GameNo",  L"read " + kIni + L" Game/GameNo",
        L"read " + kIni + L" Game/TryCnt",  L"read " + kIni + L" Show/RenMode",
        L"read " + kIni + L" Score/won",    L"read " + kIni + L" Score/wins",
        L"read " + kIni + L" Score/lost",   L"read " + kIni + L" Score/losses",
        L"read " + kIni + L" Score/streak", L"read " + kIni + L" Score/stype"};
    for (int i = 0; i < 100; ++i)
        expected.push_back(L"read " + kIni + L" Hist/hist" + std::to_wstring(i));
    EXPECT_EQ(files.calls, expected);

    EXPECT_EQ(r.GameNo, 16);
    EXPECT_EQ(r.WGameNo, 16);
    EXPECT_EQ(r.stype, 16);
    EXPECT_TRUE(ren);
    EXPECT_EQ(r.hist[99], L"0x10");  // history is text, taken as it is
    EXPECT_EQ(r.kachi, 3);           // this run's counts are not stored
    EXPECT_EQ(r.make, 4);
}

// The full call sequence of a save of SampleRecord with RenMode off.
std::vector<std::wstring> SaveCalls() {
    const TFCGameRecord r = SampleRecord();
    std::vector<std::wstring> calls = {L"copy " + kIni + L" " + kTmp};
    const auto w = [&](const wchar_t* sk, const std::wstring& v) {
        calls.push_back(L"write " + kTmp + L" " + sk + L"=" + v);
    };
    w(L"Game/GameNo", L"58");
    w(L"Game/TryCnt", L"2");
    w(L"Score/won", L"31");
    w(L"Score/wins", L"7");
    w(L"Score/lost", L"-3");
    w(L"Score/losses", L"2147483647");
    w(L"Score/streak", L"4");
    w(L"Score/stype", L"1");
    w(L"Show/RenMode", L"0");
    for (int i = 0; i < 100; ++i) w((L"Hist/hist" + std::to_wstring(i)).c_str(), r.hist[i]);
    calls.push_back(L"replace " + kTmp + L" " + kIni);
    calls.push_back(L"remove " + kTmp);
    return calls;
}

TEST(IniWriteTest, WritesEveryValueIntoTheCopyThenReplacesTheFileOnce) {
    RecordingProfileFiles files;
    IniWrite(files, kIni, SampleRecord(), false);
    const auto expected = SaveCalls();
    EXPECT_EQ(files.calls, expected);
    EXPECT_EQ(files.calls[1 + 9 + 57], L"write " + kTmp + L" Hist/hist57=");
}

TEST(IniWriteTest, AFailedStepStopsTheSaveWithThePathAndDropsTheCopy) {
    const auto all = SaveCalls();
    const std::size_t replace = all.size() - 2;
    // The copy, the first value, RenMode, an empty hist key, the last value, the replace.
    for (std::size_t failAt :
         {std::size_t{0}, std::size_t{1}, std::size_t{9}, std::size_t{68}, replace - 1, replace}) {
        SCOPED_TRACE(failAt);
        RecordingProfileFiles files;
        files.failAt = failAt;
        try {
            IniWrite(files, kIni, SampleRecord(), false);
            ADD_FAILURE() << "no error";
        } catch (const AppError& e) {
            EXPECT_EQ(e.Message(), L"D:\\g\\Dealwarden.Ini に書き込めません");
        }
        std::vector<std::wstring> expected(all.begin(), all.begin() + failAt + 1);
        expected.push_back(L"remove " + kTmp);
        EXPECT_EQ(files.calls, expected);
    }
}

// What the portable files do with the bytes of an ANSI file they cannot decode.
TEST(PortableProfileFilesTest,
     AnsiBytesReadAsStandInsAndACharacterTheyCannotHoldMakesTheFileUnicode) {
    TempDir dir;
    const auto ini = (dir.path() / "a.Ini").wstring();
    WriteAll(ini, std::string("[Hist]\r\nhist0=") + settings_test::kSjisLine + "\r\n");
    PortableProfileFiles files;
    std::wstring expected = L"57 ";
    for (unsigned char b : settings_test::kSjisLine.substr(3))
        expected.push_back(
            b < 0x80 ? b : static_cast<wchar_t>(PortableProfileFiles::kAnsiByteBase + b));
    EXPECT_EQ(files.ReadValue(ini, L"Hist", L"hist0"), expected);

    ASSERT_TRUE(files.WriteValue(ini, L"Hist", L"hist1", L"58 勝ち"));
    EXPECT_EQ(files.ReadValue(ini, L"Hist", L"hist1"), L"58 勝ち");
    EXPECT_EQ(files.ReadValue(ini, L"Hist", L"hist0"), expected) << "the ANSI bytes are kept";
    EXPECT_EQ(ReadAll(ini).substr(0, 2), "\xFF\xFE");
}

TEST(PortableProfileFilesTest, ANewFileIsUnicodeAndOnlyLeadingBlanksGoOnWriting) {
    TempDir dir;
    const auto ini = (dir.path() / "a.Ini").wstring();
    PortableProfileFiles files;
    ASSERT_TRUE(files.WriteValue(ini, L" Hist ", L" hist0 ", L"  負け  "));
    EXPECT_EQ(ReadAll(ini), Utf16Le(u"[Hist]\r\nhist0=負け  \r\n"));
    EXPECT_EQ(files.ReadValue(ini, L"HIST", L"HIST0"), L"負け");
}

TEST(PortableProfileFilesTest, TheLengthRulesReasonIsItsOwnText) {
    TempDir dir;
    const std::wstring base = (dir.path() / "").wstring();
    const std::wstring path =
        base + std::wstring(kMaxSettingsPathChars + 1 - base.size() - 4, L'n') + L".Ini";
    EXPECT_EQ(PortableProfileFiles().Unusable(path), L"パスが長すぎます");
}

#if defined(__unix__)
std::wstring ErrnoText(int code) {
    const std::string text = std::generic_category().message(code);
    return std::wstring(text.begin(), text.end());  // the C locale's texts are ASCII
}

// Permission bits do not stop root, so these are the failures that can be
// made to happen to a test run by anyone.
TEST(PortableProfileFilesTest, SomethingThereThatCannotBeOpenedGivesTheErrnosText) {
    TempDir dir;
    const auto ini = dir.path() / "Dealwarden.Ini";
    PortableProfileFiles files;

    // A link to itself: something is there, but it leads nowhere.
    std::filesystem::create_symlink(ini, ini);
    EXPECT_EQ(files.Unusable(ini.wstring()), ErrnoText(ELOOP));
    std::filesystem::remove(ini);

    // A stored record, with no descriptor left to open it with.
    WriteAll(ini, settings_test::FreshFileBytes());
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
    const int lowestFree = dup(0);
    ASSERT_GE(lowestFree, 0);
    close(lowestFree);
    rlimit none = saved;
    none.rlim_cur = static_cast<rlim_t>(lowestFree);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &none), 0);
    const auto reason = files.Unusable(ini.wstring());
    setrlimit(RLIMIT_NOFILE, &saved);
    EXPECT_EQ(reason, ErrnoText(EMFILE));
    EXPECT_EQ(files.Unusable(ini.wstring()), std::nullopt) << "once it can be opened again";
}
#endif

}  // namespace
}  // namespace dw
