#pragma once
// What a booking's save costs the window thread: the share of the thread that
// keeps the windows, and the longest a window of it took to answer while the
// record was written, with a settings file of a few kilobytes and with one
// of 10 MB (other text before the sections, which the profile functions keep
// and rewrite for every value). "Before" is the save done on the window
// thread itself (IniWrite); "after" is the hand-over to the writer's thread.
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "bench/table.h"

namespace dw::bench {

// The settings file of a returning player after 10 MB of other text.
void WriteLargeSettings(const std::wstring& ini);

// How long a window takes to answer: WM_NULL sent from a thread of its own
// every 5 ms for as long as the prober lives; the longest round trip.
class AnswerProbe {
public:
    explicit AnswerProbe(HWND window);
    ~AnswerProbe() { Stop(); }
    void Stop();
    double LongestMs() const { return longestUs_ / 1000.0; }
    int Probes() const { return probes_; }

private:
    HWND window_;
    std::atomic<bool> stop_ = false;
    std::atomic<long long> longestUs_ = 0;
    std::atomic<int> probes_ = 0;
    std::thread thread_;
};

void MeasureSaveShare(int normalSaves, int largeSaves, Table& t);

}  // namespace dw::bench
