#include <gtest/gtest.h>

#include "app/program_entry.h"
#include "app/settings.h"
#include "platform/fake/fake_platform.h"

namespace morvanta::app {
namespace {

using platform::RegRoot;
using platform::RegValue;

TEST(ChooserSetting, AbsentStoredAndWrongTyped) {
  platform::fake::FakePlatform machine;
  EXPECT_EQ(ReadShowChooser(machine.registry), std::nullopt);  // key missing: design state

  auto key = machine.registry.CreateKey(RegRoot::CurrentUser, kChooserOptionsKey);
  EXPECT_EQ(ReadShowChooser(machine.registry), true);  // value missing
  key->WriteValue("0", RegValue::FromString("0"));
  EXPECT_EQ(ReadShowChooser(machine.registry), true);  // not a DWORD
  key->WriteValue("0", RegValue::FromDword(0));
  EXPECT_EQ(ReadShowChooser(machine.registry), false);
  key->WriteValue("0", RegValue::FromDword(7));
  EXPECT_EQ(ReadShowChooser(machine.registry), true);
}

TEST(ChooserSetting, ClosingCreatesTheKeyAndStoresTheBox) {
  platform::fake::FakePlatform machine;
  ASSERT_TRUE(WriteShowChooser(machine.registry, false));
  auto key = machine.Get().registry.OpenKey(RegRoot::CurrentUser, "software\\quorrin\\morvanta pro\\options");
  ASSERT_TRUE(key);
  EXPECT_EQ(key->ReadValue("0")->AsDword(), 0u);
  ASSERT_TRUE(WriteShowChooser(machine.registry, true));
  EXPECT_EQ(key->ReadValue("0")->AsDword(), 1u);
  EXPECT_EQ(ReadShowChooser(machine.registry), true);
}

TEST(ProgramEntry, UpgradeModeOnlyUnderItsExactName) {
  struct Case {
    const char* path;
    EntryMode mode;
  } cases[] = {
      {"C:\\Program Files\\Morvanta Pro\\kavup.exe", EntryMode::Upgrade},
      {"kavup.exe", EntryMode::Upgrade},
      {"C:\\Program Files\\Morvanta Pro\\KAVUP.EXE", EntryMode::Normal},
      {"C:\\Program Files\\Morvanta Pro\\morvanta.exe", EntryMode::Normal},
      {"C:\\kavup.exe\\morvanta.exe", EntryMode::Normal},
      {"C:\\x\\kavup.exe.bak", EntryMode::Normal},
  };
  for (const auto& c : cases) EXPECT_EQ(DecideEntryMode(c.path), c.mode) << c.path;
}

TEST(ProgramEntry, LeftoverUpgradeIsDeleted) {
  platform::fake::FakePlatform machine;
  machine.files.PutFile("C:\\Program Files\\Morvanta Pro\\kavup.exe", "MZ");
  DeleteLeftoverUpgrade(machine.files, "C:\\Program Files\\Morvanta Pro\\");
  EXPECT_FALSE(machine.files.Exists("C:\\Program Files\\Morvanta Pro\\kavup.exe"));
  DeleteLeftoverUpgrade(machine.files, "C:\\Program Files\\Morvanta Pro\\");  // nothing there
}

TEST(ProgramEntry, TheUpgradeReplacesTheInstalledProgramThenStartsIt) {
  platform::fake::FakePlatform machine;
  auto p = machine.Get();
  const std::string folder = "C:\\Program Files\\Morvanta Pro\\";
  machine.files.PutFile(folder + "kavup.exe", "MZ the new program");
  machine.files.PutFile(folder + "morvanta.exe", "MZ the old one");
  EXPECT_TRUE(ReplaceInstalledProgram(p, folder + "kavup.exe"));
  const auto installed = machine.files.ReadAll(folder + "morvanta.exe");
  ASSERT_TRUE(installed);
  EXPECT_EQ(std::string(installed->begin(), installed->end()), "MZ the new program");
  EXPECT_EQ(machine.shell.Opened(), std::vector<std::string>{folder + "morvanta.exe"});
}

TEST(ProgramEntry, AnUpgradeThatCanNeverBeCopiedGivesUpAndStartsTheOldProgram) {
  platform::fake::FakePlatform machine;
  auto p = machine.Get();
  const std::string folder = "C:\\Program Files\\Morvanta Pro\\";
  machine.files.PutFile(folder + "kavup.exe", "MZ the new program");
  ASSERT_TRUE(machine.files.CreateDirectory(folder + "morvanta.exe"));  // never replaceable
  const uint32_t start = p.system.TickCount();
  EXPECT_FALSE(ReplaceInstalledProgram(p, folder + "kavup.exe", {250, 30000}));
  const uint32_t waited = p.system.TickCount() - start;
  EXPECT_GE(waited, 30000u);
  EXPECT_LT(waited, 31000u);  // bounded: it gave up
  EXPECT_EQ(machine.shell.Opened(), std::vector<std::string>{folder + "morvanta.exe"});
  EXPECT_TRUE(machine.files.Exists(folder + "kavup.exe"));
}

}  // namespace
}  // namespace morvanta::app
