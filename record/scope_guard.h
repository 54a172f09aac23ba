#pragma once
// Runs its function when the scope ends, however it ends (an AppError
// included): what a scope set up is undone once, in one place.
#include <utility>

namespace dw {

template <class F>
class ScopeGuard {
public:
    explicit ScopeGuard(F onExit) : onExit_(std::move(onExit)) {}
    ScopeGuard(const ScopeGuard&) = delete;
    ScopeGuard& operator=(const ScopeGuard&) = delete;
    ~ScopeGuard() { onExit_(); }

private:
    F onExit_;
};

// Sets a state for as long as the scope lasts: on(true) now, on(false) at its end.
template <class F>
[[nodiscard]] auto HoldFor(F on) {
    on(true);
    return ScopeGuard([on = std::move(on)] { on(false); });
}

}  // namespace dw
