// System folders and drives.
#pragma once

#include <string>
#include <vector>

namespace morvanta::platform {

// The special folders the system asks for, by their CSIDL numbers.
namespace csidl {
constexpr int Personal = 5;
constexpr int Favorites = 6;
constexpr int Startup = 7;
constexpr int StartMenu = 11;
constexpr int DesktopDirectory = 16;
constexpr int Templates = 21;
constexpr int CommonStartMenu = 22;
constexpr int CommonPrograms = 23;
constexpr int CommonStartup = 24;
constexpr int CommonDesktopDirectory = 25;
constexpr int AppData = 26;
constexpr int InternetCache = 32;
constexpr int Cookies = 33;
constexpr int History = 34;
constexpr int CommonAppData = 35;
constexpr int Profile = 40;
}  // namespace csidl

enum class DriveType { Unknown, NoRootDir, Removable, Fixed, Remote, CdRom, RamDisk };

class Folders {
 public:
  virtual ~Folders() = default;
  // Each is empty when the system cannot provide it; no trailing backslash except on a
  // drive root, as the system returns them.
  virtual std::string WindowsDirectory() = 0;
  virtual std::string SystemDirectory() = 0;
  // The temp folder as the system returns it: with its trailing backslash.
  virtual std::string TempPath() = 0;
  virtual std::string SpecialFolder(int csidl) = 0;
  // Drive roots such as "C:\".
  virtual std::vector<std::string> LogicalDrives() = 0;
  virtual DriveType GetDriveType(const std::string& root) = 0;
};

}  // namespace morvanta::platform
