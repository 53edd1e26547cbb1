#include "platform/fake/fake_dialogs.h"

namespace morvanta::platform::fake {

MessageAnswer DefaultAnswer(const Message& message) {
  switch (message.buttons) {
    case MessageButtons::Ok: return MessageAnswer::Ok;
    case MessageButtons::OkCancel:
      return message.secondButtonDefault ? MessageAnswer::Cancel : MessageAnswer::Ok;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoCancel:
      return message.secondButtonDefault ? MessageAnswer::No : MessageAnswer::Yes;
  }
  return MessageAnswer::Ok;
}

MessageAnswer FakeDialogs::Show(const Message& message) {
  shown_.push_back(message);
  if (answers_.empty()) return DefaultAnswer(message);
  MessageAnswer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

}  // namespace morvanta::platform::fake
