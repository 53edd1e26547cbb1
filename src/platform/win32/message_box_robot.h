// Finds a message box or a file dialog that this process shows and answers it, as a user
// would: for the tests of the windows and of the Win32 dialogs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/dialogs.h"

namespace morvanta::platform::win32 {

struct SeenMessageBox {
  WindowHandle window = nullptr;
  std::string text;
  bool topmost = false;
  // The button that Enter would press.
  std::optional<MessageAnswer> defaultButton;
};

// Waits up to `milliseconds` for a message box of this process with this caption.
std::optional<SeenMessageBox> WaitForMessageBox(const std::string& caption,
                                                uint32_t milliseconds);

// Clicks a button of the box; false when the box has no such button.
bool PressMessageBoxButton(WindowHandle box, MessageAnswer answer);

// Waits up to `milliseconds` for a file dialog of this process with this title.
std::optional<WindowHandle> WaitForFileDialog(const std::string& title, uint32_t milliseconds);

// Types a path into the dialog's file name box and confirms it, or with no path cancels;
// false when the dialog has no file name box.
bool AnswerFileDialog(WindowHandle dialog, const std::optional<std::string>& path);

// Waits up to `milliseconds` for a folder chooser of this process with this title.
std::optional<WindowHandle> WaitForFolderDialog(const std::string& title, uint32_t milliseconds);

// Types a folder into the chooser's folder box and confirms it, or with no folder cancels;
// false when the chooser has no folder box.
bool AnswerFolderDialog(WindowHandle dialog, const std::optional<std::string>& folder);

}  // namespace morvanta::platform::win32
