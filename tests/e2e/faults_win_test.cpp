// Faults from outside Dealwarden, end to end under Wine against the practice
// FreeCell: the settings file blocked at a save, a damaged settings file, a
// settings file so large that each save takes seconds, the clipboard held by
// another program, FreeCell killed or never showing its window, a stubborn
// win dialog and the end of the session. In each the player is told at most
// once and nothing of the record is lost.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <thread>
#include <utility>

#include "e2e/dealwarden_run_win.h"
#include "e2e/practice_fixture_win.h"
#include "harness/screenshot_win.h"
#include "record/record_writer.h"
#include "record/settings.h"
#include "run/play_run.h"
#include "ui/CtrlF_win.h"
#include "ui/SeisekiF_win.h"

namespace dw::e2e {
namespace {

using namespace harness;
using namespace std::chrono_literals;
using F = ScoreField;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

HWND WaitForBox(DealwardenRun& run) {
    return run.WaitForMessageBox();
}

std::size_t BoxCount(DealwardenRun& run) {
    return run.MessageBoxCount();
}

// Nothing new pops up for a while (several watcher ticks).
bool StaysAt(DealwardenRun& run, std::size_t boxes, milliseconds time = 2500ms) {
    return !WaitUntil([&] { return BoxCount(run) != boxes; }, time);
}

void ExpectSaved(DealwardenRun& run, int gameNo, int won, const std::vector<std::wstring>& hist) {
    EXPECT_TRUE(WaitUntil([&] {
        return run.IniValue(L"Game", L"GameNo") == std::to_wstring(gameNo);
    })) << "GameNo on disk: "
        << WideToUtf8(run.IniValue(L"Game", L"GameNo"));
    EXPECT_EQ(run.IniValue(L"Score", L"won"), std::to_wstring(won));
    for (std::size_t i = 0; i < hist.size(); ++i)
        EXPECT_EQ(run.IniValue(L"Hist", L"hist" + std::to_wstring(i)), hist[i]) << "hist" << i;
    EXPECT_FALSE(FileExists(IniTempFileNameFor(run.IniPath())))
        << "the save's copy was left behind";
}

// The tick that sees the no-more-moves dialog waits until it is answered.
PracticeOptions StuckAnsweredAfter(int ms) {
    PracticeOptions o;
    o.stuckAutoMs = ms;
    return o;
}

// --- the settings file blocked at a save -------------------------------------

// Something that stops the settings file from being written, put in place by
// the test and lifted again.
class Blocker {
public:
    virtual ~Blocker() = default;
    void Apply(const std::wstring& ini) {
        Put(ini);
        applied_ = true;
    }
    void Lift(const std::wstring& ini) {
        if (std::exchange(applied_, false)) Remove(ini);
    }

private:
    virtual void Put(const std::wstring& ini) = 0;
    virtual void Remove(const std::wstring& ini) = 0;
    bool applied_ = false;
};

// Another program has the file open without sharing.
class LockedFile : public Blocker {
public:
    ~LockedFile() override { Remove(L""); }

private:
    void Put(const std::wstring& ini) override {
        h_ = CreateFileW(ini.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(h_, INVALID_HANDLE_VALUE) << GetLastError();
    }
    void Remove(const std::wstring&) override {
        if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
    }
    HANDLE h_ = INVALID_HANDLE_VALUE;
};

class ReadOnlyFile : public Blocker {
    void Put(const std::wstring& ini) override {
        ASSERT_TRUE(SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_READONLY));
    }
    void Remove(const std::wstring& ini) override {
        ASSERT_TRUE(SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_NORMAL));
    }
};

// A directory where the file should be.
class DirectoryInstead : public Blocker {
    void Put(const std::wstring& ini) override {
        ASSERT_TRUE(DeleteFileW(ini.c_str()));
        ASSERT_TRUE(CreateDirectoryW(ini.c_str(), nullptr));
    }
    void Remove(const std::wstring& ini) override { ASSERT_TRUE(RemoveDirectoryW(ini.c_str())); }
};

struct BlockerCase {
    const char* name;
    std::function<std::unique_ptr<Blocker>()> make;
};

const BlockerCase kBlockers[] = {
    {"Locked", [] { return std::make_unique<LockedFile>(); }},
    {"ReadOnly", [] { return std::make_unique<ReadOnlyFile>(); }},
    {"Directory", [] { return std::make_unique<DirectoryInstead>(); }},
};

void PrintTo(const BlockerCase& c, std::ostream* os) {
    *os << c.name;
}

class BlockedSaveTest : public ::testing::TestWithParam<BlockerCase> {
protected:
    // Deal 1 won and saved, then the file blocked.
    void SetUp() override {
        run.Start();
        run.PressStart();
        ASSERT_TRUE(run.WaitForDeal(1)) << WideToUtf8(run.Log().Dump());
        ASSERT_TRUE(run.Win(2)) << run.Log().Dump();
        ExpectSaved(run, 2, 1, {L"1 勝ち"});
        blocker = GetParam().make();
        blocker->Apply(run.IniPath());
    }
    void TearDown() override {
        if (HasFailure()) SaveScreenshot(L"faults_blocked_save");
        // The run's directory goes with the run: nothing may still block it.
        if (blocker) blocker->Lift(run.IniPath());
    }
    std::wstring CannotWrite() const { return run.IniPath() + L" に書き込めません."; }

