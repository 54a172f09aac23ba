#include "run/save_policy.h"

#include <utility>

#include "record/settings.h"

namespace dw {

bool SavePolicy::Stored::Holds(const TFCGameRecord& r, bool rm) const {
    return SameStoredFields(record, r) && renMode == rm;
}

void SavePolicy::OnDisk(const TFCGameRecord& record, bool renMode) {
    onDisk_ = Stored{record, renMode};
}

bool SavePolicy::IsOnDisk(const TFCGameRecord& record, bool renMode) const {
    return onDisk_ && onDisk_->Holds(record, renMode);
}

bool SavePolicy::IsHanded(const TFCGameRecord& record, bool renMode) const {
    return handed_ && handed_->Holds(record, renMode);
}

bool SavePolicy::Booked(const TFCGameRecord& record, bool renMode) {
    // At most the delay after the first booking not yet on disk.
    if (due_ || !writes_ || IsOnDisk(record, renMode) || IsHanded(record, renMode)) return false;
    due_ = true;
    return true;
}

bool SavePolicy::DueNow(const TFCGameRecord& record, bool renMode) {
    due_ = false;
    return writes_ && !IsOnDisk(record, renMode) && !IsHanded(record, renMode);
}

void SavePolicy::Handed(const TFCGameRecord& record, bool renMode) {
    handed_ = Stored{record, renMode};
}

void SavePolicy::Succeeded(const TFCGameRecord& record, bool renMode) {
    OnDisk(record, renMode);
    if (IsHanded(record, renMode)) handed_.reset();
    told_ = false;
}

void SavePolicy::Failed(const TFCGameRecord& record, bool renMode) {
    // An older write's failure leaves the newer record on its way.
    if (IsHanded(record, renMode)) handed_.reset();
}

bool SavePolicy::FailureToTell() {
    return !std::exchange(told_, true);
}

}  // namespace dw
