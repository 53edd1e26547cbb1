// KillProcessByName and DeleteRegBaseValues on every machine, and the removal's scale on
// the fake.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "contract_test.h"
#include "platform/fake/fake_platform.h"
#include "remedy/process_ending.h"

namespace morvanta::remedy {
namespace {

using platform::RegRoot;
using platform::RegValue;
using testing::Machine;

MORVANTA_CONTRACT_SUITE(ProcessEnding);

bool Running(platform::Processes& processes, uint32_t pid) {
  auto snapshot = processes.Snapshot();
  return snapshot && std::any_of(snapshot->begin(), snapshot->end(),
                                 [&](const platform::ProcessEntry& e) { return e.pid == pid; });
}

TEST_P(ProcessEnding, TwoCopiesFromTwoFoldersBothEnd) {
  auto p = P();
  std::string folders[] = {M().ScratchPath("one"), M().ScratchPath("two")};
  uint32_t pids[2] = {};
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(p.files.CreateDirectory(folders[i]));
    const std::string copy = folders[i] + "\\MvSleepTwin.exe";
    ASSERT_TRUE(p.files.CopyFile(M().HelperPath("sleeper.exe"), copy, true));
    auto pid = p.processes.Start("\"" + copy + "\" 60");
    ASSERT_TRUE(pid);
    pids[i] = *pid;
  }
  // The snapshot names the file in its own letter case; the match folds a-z.
  EXPECT_NE(KillProcessByName(p.processes, "mvsleeptwin.EXE"), -1);
  for (uint32_t pid : pids) {
    EXPECT_TRUE(p.processes.WaitForExit(pid, 10000));
    EXPECT_FALSE(Running(p.processes, pid));
  }
}

TEST_P(ProcessEnding, ANameMatchingNothingReturnsMinusOneAndEndsNothing) {
  auto p = P();
  auto pid = p.processes.Start("\"" + M().HelperPath("sleeper.exe") + "\" 60");
  ASSERT_TRUE(pid);
  EXPECT_EQ(KillProcessByName(p.processes, "no-such-program-mv.exe"), -1);
  EXPECT_EQ(KillProcessByName(p.processes, "leeper.exe"), -1);  // a name part is no match
  EXPECT_TRUE(Running(p.processes, *pid));
  p.processes.Terminate(*pid);
  p.processes.WaitForExit(*pid, 10000);
}

TEST_P(ProcessEnding, DeleteRegBaseValuesRemovesWhatPointsAtTheFile) {
  auto p = P();
  const std::string regBase = M().ScratchPath("RegBase.rgk");
  // A listed key that does not exist comes first: it is passed over.
  ASSERT_TRUE(p.files.WriteAll(regBase, "2\r\n1\r\n" + M().ScratchKey() + "\\Absent\r\n\r\n1\r\n" +
                                            M().ScratchKey() + "\r\nscratch run key\r\n"));
  const std::string file = "C:\\Program Files\\Mv Bad\\EvilTool.exe";
  {
    auto key = p.registry.CreateKey(RegRoot::CurrentUser, M().ScratchKey());
    ASSERT_TRUE(key);
    key->WriteValue("switches", RegValue::FromString("\"c:\\program files\\MV BAD\\eviltool.EXE\" /min"));
    key->WriteValue("bare", RegValue::FromString("EVILTOOL.exe"));
    key->WriteValue("expand", RegValue::FromString(file, platform::RegType::ExpandString));
    key->WriteValue("suffix", RegValue::FromString("c:\\other\\NotEvilTool.exe"));
    key->WriteValue("binary", RegValue::FromBinary({'E', 'v', 'i', 'l', 'T', 'o', 'o', 'l', '.',
                                                    'e', 'x', 'e', 0}));
    key->WriteValue("empty", RegValue::FromString(""));
  }
  EXPECT_TRUE(DeleteRegBaseValues(p.files, p.registry, regBase, file));

  auto key = p.registry.OpenKey(RegRoot::CurrentUser, M().ScratchKey(), platform::RegAccess::Read);
  ASSERT_TRUE(key);
  auto names = key->ListValueNames();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"binary", "empty", "suffix"}));

  // Nothing left to delete: false.
  EXPECT_FALSE(DeleteRegBaseValues(p.files, p.registry, regBase, file));
  // No file at all: false, silently.
  EXPECT_FALSE(DeleteRegBaseValues(p.files, p.registry, M().ScratchPath("none.rgk"), file));
}