    DealwardenRun run;
    std::unique_ptr<Blocker> blocker;
};

TEST_P(BlockedSaveTest, BookingsAreToldOnceKeptAndSavedOnceTheFileIsWritable) {
    ASSERT_TRUE(run.Win(3)) << run.Log().Dump();
    HWND box = WaitForBox(run);
    ASSERT_NE(box, nullptr) << "the failed save is not told";
    EXPECT_TRUE(OwnedAndInFront(box, run.ScoreWindow()));
    EXPECT_THAT(MessageBoxText(box), StartsWith(CannotWrite()));
    EXPECT_THAT(MessageBoxText(box), HasSubstr(L"記録は Dealwarden が保持しています"));

    // Ticks go on beneath the box: the next booking fails too, and is not told again.
    ASSERT_TRUE(run.Win(4)) << run.Log().Dump();
    EXPECT_TRUE(run.WaitForScore(F::Label18, L"3"));
    EXPECT_EQ(BoxCount(run), 1u);
    Click(FindChild(box, L"Button"));
    ASSERT_TRUE(WaitForGone(box));
    ASSERT_TRUE(run.Win(5)) << run.Log().Dump();
    EXPECT_TRUE(StaysAt(run, 0)) << "told again";
    EXPECT_TRUE(run.Program().Running());

    blocker->Lift(run.IniPath());
    ASSERT_TRUE(run.Win(6)) << run.Log().Dump();
    ExpectSaved(run, 6, 5, {L"5 勝ち", L"4 勝ち", L"3 勝ち", L"2 勝ち", L"1 勝ち"});
    EXPECT_EQ(BoxCount(run), 0u);
}

// The quit tries the save first and asks before FreeCell is told anything:
// No leaves FreeCell, the program and the record as they were. Bookings go
// on, are not told again, and reach the file once it can be written.
TEST_P(BlockedSaveTest, QuitAsksFirstAndNoKeepsFreeCellTheProgramAndTheRecordRunning) {
    Click(run.BarButton(TFCCtrF::kIdSpeedButton4));
    HWND ask = WaitForBox(run);
    ASSERT_NE(ask, nullptr);
    EXPECT_TRUE(OwnedAndInFront(ask, run.ScoreWindow()));
    EXPECT_THAT(MessageBoxText(ask), StartsWith(CannotWrite()));
    EXPECT_THAT(MessageBoxText(ask), HasSubstr(L"記録を保存せずに終了しますか？"));
    ASSERT_NE(GetDlgItem(ask, IDNO), nullptr);
    EXPECT_TRUE(StaysAt(run, 1)) << "asked again";
    EXPECT_FALSE(run.Log().Contains(L"close")) << "FreeCell told to close before the answer";
    Click(GetDlgItem(ask, IDNO));
    ASSERT_TRUE(WaitForGone(ask));
    EXPECT_TRUE(StaysAt(run, 0));
    EXPECT_TRUE(run.Program().Running());
    EXPECT_TRUE(IsWindow(run.FreeCell())) << "FreeCell went";
    EXPECT_FALSE(run.Log().Contains(L"close"));

    ASSERT_TRUE(run.Win(3)) << run.Log().Dump();
    EXPECT_TRUE(StaysAt(run, 0)) << "told again";
    blocker->Lift(run.IniPath());
    ExpectSaved(run, 3, 2, {L"2 勝ち", L"1 勝ち"});
    Click(run.BarButton(TFCCtrF::kIdSpeedButton4));
    ASSERT_TRUE(run.WaitForExit(5000ms));
    EXPECT_EQ(run.Program().ExitCode(), 0u);
    EXPECT_TRUE(run.Log().Contains(L"close"));
}

TEST_P(BlockedSaveTest, FreeCellClosedWhileBlockedIsToldOnceAndTheProgramEndsOnceSaved) {
    PostMessageW(run.FreeCell(), WM_CLOSE, 0, 0);
    HWND box = WaitForBox(run);
    ASSERT_NE(box, nullptr);
    EXPECT_THAT(MessageBoxText(box), StartsWith(CannotWrite()));
    EXPECT_TRUE(StaysAt(run, 1)) << "a box every second";
    Click(FindChild(box, L"Button"));
    ASSERT_TRUE(WaitForGone(box));
    EXPECT_TRUE(StaysAt(run, 0)) << "told again after the box was answered";
    ASSERT_TRUE(run.Program().Running());

    blocker->Lift(run.IniPath());
    ASSERT_TRUE(run.WaitForExit(3000ms));
    ExpectSaved(run, 2, 1, {L"1 勝ち"});
}

INSTANTIATE_TEST_SUITE_P(Faults, BlockedSaveTest, ::testing::ValuesIn(kBlockers),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BlockedSaveYesTest, YesEndsTheProgramAndTheFileKeepsTheLastSavedRecord) {
    DealwardenRun run;
    ASSERT_TRUE(run.StartPlaying()) << run.Log().Dump();
    ASSERT_TRUE(run.Win(2)) << run.Log().Dump();
    ExpectSaved(run, 2, 1, {L"1 勝ち"});
    ReadOnlyFile blocker;
    blocker.Apply(run.IniPath());
    Click(run.BarButton(TFCCtrF::kIdSpeedButton4));
    HWND ask = WaitForBox(run);
    ASSERT_NE(ask, nullptr);
    EXPECT_FALSE(run.Log().Contains(L"close")) << "FreeCell told to close before the answer";
    Click(GetDlgItem(ask, IDYES));
    EXPECT_TRUE(run.WaitForExit(3000ms));
    EXPECT_TRUE(run.Log().WaitForLine(L"close")) << "FreeCell was not told to close";
    blocker.Lift(run.IniPath());
    ExpectSaved(run, 2, 1, {L"1 勝ち"});
}

// --- a damaged settings file ------------------------------------------------

TEST(DamagedFileTest, AGapInTheHistoryIsSkippedInTheBoxAndKeptInPlaceOnTheNextSave) {
    DealwardenRun run;
    run.WriteSettings(
        L"[Hist]\r\nhist0=9 勝ち\r\nhist1=8 勝ち\r\nhist4=7 負け（2回）\r\nhist5=\r\n");
    run.Start();
    EXPECT_TRUE(WaitUntil([&] { return run.HistoryBox().size() == 3; }));
    EXPECT_THAT(run.HistoryBox(), ElementsAre(L"9 勝ち", L"8 勝ち", L"7 負け（2回）"));
    run.PressStart();
    ASSERT_TRUE(run.WaitForDeal(1));
    ASSERT_TRUE(run.Win(2)) << run.Log().Dump();
    EXPECT_THAT(run.HistoryBox(), ElementsAre(L"1 勝ち", L"9 勝ち", L"8 勝ち", L"7 負け（2回）"));
    // Every entry moves down one place, the empty ones too.
    ExpectSaved(run, 2, 1, {L"1 勝ち", L"9 勝ち", L"8 勝ち", L"", L"", L"7 負け（2回）", L""});
    EXPECT_TRUE(run.IniHasKey(L"Hist", L"hist3"));
}

TEST(DamagedFileTest, RandomBytesStartAFreshRecordAndTheNextSaveKeepsEveryCharacter) {
    DealwardenRun run(StuckAnsweredAfter(1500));
    std::mt19937 rng(8);
    std::string bytes(3000, '\0');
    for (char& b : bytes) b = static_cast<char>(rng());
    bytes[0] = 'x';  // not the byte order mark: a file the profile functions take as ANSI
    HANDLE f = CreateFileW(run.IniPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);

    run.Start();
    EXPECT_EQ(run.ScoreText(F::SpinEdit1), L"1");
    EXPECT_EQ(run.ScoreText(F::Label18), L"0");
    run.PressStart();
    ASSERT_TRUE(run.WaitForDeal(1));
    PostMessageW(run.FreeCell(), PracticeStuckMessage(), 0, 0);
    EXPECT_TRUE(run.WaitForScore(F::Label1, L"2"));
    // The try is shown while the dialog is still up: the game goes on once it is answered.
    ASSERT_TRUE(run.Log().WaitForLine(L"closed stuck restart"));
    ASSERT_TRUE(run.Win(2)) << run.Log().Dump();
    ExpectSaved(run, 2, 0, {L"1 負け（2回）"});
    EXPECT_EQ(run.IniValue(L"Score", L"lost"), L"1");
}

TEST(DamagedFileTest, OverlongValuesAreCutAtTheReadLimitAndTheRecordStillSaves) {
    DealwardenRun run;
    const std::wstring digits(3000, L'7');
    run.WriteSettings(L"[Game]\r\nGameNo=" + digits + L"\r\nTryCnt=" + digits +
                      L"\r\n[Score]\r\nwon=0000000000000000000000000000000000000000000000012\r\n"
                      L"[Hist]\r\nhist0=" +
                      std::wstring(5000, L'負') + L"\r\n");
    run.Start();
    ASSERT_TRUE(WaitUntil([&] { return run.HistoryBox().size() == 1; }));
    EXPECT_EQ(run.ScoreText(F::SpinEdit1), L"1") << "out of range: the default";
    EXPECT_EQ(run.ScoreText(F::Label18), L"12");
    const auto box = run.HistoryBox();
    ASSERT_EQ(box.size(), 1u);
    EXPECT_EQ(box[0], std::wstring(2047, L'負'));
    run.PressStart();
    ASSERT_TRUE(run.WaitForDeal(1));
    ASSERT_TRUE(run.Win(2)) << run.Log().Dump();
    ExpectSaved(run, 2, 13, {L"1 勝ち", std::wstring(2047, L'負')});
}

// --- a settings file that takes seconds to save --------------------------------

// How often any of the windows was reported hung (its thread had not looked
// at its messages for 5 s), looked at every 20 ms from a thread of the
// test's for as long as the sampler lives.
class HungSampler {
public:
    explicit HungSampler(std::vector<HWND> windows) : windows_(std::move(windows)) {
        thread_ = std::thread([this] {
            while (!stop_) {
                if (std::any_of(windows_.begin(), windows_.end(),
                                [](HWND w) { return IsHungAppWindow(w) != FALSE; }))
                    ++hung_;
                ++samples_;
                std::this_thread::sleep_for(20ms);
            }
        });
    }
    ~HungSampler() { Stop(); }
    void Stop() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }
    int Hung() const { return hung_; }
    int Samples() const { return samples_; }

private:
    std::vector<HWND> windows_;
    std::atomic<bool> stop_ = false;
    std::atomic<int> hung_ = 0, samples_ = 0;
    std::thread thread_;
};

