#pragma once
// A test that drives one practice FreeCell it started itself, on a desktop
// cleared of leftovers; a failing test leaves a screenshot behind.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "freecell/contract.h"
#include "freecell/window_system_win.h"
#include "harness/practice_win.h"
#include "harness/screenshot_win.h"

namespace dw::harness {

// The dialog titles the practice tests look for, as the contract names them.
inline const std::wstring kSelectTitle(freecell::CkWord[freecell::kSelectGame]);
inline const std::wstring kStuckTitle(freecell::CkWord[freecell::kNoMoreMoves]);
inline const std::wstring kWinTitle(freecell::CkWord[freecell::kWin]);

inline std::wstring CurrentTestName() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name)
        if (c == '/') c = '_';
    return std::wstring(name.begin(), name.end());
}

class PracticeTest : public ::testing::Test {
protected:
    void SetUp() override { KillStrayFreeCells(); }
    void TearDown() override {
        if (HasFailure()) {
            const std::wstring shot = SaveScreenshot(CurrentTestName());
            if (game_)
                ADD_FAILURE() << "log:\n"
                              << WideToUtf8(game_->Log().Dump())
                              << "screenshot: " << WideToUtf8(shot);
        }
        game_.reset();
    }

    // Starts the stand-in and waits for its main window.
    HWND Start(PracticeOptions options = {}) {
        game_.emplace(options);
        main_ = game_->WaitForMainWindow();
        EXPECT_NE(main_, nullptr) << "no main window";
        return main_;
    }

    const EventLogReader& Log() const { return game_->Log(); }

    // F3 as Dealwarden posts it, then the select-game dialog once usable.
    HWND OpenSelect() {
        PostAll(main_, freecell::OpenSelectGame());
        return game_->WaitForDialog(std::wstring(freecell::CkWord[freecell::kSelectGame]));
    }

    // The number handed over as Dealwarden does: clipboard, WM_PASTE to the
    // "Edit", Enter posted to the first "Button".
    void EnterDeal(HWND select, const std::wstring& text) {
        ASSERT_TRUE(ws_.PutClipboardText(text).opened);
        Post(FindChild(select, std::wstring(freecell::kEditClass)), freecell::kPaste);
        Post(FindChild(select, std::wstring(freecell::kButtonClass)), freecell::kEnter);
    }

    // F3, enter the deal, wait until it is dealt.
    void Deal(const std::wstring& text) {
        HWND select = OpenSelect();
        ASSERT_NE(select, nullptr);
        EnterDeal(select, text);
        ASSERT_TRUE(Log().WaitForLine(L"deal " + text));
    }

    std::optional<PracticeFreeCell> game_;
    HWND main_ = nullptr;
    Win32WindowSystem ws_;
};

}  // namespace dw::harness
