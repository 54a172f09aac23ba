// The writer on its own, on its real thread, against settings files in
// memory whose writes the test holds at their start: the newest snapshot
// waiting wins, one write at a time, a bounded wait that says when a write
// did not finish, failures reported back, and a writer that goes stops the
// write under way, waiting for it only so long.
#include "record/record_writer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "record/app_error.h"
#include "record/settings.h"
#include "tests/fakes/fake_run_seams.h"
#include "tests/fakes/gated_profile_files.h"

namespace dw {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

const std::wstring kIni = L"D:\\g\\Dealwarden.Ini";
// Long enough for any machine: the writes here are in memory.
constexpr auto kGenerous = 10s;

RecordSnapshot Snapshot(int gameNo) {
    RecordSnapshot s{kIni, {}, false};
    s.record.GameNo = gameNo;
    s.record.hist[0] = std::to_wstring(gameNo - 1) + L" 勝ち";
    return s;
}

std::vector<int> GameNumbers(const std::vector<WriteOutcome>& outcomes) {
    std::vector<int> numbers;
    for (const auto& o : outcomes) {
        EXPECT_FALSE(o.failure) << "game " << o.snapshot.record.GameNo;
        numbers.push_back(o.snapshot.record.GameNo);
    }
    return numbers;
}

class RecordWriterTest : public ::testing::Test {
protected:
    std::wstring Stored(const wchar_t* section, const wchar_t* key) {
        return gated->ReadValue(kIni, section, key);
    }