// Other text before the sections, which the profile functions keep.
constexpr std::size_t kOtherTextBytes = 10u << 20;

class LargeSettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        junk_ = LinesOfLetters(kOtherTextBytes, 22);
        run.WriteSettings(junk_ + L"[Game]\r\nGameNo=1\r\nTryCnt=1\r\n");
        ASSERT_TRUE(run.StartPlaying()) << run.Log().Dump();
    }
    void TearDown() override {
        if (HasFailure()) SaveScreenshot(CurrentTestName());
    }
    // The other text is still there, before the sections, as it was.
    void ExpectTheOtherTextKept() {
        const std::string bytes = ReadBytes(run.IniPath());
        const std::string head =
            "\xFF\xFE" +
            std::string(reinterpret_cast<const char*>(junk_.data()), 200 * sizeof(wchar_t));
        EXPECT_EQ(bytes.compare(0, head.size(), head), 0) << "the file does not start as it did";
        EXPECT_GT(bytes.size(), junk_.size() * sizeof(wchar_t));
    }
    // The program's quit: it ends within the close's bound, or tells that
    // the save did not finish and ends once that is answered.
    void QuitAndEnd() {
        const std::size_t boxes = BoxCount(run);
        Click(run.BarButton(TFCCtrF::kIdSpeedButton4));
        const bool ended =
            WaitUntil([&] { return !run.Program().Running() || BoxCount(run) > boxes; },
                      milliseconds(PlayRun::kCloseWaitMs) + 20s);
        ASSERT_TRUE(ended) << "neither ended nor told";
        const bool told = run.Program().Running();
        std::printf("[ note     ] the quit %s\n",
                    told ? "told that the save did not finish" : "ended within its bound");
        if (told) {
            HWND box = WaitForBox(run);
            ASSERT_NE(box, nullptr);
            EXPECT_THAT(MessageBoxText(box),
                        StartsWith(run.IniPath() + L" への保存が終わりません."));
            Click(FindChild(box, L"Button"));
        }
        ASSERT_TRUE(run.WaitForExit(RecordWriter::kStopWait + 10s)) << "still running";
        EXPECT_EQ(run.Program().ExitCode(), 0u);
        EXPECT_TRUE(run.Log().Contains(L"close"));
    }

    DealwardenRun run;
    std::wstring junk_;
};

