// When a run writes its record and when a failed write is told, on its own.
#include "run/save_policy.h"

#include <gtest/gtest.h>

namespace dw {
namespace {

class SavePolicyTest : public ::testing::Test {
protected:
    SavePolicyTest() { policy.OnDisk(record, false); }
    // A booking, and whether the save is started for it.
    bool Book() {
        record.CountFailedTry();
        return policy.Booked(record, false);
    }

    TFCGameRecord record;
    SavePolicy policy;
};

// A booking starts the save once; more bookings before it is due ride along.
// A record the file holds already is not written.
TEST_F(SavePolicyTest, ABookingIsSavedOnceWithWhateverIsBookedMeanwhile) {
    EXPECT_FALSE(policy.Booked(record, false)) << "nothing booked";
    EXPECT_TRUE(Book());
    EXPECT_FALSE(Book()) << "already due";
    EXPECT_TRUE(policy.DueNow(record, false));
    policy.Succeeded(record, false);
    EXPECT_FALSE(policy.Booked(record, false)) << "on disk";
}

TEST_F(SavePolicyTest, OnlyWhatTheFileStoresMakesTheRecordDifferent) {
    record.kachi = 5;  // this run's count: not stored
    record.WGameNo = 9;
    EXPECT_TRUE(policy.IsOnDisk(record, false));
    EXPECT_FALSE(policy.IsOnDisk(record, true));
    record.hist[99] = L"1 勝ち";
    EXPECT_FALSE(policy.IsOnDisk(record, false));
}

// A due save whose record reached the disk meanwhile (the close wrote it)
// writes nothing.
TEST_F(SavePolicyTest, ADueSaveOfARecordAlreadyOnDiskWritesNothing) {
    ASSERT_TRUE(Book());
    policy.Succeeded(record, false);
    EXPECT_FALSE(policy.DueNow(record, false));
    EXPECT_TRUE(Book()) << "and the next booking starts a save again";
}

// A failed save is told once per run of failures: not again while they go
// on, and again once a save has succeeded in between. A success changes
// nothing else: the save is started for the next booking as before.
TEST_F(SavePolicyTest, AFailureIsToldOnceUntilASaveSucceeds) {
    EXPECT_TRUE(policy.FailureToTell());
    EXPECT_FALSE(policy.FailureToTell());
    EXPECT_FALSE(policy.FailureToTell());
    ASSERT_TRUE(Book());
    ASSERT_TRUE(policy.DueNow(record, false));
    policy.Succeeded(record, false);
    EXPECT_TRUE(policy.FailureToTell()) << "a failure after a success is news";
    EXPECT_FALSE(policy.FailureToTell());
    EXPECT_TRUE(policy.Writes());
}

// The writer's news decides what is on disk. A record on its way is not
// handed over again; the news of an older write leaves a newer record on its
// way; a record is on disk only once its write succeeded, and one whose write
// failed is handed over again.
TEST_F(SavePolicyTest, ARecordOnItsWayIsNotHandedAgainAndIsOnDiskOnlyOnceWritten) {
    ASSERT_TRUE(Book());
    ASSERT_TRUE(policy.DueNow(record, false));
    policy.Handed(record, false);
    const TFCGameRecord older = record;
    EXPECT_FALSE(policy.Booked(record, false)) << "on its way";
    EXPECT_FALSE(policy.IsOnDisk(record, false));

    ASSERT_TRUE(Book());
    ASSERT_TRUE(policy.DueNow(record, false));
    policy.Handed(record, false);
    policy.Failed(older, false);
    EXPECT_FALSE(policy.Booked(record, false)) << "the newer record is still on its way";
    policy.Failed(record, false);
    EXPECT_FALSE(policy.IsOnDisk(record, false));
    ASSERT_TRUE(policy.Booked(record, false)) << "failed: handed over again";
    ASSERT_TRUE(policy.DueNow(record, false));
    policy.Handed(record, false);
    policy.Succeeded(record, false);
    EXPECT_TRUE(policy.IsOnDisk(record, false));
    EXPECT_FALSE(policy.Booked(record, false));
}

// A settings file that could not be used is never written, whatever is booked.
TEST_F(SavePolicyTest, AnUnusableFileIsNeverWritten) {
    SavePolicy never;
    never.NeverWrite();
    record.CountFailedTry();
    EXPECT_FALSE(never.Writes());
    EXPECT_FALSE(never.Booked(record, false));
    EXPECT_FALSE(never.DueNow(record, false));
}

}  // namespace
}  // namespace dw