    std::vector<std::wstring> log;
    testing::MemoryProfileFiles memory{log};
    std::shared_ptr<testing::GatedProfileFiles> gated =
        std::make_shared<testing::GatedProfileFiles>(memory);
    std::atomic<int> news{0};
    std::optional<RecordWriter> writer{std::in_place, gated, [this] { ++news; }};
};

// A write under way goes on; of the snapshots handed over meanwhile only the
// newest is written after it, as it stood when it was handed over.
TEST_F(RecordWriterTest, TheNewestSnapshotWaitingReplacesTheOthers) {
    gated->Hold();
    TFCGameRecord record = Snapshot(2).record;
    writer->Hand({kIni, record, false});
    ASSERT_TRUE(gated->WaitBegun(1, kGenerous));
    record.GameNo = 99;  // the run goes on: the snapshot is not the record
    writer->Hand(Snapshot(3));
    writer->Hand(Snapshot(4));
    EXPECT_FALSE(writer->Idle());
    gated->Open();
    ASSERT_TRUE(writer->WaitIdle(kGenerous));
    EXPECT_THAT(GameNumbers(writer->TakeOutcomes()), ElementsAre(2, 4));
    EXPECT_EQ(memory.saves, 2) << "the snapshot of game 3 was never written";
    EXPECT_EQ(Stored(L"Game", L"GameNo"), L"4");
    EXPECT_EQ(Stored(L"Hist", L"hist0"), L"3 勝ち");
    EXPECT_EQ(news, 2);
    EXPECT_THAT(writer->TakeOutcomes(), ::testing::IsEmpty()) << "taken once";
}

// However fast they come, the writes follow one another, the outcomes come
// in the order written, and the last record handed over is the one on disk.
TEST_F(RecordWriterTest, OneWriteAtATimeAndTheLastRecordHandedOverEndsOnDisk) {
    for (int n = 1; n <= 200; ++n) writer->Hand(Snapshot(n));
    ASSERT_TRUE(writer->WaitIdle(kGenerous));
    const auto written = GameNumbers(writer->TakeOutcomes());
    ASSERT_FALSE(written.empty());
    EXPECT_EQ(written.back(), 200);
    EXPECT_TRUE(std::is_sorted(written.begin(), written.end()));
    EXPECT_EQ(std::adjacent_find(written.begin(), written.end()), written.end()) << "twice";
    EXPECT_EQ(gated->MostAtOnce(), 1);
    EXPECT_EQ(Stored(L"Game", L"GameNo"), L"200");
}

// The close's wait is bounded: a write that cannot end is told as not
// finished, with no outcome; once it ends, its outcome is there.
TEST_F(RecordWriterTest, TheWaitIsBoundedAndAWriteThatDidNotFinishHasNoOutcome) {
    gated->Hold();
    writer->Hand(Snapshot(2));
    ASSERT_TRUE(gated->WaitBegun(1, kGenerous));
    EXPECT_FALSE(writer->WaitIdle(50ms));
    EXPECT_FALSE(writer->Idle());
    EXPECT_THAT(writer->TakeOutcomes(), ::testing::IsEmpty());
    EXPECT_EQ(news, 0);
    gated->Open();
    ASSERT_TRUE(writer->WaitIdle(kGenerous));
    EXPECT_THAT(GameNumbers(writer->TakeOutcomes()), ElementsAre(2));
}

// A write that fails is reported with IniWrite's message and leaves the file
// as it was; the next one may succeed again.
TEST_F(RecordWriterTest, AFailedWriteIsReportedAndTheFileKeepsTheLastRecordWritten) {
    writer->Hand(Snapshot(2));
    ASSERT_TRUE(writer->WaitIdle(kGenerous));
    memory.blocked = true;
    writer->Hand(Snapshot(3));
    ASSERT_TRUE(writer->WaitIdle(kGenerous));
    memory.blocked = false;
    writer->Hand(Snapshot(4));
    ASSERT_TRUE(writer->WaitIdle(kGenerous));
    const auto outcomes = writer->TakeOutcomes();
    ASSERT_EQ(outcomes.size(), 3u);
    EXPECT_FALSE(outcomes[0].failure);
    ASSERT_TRUE(outcomes[1].failure);
    EXPECT_EQ(*outcomes[1].failure, kIni + L" に書き込めません");
    EXPECT_EQ(outcomes[1].snapshot.record.GameNo, 3);
    EXPECT_FALSE(outcomes[2].failure);
    EXPECT_EQ(news, 3) << "news of every write, the failed one too";
    EXPECT_EQ(Stored(L"Game", L"GameNo"), L"4");
}

// At the program's end the writer stops: a write under way stops at its
// next value and removes its copy, so the file keeps the last record
// written, and no news of it reaches anyone.
TEST_F(RecordWriterTest, AStoppedWriterEndsTheWriteUnderWayAndTheFileKeepsTheLastRecord) {
    writer->Hand(Snapshot(2));
    ASSERT_TRUE(writer->WaitIdle(kGenerous));
    gated->Hold();
    writer->Hand(Snapshot(3));
    ASSERT_TRUE(gated->WaitBegun(2, kGenerous));
    writer->Stop();
    writer->Hand(Snapshot(4));  // too late
    gated->Open();
    ASSERT_TRUE(gated->WaitEnded(2, kGenerous));
    writer.reset();
    EXPECT_EQ(gated.use_count(), 1) << "the thread was waited for";
    EXPECT_EQ(news, 1);
    EXPECT_EQ(memory.saves, 1);
    EXPECT_EQ(Stored(L"Game", L"GameNo"), L"2");
    EXPECT_EQ(memory.files.count(IniTempFileNameFor(kIni)), 0u) << "the copy was left";
}

// A value that does not end within the stop's bound is not waited for: the
// writer goes, the thread ends by itself once the value does, through the
// files it shares, leaving the file as it was.
TEST_F(RecordWriterTest, AWriteThatDoesNotStopInTimeIsLeftToEndByItself) {
    writer->Hand(Snapshot(2));
    ASSERT_TRUE(writer->WaitIdle(kGenerous));
    gated->Hold();
    writer->Hand(Snapshot(3));
    ASSERT_TRUE(gated->WaitBegun(2, kGenerous));
    auto gone = std::async(std::launch::async, [&] { writer.reset(); });
    const bool wentWithoutIt =
        gone.wait_for(RecordWriter::kStopWait + kGenerous) == std::future_status::ready;
    gated->Open();  // lets a writer that waits for ever go, so the test can end
    ASSERT_TRUE(wentWithoutIt) << "the writer waited for the held value";
    const auto end = std::chrono::steady_clock::now() + kGenerous;
    while (gated.use_count() > 1 && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(1ms);
    EXPECT_EQ(gated.use_count(), 1) << "the thread still holds the files";
    EXPECT_EQ(news, 1);
    EXPECT_EQ(Stored(L"Game", L"GameNo"), L"2");
}

}  // namespace
}  // namespace dw
