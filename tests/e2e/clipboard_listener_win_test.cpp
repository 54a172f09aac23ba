// Another program on the clipboard, as players' Windows has one: the
// clipboard history of Windows 10/11, a remote desktop's clipboard, a
// clipboard tool. It opens the clipboard for a moment after every change,
// so FreeCell's paste of our number often finds it busy. Every deal must
// still be the number booked, and a hold well under a second is nothing the
// player hears of.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <iostream>
#include <string>

#include "e2e/dealwarden_run_win.h"
#include "e2e/practice_fixture_win.h"
#include "harness/event_log_win.h"
#include "harness/files_win.h"
#include "harness/process_win.h"
#include "harness/screenshot_win.h"

namespace dw::e2e {
namespace {

using namespace harness;

std::size_t CountStarting(const EventLogReader& log, const std::wstring& prefix) {
    std::size_t n = 0;
    for (const auto& line : log.Lines()) n += line.starts_with(prefix);
    return n;
}

// The listener runs beside Dealwarden for as long as the test.
class ClipboardListener {
public:
    explicit ClipboardListener(unsigned holdMs)
        : log_(dir_.File(L"listener.log")),
          process_(Process::Start(WindowsPath(DW_CLIPBOARD_LISTENER_EXE),
                                  {L"--hold-ms", std::to_wstring(holdMs), L"--log", log_.Path()})) {
    }
    bool Ready() const { return log_.WaitForLine(L"ready").has_value(); }
    std::size_t Holds() const { return CountStarting(log_, L"held "); }

private:
    TempDir dir_{L"listener"};
    EventLogReader log_;
    Process process_;
};

class ClipboardListenerTest : public ::testing::TestWithParam<unsigned> {
protected:
    void TearDown() override {
        if (HasFailure()) SaveScreenshot(CurrentTestName());
    }
};

TEST_P(ClipboardListenerTest, SixWinsInARowDealExactlyTheNumbersBookedAndTellNothing) {
    const unsigned holdMs = GetParam();
    ClipboardListener listener(holdMs);
    ASSERT_TRUE(listener.Ready());
    PracticeOptions o;
    o.selectInitial = 431;  // FreeCell's own deal in the field, never one of ours
    DealwardenRun run(o);
    ASSERT_TRUE(run.StartPlaying()) << run.Log().Dump();
    for (int next = 2; next <= 7; ++next) ASSERT_TRUE(run.Win(next)) << run.Log().Dump();

    for (int n = 1; n <= 7; ++n)
        EXPECT_EQ(run.Log().Count(L"deal " + std::to_wstring(n)), 1u) << "deal " << n;
    EXPECT_FALSE(run.Log().Contains(L"deal 431")) << "Enter on a field that held another number";
    EXPECT_THAT(run.HistoryBox(), ::testing::ElementsAre(L"6 勝ち", L"5 勝ち", L"4 勝ち", L"3 勝ち",
                                                         L"2 勝ち", L"1 勝ち"));
    EXPECT_EQ(run.MessageBoxCount(), 0u) << "a hold of " << holdMs << " ms is waited out quietly";
    EXPECT_GE(listener.Holds(), 7u) << "the listener took the clipboard after every put";

    // How often FreeCell's paste found the clipboard busy and the field was
    // pasted into again (or set directly), for the record.
    std::cout << "listener holding " << holdMs << " ms: 7 deals, "
              << run.Log().Count(L"paste took nothing") << " pastes that took nothing, "
              << CountStarting(run.Log(), L"field set ") << " fields set directly, "
              << listener.Holds() << " holds\n";
}

INSTANTIATE_TEST_SUITE_P(Holding, ClipboardListenerTest, ::testing::Values(5u, 40u, 200u),
                         [](const auto& info) { return std::to_string(info.param) + "ms"; });

}  // namespace
}  // namespace dw::e2e
