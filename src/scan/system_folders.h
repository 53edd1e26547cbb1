// The folders the database templates and command lines name, asked of the system afresh
// at every use.
//
// Failure: a folder the system cannot provide is an empty text. Only two getters can fail
// with an error, which stops a token expansion: the common files folder, when its registry
// value exists but is not a text value (a typed read that cannot succeed), and the user
// name, when the system reports no name at all. A missing key or value is not an error:
// the folder is then empty.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "platform/platform.h"

namespace morvanta::scan {

enum class FolderId {
  Temp,
  CommonFiles,
  Personal,
  Favorites,
  Startup,
  StartMenu,
  DesktopDirectory,
  CommonStartMenu,
  CommonStartup,
  Profile,
  CommonPrograms,
  CommonDesktopDirectory,
  CommonAppData,
  AppData,
  Templates,
  InternetCache,
  Cookies,
  History,
  MyDocuments,
  Root,
  UserName,
  Windows,
  System,
  ProgramFiles,
};

// The folder's text without a trailing backslash (a drive root keeps its own); nothing when
// the getter failed with an error.
std::optional<std::string> GetFolder(platform::Platform& platform, FolderId id);

// The folders as a scan takes them: each asked of the system once, at its first use, and
// kept for the scan's duration (the special folders are slow to ask on some systems, and
// every template asks all of them).
class FolderCache {
 public:
  explicit FolderCache(platform::Platform& platform) : platform_(platform) {}
  const std::optional<std::string>& Get(FolderId id);

 private:
  platform::Platform& platform_;
  std::map<FolderId, std::optional<std::string>> folders_;
};

// The getters the section lines and command lines use; none of them fails with an error.
std::string WindowsFolder(platform::Platform& platform);
std::string SystemFolder(platform::Platform& platform);
// The "ProgramFilesDir" value; empty when the key or value is missing or not text.
std::string ProgramFilesFolder(platform::Platform& platform);

}  // namespace morvanta::scan
