#pragma once
// The score window "成績": the record of this run and of all runs, streaks
// and the history, docked to FreeCell's right edge. Its menu command sets the
// game number to continue from and ends the program.
#include <string>

#include "run/play_run.h"
#include "run/score_texts.h"
#include "ui/docked_form_win.h"
#include "ui/history_box_win.h"
#include "win/gdi_win.h"

namespace dw {

class TFCSeisekiF final : public DockedForm {
public:
    static constexpr int kClientWidth = 153, kClientHeight = 430;
    static constexpr COLORREF kBackground = RGB(255, 255, 128);
    // Control and command ids, also how the tests find what they read.
    static constexpr UINT kIdNo1 = 101;  // DW_IDM_NO1 of the resources
    static constexpr int kIdMemo1 = 1100;
    static constexpr int ControlId(ScoreField f) { return 1000 + static_cast<int>(f); }

    explicit TFCSeisekiF(PlayRun& run) : DockedForm(run) {}
    // Creates the window hidden; FormCreate runs inside.
    void Create(HWND owner);

    // Its outer size as created, before placement.
    static SIZE CreatedSize();

    void FormSet() override;
    void HyoujiUpdate();
    void No1Click();
    void ShowTryCount(int tryCnt);
    void SetGameBoxText(const std::wstring& text);
    void InsertHistoryLine(const std::wstring& line);
    // While the watcher waits for FreeCell the menu is greyed.
    void HoldInput(bool held);

    // Read back by the tests and by nobody else.
    HWND Control(ScoreField f) const;
    HWND SpinEdit1() const { return spinEdit1_; }
    HWND Memo1() const { return memo1_.Hwnd(); }

protected:
    LRESULT FormMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void LayOut() override;
    void PaintMore(HDC dc) override;

private:
    void FormCreate();
    void CreateControls();
    HWND Label(const wchar_t* text, int x, int y, int w, int h, DWORD align, HFONT font);
    void SpinEditKillFocus();
    void SpinEditStep(int delta);

    win::UniqueFont font12Bold_, font13_, font13Bold_, font15Bold_, font12_;
    win::UniqueBrush background_;
    HWND spinEdit1_ = nullptr, upDown1_ = nullptr, groupBox1_ = nullptr, groupBox2_ = nullptr;
    HistoryBox memo1_;
    HWND label1_ = nullptr, label13_ = nullptr, label9_ = nullptr, label11_ = nullptr;
    HWND label16_ = nullptr, label17_ = nullptr, label18_ = nullptr, label19_ = nullptr,
         label20_ = nullptr, label21_ = nullptr;
    HMENU menu_ = nullptr;
};

}  // namespace dw
