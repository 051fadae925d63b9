#pragma once

#include <atomic>

namespace vastel {

// Asks a running job to stop. Cheap to poll from the job's loop and safe to set from the UI
// thread or any other; the job winds down at its next test.
class StopToken {
  public:
    StopToken() = default;
    StopToken(const StopToken&) = delete;
    StopToken& operator=(const StopToken&) = delete;

    void request() noexcept { stop_.store(true, std::memory_order_relaxed); }
    void reset() noexcept { stop_.store(false, std::memory_order_relaxed); }
    bool requested() const noexcept { return stop_.load(std::memory_order_relaxed); }
    explicit operator bool() const noexcept { return requested(); }
    // Keeps a window's abort flag and the token in step: either one set sets the other.
    void syncWith(bool& abortFlag) noexcept {
        if (abortFlag) request();
        if (requested()) abortFlag = true;
    }

  private:
    std::atomic<bool> stop_{false};
};

}  // namespace vastel