// Every save rewrites the whole file for each value that changed (seconds
// for a booking, on its own thread): the score window and the control bar
// are never reported hung, before, during or after the saves, and every
// booking of a few quick wins reaches the file, the newest last. Once it
// has, the quit saves again and ends within its bound (or tells).
TEST_F(LargeSettingsFileTest, TheWindowsAnswerThroughEverySaveAndEveryBookingReachesTheFile) {
    HungSampler sampler({run.ScoreWindow(), run.ControlBar()});
    const auto won = std::chrono::steady_clock::now();
    ASSERT_TRUE(run.Win(2)) << run.Log().Dump();
    ASSERT_TRUE(run.Win(3)) << run.Log().Dump();
    ASSERT_TRUE(run.Win(4)) << run.Log().Dump();
    EXPECT_TRUE(run.WaitForScore(F::Label18, L"3")) << "the score window shows the wins";
    ASSERT_TRUE(WaitUntil([&] { return run.IniValue(L"Game", L"GameNo") == L"4"; }, 240s))
        << "the last booking never reached the file";
    const auto saved = std::chrono::steady_clock::now() - won;
    ExpectSaved(run, 4, 3, {L"3 勝ち", L"2 勝ち", L"1 勝ち", L""});
    ExpectTheOtherTextKept();
    QuitAndEnd();
    sampler.Stop();
    EXPECT_EQ(sampler.Hung(), 0) << "hung in " << sampler.Hung() << " of " << sampler.Samples()
                                 << " samples";
    ExpectSaved(run, 4, 3, {L"3 勝ち", L"2 勝ち", L"1 勝ち"});
    ExpectTheOtherTextKept();
    std::printf("[ note     ] three bookings on disk %lld ms after the first win; %d samples\n",
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(saved).count()),
                sampler.Samples());
}

