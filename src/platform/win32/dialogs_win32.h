// Modal message boxes through user32, the file-open dialog through comdlg32, the folder
// chooser through shell32.
#pragma once

#include "platform/dialogs.h"

namespace morvanta::platform::win32 {

// The MessageBox style bits (MB_...) for a message.
unsigned MessageBoxStyle(const Message& message);

class Win32Dialogs : public Dialogs {
 public:
  MessageAnswer Show(const Message& message) override;
  std::optional<std::string> ChooseFileToOpen(const OpenFileDialog& dialog) override;
  std::optional<std::string> ChooseFileToSave(const SaveFileDialog& dialog) override;
  std::optional<std::string> ChooseFolder(const FolderDialog& dialog) override;
};

}  // namespace morvanta::platform::win32
