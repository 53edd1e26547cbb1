// The operating system's display name, as shown at start and written into the full report,
// and the test that refuses systems older than Windows XP.
#pragma once

#include <optional>
#include <string>

#include "platform/platform.h"

namespace morvanta::app {

// Composes the name from a version record. `hotfix6a` tells whether the NT 4.0 Service
// Pack 6a hotfix key is present; only NT 4.0 with Service Pack 6 asks for it.
std::string ComposeOsName(const std::optional<platform::OsVersion>& version,
                          uint16_t nativeArchitecture, bool hotfix6a);

// The name of the running system: the version record is queried twice before giving up
// (the name is then empty).
std::string OsDisplayName(platform::Platform p);

// True for Windows 95, 98, Millennium Edition and 2000: the name, build number included,
// contains "95", "98", "millennium" or "2000" in any letter case.
bool IsUnsupportedOs(const std::string& osName);

}  // namespace morvanta::app