// A quit right after a booking, while its save is under way: the quit ends
// within its bound, or tells and ends; either way the file is whole — the
// record before the booking or the one after it, the other text kept, no
// copy left — and the windows are never reported hung.
TEST_F(LargeSettingsFileTest, AQuitDuringASaveEndsWithinItsBoundOrTellsAndTheFileStaysWhole) {
    HungSampler sampler({run.ScoreWindow(), run.ControlBar()});
    ASSERT_TRUE(run.Win(2)) << run.Log().Dump();
    QuitAndEnd();
    sampler.Stop();
    EXPECT_EQ(sampler.Hung(), 0);
    const std::wstring gameNo = run.IniValue(L"Game", L"GameNo");
    EXPECT_TRUE(gameNo == L"1" || gameNo == L"2") << WideToUtf8(gameNo);
    EXPECT_EQ(run.IniValue(L"Hist", L"hist0"), gameNo == L"2" ? L"1 勝ち" : L"");
    EXPECT_FALSE(FileExists(IniTempFileNameFor(run.IniPath()))) << "the save's copy was left";
    ExpectTheOtherTextKept();
}

// --- the clipboard, FreeCell, the win dialog, the session --------------------

// Holds the clipboard open from a thread of the test process, as another
// program would.
class ClipboardHolder {
public:
    ClipboardHolder() {
        thread_ = std::thread([this] {
            HWND w = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     nullptr, nullptr);
            opened_ = OpenClipboard(w) != FALSE;
            SetEvent(ready_);
            WaitForSingleObject(release_, INFINITE);
            if (opened_) CloseClipboard();
            DestroyWindow(w);
        });
        WaitForSingleObject(ready_, 10000);
    }
    ~ClipboardHolder() { Release(); }
    bool Opened() const { return opened_; }
    void Release() {
        if (!thread_.joinable()) return;
        SetEvent(release_);
        thread_.join();
        CloseHandle(ready_);
        CloseHandle(release_);
    }

