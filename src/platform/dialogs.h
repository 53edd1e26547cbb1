// User dialogs: modal message boxes, the choice of a file to open and of a folder.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace morvanta::platform {

enum class MessageIcon { None, Error, Warning, Information, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct Message {
  std::string text;
  std::string caption;
  MessageIcon icon = MessageIcon::None;
  MessageButtons buttons = MessageButtons::Ok;
  bool secondButtonDefault = false;  // for questions before what cannot be undone
  bool topmost = false;              // with the foreground flag: the main window's messages
  bool setForeground = false;
  WindowHandle owner = nullptr;
};

// A file-open dialog: every file is offered, and it need not exist (the caller looks).
struct OpenFileDialog {
  std::string title;
  WindowHandle owner = nullptr;
};

// A file-save dialog offering `fileName`; `filter` is pairs of a description and a pattern
// ("Text files (*.txt)", "*.txt", ...). Replacing an existing file is confirmed first.
struct SaveFileDialog {
  std::string title;
  std::string fileName;
  std::vector<std::string> filter;
  WindowHandle owner = nullptr;
};

// A folder chooser that starts at `start`; the user may type a folder that does not exist
// yet, which is created once they confirm it.
struct FolderDialog {
  std::string title;
  std::string start = "C:\\";
  int helpContext = 0;  // the help topic of the dialog's help button, where there is one
  WindowHandle owner = nullptr;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual MessageAnswer Show(const Message& message) = 0;
  // The full path of the file the user chose; nothing when they cancelled.
  virtual std::optional<std::string> ChooseFileToOpen(const OpenFileDialog& dialog) = 0;
  // The full path the user chose to save to; nothing when they cancelled.
  virtual std::optional<std::string> ChooseFileToSave(const SaveFileDialog& dialog) = 0;
  // The full path of the folder the user chose (created when it was new); nothing when they
  // cancelled or declined to create it.
  virtual std::optional<std::string> ChooseFolder(const FolderDialog& dialog) = 0;
};

}  // namespace morvanta::platform
