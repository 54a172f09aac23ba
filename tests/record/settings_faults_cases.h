#pragma once
// A damaged settings file, for every ProfileFiles implementation: random
// bytes, values thousands of characters long and a gap in the history keys.
// The record read from such a file and booked on must survive the next save.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "record/portable_profile.h"
#include "tests/record/settings_cases.h"

namespace dw::settings_test {

template <typename Files>
class DamagedSettingsFileTest : public ::testing::Test {
protected:
    TempDir dir;
    fs::path ini = dir.path() / "Dealwarden.Ini";
    Files files;

    TFCGameRecord Read() {
        TFCGameRecord r;
        bool ren = false;
        IniRead(files, ini.wstring(), r, ren);
        return r;
    }
    // A win with a Japanese history line and a failed try on the next game.
    static TFCGameRecord BookedOn(TFCGameRecord r) {
        r.TakeDealNumber();
        r.CountWin();
        r.TakeDealNumber();
        r.CountFailedTry();
        return r;
    }
    void SaveAndExpectItReadsBack(const TFCGameRecord& r) {
        IniWrite(files, ini.wstring(), r, true);
        EXPECT_EQ(Read(), Stored(r));
        EXPECT_EQ(dir.Names(), std::vector<std::string>{"Dealwarden.Ini"});
    }
};
TYPED_TEST_SUITE_P(DamagedSettingsFileTest);

TYPED_TEST_P(DamagedSettingsFileTest, RandomBytesReadAsAFreshRecordAndTheNextSaveKeepsIt) {
    const TFCGameRecord fresh;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::mt19937 rng(seed);
        std::string bytes(200 + seed * 400, '\0');
        for (char& b : bytes) b = static_cast<char>(rng());
        // Odd seeds: marked UTF-16LE; even ones: taken as ANSI.
        bytes[0] = seed % 2 ? '\xFF' : 'x';
        bytes[1] = seed % 2 ? '\xFE' : 'y';
        WriteAll(this->ini, bytes);
        const TFCGameRecord read = this->Read();
        EXPECT_EQ(read, fresh) << "seed " << seed;
        const TFCGameRecord booked = this->BookedOn(read);
        ASSERT_EQ(booked.hist[0], L"1 勝ち");
        // An ANSI file becomes Unicode rather than lose the Japanese line.
        this->SaveAndExpectItReadsBack(booked);
        if (this->HasFailure()) FAIL() << "seed " << seed;
    }
}

TYPED_TEST_P(DamagedSettingsFileTest, OverlongValuesAreCutAtTheReadLimitAndSaveBack) {
    const std::u16string digits(3000, u'7');
    const std::u16string zeros(2100, u'0');
    WriteAll(this->ini, Utf16Le(u"[Game]\r\nGameNo=" + digits + u"\r\nTryCnt=" + zeros +
                                u"5\r\n[Score]\r\nwon=" + zeros + u"\r\n[Hist]\r\nhist0=" +
                                std::u16string(5000, u'負') + u"\r\nhist1=" +
                                std::u16string(2047, u'a') + u"\r\n"));
    const TFCGameRecord read = this->Read();
    EXPECT_EQ(read.GameNo, 1) << "beyond 32 bits: the default";
    EXPECT_EQ(read.TryCnt, 0) << "only the first 2047 characters, all zeros, are read";
    EXPECT_EQ(read.won, 0);
    EXPECT_EQ(read.hist[0], std::wstring(2047, L'負'));
    EXPECT_EQ(read.hist[1], std::wstring(2047, L'a'));
    this->SaveAndExpectItReadsBack(this->BookedOn(read));
}

TYPED_TEST_P(DamagedSettingsFileTest, AGapInTheHistoryKeysStaysInPlaceAndMovesDownWithABooking) {
    WriteAll(this->ini, Utf16Le(u"[Hist]\r\nhist0=9 勝ち\r\nhist1=8 勝ち\r\nhist4=7 勝ち\r\n"
                                u"hist99=1 勝ち\r\n"));
    const TFCGameRecord read = this->Read();
    EXPECT_EQ(read.hist[1], L"8 勝ち");
    EXPECT_EQ(read.hist[2], L"");
    EXPECT_EQ(read.hist[3], L"");
    EXPECT_EQ(read.hist[4], L"7 勝ち");
    TFCGameRecord booked = this->BookedOn(read);
    EXPECT_EQ(booked.hist[5], L"7 勝ち");
    EXPECT_EQ(booked.hist[99], L"") << "the oldest line drops out";
    this->SaveAndExpectItReadsBack(booked);
    // The empty entries are written too, as keys with nothing after "=".
    EXPECT_TRUE(Contains(ReadAll(this->ini), Utf16Le(u"\r\nhist3=\r\n", false)));
}

REGISTER_TYPED_TEST_SUITE_P(DamagedSettingsFileTest,
                            RandomBytesReadAsAFreshRecordAndTheNextSaveKeepsIt,
                            OverlongValuesAreCutAtTheReadLimitAndSaveBack,
                            AGapInTheHistoryKeysStaysInPlaceAndMovesDownWithABooking);

}  // namespace dw::settings_test
