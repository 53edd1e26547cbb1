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

std::optional<std::string> FakeDialogs::ChooseFileToOpen(const OpenFileDialog& dialog) {
  fileDialogs_.push_back(dialog);
  if (files_.empty()) return std::nullopt;
  std::optional<std::string> chosen = std::move(files_.front());
  files_.pop_front();
  return chosen;
}

std::optional<std::string> FakeDialogs::ChooseFileToSave(const SaveFileDialog& dialog) {
  saveDialogs_.push_back(dialog);
  if (saves_.empty()) return std::nullopt;
  std::optional<std::string> chosen = std::move(saves_.front());
  saves_.pop_front();
  return chosen;
}

std::optional<std::string> FakeDialogs::ChooseFolder(const FolderDialog& dialog) {
  folderDialogs_.push_back(dialog);
  if (folders_.empty()) return std::nullopt;
  std::optional<std::string> chosen = std::move(folders_.front());
  folders_.pop_front();
  return chosen;
}

}  // namespace morvanta::platform::fake
