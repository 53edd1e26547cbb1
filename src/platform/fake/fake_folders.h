// System folders and drives of a made-up machine, each settable by a test.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/folders.h"

namespace morvanta::platform::fake {

class FakeFolders : public Folders {
 public:
  FakeFolders();
  std::string WindowsDirectory() override { return windows_; }
  std::string SystemDirectory() override { return system_; }
  std::string TempPath() override { return temp_; }
  std::string SpecialFolder(int csidl) override;
  std::vector<std::string> LogicalDrives() override;
  DriveType GetDriveType(const std::string& root) override;

  void SetWindowsDirectory(std::string path) { windows_ = std::move(path); }
  void SetSystemDirectory(std::string path) { system_ = std::move(path); }
  void SetTempPath(std::string path) { temp_ = std::move(path); }
  // An empty path makes the folder one the system cannot provide.
  void SetSpecialFolder(int csidl, std::string path) { special_[csidl] = std::move(path); }
  void SetDrive(const std::string& root, DriveType type) { drives_[root] = type; }

  // Every folder this machine names, so a test can create them in its file system.
  std::vector<std::string> AllFolders() const;

 private:
  std::string windows_ = "C:\\windows";
  std::string system_ = "C:\\windows\\system32";
  std::string temp_ = "C:\\users\\tester\\Temp\\";
  std::map<int, std::string> special_;
  std::map<std::string, DriveType> drives_;
};

}  // namespace morvanta::platform::fake
