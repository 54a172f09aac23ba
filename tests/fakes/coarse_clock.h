#pragma once
// Time as Windows gives it to a waiting program: a wait or timer lasts a whole
// number of clock ticks (15.6 ms unless some program asked for finer), so a
// 2 ms pause is a 16 ms one. The fakes move their clocks this way when a test
// asks them to, and waits must keep their promises either way.
namespace dw::testing {

inline constexpr unsigned kWindowsTickMs = 16;

// How long a wait of ms lasts on a clock that moves in tickMs steps (0: as asked).
inline unsigned OnTicks(unsigned ms, unsigned tickMs) {
    return tickMs == 0 ? ms : (ms + tickMs - 1) / tickMs * tickMs;
}

}  // namespace dw::testing
