// The program started for real under Wine, by its file name: as the downloaded upgrade it
// opens no window and ends by itself; normally it removes a leftover upgrade first.
#include <gtest/gtest.h>

#include "platform/win32/win32_platform.h"
#include "platform/win32/win_api.h"

namespace morvanta {
namespace {

class ProgramEntryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string module = p_.system.ModulePath();
    program_ = module.substr(0, module.find_last_of('\\')) + "\\morvanta.exe";
    // Tests run in parallel processes: the process id keeps their folders apart.
    folder_ = p_.folders.TempPath() + "morvanta-entry-" + std::to_string(::GetCurrentProcessId()) +
              "-" + std::to_string(p_.system.TickCount());
    ASSERT_TRUE(p_.files.CreateDirectory(folder_));
  }
  void TearDown() override {
    for (const char* name : {"kavup.exe", "morvanta.exe"}) p_.files.DeleteFile(folder_ + "\\" + name);
    p_.files.RemoveDirectory(folder_);
  }

  platform::win32::Win32Platform real_;
  platform::Platform p_ = real_.Get();
  std::string program_, folder_;
};

TEST_F(ProgramEntryTest, UpgradeCopyEndsWithoutOpeningAWindow) {
  const std::string upgrade = folder_ + "\\kavup.exe";
  ASSERT_TRUE(p_.files.CopyFile(program_, upgrade, false));
  auto pid = p_.processes.Start("\"" + upgrade + "\"");
  ASSERT_TRUE(pid);
  // A program with a window would wait in its message loop; this one ends on its own.
  bool ended = p_.processes.WaitForExit(*pid, 20000);
  if (!ended) p_.processes.Terminate(*pid);
  EXPECT_TRUE(ended);
}

TEST_F(ProgramEntryTest, NormalStartDeletesALeftoverUpgrade) {
  const std::string copy = folder_ + "\\morvanta.exe";
  const std::string leftover = folder_ + "\\kavup.exe";
  ASSERT_TRUE(p_.files.CopyFile(program_, copy, false));
  ASSERT_TRUE(p_.files.WriteAll(leftover, "MZ an old upgrade"));
  auto pid = p_.processes.Start("\"" + copy + "\"");
  ASSERT_TRUE(pid);
  bool gone = false;
  for (int i = 0; i < 200 && !(gone = !p_.files.Exists(leftover)); ++i) p_.system.Sleep(50);
  EXPECT_TRUE(gone);
  // It runs on (here stopped by the missing database's error box) until it is ended.
  EXPECT_FALSE(p_.processes.WaitForExit(*pid, 500));
  EXPECT_NE(p_.processes.Terminate(*pid), 0);
  p_.processes.WaitForExit(*pid, 10000);
}

}  // namespace
}  // namespace morvanta
