#include "platform/fake/fake_shell.h"

namespace morvanta::platform::fake {
namespace {
const std::string kLinkMagic = "FAKE-SHELL-LINK\n";
}

bool FakeShell::Open(const std::string& target) {
  opened_.push_back(target);
  return true;
}

bool FakeShell::ShowProperties(const std::string& path, WindowHandle) {
  if (!files_.Exists(path)) return false;
  properties_.push_back(path);
  return true;
}

std::optional<std::string> FakeShell::ShortcutTarget(const std::string& linkPath) {
  auto bytes = files_.ReadAll(linkPath);
  if (!bytes) return std::nullopt;
  std::string text(bytes->begin(), bytes->end());
  if (text.compare(0, kLinkMagic.size(), kLinkMagic) != 0) return std::nullopt;
  std::string target = text.substr(kLinkMagic.size());
  if (target.empty()) return std::nullopt;
  return target;
}

bool FakeShell::CreateShortcut(const std::string& linkPath, const std::string& target) {
  return files_.WriteAll(linkPath, kLinkMagic + target);
}

}  // namespace morvanta::platform::fake