private:
    HANDLE ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    bool opened_ = false;
    std::thread thread_;
};

TEST(ClipboardTest, HeldByAnotherProgramIsToldOnceAndTheNextTickEntersTheDeal) {
    DealwardenRun run;
    run.Start();
    ClipboardHolder holder;
    ASSERT_TRUE(holder.Opened());
    run.PressStart();
    HWND box = WaitForBox(run);
    ASSERT_NE(box, nullptr);
    const std::wstring text = MessageBoxText(box);
    EXPECT_THAT(text, StartsWith(L"クリップボード "));
    EXPECT_THAT(text, ::testing::EndsWith(L" を開けません."));
    EXPECT_TRUE(StaysAt(run, 1)) << "a box every tick";
    EXPECT_FALSE(run.Log().Contains(L"deal 1"));
    EXPECT_EQ(run.ScoreText(F::Label1), L"1") << "a failed tick books nothing";

    holder.Release();
    Click(FindChild(box, L"Button"));
    ASSERT_TRUE(WaitForGone(box));
    EXPECT_TRUE(run.WaitForDeal(1)) << WideToUtf8(run.Log().Dump());
    EXPECT_EQ(run.ScoreText(F::Label1), L"1");
    EXPECT_EQ(run.Log().Count(L"deal 1"), 1u);
}

TEST(FreeCellFaultTest, KilledInMidGameEndsTheProgramWithinASecondAndTheRecordIsSaved) {
    DealwardenRun run(StuckAnsweredAfter(1500));
    ASSERT_TRUE(run.StartPlaying()) << run.Log().Dump();
    ASSERT_TRUE(run.Win(2)) << run.Log().Dump();
    PostMessageW(run.FreeCell(), PracticeStuckMessage(), 0, 0);
    ASSERT_TRUE(run.WaitForScore(F::Label1, L"2"));
    Process freecell = Process::Attach(OwnerProcess(run.FreeCell()));
    ASSERT_TRUE(freecell);
    const auto killed = std::chrono::steady_clock::now();
    freecell.Kill();
    ASSERT_TRUE(run.WaitForExit(3000ms));
    EXPECT_LT(std::chrono::steady_clock::now() - killed, 2000ms);
    ExpectSaved(run, 2, 1, {L"1 勝ち"});
    EXPECT_EQ(run.IniValue(L"Game", L"TryCnt"), L"2");
    EXPECT_EQ(run.IniValue(L"Score", L"lost"), L"1");
}

