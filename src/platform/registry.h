// Registry operations: keys opened below one of the five roots, typed values.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace morvanta::platform {

// The value types the system reads and writes; everything else is Other.
enum class RegType { String, ExpandString, MultiString, Binary, Dword, Qword, Other };

struct RegValue {
  RegType type = RegType::String;
  // Raw data as stored. Text types carry their terminating NUL(s), as Windows stores them.
  std::vector<uint8_t> data;

  static RegValue FromString(const std::string& text, RegType type = RegType::String);
  static RegValue FromDword(uint32_t value);
  static RegValue FromMultiString(const std::vector<std::string>& items);
  static RegValue FromBinary(std::vector<uint8_t> bytes);

  bool IsText() const { return type == RegType::String || type == RegType::ExpandString; }
  // The text up to the first NUL; meaningful for the text types.
  std::string AsText() const;
  std::optional<uint32_t> AsDword() const;
};

enum class RegAccess { All, Read, Write };

// One open key. Closing happens when the object goes.
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  // Value names in the registry's own order.
  virtual std::vector<std::string> ListValueNames() = 0;
  // Names of the direct subkeys in the registry's own order.
  virtual std::vector<std::string> ListSubKeys() = 0;
  // Nothing when the value does not exist or cannot be read.
  virtual std::optional<RegValue> ReadValue(const std::string& name) = 0;
  virtual bool WriteValue(const std::string& name, const RegValue& value) = 0;
  virtual bool DeleteValue(const std::string& name) = 0;
  virtual bool Flush() = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // Opens an existing key; nothing when it does not open. An empty path opens the root itself.
  virtual std::unique_ptr<RegistryKey> OpenKey(RegRoot root, const std::string& path,
                                               RegAccess access = RegAccess::All) = 0;
  // Opens the key, creating it and any missing parents.
  virtual std::unique_ptr<RegistryKey> CreateKey(RegRoot root, const std::string& path) = 0;
  // Deletes a key and everything below it.
  virtual bool DeleteKeyTree(RegRoot root, const std::string& path) = 0;
};

// The registry object the windows and routines use: a current root (HKEY_CURRENT_USER at
// first) and at most one current open key, opened with full access unless asked otherwise.
class RegistryObject {
 public:
  explicit RegistryObject(Registry& registry) : registry_(registry) {}

  void SetRootKey(RegRoot root) { root_ = root; }
  RegRoot RootKey() const { return root_; }

  // Closes the current key, then opens `path` below the current root; with `canCreate` a
  // missing key is created. False when the key does not open.
  bool OpenKey(const std::string& path, bool canCreate, RegAccess access = RegAccess::All);
  void CloseKey() { key_.reset(); }
  bool HasOpenKey() const { return key_ != nullptr; }

  std::vector<std::string> GetValueNames();
  std::vector<std::string> GetKeyNames();
  bool ValueExists(const std::string& name);
  std::optional<RegType> GetDataType(const std::string& name);
  // Text of a REG_SZ or REG_EXPAND_SZ value; nothing for a missing value or another type.
  std::optional<std::string> ReadString(const std::string& name);
  std::optional<uint32_t> ReadInteger(const std::string& name);
  std::optional<RegValue> ReadValue(const std::string& name);
  bool WriteString(const std::string& name, const std::string& text);
  bool WriteInteger(const std::string& name, uint32_t value);
  bool WriteValue(const std::string& name, const RegValue& value);
  bool DeleteValue(const std::string& name);

 private:
  Registry& registry_;
  RegRoot root_ = RegRoot::CurrentUser;
  std::unique_ptr<RegistryKey> key_;
};

}  // namespace morvanta::platform
