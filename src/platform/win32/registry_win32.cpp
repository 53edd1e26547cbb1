#include "platform/win32/registry_win32.h"

namespace morvanta::platform::win32 {
namespace {

HKEY RootHandle(RegRoot root) {
  switch (root) {
    case RegRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RegRoot::CurrentUser: return HKEY_CURRENT_USER;
    case RegRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RegRoot::Users: return HKEY_USERS;
    case RegRoot::CurrentConfig: return HKEY_CURRENT_CONFIG;
  }
  return HKEY_CURRENT_USER;
}

REGSAM AccessMask(RegAccess access) {
  switch (access) {
    case RegAccess::All: return KEY_ALL_ACCESS;
    case RegAccess::Read: return KEY_READ;
    case RegAccess::Write: return KEY_WRITE;
  }
  return KEY_ALL_ACCESS;
}

RegType TypeFromWin32(DWORD type) {
  switch (type) {
    case REG_SZ: return RegType::String;
    case REG_EXPAND_SZ: return RegType::ExpandString;
    case REG_MULTI_SZ: return RegType::MultiString;
    case REG_BINARY: return RegType::Binary;
    case REG_DWORD: return RegType::Dword;
    case REG_QWORD: return RegType::Qword;
    default: return RegType::Other;
  }
}

DWORD TypeToWin32(RegType type) {
  switch (type) {
    case RegType::String: return REG_SZ;
    case RegType::ExpandString: return REG_EXPAND_SZ;
    case RegType::MultiString: return REG_MULTI_SZ;
    case RegType::Binary: return REG_BINARY;
    case RegType::Dword: return REG_DWORD;
    case RegType::Qword: return REG_QWORD;
    case RegType::Other: return REG_NONE;
  }
  return REG_NONE;
}

// Names of values or subkeys by index. The buffer starts at the key's longest name and
// grows when a name turns out longer (ANSI names of multi-byte text, or a key that changed).
template <class EnumOne>
std::vector<std::string> EnumerateNames(HKEY key, bool subKeys, EnumOne enumOne) {
  std::vector<std::string> names;
  DWORD maxSubKey = 0, maxValueName = 0;
  if (::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, &maxSubKey, nullptr, nullptr,
                         &maxValueName, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
    return names;
  std::vector<char> buffer((subKeys ? maxSubKey : maxValueName) + 1 + 1);
  for (DWORD index = 0;;) {
    DWORD length = static_cast<DWORD>(buffer.size());
    LONG result = enumOne(key, index, buffer.data(), &length);
    if (result == ERROR_MORE_DATA) {
      if (buffer.size() > 0x10000) break;  // names are at most 16383 characters
      buffer.resize(buffer.size() * 2);
      continue;
    }
    if (result != ERROR_SUCCESS) break;  // ERROR_NO_MORE_ITEMS, or the key went away
    names.emplace_back(buffer.data(), length);
    ++index;
  }
  return names;
}

}  // namespace

std::vector<std::string> Win32RegistryKey::ListValueNames() {
  return EnumerateNames(key_.Get(), false, [](HKEY key, DWORD index, char* name, DWORD* length) {
    return ::RegEnumValueA(key, index, name, length, nullptr, nullptr, nullptr, nullptr);
  });
}

std::vector<std::string> Win32RegistryKey::ListSubKeys() {
  return EnumerateNames(key_.Get(), true, [](HKEY key, DWORD index, char* name, DWORD* length) {
    return ::RegEnumKeyExA(key, index, name, length, nullptr, nullptr, nullptr, nullptr);
  });
}

std::optional<RegValue> Win32RegistryKey::ReadValue(const std::string& name) {
  DWORD type = 0, size = 0;
  LONG result = ::RegQueryValueExA(key_.Get(), name.c_str(), nullptr, &type, nullptr, &size);
  if (result != ERROR_SUCCESS) return std::nullopt;
  RegValue value;
  // The size can grow between the two calls; ask again until the data fits.
  for (int attempt = 0; attempt < 8; ++attempt) {
    value.data.resize(size);
    size = static_cast<DWORD>(value.data.size());
    result = ::RegQueryValueExA(key_.Get(), name.c_str(), nullptr, &type,
                                value.data.empty() ? nullptr : value.data.data(), &size);
    if (result == ERROR_MORE_DATA) continue;
    if (result != ERROR_SUCCESS) return std::nullopt;
    // The ANSI size estimate of text can be larger than what is returned.
    value.data.resize(size);
    value.type = TypeFromWin32(type);
    return value;
  }
  return std::nullopt;
}

bool Win32RegistryKey::WriteValue(const std::string& name, const RegValue& value) {
  return ::RegSetValueExA(key_.Get(), name.c_str(), 0, TypeToWin32(value.type),
                          value.data.empty() ? nullptr : value.data.data(),
                          static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
}

bool Win32RegistryKey::DeleteValue(const std::string& name) {
  return ::RegDeleteValueA(key_.Get(), name.c_str()) == ERROR_SUCCESS;
}

bool Win32RegistryKey::Flush() { return ::RegFlushKey(key_.Get()) == ERROR_SUCCESS; }

std::unique_ptr<RegistryKey> Win32Registry::OpenKey(RegRoot root, const std::string& path,
                                                    RegAccess access) {
  KeyHandle key;
  if (::RegOpenKeyExA(RootHandle(root), path.c_str(), 0, AccessMask(access), key.Put()) !=
      ERROR_SUCCESS)
    return nullptr;
  return std::make_unique<Win32RegistryKey>(std::move(key));
}

std::unique_ptr<RegistryKey> Win32Registry::CreateKey(RegRoot root, const std::string& path) {
  KeyHandle key;
  if (::RegCreateKeyExA(RootHandle(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, key.Put(), nullptr) != ERROR_SUCCESS)
    return nullptr;
  return std::make_unique<Win32RegistryKey>(std::move(key));
}

bool Win32Registry::DeleteKeyTree(RegRoot root, const std::string& path) {
  // An empty path would empty the whole root; no caller means that.
  if (path.empty()) return false;
  return ::RegDeleteTreeA(RootHandle(root), path.c_str()) == ERROR_SUCCESS;
}

}  // namespace morvanta::platform::win32
