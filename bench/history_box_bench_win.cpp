#include "bench/history_box_bench_win.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/measure_win.h"
#include "bench/stats.h"
#include "ui/history_box_win.h"
#include "win/gdi_win.h"
#include "win/handles_win.h"

namespace dw::bench {
namespace {

// The score window's history box, in client pixels.
constexpr int kBoxWidth = 128, kBoxHeight = 146;
constexpr int kBoxId = 1100;
constexpr wchar_t kHostClass[] = L"DwBenchHistoryHost";

std::wstring ResultLine(int i) {
    return std::to_wstring(100000 + i % 900000) + (i % 3 ? L" 勝ち" : L" 負け");
}

// A hidden top-level window whose client area is the box's, the box in it
// with the score window's font.
class Host {
public:
    Host() {
        const HINSTANCE inst = GetModuleHandleW(nullptr);
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = inst;
        wc.lpszClassName = kHostClass;
        RegisterClassExW(&wc);
        RECT r{0, 0, kBoxWidth, kBoxHeight};
        const DWORD style = WS_OVERLAPPED | WS_CAPTION;
        AdjustWindowRectEx(&r, style, FALSE, 0);
        window_ = win::UniqueWindow(CreateWindowExW(0, kHostClass, L"history", style, 0, 0,
                                                    r.right - r.left, r.bottom - r.top, nullptr,
                                                    nullptr, inst, nullptr));
        if (!window_.get()) return;
        box_.Create(window_.get(), 0, 0, kBoxWidth, kBoxHeight, kBoxId);
        SendMessageW(box_.Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    }
    bool Ok() const { return box_.Hwnd() != nullptr; }
    HistoryBox& Box() { return box_; }
    LRESULT LineCount() const { return SendMessageW(box_.Hwnd(), EM_GETLINECOUNT, 0, 0); }

private:
    win::UniqueFont font_ = win::MakeFont(win::kPGothic, 13, false);
    win::UniqueWindow window_;
    HistoryBox box_;
};

struct AtSize {
    int lines = 0;
    double setMs = 0;
    Summary insert;
    LRESULT lineCount = 0;
};

AtSize Measure(Host& host, int lines, int inserts) {
    AtSize r;
    r.lines = lines;
    std::vector<std::wstring> text;
    text.reserve(static_cast<std::size_t>(lines));
    for (int i = 0; i < lines; ++i) text.push_back(ResultLine(i));
    const double t0 = NowMs();
    host.Box().SetLines(text);
    r.setMs = NowMs() - t0;
    std::vector<double> ms;
    for (int i = 0; i < inserts; ++i) {
        const std::wstring line = ResultLine(lines + i);
        const double s = NowMs();
        host.Box().InsertOnTop(line);
        ms.push_back(NowMs() - s);
    }
    r.insert = Summarize(ms);
    r.lineCount = host.LineCount();
    return r;
}

// 100000 -> "100,000"
std::string Count(int n) {
    const std::string digits = std::to_string(n);
    std::string s;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i && (digits.size() - i) % 3 == 0) s += ',';
        s += digits[i];
    }
    return s;
}

}  // namespace

void MeasureHistoryBox(int inserts, Table& t) {
    std::fprintf(stderr, "bench: history box\n");
    Host host;
    if (!host.Ok()) {
        t.Add({"history box", "failed: no edit control", "", ""});
        return;
    }
    std::vector<AtSize> sizes;
    for (int lines : {1000, 10000, 100000}) sizes.push_back(Measure(host, lines, inserts));
    const AtSize& small = sizes.front();
    for (const AtSize& s : sizes) {
        t.Add({"history box, InsertOnTop at " + Count(s.lines) + " lines (median of " +
                   std::to_string(s.insert.n) + ")",
               Millis(s.insert.median) + " (" + Millis(s.insert.min) + ".." + Millis(s.insert.max) +
                   ")",
               &s == &small ? "" : "at " + Count(small.lines) + " " + Millis(small.insert.median),
               &s == &small ? "" : Ratio(s.insert.median, small.insert.median)});
    }
    for (const AtSize& s : sizes)
        t.Add({"  SetLines of " + Count(s.lines) + " lines", Millis(s.setMs), "", ""});
    std::string note = "history box: a hidden " + std::to_string(kBoxWidth) + " x " +
                       std::to_string(kBoxHeight) +
                       " edit, 13 px MS P Gothic; lines as the edit control counts them after the "
                       "inserts (wrapped lines count twice):";
    for (const AtSize& s : sizes) {
        note += ' ';
        note += Count(s.lines + static_cast<int>(s.insert.n));
        note += " -> " + std::to_string(s.lineCount) + ";";
    }
    note.back() = '.';
    t.Note(note);
}

}  // namespace dw::bench
