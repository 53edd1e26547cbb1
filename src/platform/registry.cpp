#include "platform/registry.h"

#include <cstring>

namespace morvanta::platform {

RegValue RegValue::FromString(const std::string& text, RegType type) {
  RegValue v;
  v.type = type;
  v.data.assign(text.begin(), text.end());
  v.data.push_back(0);
  return v;
}

RegValue RegValue::FromDword(uint32_t value) {
  RegValue v;
  v.type = RegType::Dword;
  v.data.resize(4);
  for (int i = 0; i < 4; ++i) v.data[i] = static_cast<uint8_t>(value >> (8 * i));
  return v;
}

RegValue RegValue::FromMultiString(const std::vector<std::string>& items) {
  RegValue v;
  v.type = RegType::MultiString;
  for (const auto& item : items) {
    v.data.insert(v.data.end(), item.begin(), item.end());
    v.data.push_back(0);
  }
  v.data.push_back(0);
  return v;
}

RegValue RegValue::FromBinary(std::vector<uint8_t> bytes) {
  RegValue v;
  v.type = RegType::Binary;
  v.data = std::move(bytes);
  return v;
}

std::string RegValue::AsText() const {
  const void* nul = std::memchr(data.data(), 0, data.size());
  size_t n = nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - data.data()) : data.size();
  return std::string(reinterpret_cast<const char*>(data.data()), n);
}

std::optional<uint32_t> RegValue::AsDword() const {
  if (type != RegType::Dword || data.size() != 4) return std::nullopt;
  return static_cast<uint32_t>(data[0]) | static_cast<uint32_t>(data[1]) << 8 |
         static_cast<uint32_t>(data[2]) << 16 | static_cast<uint32_t>(data[3]) << 24;
}

bool RegistryObject::OpenKey(const std::string& path, bool canCreate, RegAccess access) {
  key_.reset();
  key_ = canCreate ? registry_.CreateKey(root_, path) : registry_.OpenKey(root_, path, access);
  return key_ != nullptr;
}

std::vector<std::string> RegistryObject::GetValueNames() {
  return key_ ? key_->ListValueNames() : std::vector<std::string>{};
}

std::vector<std::string> RegistryObject::GetKeyNames() {
  return key_ ? key_->ListSubKeys() : std::vector<std::string>{};
}

bool RegistryObject::ValueExists(const std::string& name) { return ReadValue(name).has_value(); }

std::optional<RegType> RegistryObject::GetDataType(const std::string& name) {
  auto v = ReadValue(name);
  if (!v) return std::nullopt;
  return v->type;
}

std::optional<std::string> RegistryObject::ReadString(const std::string& name) {
  auto v = ReadValue(name);
  if (!v || !v->IsText()) return std::nullopt;
  return v->AsText();
}

std::optional<uint32_t> RegistryObject::ReadInteger(const std::string& name) {
  auto v = ReadValue(name);
  if (!v) return std::nullopt;
  return v->AsDword();
}

std::optional<RegValue> RegistryObject::ReadValue(const std::string& name) {
  if (!key_) return std::nullopt;
  return key_->ReadValue(name);
}

bool RegistryObject::WriteString(const std::string& name, const std::string& text) {
  return WriteValue(name, RegValue::FromString(text));
}

bool RegistryObject::WriteInteger(const std::string& name, uint32_t value) {
  return WriteValue(name, RegValue::FromDword(value));
}

bool RegistryObject::WriteValue(const std::string& name, const RegValue& value) {
  return key_ && key_->WriteValue(name, value);
}

bool RegistryObject::DeleteValue(const std::string& name) {
  return key_ && key_->DeleteValue(name);
}

}  // namespace morvanta::platform
