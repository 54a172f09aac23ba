// The history box under Wine, in a window of this process: a run of
// thousands of games keeps every line, newest on top. An edit control stops
// taking text at 30000 characters unless told otherwise: somewhere past
// 2,000 games a new line was cut or not inserted at all.
#include <gtest/gtest.h>

#include "ui/history_box_win.h"
#include "win/handles_win.h"

namespace dw {
namespace {

std::wstring TextOf(HWND w) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(w, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::vector<std::wstring> Lines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find(L"\r\n", start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

TEST(HistoryBoxTest, AFiveThousandGameRunKeepsEveryLineNewestOnTop) {
    win::UniqueWindow parent(CreateWindowExW(0, L"STATIC", L"history", WS_POPUP, 0, 0, 200, 200,
                                             nullptr, nullptr, nullptr, nullptr));
    ASSERT_NE(parent.get(), nullptr);
    HistoryBox box;
    box.Create(parent.get(), 0, 0, 128, 146, 1100);
    ASSERT_NE(box.Hwnd(), nullptr);
    // The record's hundred lines at start, then a long run, with the longer
    // lines of games won after failed tries among them.
    std::vector<std::wstring> stored;
    for (int i = 100; i >= 1; --i) stored.push_back(std::to_wstring(i) + L" 勝ち");
    box.SetLines(stored);
    constexpr int kGames = 5000;
    std::vector<std::wstring> expected;
    for (int game = 101; game < 101 + kGames; ++game) {
        const std::wstring line =
            game % 7 ? std::to_wstring(game) + L" 勝ち" : std::to_wstring(game) + L" 負け（12回）";
        box.InsertOnTop(line);
        expected.insert(expected.begin(), line);
    }
    expected.insert(expected.end(), stored.begin(), stored.end());

    const std::wstring text = TextOf(box.Hwnd());
    EXPECT_GT(text.size(), 30000u) << "past the default limit";
    const auto lines = Lines(text);
    ASSERT_EQ(lines.size(), expected.size());
    EXPECT_EQ(lines.front(), expected.front());
    EXPECT_EQ(lines, expected);
}

}  // namespace
}  // namespace dw
