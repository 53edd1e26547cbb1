// The registry through advapi32: keys below the five predefined roots.
#pragma once

#include "platform/registry.h"
#include "platform/win32/handle.h"

namespace morvanta::platform::win32 {

class Win32RegistryKey : public RegistryKey {
 public:
  explicit Win32RegistryKey(KeyHandle key) : key_(std::move(key)) {}

  std::vector<std::string> ListValueNames() override;
  std::vector<std::string> ListSubKeys() override;
  std::optional<RegValue> ReadValue(const std::string& name) override;
  bool WriteValue(const std::string& name, const RegValue& value) override;
  bool DeleteValue(const std::string& name) override;
  bool Flush() override;

 private:
  KeyHandle key_;
};

class Win32Registry : public Registry {
 public:
  std::unique_ptr<RegistryKey> OpenKey(RegRoot root, const std::string& path,
                                       RegAccess access = RegAccess::All) override;
  std::unique_ptr<RegistryKey> CreateKey(RegRoot root, const std::string& path) override;
  bool DeleteKeyTree(RegRoot root, const std::string& path) override;
};

}  // namespace morvanta::platform::win32
