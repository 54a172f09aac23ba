#pragma once
// FreeCell's window events through SetWinEventHook, out of context: the
// system calls us back from our own message loop, never inside FreeCell.
#include <functional>
#include <vector>

#include "freecell/freecell_events.h"
#include "win/handles_win.h"

namespace dw {

class WinEventSubscription final : public IFreeCellEvents {
public:
    WinEventSubscription() = default;
    WinEventSubscription(const WinEventSubscription&) = delete;
    WinEventSubscription& operator=(const WinEventSubscription&) = delete;
    ~WinEventSubscription() override { Unsubscribe(); }

    bool Subscribe(WindowHandle fcHnd, std::function<void()> onEvent) override;
    bool SubscribeMoves(WindowHandle fcHnd, std::function<void()> onMoved) override;
    void Unsubscribe() override;

private:
    static void CALLBACK OnWinEvent(HWINEVENTHOOK hook, DWORD event, HWND hwnd, LONG idObject,
                                    LONG idChild, DWORD thread, DWORD time);
    // Hooks over these ranges of fcHnd's process, each calling back call.
    bool Hook(WindowHandle fcHnd, const std::pair<DWORD, DWORD>* ranges, std::size_t count,
              bool moves);

    std::vector<win::UniqueWinEventHook> hooks_;
    std::function<void()> onEvent_, onMoved_;
    HWND moving_ = nullptr;  // the one window whose moves count
};

}  // namespace dw
