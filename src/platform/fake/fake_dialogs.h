// Scripted dialogs: every message and file dialog is recorded, answers come from queues.
#pragma once

#include <deque>
#include <optional>
#include <string>
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

  // Chooses the next queued file (nothing: Cancel); with none queued, the user cancels.
  std::optional<std::string> ChooseFileToOpen(const OpenFileDialog& dialog) override;
  void QueueFileChoice(std::optional<std::string> path) { files_.push_back(std::move(path)); }
  const std::vector<OpenFileDialog>& FileDialogs() const { return fileDialogs_; }
  size_t PendingFileChoices() const { return files_.size(); }

  // Saves to the next queued path (nothing: Cancel); with none queued, the user cancels.
  std::optional<std::string> ChooseFileToSave(const SaveFileDialog& dialog) override;
  void QueueSaveChoice(std::optional<std::string> path) { saves_.push_back(std::move(path)); }
  const std::vector<SaveFileDialog>& SaveDialogs() const { return saveDialogs_; }

  // Chooses the next queued folder (nothing: Cancel); with none queued, the user cancels.
  std::optional<std::string> ChooseFolder(const FolderDialog& dialog) override;
  void QueueFolderChoice(std::optional<std::string> path) { folders_.push_back(std::move(path)); }
  const std::vector<FolderDialog>& FolderDialogs() const { return folderDialogs_; }
  size_t PendingFolderChoices() const { return folders_.size(); }

  void Clear() {
    shown_.clear();
    answers_.clear();
    fileDialogs_.clear();
    files_.clear();
    folderDialogs_.clear();
    folders_.clear();
    saveDialogs_.clear();
    saves_.clear();
  }

 private:
  std::deque<MessageAnswer> answers_;
  std::vector<Message> shown_;
  std::deque<std::optional<std::string>> files_;
  std::vector<OpenFileDialog> fileDialogs_;
  std::deque<std::optional<std::string>> folders_;
  std::vector<FolderDialog> folderDialogs_;
  std::deque<std::optional<std::string>> saves_;
  std::vector<SaveFileDialog> saveDialogs_;
};

// The button a message box takes when the user just presses Enter.
MessageAnswer DefaultAnswer(const Message& message);

}  // namespace morvanta::platform::fake