TEST(FreeCellFaultTest, AWinDialogNeedingFiveEntersIsBookedOnce) {
    PracticeOptions o;
    o.winEnters = 5;
    DealwardenRun run(o);
    ASSERT_TRUE(run.StartPlaying()) << run.Log().Dump();
    ASSERT_TRUE(run.Win(2)) << run.Log().Dump();
    EXPECT_TRUE(run.Log().WaitForLine(L"pressed win 5"));
    EXPECT_EQ(run.Log().Count(L"closed win ok"), 1u);
    EXPECT_TRUE(StaysAt(run, 0, 1500ms));
    EXPECT_EQ(run.ScoreText(F::Label18), L"1");
    EXPECT_THAT(run.HistoryBox(), ElementsAre(L"1 勝ち"));
    ExpectSaved(run, 2, 1, {L"1 勝ち", L""});
    EXPECT_EQ(run.Log().Count(L"deal 2"), 1u);
}

// A FreeCell without a window is found by no window look-up: it is ended by
// the process id it logs at start.
struct WindowlessFreeCellKiller {
    const EventLogReader& log;
    bool Kill() const {
        const auto at = log.WaitForPrefix(L"start ", 0, 1000ms);
        if (!at) return false;
        Process p = Process::Attach(std::stoul(log.Lines()[*at].substr(6)));
        if (!p || !p.Running()) return false;
        p.Kill();
        return true;
    }
    ~WindowlessFreeCellKiller() { Kill(); }
};

TEST(FreeCellFaultTest, NeverCreatingItsWindowLeavesTheDockedWindowsOnTheWorkAreaAndStartEnds) {
    PracticeOptions o;
    o.noWindow = true;
    DealwardenRun run(o);
    WindowlessFreeCellKiller killer{run.Log()};
    run.Start();
    HWND button = run.Button1();
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(run.Log().WaitForPrefix(L"start "));
    ASSERT_TRUE(WaitUntil([&] { return IsVisible(run.StartWindow()); }, 15000ms));
    EXPECT_EQ(FindTopLevel(ByClass(L"FreeCell")), nullptr);
    EXPECT_EQ(Text(button), L"Dealwarden を開始");

    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const RECT score = ScreenRect(run.ScoreWindow());
    const RECT bar = ScreenRect(run.ControlBar());
    EXPECT_EQ(score.right, work.right - 6);
    EXPECT_EQ(score.top, work.top + 6);
    EXPECT_EQ(bar.left, work.left + 6);
    EXPECT_EQ(bar.top, work.top + 6);

    Click(button);
    const auto pressed = std::chrono::steady_clock::now();
    ASSERT_TRUE(run.WaitForExit(3000ms));
    EXPECT_LT(std::chrono::steady_clock::now() - pressed, 2500ms);
    EXPECT_EQ(run.IniValue(L"Game", L"GameNo"), L"1");
    EXPECT_TRUE(run.IniHasKey(L"Hist", L"hist99")) << "the close saves the settings";
    EXPECT_TRUE(killer.Kill()) << "the windowless FreeCell lingers, as it would on Windows";
}

TEST(SessionEndTest, EndSessionWritesTheRecordAndACancelledEndDoesNot) {
    DealwardenRun run;
    ASSERT_TRUE(run.StartPlaying()) << run.Log().Dump();
    ASSERT_TRUE(run.Win(2)) << run.Log().Dump();
    ExpectSaved(run, 2, 1, {L"1 勝ち"});
    HWND start = run.StartWindow();
    const auto send = [&](UINT msg, WPARAM w) {
        DWORD_PTR result = 0;
        EXPECT_TRUE(SendMessageTimeoutW(start, msg, w, 0, SMTO_ABORTIFHUNG, 5000, &result));
        return result;
    };

    ASSERT_TRUE(DeleteFileW(run.IniPath().c_str()));
    EXPECT_EQ(send(WM_QUERYENDSESSION, 0), TRUE) << "the session may end";
    send(WM_ENDSESSION, FALSE);
    EXPECT_FALSE(FileExists(run.IniPath())) << "the end was called off: nothing to do";

    send(WM_QUERYENDSESSION, 0);
    send(WM_ENDSESSION, TRUE);
    ASSERT_TRUE(FileExists(run.IniPath())) << "written before WM_ENDSESSION returns";
    ExpectSaved(run, 2, 1, {L"1 勝ち"});
    EXPECT_TRUE(run.IniHasKey(L"Hist", L"hist99"));
}

}  // namespace
}  // namespace dw::e2e
