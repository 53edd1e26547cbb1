#include "common/ui_tasks.h"

#include <utility>

namespace morvanta::common {

void UiTasks::Post(Task task) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  posted_.notify_all();
  if (wake_) wake_();
}

size_t UiTasks::RunPending() {
  std::deque<Task> due;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    due.swap(tasks_);
  }
  // A task may post again (or run a nested message loop that runs tasks): those wait for
  // the next round.
  for (auto& task : due) task();
  return due.size();
}

bool UiTasks::WaitForTask(std::chrono::milliseconds limit) {
  std::unique_lock<std::mutex> lock(mutex_);
  return posted_.wait_for(lock, limit, [this] { return !tasks_.empty(); });
}

}  // namespace morvanta::common
