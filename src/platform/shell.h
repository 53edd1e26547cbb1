// Shell: opening documents and addresses, properties sheets, shortcuts.
#pragma once

#include <optional>
#include <string>

#include "platform/types.h"

namespace morvanta::platform {

class Shell {
 public:
  virtual ~Shell() = default;
  // The verb "open" on a file, program or web address.
  virtual bool Open(const std::string& target) = 0;
  // The shell's properties sheet of a file, owned by `owner`.
  virtual bool ShowProperties(const std::string& path, WindowHandle owner) = 0;
  // The target path of a shell link (".lnk"); nothing when the file does not load as one.
  virtual std::optional<std::string> ShortcutTarget(const std::string& linkPath) = 0;
  // Makes a shell link: for the tests and the tools.
  virtual bool CreateShortcut(const std::string& linkPath, const std::string& target) = 0;
};

}  // namespace morvanta::platform
