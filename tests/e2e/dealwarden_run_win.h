#pragma once
// One run of Dealwarden for an end-to-end test: the program copied into a
// fresh directory of its own (so its settings file is the test's own), the
// practice FreeCell installed beside it as FREECELL.EXE (found first, in the
// current directory), and everything it started ended with the test.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "harness/event_log_win.h"
#include "harness/files_win.h"
#include "harness/practice_win.h"
#include "harness/process_win.h"
#include "harness/windows_win.h"
#include "run/score_texts.h"

namespace dw::e2e {

class DealwardenRun {
public:
    // installFreeCell false: no FREECELL.EXE anywhere Dealwarden looks.
    // exePathChars: the program is put in folders below the run's own so
    // that its path is this long (its settings file's path as long too); it
    // still runs in the run's folder, where FREECELL.EXE is.
    explicit DealwardenRun(harness::PracticeOptions practice = {}, bool installFreeCell = true,
                           std::size_t exePathChars = 0);
    DealwardenRun(const DealwardenRun&) = delete;
    DealwardenRun& operator=(const DealwardenRun&) = delete;
    ~DealwardenRun();

    std::wstring ExePath() const;
    // Writes the settings file as given, UTF-16LE with its byte order mark.
    void WriteSettings(const std::wstring& text) const;
    std::wstring IniPath() const;
    std::wstring IniValue(const std::wstring& section, const std::wstring& key) const;
    bool IniHasKey(const std::wstring& section, const std::wstring& key) const;

    void Start();
    // Another copy of the program, started from dir (this run's own by default).
    harness::Process StartAnotherCopy(const std::wstring& dir = L"");
    std::wstring Dir() const;
    harness::Process& Program() { return program_; }
    bool WaitForExit(harness::milliseconds timeout = harness::kDefaultTimeout) {
        return program_.WaitForExit(timeout);
    }

    HWND StartWindow();
    HWND Button1();
    HWND ScoreWindow();
    HWND ControlBar();
    HWND AppWindow();
    // FreeCell's main window as Dealwarden started it; the process is taken
    // over so the test ends it.
    HWND FreeCell();
    void PressStart();
    // Start, the start button, and the first deal entered; false if it was not.
    bool StartPlaying();

    // The practice FreeCell wins the current deal; true once the next one
    // is dealt.
    bool Win(int nextDeal);
    // A button of the control bar, by its id (TFCCtrF::kIdSpeedButton2…4).
    HWND BarButton(int id);

    const harness::EventLogReader& Log() const { return *log_; }
    // Waits until the practice FreeCell has dealt this game count times.
    bool WaitForDeal(int number, std::size_t count = 1);

    // The program's message boxes (class "#32770", caption "Dealwarden"; the
    // start window has that caption too).
    HWND WaitForMessageBox();
    std::size_t MessageBoxCount();

    std::wstring ScoreText(ScoreField f);
    std::vector<std::wstring> HistoryBox();
    // Waits until a score window value reads text.
    bool WaitForScore(ScoreField f, const std::wstring& text);

private:
    std::unique_ptr<harness::TempDir> dir_;
    std::wstring exeDir_;  // the run's folder or one below it
    std::optional<harness::InstalledFreeCell> freecellInstall_;
    std::unique_ptr<harness::EventLogReader> log_;
    harness::Process program_;
    harness::Process freecell_;
};

// A message box's text: its longest "Static" child (the icon is one too).
std::wstring MessageBoxText(HWND box);

// A box of the program's stands over the window the player sees, which owns
// it, and in front of every other program's windows (FreeCell's too).
::testing::AssertionResult OwnedAndInFront(HWND box, HWND owner);

// WM_SETTEXT across processes, as typing would leave the field.
void SetText(HWND w, const std::wstring& text);

}  // namespace dw::e2e
