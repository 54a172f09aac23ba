#pragma once
// Cases every ProfileFiles implementation must pass with IniRead/IniWrite on
// real files: each test program instantiates SettingsFileTest for its own
// implementations, so the portable files and the Windows profile functions
// answer the very same table.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "record/app_error.h"
#include "record/settings.h"

namespace dw {

// Failures name the fields that differ, not a byte dump.
inline void PrintTo(const TFCGameRecord& r, std::ostream* os) {
    *os << "{GameNo " << r.GameNo << ", WGameNo " << r.WGameNo << ", TryCnt " << r.TryCnt
        << ", won " << r.won << ", lost " << r.lost << ", wins " << r.wins << ", losses "
        << r.losses << ", streak " << r.streak << ", stype " << r.stype << ", kachi " << r.kachi
        << ", make " << r.make << ", hist lengths";
    for (const auto& h : r.hist) *os << ' ' << h.size();
    *os << '}';
}

namespace settings_test {

namespace fs = std::filesystem;

inline std::string Utf16Le(std::u16string_view text, bool bom = true) {
    std::string bytes = bom ? "\xFF\xFE" : "";
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

inline std::wstring Wide(std::u16string_view text) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (sizeof(wchar_t) == 4 && c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) {
            out.push_back(
                static_cast<wchar_t>(0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00)));
        } else {
            out.push_back(static_cast<wchar_t>(c));
        }
    }
    return out;
}

// UTF-8, for failure messages.
inline std::string Utf8(const std::wstring& text) {
    std::string out;
    for (char32_t c : text) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | c >> 6));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | c >> 12));
            out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | c >> 18));
            out.push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

inline std::string Narrow(std::u16string_view text) {
    return Utf8(Wide(text));
}

inline std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteAll(const fs::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << p;
}

inline bool Contains(const std::string& bytes, const std::string& part) {
    return bytes.find(part) != std::string::npos;
}

// A fresh directory per test, removed with everything in it.
class TempDir {
public:
    TempDir() {
        std::random_device rd;
        path_ = fs::temp_directory_path() /
                ("dw-settings-" + std::to_string(rd()) + std::to_string(rd()));
        fs::create_directories(path_);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir() {
        std::error_code ec;
        for (const auto& e : fs::recursive_directory_iterator(path_, ec))
            fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(path_))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    fs::path path_;
};

inline const TFCGameRecord kFresh{};

// A wide path as the system names it: natively, UTF-8 whatever the locale.
inline fs::path PathOf(const std::wstring& path) {
    if constexpr (sizeof(wchar_t) == 4)
        return fs::path(std::u32string(path.begin(), path.end()));
    else
        return fs::path(path);
}

// A path's length as the system counts it.
inline std::size_t Utf16Units(const std::wstring& path) {
    std::size_t units = 0;
    for (wchar_t c : path) units += static_cast<std::uint32_t>(c) >> 16 != 0 ? 2 : 1;
    return units;
}

// What a save keeps of a record: this run's counts start again at 0.
inline TFCGameRecord Stored(TFCGameRecord r) {
    r.kachi = r.make = 0;
    return r;
}

// The file a first save of a fresh record makes, byte for byte.
inline std::string FreshFileBytes() {
    std::u16string text =
        u"[Game]\r\nGameNo=1\r\nTryCnt=1\r\n"
        u"[Score]\r\nwon=0\r\nwins=0\r\nlost=0\r\nlosses=0\r\nstreak=0\r\nstype=0\r\n"
        u"[Show]\r\nRenMode=0\r\n[Hist]\r\n";
    for (int i = 0; i < 100; ++i) {
        const std::string key = "hist" + std::to_string(i) + "=\r\n";
        text.append(key.begin(), key.end());
    }
    return Utf16Le(text);
}

// A record with every stored field away from its default.
inline TFCGameRecord SampleRecord() {
    TFCGameRecord r;
    r.GameNo = r.WGameNo = 58;
    r.TryCnt = 2;
    r.won = 31;
    r.wins = 7;
    r.lost = -3;
    r.losses = INT_MAX;
    r.streak = 4;
    r.stype = 1;
    r.hist[0] = Wide(u"57 負け（3回）");
    r.hist[1] = L"56 勝ち";
    r.hist[2] = Wide(u"55 \U00020BB7ｱ");  // a surrogate pair and a half-width kana
    r.hist[4] = L"after a gap";
    r.hist[99] = L"99 last";
    return r;
}

template <typename Files>
class SettingsFileTest : public ::testing::Test {
protected:
    TempDir dir;
    fs::path ini = dir.path() / "Dealwarden.Ini";
    fs::path temp = dir.path() / "Dealwarden.tmp";
    Files files;

