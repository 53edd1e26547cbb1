// Ending the processes of one executable name, and removing the startup registry values
// that point at a file.
#pragma once

#include <string>

#include "platform/files.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "remedy/ignore_lists.h"

namespace morvanta::remedy {

// Ends every process whose snapshot executable name, or that name's file-name part, equals
// `name` with the letters a-z folded to upper case. All matches are ended. The result of
// the last termination when it was nonzero, else -1 (also when nothing matched or the
// snapshot failed).
int KillProcessByName(platform::Processes& processes, const std::string& name);

// Deletes every REG_SZ / REG_EXPAND_SZ value in the keys listed by the RegBase file at
// `regBasePath` whose data, lower-cased, contains `path` lower-cased or equals its bare
// file name lower-cased. Passes over the whole list repeat, each with a fresh reading of
// the file, until one deletes nothing. True when at least one value was deleted.
bool DeleteRegBaseValues(platform::Files& files, platform::Registry& registry,
                         const std::string& regBasePath, const std::string& path);
// The same, leaving alone every value the registry ignore list names.
bool DeleteRegBaseValues(platform::Files& files, platform::Registry& registry,
                         const std::string& regBasePath, const std::string& path,
                         const IgnoreLists& ignored);

// A guard against a value that comes back as fast as it is deleted (a watchdog process
// rewriting its own start-up value): after this many passes that each deleted something,
// the run ends.
inline constexpr int kMaxRegBasePasses = 64;

}  // namespace morvanta::remedy