TEST(ProcessEndingFake, ResultIsTheLastTerminationOrMinusOne) {
  platform::fake::FakePlatform machine;
  machine.processes.AddProcess("stubborn.exe", std::nullopt, /*canTerminate=*/false);
  EXPECT_EQ(KillProcessByName(machine.processes, "STUBBORN.EXE"), -1);

  // The snapshot name may carry a folder; the whole name matches too.
  const uint32_t withFolder = machine.processes.AddProcess("C:\\x\\tool.exe", std::nullopt);
  const uint32_t whole = machine.processes.AddProcess("odd\\name", std::nullopt);
  EXPECT_EQ(KillProcessByName(machine.processes, "Tool.exe"), 1);
  EXPECT_EQ(KillProcessByName(machine.processes, "ODD\\NAME"), 1);
  EXPECT_FALSE(Running(machine.processes, withFolder));
  EXPECT_FALSE(Running(machine.processes, whole));

  machine.processes.FailSnapshots(true);
  EXPECT_EQ(KillProcessByName(machine.processes, "tool.exe"), -1);
}

TEST(ProcessEndingFake, FoldingIsLimitedToAsciiLetters) {
  platform::fake::FakePlatform machine;
  machine.processes.AddProcess("caf\xe9.exe", std::nullopt);
  EXPECT_EQ(KillProcessByName(machine.processes, "CAF\xc9.EXE"), -1);
  EXPECT_EQ(KillProcessByName(machine.processes, "CAF\xe9.EXE"), 1);
}

TEST(ProcessEndingFake, ThousandsOfMatchingValuesAcrossKeysAreAllRemoved) {
  platform::fake::FakePlatform machine;
  const std::string file = "c:\\bad\\worm.exe";
  std::string regBase = "2\r\n";
  for (int k = 0; k < 2; ++k) {
    const std::string keyPath = "Software\\Many\\" + std::to_string(k);
    regBase += "1\r\n" + keyPath + "\r\n\r\n";
    auto key = machine.registry.CreateKey(RegRoot::CurrentUser, keyPath);
    for (int i = 0; i < 2500; ++i) {
      key->WriteValue("v" + std::to_string(i),
                      RegValue::FromString(i % 2 ? "C:\\BAD\\WORM.EXE -x" : "worm.exe"));
      if (i % 500 == 0)
        key->WriteValue("keep" + std::to_string(i), RegValue::FromString("c:\\good.exe"));
    }
  }
  machine.files.PutFile("C:\\prog\\RegBase.rgk", regBase);
  EXPECT_TRUE(DeleteRegBaseValues(machine.files, machine.registry, "C:\\prog\\RegBase.rgk", file));
  for (int k = 0; k < 2; ++k) {
    auto key = machine.registry.OpenKey(RegRoot::CurrentUser, "Software\\Many\\" + std::to_string(k),
                                        platform::RegAccess::Read);
    EXPECT_EQ(key->ListValueNames().size(), 5u) << k;
  }
}

// A registry whose deletions report success but leave the value, as when a watchdog
// process rewrites its start-up value at once: the run still ends.

TEST(ProcessEndingFake, AValueThatComesBackDoesNotHangTheRun) {
  platform::fake::FakePlatform machine;
  class Key : public platform::RegistryKey {
   public:
    std::vector<std::string> ListValueNames() override { return {"w"}; }
    std::vector<std::string> ListSubKeys() override { return {}; }
    std::optional<RegValue> ReadValue(const std::string&) override {
      return RegValue::FromString("worm.exe");
    }
    bool WriteValue(const std::string&, const RegValue&) override { return true; }
    bool DeleteValue(const std::string&) override {
      ++deletions;
      return true;
    }
    bool Flush() override { return true; }
    int& deletions;
    explicit Key(int& d) : deletions(d) {}
  };
  class Reg : public platform::Registry {
   public:
    std::unique_ptr<platform::RegistryKey> OpenKey(RegRoot, const std::string&,
                                                   platform::RegAccess) override {
      return std::make_unique<Key>(deletions);
    }
    std::unique_ptr<platform::RegistryKey> CreateKey(RegRoot, const std::string&) override {
      return nullptr;
    }
    bool DeleteKeyTree(RegRoot, const std::string&) override { return false; }
    int deletions = 0;
  } reg;
  machine.files.PutFile("C:\\RegBase.rgk", "1\r\n1\r\nRun\r\n\r\n");
  EXPECT_TRUE(DeleteRegBaseValues(machine.files, reg, "C:\\RegBase.rgk", "c:\\x\\worm.exe"));
  EXPECT_EQ(reg.deletions, kMaxRegBasePasses);
}

}  // namespace
}  // namespace morvanta::remedy
