#include "platform/types.h"

namespace morvanta::platform {

std::optional<RegRoot> RegRootFromIndex(long long index) {
  if (index < 0 || index > 4) return std::nullopt;
  return static_cast<RegRoot>(index);
}

const char* RegRootName(RegRoot root) {
  switch (root) {
    case RegRoot::ClassesRoot: return "HKEY_CLASSES_ROOT";
    case RegRoot::CurrentUser: return "HKEY_CURRENT_USER";
    case RegRoot::LocalMachine: return "HKEY_LOCAL_MACHINE";
    case RegRoot::Users: return "HKEY_USERS";
    case RegRoot::CurrentConfig: return "HKEY_CURRENT_CONFIG";
  }
  return "";
}

}  // namespace morvanta::platform
