#include "remedy/process_ending.h"

#include "platform/text.h"
#include "platform/types.h"
#include "remedy/regbase_file.h"

namespace morvanta::remedy {

int KillProcessByName(platform::Processes& processes, const std::string& name) {
  auto snapshot = processes.Snapshot();
  if (!snapshot) return -1;
  const std::string wanted = platform::AsciiUpper(name);
  int last = 0;
  for (const platform::ProcessEntry& entry : *snapshot) {
    if (platform::AsciiUpper(platform::FileNamePart(entry.exeName)) != wanted &&
        platform::AsciiUpper(entry.exeName) != wanted)
      continue;
    last = processes.Terminate(entry.pid);
  }
  return last != 0 ? last : -1;
}

bool DeleteRegBaseValues(platform::Files& files, platform::Registry& registry,
                         const std::string& regBasePath, const std::string& path) {
  return DeleteRegBaseValues(files, registry, regBasePath, path, IgnoreLists{});
}

bool DeleteRegBaseValues(platform::Files& files, platform::Registry& registry,
                         const std::string& regBasePath, const std::string& path,
                         const IgnoreLists& ignored) {
  const std::string lowerPath = platform::AsciiLower(path);
  const std::string lowerName = platform::AsciiLower(platform::FileNamePart(path));
  bool deletedAny = false;
  for (int pass = 0; pass < kMaxRegBasePasses; ++pass) {
    bool deletedThisPass = false;
    const bool read = WalkRegBaseFile(files, registry, regBasePath, [&](const RegBaseValue& v) {
      if (ignored.IgnoresValue(v.rootIndex, v.keyPath, v.name)) return;
      const std::string data = platform::AsciiLower(v.data);
      bool gone = false;
      if (!lowerPath.empty() && data.find(lowerPath) != std::string::npos)
        gone = v.key.DeleteValue(v.name);
      // An empty file name (a path ending in '\') names no file, so it matches nothing.
      if (!gone && !lowerName.empty() && data == lowerName) gone = v.key.DeleteValue(v.name);
      if (gone) deletedThisPass = true;
    });
    deletedAny = deletedAny || deletedThisPass;
    if (!read || !deletedThisPass) break;
  }
  return deletedAny;
}

}  // namespace morvanta::remedy
