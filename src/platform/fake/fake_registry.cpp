#include "platform/fake/fake_registry.h"
#include "platform/text.h"

#include <algorithm>

namespace morvanta::platform::fake {
namespace {

std::vector<std::string> SplitKeyPath(const std::string& path) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : path) {
    if (c == '\\') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

class FakeKey : public RegistryKey {
 public:
  // A key opened for writing only cannot be read or listed, as on Windows.
  FakeKey(std::shared_ptr<FakeRegistry::Node> node, bool canRead, bool canWrite, bool changesFail)
      : node_(std::move(node)), canRead_(canRead), canWrite_(canWrite), changesFail_(changesFail) {}

  std::vector<std::string> ListValueNames() override {
    std::vector<std::string> names;
    if (node_->deleted || !canRead_) return names;
    for (const auto& v : node_->values) names.push_back(v.first);
    return names;
  }

  std::vector<std::string> ListSubKeys() override {
    std::vector<std::string> names;
    if (node_->deleted || !canRead_) return names;
    for (const auto& c : node_->children) names.push_back(c.second->name);
    return names;
  }

  std::optional<RegValue> ReadValue(const std::string& name) override {
    if (node_->deleted || !canRead_) return std::nullopt;
    auto it = FindValue(name);
    if (it == node_->values.end()) return std::nullopt;
    return it->second;
  }

  bool WriteValue(const std::string& name, const RegValue& value) override {
    if (node_->deleted || !canWrite_ || changesFail_) return false;
    auto it = FindValue(name);
    if (it != node_->values.end())
      it->second = value;
    else
      node_->values.emplace_back(name, value);
    return true;
  }

  bool DeleteValue(const std::string& name) override {
    if (node_->deleted || !canWrite_ || changesFail_) return false;
    auto it = FindValue(name);
    if (it == node_->values.end()) return false;
    node_->values.erase(it);
    return true;
  }

  bool Flush() override { return !node_->deleted; }

 private:
  std::vector<std::pair<std::string, RegValue>>::iterator FindValue(const std::string& name) {
    return std::find_if(node_->values.begin(), node_->values.end(),
                        [&](const auto& v) { return EqualsNoCase(v.first, name); });
  }

  std::shared_ptr<FakeRegistry::Node> node_;
  bool canRead_;
  bool canWrite_;
  bool changesFail_;
};

void MarkDeleted(FakeRegistry::Node& node) {
  node.deleted = true;
  for (auto& c : node.children) MarkDeleted(*c.second);
}

}  // namespace

FakeRegistry::FakeRegistry() {
  for (int i = 0; i < 5; ++i) {
    roots_[i] = std::make_shared<Node>();
    roots_[i]->name = RegRootName(static_cast<RegRoot>(i));
  }
}

std::shared_ptr<FakeRegistry::Node> FakeRegistry::Find(RegRoot root, const std::string& path) {
  auto node = roots_[static_cast<int>(root)];
  for (const auto& part : SplitKeyPath(path)) {
    auto it = node->children.find(AsciiLower(part));
    if (it == node->children.end()) return nullptr;
    node = it->second;
  }
  return node;
}

std::unique_ptr<RegistryKey> FakeRegistry::OpenKey(RegRoot root, const std::string& path,
                                                   RegAccess access) {
  auto node = Find(root, path);
  if (!node) return nullptr;
  const bool wantsWrite = access != RegAccess::Read;
  if (wantsWrite && Below(writeDenied_, root, path)) return nullptr;
  return std::make_unique<FakeKey>(node, access != RegAccess::Write, wantsWrite,
                                   Below(changesFail_, root, path));
}

std::unique_ptr<RegistryKey> FakeRegistry::CreateKey(RegRoot root, const std::string& path) {
  if (Below(writeDenied_, root, path)) return nullptr;
  auto node = roots_[static_cast<int>(root)];
  for (const auto& part : SplitKeyPath(path)) {
    auto& child = node->children[AsciiLower(part)];
    if (!child) {
      child = std::make_shared<Node>();
      child->name = part;
    }
    node = child;
  }
  return std::make_unique<FakeKey>(node, true, true, Below(changesFail_, root, path));
}

bool FakeRegistry::DeleteKeyTree(RegRoot root, const std::string& path) {
  auto parts = SplitKeyPath(path);
  if (parts.empty() || Below(writeDenied_, root, path)) return false;
  std::string leaf = parts.back();
  parts.pop_back();
  std::string parentPath;
  for (const auto& p : parts) parentPath += p + "\\";
  auto parent = Find(root, parentPath);
  if (!parent) return false;
  auto it = parent->children.find(AsciiLower(leaf));
  if (it == parent->children.end()) return false;
  MarkDeleted(*it->second);
  parent->children.erase(it);
  return true;
}

void FakeRegistry::DenyWrite(RegRoot root, const std::string& path) {
  writeDenied_.emplace_back(root, AsciiLower(path));
}

void FakeRegistry::FailValueChanges(RegRoot root, const std::string& path) {
  changesFail_.emplace_back(root, AsciiLower(path));
}

bool FakeRegistry::Below(const PathList& list, RegRoot root, const std::string& path) {
  std::string lower = AsciiLower(path);
  for (const auto& d : list) {
    if (d.first != root) continue;
    if (lower == d.second || lower.rfind(d.second + "\\", 0) == 0) return true;
  }
  return false;
}

}  // namespace morvanta::platform::fake
