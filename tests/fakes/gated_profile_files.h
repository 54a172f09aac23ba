#pragma once
// Settings files whose writes the test can hold at their start, as a slow
// disk, a USB stick or a virus scanner holds them: for the writer's tests,
// so it is safe from any thread. It forwards to other settings files (in
// memory, say), one call at a time, counts the writes that have begun and
// ended and the most under way at once, and lets the test wait, bounded by
// the clock, for a write to begin or end. A write begins with IniWrite's
// copy (StartCopy) and ends when the copy is removed, which IniWrite does
// however the write went.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "record/profile.h"

namespace dw::testing {

class GatedProfileFiles : public ProfileFiles {
public:
    explicit GatedProfileFiles(ProfileFiles& inner) : inner_(inner) {}

    // Writes wait at their start until Open.
    void Hold() {
        std::lock_guard lock(m_);
        open_ = false;
    }
    void Open() {
        {
            std::lock_guard lock(m_);
            open_ = true;
        }
        changed_.notify_all();
    }
    bool WaitBegun(int writes, std::chrono::milliseconds bound) {
        std::unique_lock lock(m_);
        return changed_.wait_for(lock, bound, [&] { return begun_ >= writes; });
    }
    bool WaitEnded(int writes, std::chrono::milliseconds bound) {
        std::unique_lock lock(m_);
        return changed_.wait_for(lock, bound, [&] { return ended_ >= writes; });
    }
    int MostAtOnce() {
        std::lock_guard lock(m_);
        return mostAtOnce_;
    }

    std::optional<std::wstring> Unusable(const std::wstring& file) override {
        std::lock_guard lock(inner_m_);
        return inner_.Unusable(file);
    }
    std::wstring ReadValue(const std::wstring& file, const std::wstring& section,
                           const std::wstring& key) override {
        std::lock_guard lock(inner_m_);
        return inner_.ReadValue(file, section, key);
    }
    bool WriteValue(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                    const std::wstring& value) override {
        std::lock_guard lock(inner_m_);
        return inner_.WriteValue(file, section, key, value);
    }
    bool StartCopy(const std::wstring& file, const std::wstring& copy) override {
        {
            std::unique_lock lock(m_);
            ++begun_;
            mostAtOnce_ = std::max(mostAtOnce_, begun_ - ended_);
            changed_.notify_all();
            changed_.wait(lock, [&] { return open_; });
        }
        std::lock_guard lock(inner_m_);
        return inner_.StartCopy(file, copy);
    }
    bool ReplaceWith(const std::wstring& copy, const std::wstring& file) override {
        std::lock_guard lock(inner_m_);
        return inner_.ReplaceWith(copy, file);
    }
    void Remove(const std::wstring& file) override {
        {
            std::lock_guard lock(inner_m_);
            inner_.Remove(file);
        }
        {
            std::lock_guard lock(m_);
            ++ended_;
        }
        changed_.notify_all();
    }

private:
    ProfileFiles& inner_;
    std::mutex inner_m_;
    std::mutex m_;
    std::condition_variable changed_;
    bool open_ = true;
    int begun_ = 0, ended_ = 0, mostAtOnce_ = 0;
};

}  // namespace dw::testing
