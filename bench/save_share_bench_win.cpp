#include "bench/save_share_bench_win.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "bench/measure_win.h"
#include "bench/sample_record.h"
#include "bench/stats.h"
#include "harness/files_win.h"
#include "record/app_error.h"
#include "record/profile_win.h"
#include "record/settings.h"
#include "ui/record_saves_win.h"
#include "win/handles_win.h"

namespace dw::bench {
namespace {

using harness::TempDir;

void Progress(const char* what) {
    std::fprintf(stderr, "bench: %s\n", what);
    std::fflush(stderr);
}

// The window thread's part of one way of saving, and the longest its window
// went unanswered meanwhile.
struct Share {
    std::vector<double> threadMs;  // the window thread busy with the save
    std::vector<double> wholeMs;   // from the booking to the record on disk
    double longestUnansweredMs = 0;
};

// The next booking: every stored value changes, as after a win.
void Book(TFCGameRecord& record) {
    record.TakeDealNumber();
    record.CountWin();
}

// Before: IniWrite on the window thread, which answers nothing meanwhile.
Share OnTheWindowThread(const std::wstring& ini, int saves) {
    Win32ProfileFiles files;
    TFCGameRecord record = SampleRecord();
    win::UniqueWindow own(
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
    Share s;
    AnswerProbe probe(own.get());
    for (int i = 0; i < saves; ++i) {
        Book(record);
        const double t0 = NowMs();
        IniWrite(files, ini, record, false);
        s.threadMs.push_back(NowMs() - t0);
        s.wholeMs.push_back(s.threadMs.back());
        // The probe's messages are answered between the saves.
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    probe.Stop();
    s.longestUnansweredMs = probe.LongestMs();
    return s;
}

// After: the snapshot handed to the writer; the window thread goes on with
// its messages until the news of the write comes, and takes it.
Share ThroughTheWriter(const std::wstring& ini, int saves) {
    TFCGameRecord record = SampleRecord();
    bool news = false;
    ThreadRecordSaves writer(std::make_shared<Win32ProfileFiles>(), [&] { news = true; });
    writer.Create();
    Share s;
    AnswerProbe probe(writer.Hwnd());
    for (int i = 0; i < saves; ++i) {
        Book(record);
        news = false;
        const double t0 = NowMs();
        writer.Hand({ini, record, false});
        const double handed = NowMs();
        MSG msg;
        while (!news && GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        const double t1 = NowMs();
        const auto outcomes = writer.TakeOutcomes();
        s.threadMs.push_back(handed - t0 + NowMs() - t1);
        s.wholeMs.push_back(t1 - t0);
        if (outcomes.empty() || outcomes.back().failure) throw AppError(L"the writer failed");
    }
    probe.Stop();
    s.longestUnansweredMs = probe.LongestMs();
    writer.Destroy();
    return s;
}

std::string Median(const std::vector<double>& ms) {
    const Summary s = Summarize(ms);
    return ms.size() > 1 ? Millis(s.median) + " (" + Millis(s.min) + ".." + Millis(s.max) + ")"
                         : Millis(s.median);
}

void Rows(const char* file, int saves, const Share& before, const Share& after, Table& t) {
    const std::string n = std::to_string(saves);
    t.Add({std::string("booking's save, window thread's share, ") + file + " (median of " + n + ")",
           Median(after.threadMs), "before " + Median(before.threadMs),
           Ratio(Summarize(after.threadMs).median, Summarize(before.threadMs).median)});
    t.Add({std::string("  longest a window went unanswered during the saves, ") + file,
           Millis(after.longestUnansweredMs), "before " + Millis(before.longestUnansweredMs),
           Ratio(after.longestUnansweredMs, before.longestUnansweredMs)});
    t.Add({std::string("  booking -> record on disk, ") + file, Median(after.wholeMs),
           "before " + Median(before.wholeMs), ""});
}

}  // namespace

void WriteLargeSettings(const std::wstring& ini) {
    const std::wstring text = L"\xFEFF" + harness::LinesOfLetters(10u << 20, 22);
    win::UniqueHandle f(CreateFileW(ini.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!f || !WriteFile(f.get(), text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)),
                         &written, nullptr))
        throw AppError(L"cannot write " + ini);
    f.reset();
    Win32ProfileFiles files;
    IniWrite(files, ini, SampleRecord(), false);
}

AnswerProbe::AnswerProbe(HWND window) : window_(window) {
    thread_ = std::thread([this] {
        while (!stop_) {
            const double t0 = NowMs();
            DWORD_PTR result = 0;
            SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, 120000, &result);
            const auto us = static_cast<long long>((NowMs() - t0) * 1000.0);
            if (us > longestUs_) longestUs_ = us;
            ++probes_;
            Sleep(5);
        }
    });
}

void AnswerProbe::Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

void MeasureSaveShare(int normalSaves, int largeSaves, Table& t) {
    try {
        for (const bool large : {false, true}) {
            const int saves = large ? largeSaves : normalSaves;
            if (saves <= 0) continue;
            Progress(large ? "a booking's save, 10 MB settings file" : "a booking's save");
            TempDir dir(L"bench-saves");
            Win32ProfileFiles files;
            const std::wstring ini = dir.File(L"Dealwarden.Ini");
            if (large)
                WriteLargeSettings(ini);
            else
                IniWrite(files, ini, SampleRecord(), false);
            const Share before = OnTheWindowThread(ini, saves);
            const Share after = ThroughTheWriter(ini, saves);
            Rows(large ? "10 MB file" : "normal file", saves, before, after, t);
        }
        t.Note(
            "save share: the record after a win (every value changed) saved into an existing "
            "file; before = IniWrite on the thread that keeps the window; after = the snapshot "
            "handed to the writer and its news taken (the thread dispatches its messages "
            "meanwhile). Unanswered: WM_NULL sent to a window of that thread every 5 ms from "
            "another thread, longest round trip.");
    } catch (const AppError& e) {
        std::string m;
        for (wchar_t c : e.Message()) m.push_back(c < 0x80 ? static_cast<char>(c) : '?');
        t.Add({"booking's save, window thread's share", "failed: " + m, "", ""});
    }
}

}  // namespace dw::bench
