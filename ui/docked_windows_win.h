#pragma once
// The score window and the control bar as the follower moves, hides and
// shows them.
#include "freecell/window_system.h"
#include "run/docking.h"
#include "run/freecell_follower.h"

namespace dw {

class DockedForm;
class TFCSeisekiF;
class TFCCtrF;

class DockedWindows final : public IDockedWindows {
public:
    // The forms once created; nullptr before they are destroyed.
    void Attach(TFCSeisekiF* score, TFCCtrF* bar);

    DockSizes Sizes() override;
    void Place(const DockedRects& where) override;
    bool Shown(DockedWindow w) override;
    void Show(DockedWindow w, bool shown) override;
    void KeepInFront(DockedWindow w, WindowHandle fcHnd) override;

private:
    DockedForm* Form(DockedWindow w) const;

    TFCSeisekiF* score_ = nullptr;
    TFCCtrF* bar_ = nullptr;
};

// Where the two forms go against FreeCell now, at the sizes they are created
// with: what each one's FormSet uses at its creation.
DockedRects CreationPlacement(WindowHandle fcHnd);

}  // namespace dw
