#include <algorithm>

#include "contract_test.h"
#include "platform/text.h"

namespace morvanta::testing {
namespace {

namespace csidl = platform::csidl;
using platform::DriveType;

MORVANTA_CONTRACT_SUITE(FoldersContract);

TEST_P(FoldersContract, SystemFoldersExist) {
  auto p = P();
  const std::string windows = p.folders.WindowsDirectory();
  const std::string system = p.folders.SystemDirectory();
  const std::string temp = p.folders.TempPath();
  EXPECT_TRUE(p.files.DirectoryExists(windows)) << windows;
  EXPECT_TRUE(p.files.DirectoryExists(system)) << system;
  EXPECT_EQ(platform::AsciiLower(system).rfind(platform::AsciiLower(windows) + "\\", 0), 0u);
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), '\\');
  EXPECT_TRUE(p.files.DirectoryExists(temp.substr(0, temp.size() - 1))) << temp;
  EXPECT_NE(windows.back(), '\\');
}

TEST_P(FoldersContract, SpecialFoldersOfTheUser) {
  auto p = P();
  for (int id : {csidl::Personal, csidl::AppData, csidl::Profile, csidl::DesktopDirectory,
                 csidl::StartMenu, csidl::CommonAppData}) {
    std::string path = p.folders.SpecialFolder(id);
    ASSERT_FALSE(path.empty()) << "CSIDL " << id;
    EXPECT_EQ(path[1], ':') << path;
  }
  // The user's folders lie below the profile.
  const std::string profile = platform::AsciiLower(p.folders.SpecialFolder(csidl::Profile));
  EXPECT_EQ(platform::AsciiLower(p.folders.SpecialFolder(csidl::AppData)).rfind(profile, 0), 0u);
}

TEST_P(FoldersContract, WindowsDriveIsAFixedDrive) {
  auto p = P();
  const std::string root = p.folders.WindowsDirectory().substr(0, 2) + "\\";
  auto drives = p.folders.LogicalDrives();
  auto found = std::find_if(drives.begin(), drives.end(),
                            [&](const std::string& d) { return platform::EqualsNoCase(d, root); });
  ASSERT_NE(found, drives.end()) << root;
  EXPECT_EQ(p.folders.GetDriveType(*found), DriveType::Fixed);
  EXPECT_EQ(p.folders.GetDriveType("Q:\\"), DriveType::NoRootDir);
}

}  // namespace
}  // namespace morvanta::testing
