#include "freecell/freecell_events_win.h"

#include <iterator>
#include <map>

namespace dw {
namespace {

struct Hooked {
    WinEventSubscription* subscription;
    bool moves;  // a hook of the main window's moves, not of dialogs
};

// The hook procedure has no context argument: each hook finds its
// subscription here. Only the thread that installed a hook is called back.
std::map<HWINEVENTHOOK, Hooked>& Subscribers() {
    static std::map<HWINEVENTHOOK, Hooked> subscribers;
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
// What moves the main window, minimizes or restores it (a maximize is a
// location change), and FreeCell brought to the front over our windows.
constexpr std::pair<DWORD, DWORD> kMoveRanges[] = {
    {EVENT_OBJECT_LOCATIONCHANGE, EVENT_OBJECT_LOCATIONCHANGE},
    {EVENT_SYSTEM_MINIMIZESTART, EVENT_SYSTEM_MINIMIZEEND},
    {EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND},
};

}  // namespace

bool WinEventSubscription::Hook(WindowHandle fcHnd, const std::pair<DWORD, DWORD>* ranges,
                                std::size_t count, bool moves) {
    DWORD pid = 0;
    if (fcHnd == kNoWindow || !GetWindowThreadProcessId(win::ToHwnd(fcHnd), &pid) || !pid)
        return false;
    bool any = false;
    for (std::size_t i = 0; i < count; ++i) {
        // FreeCell's process id alone keeps our own windows out; adding
        // WINEVENT_SKIPOWNPROCESS to it makes Wine 8 deliver nothing at all.
        win::UniqueWinEventHook hook(SetWinEventHook(ranges[i].first, ranges[i].second, nullptr,
                                                     OnWinEvent, pid, 0, WINEVENT_OUTOFCONTEXT));
        if (!hook) continue;
        Subscribers()[hook.get()] = {this, moves};
        hooks_.push_back(std::move(hook));
        any = true;
    }
    return any;
}

bool WinEventSubscription::Subscribe(WindowHandle fcHnd, std::function<void()> onEvent) {
    Unsubscribe();
    onEvent_ = std::move(onEvent);
    if (!Hook(fcHnd, kEventRanges, std::size(kEventRanges), false)) onEvent_ = nullptr;
    return static_cast<bool>(onEvent_);
}

bool WinEventSubscription::SubscribeMoves(WindowHandle fcHnd, std::function<void()> onMoved) {
    onMoved_ = std::move(onMoved);
    moving_ = win::ToHwnd(fcHnd);
    if (!Hook(fcHnd, kMoveRanges, std::size(kMoveRanges), true)) onMoved_ = nullptr;
    return static_cast<bool>(onMoved_);
}

void WinEventSubscription::Unsubscribe() {
    for (const auto& hook : hooks_) Subscribers().erase(hook.get());
    hooks_.clear();
    onEvent_ = nullptr;
    onMoved_ = nullptr;
    moving_ = nullptr;
}

void CALLBACK WinEventSubscription::OnWinEvent(HWINEVENTHOOK hook, DWORD, HWND hwnd, LONG idObject,
                                               LONG idChild, DWORD, DWORD) {
    // Windows themselves only: not their scroll bars, carets or menus.
    if (!hwnd || idObject != OBJID_WINDOW || idChild != CHILDID_SELF) return;
    const auto it = Subscribers().find(hook);
    if (it == Subscribers().end()) return;
    WinEventSubscription& s = *it->second.subscription;
    // Moves of FreeCell's dialogs and controls are none of the docking's business.
    if (it->second.moves && hwnd != s.moving_) return;
    const std::function<void()>& call = it->second.moves ? s.onMoved_ : s.onEvent_;
    if (!call) return;
    // Nothing may be thrown back into the system. An early tick that could
    // not be asked for is not lost: the heartbeat comes within a second.
    try {
        const std::function<void()> copy = call;  // it may unsubscribe
        copy();
    } catch (...) {
    }
}

}  // namespace dw