    TFCGameRecord Read(bool* renMode = nullptr) {
        TFCGameRecord r;
        bool ren = false;
        IniRead(files, ini.wstring(), r, ren);
        if (renMode) *renMode = ren;
        return r;
    }
    void Write(const TFCGameRecord& r, bool renMode = false) {
        IniWrite(files, ini.wstring(), r, renMode);
    }
    // A settings path in dir of exactly units UTF-16 units; with astral, its
    // name holds a character beyond U+FFFF, which counts twice.
    std::wstring PathOfLength(std::size_t units, bool astral) const {
        const std::wstring base = (dir.path() / "").wstring();
        const std::wstring tail = (astral ? Wide(u"\U00020BB7") : L"") + L".Ini";
        const std::size_t used = Utf16Units(base) + Utf16Units(tail);
        EXPECT_LT(used, units) << "the temporary directory's path is too long for the case";
        std::wstring path = base + std::wstring(units > used ? units - used : 0, L'n') + tail;
        EXPECT_EQ(Utf16Units(path), units);
        return path;
    }
    // IniWrite must fail with the path in the message and leave the directory as it was.
    void ExpectWriteFails(const TFCGameRecord& r) {
        const auto before = dir.Names();
        try {
            Write(r);
            ADD_FAILURE() << "IniWrite succeeded";
        } catch (const AppError& e) {
            EXPECT_EQ(e.Message(), ini.wstring() + L" に書き込めません");
        }
        EXPECT_EQ(dir.Names(), before);
    }
};

TYPED_TEST_SUITE_P(SettingsFileTest);

struct IntegerCase {
    const char16_t* section;
    const char16_t* key;
    const char16_t* stored;  // the text after "key=" in the file
    std::int32_t TFCGameRecord::*field;
    std::int32_t loaded;
};

TYPED_TEST_P(SettingsFileTest, StoredIntegersLoadByTheRules) {
    using R = TFCGameRecord;
    static const IntegerCase cases[] = {
        {u"Game", u"GameNo", u"0x10", &R::GameNo, 16},
        {u"Game", u"TryCnt", u"abc", &R::TryCnt, 1},
        {u"Score", u"won", u"-3", &R::won, -3},
        {u"Game", u"GameNo", u"0x", &R::GameNo, 1},
        {u"Game", u"GameNo", u"0xZZ", &R::GameNo, 1},
        {u"Score", u"lost", u"12abc", &R::lost, 0},
        {u"Score", u"wins", u" 7 ", &R::wins, 7},  // the profile drops unquoted blanks
        {u"Game", u"GameNo", u"\t12\t", &R::GameNo, 12},
        {u"Game", u"TryCnt", u"", &R::TryCnt, 1},
        {u"Score", u"streak", u"", &R::streak, 0},
        {u"Score", u"stype", u"+5", &R::stype, 5},
        {u"Game", u"GameNo", u"0X1f", &R::GameNo, 31},
        {u"Game", u"GameNo", u"0x7FFFFFFF", &R::GameNo, INT_MAX},
        {u"Game", u"GameNo", u"0xFFFFFFFF", &R::GameNo, -1},
        {u"Game", u"GameNo", u"0x100000000", &R::GameNo, 1},
        {u"Score", u"losses", u"2147483647", &R::losses, INT_MAX},
        {u"Game", u"GameNo", u"2147483648", &R::GameNo, 1},
        {u"Score", u"won", u"-2147483648", &R::won, INT_MIN},
        {u"Score", u"won", u"-2147483649", &R::won, 0},
        {u"Game", u"GameNo", u"99999999999999999999", &R::GameNo, 1},
        {u"Game", u"GameNo", u"007", &R::GameNo, 7},
        {u"Game", u"TryCnt", u"\"42\"", &R::TryCnt, 42},
        {u"Game", u"TryCnt", u"'42'", &R::TryCnt, 42},
        {u"Game", u"TryCnt", u"\" 7 \"", &R::TryCnt, 1},  // quoted blanks stay, and do not convert
        {u"Game", u"GameNo", u"1 2", &R::GameNo, 1},
        {u"Game", u"GameNo", u"１２", &R::GameNo, 1},  // full-width digits
        {u"Game", u"GameNo", u"-0x10", &R::GameNo, 1},
        {u"Game", u"GameNo", u"0x-1", &R::GameNo, 1},
        {u"Game", u"GameNo", u"-", &R::GameNo, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "stored: \"" << Narrow(c.stored) << "\"");
        const std::u16string text =
            u"[" + std::u16string(c.section) + u"]\r\n" + c.key + u"=" + c.stored + u"\r\n";
        WriteAll(this->ini, Utf16Le(text));
        const TFCGameRecord r = this->Read();
        EXPECT_EQ(r.*c.field, c.loaded);
        if (c.field == &R::GameNo) {
            EXPECT_EQ(r.WGameNo, c.loaded);
        }
    }
}

TYPED_TEST_P(SettingsFileTest, RenModeReadsAsAnIntegerAndIsWrittenBackAsOneOrZero) {
    static const struct {
        const char16_t* stored;
        bool loaded;
    } cases[] = {{u"5", true}, {u"1", true},    {u"0", false},   {u"-1", true},    {u"abc", false},
                 {u"", false}, {u"0x0", false}, {u"0x10", true}, {u"\"2\"", true}, {u"0x", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "stored: \"" << Narrow(c.stored) << "\"");
        WriteAll(this->ini, Utf16Le(u"[Show]\r\nRenMode=" + std::u16string(c.stored) + u"\r\n"));
        bool ren = !c.loaded;
        const TFCGameRecord r = this->Read(&ren);
        EXPECT_EQ(ren, c.loaded);
        this->Write(r, ren);
        EXPECT_TRUE(Contains(
            ReadAll(this->ini),
            Utf16Le(c.loaded ? u"[Show]\r\nRenMode=1\r\n" : u"[Show]\r\nRenMode=0\r\n", false)));
    }
}

TYPED_TEST_P(SettingsFileTest, NoFileGivesDefaultsAndTheFirstSaveWritesEveryKeyInOrder) {
    bool ren = true;
    TFCGameRecord r = this->Read(&ren);
    EXPECT_EQ(r, kFresh);
    EXPECT_FALSE(ren);
    EXPECT_FALSE(fs::exists(this->ini));  // reading creates nothing

    this->Write(r, ren);
    EXPECT_EQ(ReadAll(this->ini), FreshFileBytes());
    EXPECT_EQ(this->dir.Names(), std::vector<std::string>{"Dealwarden.Ini"});
}

TYPED_TEST_P(SettingsFileTest, AnEmptyFileIsTreatedAsNew) {
    WriteAll(this->ini, "");
    EXPECT_EQ(this->Read(), kFresh);
    this->Write(kFresh);
    EXPECT_EQ(ReadAll(this->ini), FreshFileBytes());
}

TYPED_TEST_P(SettingsFileTest, ARecordReadsBackAsWrittenJapaneseIncludedAndSavesRepeat) {
    TFCGameRecord r = SampleRecord();
    this->Write(r, true);
    const std::string bytes = ReadAll(this->ini);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    EXPECT_TRUE(Contains(bytes, Utf16Le(u"hist0=57 負け（3回）\r\nhist1=56 勝ち\r\n"
                                        u"hist2=55 \U00020BB7ｱ\r\nhist3=\r\n",
                                        false)));

    bool ren = false;
    EXPECT_EQ(this->Read(&ren), r);
    EXPECT_TRUE(ren);

    // Saved after every booking: each save replaces the whole record.
    for (int booking = 0; booking < 3; ++booking) {
        r.CountWin();
        this->Write(r, false);
        EXPECT_EQ(this->Read(&ren), Stored(r)) << "after booking " << booking;
        EXPECT_FALSE(ren);
    }
    EXPECT_EQ(this->dir.Names(), std::vector<std::string>{"Dealwarden.Ini"});
}

TYPED_TEST_P(SettingsFileTest, AHandEditedFileReadsAsTheProfileFunctionsReadIt) {
    std::u16string text =
        u"stray=1\r\n"
        u"; a note\r\n"
        u"\r\n"
        u"  [game]  \r\n"
        u"\tgameno  =   0x20   \r\n"
        u"TryCnt=3\r\n"
        u"TRYCNT=9\n"  // a second key of a name is never seen; LF alone ends a line too
        u"[Score]\r\n"
        u"won=5\r\n"
        u"[Hist]\r\n"
        u"hist0='quoted'\r\n"
        u"hist1=a=b\r\n"
        u"hist2=\"only one\r\n"
        u"hist3\r\n"
        u"hist4=   spaced   out   \r\n"
        u"[Score]\r\n"
        u"wins=8\r\n"  // only the first section of a name is searched
        u"[Other]\r\n"
        u"x=kept\r\n";
    std::u16string longValue(3000, u'x');
    text += u"[Hist]\r\nhist5=" + longValue + u"\r\n";
    WriteAll(this->ini, Utf16Le(text));

    TFCGameRecord r = this->Read();
    EXPECT_EQ(r.GameNo, 32);
    EXPECT_EQ(r.TryCnt, 3);
    EXPECT_EQ(r.won, 5);
    EXPECT_EQ(r.wins, 0);
    EXPECT_EQ(r.hist[0], L"quoted");
    EXPECT_EQ(r.hist[1], L"a=b");
    EXPECT_EQ(r.hist[2], L"\"only one");
    EXPECT_EQ(r.hist[3], L"");
    EXPECT_EQ(r.hist[4], L"spaced   out");
    EXPECT_EQ(r.hist[5], L"");  // hist5 sits in the second [Hist]

    // A save keeps what it does not know about.
    r.GameNo = r.WGameNo = 33;
    this->Write(r);
    EXPECT_EQ(this->Read(), r);
    EXPECT_EQ(this->files.ReadValue(this->ini.wstring(), L"Other", L"x"), L"kept");
    const std::string bytes = ReadAll(this->ini);
    EXPECT_TRUE(Contains(bytes, Utf16Le(u"stray=1\r\n", false)));
    EXPECT_TRUE(Contains(bytes, Utf16Le(u"; a note\r\n", false)));
}

TYPED_TEST_P(SettingsFileTest, AValueIsReadUpTo2047Characters) {
    WriteAll(this->ini, Utf16Le(u"[Hist]\r\nhist0=" + std::u16string(3000, u'y') + u"\r\n"));
    EXPECT_EQ(this->Read().hist[0], std::wstring(2047, L'y'));
}

// Shift-JIS bytes of "57 負け（3回）", as a Japanese-locale system writes them.
inline const std::string kSjisLine = "57 \x95\x89\x82\xaf\x81\x69\x33\x89\xf1\x81\x6a";

TYPED_TEST_P(SettingsFileTest, AnAnsiFileIsReadAndStaysAnsiWithItsBytesKept) {
    WriteAll(this->ini,
             "[Game]\r\nGameNo=42\r\nTryCnt=2\r\n[Score]\r\nwon=9\r\n[Show]\r\nRenMode=1\r\n"
             "[Hist]\r\nhist0=" +
                 kSjisLine + "\r\nhist1=40 ok\r\n");
    bool ren = false;
    TFCGameRecord r = this->Read(&ren);
    EXPECT_EQ(r.GameNo, 42);
    EXPECT_EQ(r.TryCnt, 2);
    EXPECT_EQ(r.won, 9);
    EXPECT_TRUE(ren);
    EXPECT_EQ(r.hist[0].substr(0, 3), L"57 ");
    EXPECT_EQ(r.hist[1], L"40 ok");

    r.PushHist(L"42 ok");
    r.GameNo = r.WGameNo = 43;
    this->Write(r, ren);
    const std::string bytes = ReadAll(this->ini);
    EXPECT_NE(bytes.substr(0, 2), "\xFF\xFE");
    EXPECT_TRUE(Contains(bytes, "GameNo=43\r\n"));
    EXPECT_TRUE(Contains(bytes, "hist0=42 ok\r\nhist1=" + kSjisLine + "\r\nhist2=40 ok\r\n"));
    EXPECT_EQ(this->Read(), r);
}

TYPED_TEST_P(SettingsFileTest, ADirectoryInTheFilesPlaceFailsWithThePathAndIsLeftAlone) {
    fs::create_directory(this->ini);
    WriteAll(this->ini / "inside.txt", "keep");
    this->ExpectWriteFails(SampleRecord());
    EXPECT_TRUE(fs::is_directory(this->ini));
    EXPECT_EQ(ReadAll(this->ini / "inside.txt"), "keep");
}

TYPED_TEST_P(SettingsFileTest, AReadOnlyFileFailsWithThePathAndKeepsItsRecord) {
    const TFCGameRecord before = SampleRecord();
    this->Write(before, true);
    const std::string bytes = ReadAll(this->ini);
    fs::permissions(this->ini,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);

    TFCGameRecord after = before;
    after.CountWin();
    this->ExpectWriteFails(after);
    EXPECT_EQ(ReadAll(this->ini), bytes);
    EXPECT_EQ(this->Read(), before);
}

TYPED_TEST_P(SettingsFileTest, WhenTheCopyCannotBeMadeTheFileKeepsItsRecord) {
    const TFCGameRecord before = SampleRecord();
    this->Write(before);
    const std::string bytes = ReadAll(this->ini);
    fs::create_directory(this->temp);  // something not ours where the copy goes

    this->ExpectWriteFails(kFresh);
    EXPECT_EQ(ReadAll(this->ini), bytes);
    EXPECT_TRUE(fs::is_directory(this->temp));
}

TYPED_TEST_P(SettingsFileTest, ACopyLeftByAKilledSaveIsOverwritten) {
    WriteAll(this->temp, Utf16Le(u"[Game]\r\nGameNo=777\r\n[Junk]\r\nx=1\r\n"));
    const TFCGameRecord r = SampleRecord();
    this->Write(r);
    EXPECT_EQ(this->Read(), r);
    EXPECT_EQ(this->files.ReadValue(this->ini.wstring(), L"Junk", L"x"), L"");
    EXPECT_EQ(this->dir.Names(), std::vector<std::string>{"Dealwarden.Ini"});
}

TYPED_TEST_P(SettingsFileTest, APathLongerThanTheSystemAcceptsIsUnusableWhateverIsThere) {
    static const struct {
        std::size_t units;
        bool astral;
        bool usable;
    } cases[] = {
        {kMaxSettingsPathChars, false, true},
        {kMaxSettingsPathChars + 1, false, false},
        {kMaxSettingsPathChars, true, true},
        {kMaxSettingsPathChars + 1, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.units << " units" << (c.astral ? ", a surrogate pair in the name" : ""));
        const std::wstring path = this->PathOfLength(c.units, c.astral);
        // Missing, then holding a record: the length alone decides.
        for (bool exists : {false, true}) {
            if (exists) WriteAll(PathOf(path), FreshFileBytes());
            const auto reason = this->files.Unusable(path);
            EXPECT_EQ(reason.has_value(), !c.usable) << (exists ? "existing" : "missing");
            if (reason) {
                EXPECT_FALSE(reason->empty());
            }
        }
        fs::remove(PathOf(path));
    }
}

TYPED_TEST_P(SettingsFileTest, AMissingFileADirectoryAndAReadableFileAreUsableAndLeftAsTheyWere) {
    using Setup = fs::path (*)(const fs::path& dir);
    static const std::pair<const char*, Setup> cases[] = {
        {"no file", [](const fs::path& d) { return d / "Dealwarden.Ini"; }},
        {"no folder either", [](const fs::path& d) { return d / "gone" / "Dealwarden.Ini"; }},
        {"a directory in its place",
         [](const fs::path& d) {
             fs::create_directory(d / "Dealwarden.Ini");
             WriteAll(d / "Dealwarden.Ini" / "inside.txt", "keep");
             return d / "Dealwarden.Ini";
         }},
        {"an empty file",
         [](const fs::path& d) {
             WriteAll(d / "Dealwarden.Ini", "");
             return d / "Dealwarden.Ini";
         }},
        {"a saved record",
         [](const fs::path& d) {
             WriteAll(d / "Dealwarden.Ini", FreshFileBytes());
             return d / "Dealwarden.Ini";
         }},
        {"a read-only file",
         [](const fs::path& d) {
             WriteAll(d / "Dealwarden.Ini", FreshFileBytes());
             fs::permissions(
                 d / "Dealwarden.Ini",
                 fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                 fs::perm_options::remove);
             return d / "Dealwarden.Ini";
         }},
    };
    for (const auto& [name, setup] : cases) {
        SCOPED_TRACE(name);
        TempDir dir;
        const fs::path path = setup(dir.path());
        const auto before = dir.Names();
        const auto reason = this->files.Unusable(path.wstring());
        EXPECT_FALSE(reason.has_value()) << Utf8(*reason);
        EXPECT_EQ(dir.Names(), before) << "asking creates or removes nothing";
    }
}

REGISTER_TYPED_TEST_SUITE_P(
    SettingsFileTest, StoredIntegersLoadByTheRules,
    RenModeReadsAsAnIntegerAndIsWrittenBackAsOneOrZero,
    NoFileGivesDefaultsAndTheFirstSaveWritesEveryKeyInOrder, AnEmptyFileIsTreatedAsNew,
    ARecordReadsBackAsWrittenJapaneseIncludedAndSavesRepeat,
    AHandEditedFileReadsAsTheProfileFunctionsReadIt, AValueIsReadUpTo2047Characters,
    AnAnsiFileIsReadAndStaysAnsiWithItsBytesKept,
    ADirectoryInTheFilesPlaceFailsWithThePathAndIsLeftAlone,
    AReadOnlyFileFailsWithThePathAndKeepsItsRecord, WhenTheCopyCannotBeMadeTheFileKeepsItsRecord,
    ACopyLeftByAKilledSaveIsOverwritten, APathLongerThanTheSystemAcceptsIsUnusableWhateverIsThere,
    AMissingFileADirectoryAndAReadableFileAreUsableAndLeftAsTheyWere);

}  // namespace settings_test
}  // namespace dw
