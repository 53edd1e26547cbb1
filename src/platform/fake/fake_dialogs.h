// Scripted message boxes: every message is recorded, answers come from a queue.
#pragma once

#include <deque>
#include <vector>

#include "platform/dialogs.h"

namespace morvanta::platform::fake {

class FakeDialogs : public Dialogs {
 public:
  // Answers with the next queued answer; with none queued, with the default button.
  MessageAnswer Show(const Message& message) override;

  void QueueAnswer(MessageAnswer answer) { answers_.push_back(answer); }
  const std::vector<Message>& Shown() const { return shown_; }
  size_t PendingAnswers() const { return answers_.size(); }
  void Clear() {
    shown_.clear();
    answers_.clear();
  }

 private:
  std::deque<MessageAnswer> answers_;
  std::vector<Message> shown_;
};

// The button a message box takes when the user just presses Enter.
MessageAnswer DefaultAnswer(const Message& message);

}  // namespace morvanta::platform::fake
