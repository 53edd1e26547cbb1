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

}  // namespace
}  // namespace morvanta::app
