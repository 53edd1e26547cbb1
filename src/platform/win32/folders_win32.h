// System folders and drives through kernel32 and shell32.
#pragma once

#include "platform/folders.h"

namespace morvanta::platform::win32 {

class Win32Folders : public Folders {
 public:
  std::string WindowsDirectory() override;
  std::string SystemDirectory() override;
  std::string TempPath() override;
  std::string SpecialFolder(int csidl) override;
  std::vector<std::string> LogicalDrives() override;
  DriveType GetDriveType(const std::string& root) override;
};

}  // namespace morvanta::platform::win32
