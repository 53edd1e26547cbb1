#include "platform/fake/fake_folders.h"

namespace morvanta::platform::fake {

FakeFolders::FakeFolders() {
  const std::string user = "C:\\users\\tester";
  const std::string all = "C:\\ProgramData";
  special_ = {
      {csidl::Personal, user + "\\Documents"},
      {csidl::Favorites, user + "\\Favorites"},
      {csidl::Startup, user + "\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup"},
      {csidl::StartMenu, user + "\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu"},
      {csidl::DesktopDirectory, user + "\\Desktop"},
      {csidl::Templates, user + "\\AppData\\Roaming\\Microsoft\\Windows\\Templates"},
      {csidl::CommonStartMenu, all + "\\Microsoft\\Windows\\Start Menu"},
      {csidl::CommonPrograms, all + "\\Microsoft\\Windows\\Start Menu\\Programs"},
      {csidl::CommonStartup, all + "\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp"},
      {csidl::CommonDesktopDirectory, "C:\\users\\Public\\Desktop"},
      {csidl::AppData, user + "\\AppData\\Roaming"},
      {csidl::InternetCache, user + "\\AppData\\Local\\Microsoft\\Windows\\INetCache"},
      {csidl::Cookies, user + "\\AppData\\Roaming\\Microsoft\\Windows\\Cookies"},
      {csidl::History, user + "\\AppData\\Local\\Microsoft\\Windows\\History"},
      {csidl::CommonAppData, all},
      {csidl::Profile, user},
  };
  drives_ = {{"C:\\", DriveType::Fixed}};
}

std::string FakeFolders::SpecialFolder(int csidl) {
  auto it = special_.find(csidl);
  return it == special_.end() ? std::string() : it->second;
}

std::vector<std::string> FakeFolders::LogicalDrives() {
  std::vector<std::string> roots;
  for (const auto& d : drives_) roots.push_back(d.first);
  return roots;
}

DriveType FakeFolders::GetDriveType(const std::string& root) {
  auto it = drives_.find(root);
  return it == drives_.end() ? DriveType::NoRootDir : it->second;
}

std::vector<std::string> FakeFolders::AllFolders() const {
  std::vector<std::string> all = {windows_, system_, temp_};
  for (const auto& s : special_)
    if (!s.second.empty()) all.push_back(s.second);
  return all;
}

}  // namespace morvanta::platform::fake
