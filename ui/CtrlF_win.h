#pragma once
// The control bar along FreeCell's top edge: retry the current deal, undo one
// move, quit.
#include "run/play_run.h"
#include "ui/docked_form_win.h"
#include "ui/speed_button_win.h"
#include "win/gdi_win.h"

namespace dw {

class TFCCtrF final : public DockedForm {
public:
    static constexpr int kClientWidth = 345, kClientHeight = 39;
    static constexpr COLORREF kBackground = RGB(0, 255, 0);
    static constexpr UINT kIdSpeedButton2 = 202, kIdSpeedButton3 = 203, kIdSpeedButton4 = 204;

    explicit TFCCtrF(PlayRun& run) : DockedForm(run) {}
    // Creates the bar hidden; FormCreate runs inside.
    void Create(HWND owner);

    // Its outer size as created, before placement.
    static SIZE CreatedSize();

    void FormSet() override;
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    // While the watcher waits for FreeCell the buttons are greyed and take no click.
    void HoldInput(bool held);

    HWND SpeedButton2() const { return speedButton2_.Hwnd(); }
    HWND SpeedButton3() const { return speedButton3_.Hwnd(); }
    HWND SpeedButton4() const { return speedButton4_.Hwnd(); }

protected:
    LRESULT FormMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void LayOut() override;

private:
    void FormCreate();

    win::UniqueFont font12_, font13_;
    win::UniqueBrush background_;
    SpeedButton speedButton2_{Glyph::Retry, IDC_HAND};
    SpeedButton speedButton3_{Glyph::Undo, IDC_HAND};
    SpeedButton speedButton4_{Glyph::Quit, IDC_ARROW};
};

}  // namespace dw
