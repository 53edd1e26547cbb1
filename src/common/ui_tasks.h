// Work a worker thread hands to the user interface thread: posted from any thread, run on
// the interface thread the next time it handles its messages. The window side wakes the
// interface thread through `wake` (a message posted to a window of its own); a console
// program or a test runs the tasks itself.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

namespace morvanta::common {

class UiTasks {
 public:
  using Task = std::function<void()>;

  UiTasks() = default;
  UiTasks(const UiTasks&) = delete;
  UiTasks& operator=(const UiTasks&) = delete;

  // Called after every post, from the posting thread; set once before any worker starts.
  void SetWake(std::function<void()> wake) { wake_ = std::move(wake); }

  // Any thread.
  void Post(Task task);
  // The interface thread: runs what was posted until now, in order; how many ran.
  size_t RunPending();
  // The interface thread: waits until something is posted or the time is up, without
  // running it; true when something is waiting.
  bool WaitForTask(std::chrono::milliseconds limit);

 private:
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<Task> tasks_;
  std::function<void()> wake_;
};

}  // namespace morvanta::common
