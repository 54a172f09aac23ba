// Whether a copy of the program runs, against a scripted system whose clock
// moves with every wait.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "run/single_copy.h"

// Cases leave the script fields they do not need at their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
// GCC 12 at -O2 takes the vectors inside the cases for used after they are freed.
#pragma GCC diagnostic ignored "-Wuse-after-free"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

namespace dw {
namespace {

// The running copy as the new one sees it, moment by moment.
struct Script {
    CopyLock lock = CopyLock::Another;
    std::vector<HandOver> answers;  // successive hand-overs; past the end, the last one
    int lockFreeAfterWaits = -1;    // the running copy ends: the lock is ours from this wait on
    unsigned answerTakesMs = 0;     // how long a hand-over waits before it is answered or not
};

class ScriptedCopies : public ISingleCopySystem {
public:
    explicit ScriptedCopies(Script s) : script_(std::move(s)) {}
    std::vector<std::string> calls;
    std::uint64_t now = 0;

    CopyLock TakeLock() override {
        calls.push_back("lock");
        return script_.lock;
    }
    bool WaitForLock(unsigned ms) override {
        now += ms;
        ++waits_;
        const bool ours = script_.lockFreeAfterWaits >= 0 && waits_ >= script_.lockFreeAfterWaits;
        calls.push_back(ours ? "wait: ours" : "wait");
        return ours;
    }
    HandOver HandOverToRunningCopy(unsigned ms) override {
        const auto& a = script_.answers;
        const HandOver h = a.empty() ? HandOver::NoWindow : a[std::min(asks_, a.size() - 1)];
        ++asks_;
        now += h == HandOver::NoAnswer ? ms : script_.answerTakesMs;
        calls.push_back(h == HandOver::Answered   ? "ask: answered"
                        : h == HandOver::NoWindow ? "ask: no window"
                                                  : "ask: no answer");
        return h;
    }
    void TellNotAnswering() override { calls.push_back("told"); }
    std::uint64_t NowMs() override { return now; }

private:
    Script script_;
    std::size_t asks_ = 0;
    int waits_ = 0;
};

struct Case {
    const char* name;
    Script script;
    CopyStart start;
    std::vector<std::string> calls;  // empty: not checked call by call
    bool told = false;               // the player is told a copy runs but does not answer
};

class SingleCopyTest : public ::testing::TestWithParam<Case> {};

TEST_P(SingleCopyTest, RunsOnlyWhenNoOtherCopyCanTakeOver) {
    const Case& c = GetParam();
    ScriptedCopies sys(c.script);
    EXPECT_EQ(StartOneCopy(sys), c.start);
    if (!c.calls.empty()) {
        EXPECT_EQ(sys.calls, c.calls);
    }
    EXPECT_EQ(std::count(sys.calls.begin(), sys.calls.end(), "told"), c.told ? 1 : 0);
    if (c.told) {
        EXPECT_EQ(sys.calls.back(), "told");
        EXPECT_GE(sys.now, kHandOverBoundMs) << "asked for the whole bound first";
    }
    EXPECT_LE(sys.now, kHandOverBoundMs + kHandOverAnswerMs + kLockPollMs) << "bounded";
}

std::vector<Case> Cases() {
    return {Case{"Alone", {.lock = CopyLock::Ours}, CopyStart::Run, {"lock"}},
            Case{"NoLockAtAll", {.lock = CopyLock::NotMade}, CopyStart::Run, {"lock"}},
            Case{"AnotherAnswers",
                 {.answers = {HandOver::Answered}},
                 CopyStart::Exit,
                 {"lock", "ask: answered"}},
            Case{"AnotherStillCreatingItsWindow",
                 {.answers = {HandOver::NoWindow, HandOver::NoWindow, HandOver::Answered}},
                 CopyStart::Exit,
                 {"lock", "ask: no window", "wait", "ask: no window", "wait", "ask: answered"}},
            // Its window went and the lock follows: this copy is the one.
            Case{"AnotherEnding",
                 {.answers = {HandOver::NoWindow}, .lockFreeAfterWaits = 3},
                 CopyStart::Run,
                 {"lock", "ask: no window", "wait", "ask: no window", "wait", "ask: no window",
                  "wait: ours"}},
            Case{"AnotherHungIsToldAndNothingRuns",
                 {.answers = {HandOver::NoAnswer}},
                 CopyStart::Exit,
                 {},
                 true},
            Case{"AnotherThatNeverGetsAWindowIsToldInTheEnd",
                 {.answers = {HandOver::NoWindow}},
                 CopyStart::Exit,
                 {},
                 true}};
}

INSTANTIATE_TEST_SUITE_P(Copies, SingleCopyTest, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace dw
