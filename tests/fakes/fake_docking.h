#pragma once
// FreeCell's window on a scripted screen, and docked windows that record
// what they are asked into a log, for the follower and the run.
#include <optional>
#include <string>
#include <vector>

#include "run/freecell_follower.h"

namespace dw::testing {

class FakeFreeCellScreen : public IFreeCellScreen {
public:
    FreeCellOnScreen now;  // what the next look sees
    int looks = 0;
    FreeCellOnScreen Look(WindowHandle) override {
        ++looks;
        return now;
    }
};

inline std::wstring Describe(const Rect& r) {
    return std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L" " +
           std::to_wstring(r.Width()) + L"x" + std::to_wstring(r.Height());
}

inline const wchar_t* NameOf(DockedWindow w) {
    return w == DockedWindow::Score ? L"score" : L"bar";
}

inline std::wstring PlaceLine(const DockedRects& d) {
    return L"Place score " + Describe(d.score) + L" bar " + Describe(d.bar);
}
// The line of a placement against FreeCell as seen, at these sizes.
inline std::wstring PlaceLine(const FreeCellOnScreen& s, const DockSizes& sizes) {
    return PlaceLine(PlaceDocked(s.present ? std::optional<FreeCellFrame>(s.frame) : std::nullopt,
                                 s.workArea, sizes));
}

// Logs "Place score L,T WxH bar L,T WxH", "Show score", "Hide bar", "Front score".
class FakeDockedWindows : public IDockedWindows {
public:
    explicit FakeDockedWindows(std::vector<std::wstring>& log) : log_(log) {}
    DockSizes sizes{161, 480, 351, 64};
    bool scoreShown = true, barShown = true;
    DockedRects placed;

    DockSizes Sizes() override { return sizes; }
    void Place(const DockedRects& where) override {
        placed = where;
        log_.push_back(PlaceLine(where));
    }
    bool Shown(DockedWindow w) override { return w == DockedWindow::Score ? scoreShown : barShown; }
    void Show(DockedWindow w, bool shown) override {
        (w == DockedWindow::Score ? scoreShown : barShown) = shown;
        log_.push_back(std::wstring(shown ? L"Show " : L"Hide ") + NameOf(w));
    }
    void KeepInFront(DockedWindow w, WindowHandle) override {
        log_.push_back(std::wstring(L"Front ") + NameOf(w));
    }

private:
    std::vector<std::wstring>& log_;
};

}  // namespace dw::testing
