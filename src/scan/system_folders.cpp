#include "scan/system_folders.h"

#include "platform/folders.h"
#include "platform/registry.h"

namespace morvanta::scan {
namespace {

constexpr char kCurrentVersionKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

// A text value of the machine's CurrentVersion key: empty when the key or the value is
// missing, nothing when the value is there with another type.
std::optional<std::string> CurrentVersionText(platform::Platform& platform,
                                              const std::string& name) {
  auto key = platform.registry.OpenKey(platform::RegRoot::LocalMachine, kCurrentVersionKey,
                                       platform::RegAccess::Read);
  if (!key) return std::string();
  auto value = key->ReadValue(name);
  if (!value) return std::string();
  if (!value->IsText()) return std::nullopt;
  return value->AsText();
}

int CsidlOf(FolderId id) {
  namespace csidl = platform::csidl;
  switch (id) {
    case FolderId::Personal: return csidl::Personal;
    case FolderId::Favorites: return csidl::Favorites;
    case FolderId::Startup: return csidl::Startup;
    case FolderId::StartMenu: return csidl::StartMenu;
    case FolderId::DesktopDirectory: return csidl::DesktopDirectory;
    case FolderId::CommonStartMenu: return csidl::CommonStartMenu;
    case FolderId::CommonStartup: return csidl::CommonStartup;
    case FolderId::Profile: return csidl::Profile;
    case FolderId::CommonPrograms: return csidl::CommonPrograms;
    case FolderId::CommonDesktopDirectory: return csidl::CommonDesktopDirectory;
    case FolderId::CommonAppData: return csidl::CommonAppData;
    case FolderId::AppData: return csidl::AppData;
    case FolderId::Templates: return csidl::Templates;
    case FolderId::InternetCache: return csidl::InternetCache;
    case FolderId::Cookies: return csidl::Cookies;
    case FolderId::History: return csidl::History;
    case FolderId::MyDocuments: return csidl::Personal;
    default: return -1;
  }
}

}  // namespace

std::string WindowsFolder(platform::Platform& platform) {
  return platform.folders.WindowsDirectory();
}

std::string SystemFolder(platform::Platform& platform) {
  return platform.folders.SystemDirectory();
}

std::string ProgramFilesFolder(platform::Platform& platform) {
  return CurrentVersionText(platform, "ProgramFilesDir").value_or(std::string());
}

std::optional<std::string> GetFolder(platform::Platform& platform, FolderId id) {
  switch (id) {
    case FolderId::Temp: {
      std::string temp = platform.folders.TempPath();
      if (!temp.empty() && temp.back() == '\\') temp.pop_back();
      return temp;
    }
    case FolderId::CommonFiles:
      return CurrentVersionText(platform, "CommonFilesDir");
    case FolderId::Root: {
      std::string windows = platform.folders.WindowsDirectory();
      if (windows.size() >= 2 && windows[1] == ':') return windows.substr(0, 2);
      return std::string();
    }
    case FolderId::UserName: {
      std::string name = platform.system.UserName();
      if (name.empty()) return std::nullopt;
      return name;
    }
    case FolderId::Windows: return WindowsFolder(platform);
    case FolderId::System: return SystemFolder(platform);
    case FolderId::ProgramFiles: return ProgramFilesFolder(platform);
    default: return platform.folders.SpecialFolder(CsidlOf(id));
  }
}

const std::optional<std::string>& FolderCache::Get(FolderId id) {
  auto it = folders_.find(id);
  if (it == folders_.end()) it = folders_.emplace(id, GetFolder(platform_, id)).first;
  return it->second;
}

}  // namespace morvanta::scan
