// Small value types shared by the platform operation groups.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace morvanta::platform {

// An opaque window handle, so that the logic can name an owner window without windows.h.
using WindowHandle = void*;

// The registry root table used in data files and records.
enum class RegRoot : int {
  ClassesRoot = 0,
  CurrentUser = 1,
  LocalMachine = 2,
  Users = 3,
  CurrentConfig = 4,
};

// The root for a numeric index from a data file; nothing for an index outside 0 to 4.
std::optional<RegRoot> RegRootFromIndex(long long index);

// "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", ... exactly as shown and reported.
const char* RegRootName(RegRoot root);

}  // namespace morvanta::platform
