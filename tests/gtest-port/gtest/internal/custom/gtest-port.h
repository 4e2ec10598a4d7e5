// GoogleTest's Notification for compilers whose standard library has no
// std::mutex (MinGW's win32 thread model, which the Windows programs are
// built with so that they run on Windows XP). Only GoogleTest's own thread
// helpers wait on it; a short sleep between looks is plenty there.
#pragma once

#include <atomic>
#include <chrono>
#include <thread>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

class Notification {
  public:
    Notification() = default;
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { notified_ = true; }

    void WaitForNotification() {
        while (!notified_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

  private:
    std::atomic<bool> notified_{false};
};

}  // namespace internal
}  // namespace testing
