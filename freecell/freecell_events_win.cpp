#include "freecell/freecell_events_win.h"

#include <map>

namespace dw {
namespace {

// The hook procedure has no context argument: each hook finds its
// subscription here. Only the thread that installed a hook is called back.
std::map<HWINEVENTHOOK, WinEventSubscription*>& Subscribers() {
    static std::map<HWINEVENTHOOK, WinEventSubscription*> subscribers;
    return subscribers;
}

// Creation, destruction, showing and hiding are one range; renaming and the
// start of a dialog lie apart. The ranges between (focus, selection, value,
// location…) would wake us for nothing.
constexpr std::pair<DWORD, DWORD> kEventRanges[] = {
    {EVENT_OBJECT_CREATE, EVENT_OBJECT_HIDE},
    {EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE},
    {EVENT_SYSTEM_DIALOGSTART, EVENT_SYSTEM_DIALOGSTART},
};

}  // namespace

bool WinEventSubscription::Subscribe(WindowHandle fcHnd, std::function<void()> onEvent) {
    Unsubscribe();
    DWORD pid = 0;
    if (fcHnd == kNoWindow || !GetWindowThreadProcessId(win::ToHwnd(fcHnd), &pid) || !pid)
        return false;
    onEvent_ = std::move(onEvent);
    for (const auto& [min, max] : kEventRanges) {
        // FreeCell's process id alone keeps our own windows out; adding
        // WINEVENT_SKIPOWNPROCESS to it makes Wine 8 deliver nothing at all.
        win::UniqueWinEventHook hook(
            SetWinEventHook(min, max, nullptr, OnWinEvent, pid, 0, WINEVENT_OUTOFCONTEXT));
        if (!hook) continue;
        Subscribers()[hook.get()] = this;
        hooks_.push_back(std::move(hook));
    }
    if (hooks_.empty()) onEvent_ = nullptr;
    return !hooks_.empty();
}

void WinEventSubscription::Unsubscribe() {
    for (const auto& hook : hooks_) Subscribers().erase(hook.get());
    hooks_.clear();
    onEvent_ = nullptr;
}

void CALLBACK WinEventSubscription::OnWinEvent(HWINEVENTHOOK hook, DWORD, HWND hwnd, LONG idObject,
                                               LONG idChild, DWORD, DWORD) {
    // Windows themselves only: not their scroll bars, carets or menus.
    if (!hwnd || idObject != OBJID_WINDOW || idChild != CHILDID_SELF) return;
    const auto it = Subscribers().find(hook);
    if (it == Subscribers().end() || !it->second->onEvent_) return;
    // Nothing may be thrown back into the system. An early tick that could
    // not be asked for is not lost: the heartbeat comes within a second.
    try {
        const std::function<void()> onEvent = it->second->onEvent_;  // it may unsubscribe
        onEvent();
    } catch (...) {
    }
}

}  // namespace dw
