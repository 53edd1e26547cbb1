// The shell: records what was opened; shortcuts are small marker files in the fake file
// system.
#pragma once

#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/shell.h"

namespace morvanta::platform::fake {

class FakeShell : public Shell {
 public:
  explicit FakeShell(Files& files) : files_(files) {}

  bool Open(const std::string& target) override;
  bool ShowProperties(const std::string& path, WindowHandle owner) override;
  std::optional<std::string> ShortcutTarget(const std::string& linkPath) override;
  bool CreateShortcut(const std::string& linkPath, const std::string& target) override;

  const std::vector<std::string>& Opened() const { return opened_; }
  const std::vector<std::string>& PropertiesShown() const { return properties_; }

 private:
  Files& files_;
  std::vector<std::string> opened_;
  std::vector<std::string> properties_;
};

}  // namespace morvanta::platform::fake
