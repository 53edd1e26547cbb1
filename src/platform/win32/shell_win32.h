// The shell: ShellExecute verbs and shell links.
#pragma once

#include "platform/shell.h"

namespace morvanta::platform::win32 {

class Win32Shell : public Shell {
 public:
  bool Open(const std::string& target) override;
  bool ShowProperties(const std::string& path, WindowHandle owner) override;
  std::optional<std::string> ShortcutTarget(const std::string& linkPath) override;
  bool CreateShortcut(const std::string& linkPath, const std::string& target) override;
};

}  // namespace morvanta::platform::win32
