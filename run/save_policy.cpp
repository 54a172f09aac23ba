#include "run/save_policy.h"

#include <utility>

#include "record/settings.h"

namespace dw {

void SavePolicy::OnDisk(const TFCGameRecord& record, bool renMode) {
    onDisk_ = record;
    onDiskRenMode_ = renMode;
}

bool SavePolicy::IsOnDisk(const TFCGameRecord& record, bool renMode) const {
    return onDisk_ && SameStoredFields(*onDisk_, record) && onDiskRenMode_ == renMode;
}

bool SavePolicy::Booked(const TFCGameRecord& record, bool renMode) {
    // At most the delay after the first booking not yet on disk.
    if (due_ || !writes_ || IsOnDisk(record, renMode)) return false;
    due_ = true;
    return true;
}

bool SavePolicy::DueNow(const TFCGameRecord& record, bool renMode) {
    due_ = false;
    return writes_ && !IsOnDisk(record, renMode);
}

void SavePolicy::Succeeded(const TFCGameRecord& record, bool renMode) {
    OnDisk(record, renMode);
    told_ = false;
}

bool SavePolicy::FailureToTell() {
    return !std::exchange(told_, true);
}

}  // namespace dw
