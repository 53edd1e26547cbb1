// An in-memory registry: five root trees, keys and value names without regard to case,
// typed values in the order they were first written, subkeys listed in sorted order.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/registry.h"

namespace morvanta::platform::fake {

class FakeRegistry : public Registry {
 public:
  struct Node {
    std::string name;
    std::map<std::string, std::shared_ptr<Node>> children;  // by lower-case name
    std::vector<std::pair<std::string, RegValue>> values;
    bool deleted = false;
  };

  FakeRegistry();
  std::unique_ptr<RegistryKey> OpenKey(RegRoot root, const std::string& path,
                                       RegAccess access) override;
  std::unique_ptr<RegistryKey> CreateKey(RegRoot root, const std::string& path) override;
  bool DeleteKeyTree(RegRoot root, const std::string& path) override;

  // Makes OpenKey with write access fail below this key, like a key with a restrictive ACL.
  void DenyWrite(RegRoot root, const std::string& path);
  // Keys below this one open for writing, but writing or deleting a value fails there.
  void FailValueChanges(RegRoot root, const std::string& path);

 private:
  using PathList = std::vector<std::pair<RegRoot, std::string>>;
  std::shared_ptr<Node> Find(RegRoot root, const std::string& path);
  static bool Below(const PathList& list, RegRoot root, const std::string& path);

  std::shared_ptr<Node> roots_[5];
  PathList writeDenied_;
  PathList changesFail_;
};

}  // namespace morvanta::platform::fake
