#pragma once
// QueryPerformanceCounter in milliseconds: one clock for every process on
// the machine (under Wine too), so that times taken by the practice FreeCell
// and by the program that watches it can be compared.
#include <windows.h>

namespace dw::harness {

inline double PerformanceCounterMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / ticksPerMs;
}

}  // namespace dw::harness
