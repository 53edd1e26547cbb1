// The scan engine on a whole machine: the made-up one, and under Wine the real system with
// its special folders, real files and folders, and real running programs.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/memory_views.h"
#include "common/message_catalog.h"
#include "machine.h"
#include "platform/text.h"
#include "platform/types.h"
#include "scan/file_digest.h"
#include "scan/name_patterns.h"
#include "scan/path_tokens.h"
#include "scan/text_fields.h"
#include "scan/walker.h"

namespace morvanta::scan {
namespace {

using morvanta::testing::Machine;
using morvanta::testing::MachineKind;
using platform::AsciiLower;

class ScanOnMachine : public ::testing::TestWithParam<MachineKind> {
 protected:
  void SetUp() override { machine = Machine::Create(GetParam()); }
  platform::Platform P() { return machine->Get(); }
  std::string Scratch(const std::string& name) { return machine->ScratchPath(name); }
  void Put(const std::string& name, const std::string& content) {
    ASSERT_TRUE(P().files.WriteAll(Scratch(name), content)) << name;
  }
  std::unique_ptr<Machine> machine;
};

using LogLines = common::MemoryLog;

TEST_P(ScanOnMachine, TokensExpandToTheSpecialFolders) {
  auto p = P();
  std::string temp = p.folders.TempPath();
  if (!temp.empty() && temp.back() == '\\') temp.pop_back();
  EXPECT_EQ(ExpandPathTokens(p, "%%wt%%\\a.exe"), temp + "\\a.exe");
  EXPECT_EQ(ExpandPathTokens(p, "%%WinTemp%%\\a.exe"), temp + "\\a.exe");
  const std::pair<const char*, int> special[] = {
      {"%%af%%", platform::csidl::AppData}, {"%%pf%%", platform::csidl::Personal},
      {"%%md%%", platform::csidl::Personal}, {"%%caf%%", platform::csidl::CommonAppData}};
  for (const auto& s : special) {
    const std::string folder = p.folders.SpecialFolder(s.second);
    EXPECT_FALSE(folder.empty()) << s.first;
    EXPECT_EQ(ExpandPathTokens(p, s.first), folder) << s.first;
    EXPECT_TRUE(p.files.DirectoryExists(folder)) << folder;
  }
  EXPECT_EQ(ExpandPathTokens(p, "%%rt%%"), p.folders.WindowsDirectory().substr(0, 2));
  EXPECT_EQ(ExpandPathTokens(p, "%%User%%"), p.system.UserName());
}

TEST_P(ScanOnMachine, ResolveCommandPathFindsRealFiles) {
  auto p = P();
  Put("lib x.dll", "a library of more than ten bytes");
  const std::string lib = AsciiLower(Scratch("lib x.dll"));
  EXPECT_EQ(ResolveCommandPath(p, "rundll32.exe " + Scratch("LIB X.DLL") + ",Entry 1"), lib);
  // The real system opens "name " as "name"; the blank before the switch is not kept.
  EXPECT_EQ(ResolveCommandPath(p, "\"" + Scratch("lib x.dll") + "\" /s"), lib);
  EXPECT_EQ(ResolveCommandPath(p, "Proc " + Scratch("lib x.dll") + "[d41d8][33]"), lib);
  EXPECT_EQ(ResolveCommandPath(p, Scratch("missing.dll") + " /s"), "");
  const std::string helper = machine->HelperPath("sleeper.exe");
  EXPECT_EQ(ResolveCommandPath(p, "\"" + helper + "\" 5"), AsciiLower(helper));
}

TEST_P(ScanOnMachine, WildcardListingAndPatternsSeeRealFiles) {
  auto p = P();
  Put("ab1.exe", "1");
  Put("AB22.EXE", "2");
  Put("ab3.dll", "3");
  Put("abx.exe", "4");
  ASSERT_TRUE(p.files.CreateDirectory(Scratch("abdir.exe")));
  auto listed = SplitMatchList(WildcardListing(p.files, Scratch("ab<>.exe")));
  std::vector<std::string> lower;
  for (const auto& path : listed) lower.push_back(AsciiLower(path));
  std::sort(lower.begin(), lower.end());
  EXPECT_EQ(lower, (std::vector<std::string>{AsciiLower(Scratch("ab1.exe")),
                                             AsciiLower(Scratch("ab22.exe")),
                                             AsciiLower(Scratch("abx.exe"))}));
  FixedRunningObjects none;
  auto matched = SplitMatchList(MatchNamePattern(p, none, Scratch("ab&0123456789!.exe!")));
  std::sort(matched.begin(), matched.end());
  EXPECT_EQ(matched, (std::vector<std::string>{Scratch("ab1.exe"), Scratch("ab22.exe")}));
}

TEST_P(ScanOnMachine, WalkerFlagsARealFolderTree) {
  auto p = P();
  ASSERT_TRUE(p.files.CreateDirectory(Scratch("bad")));
  ASSERT_TRUE(p.files.CreateDirectory(Scratch("bad\\sub")));
  ASSERT_TRUE(p.files.CreateDirectory(Scratch("bad\\.hidden")));
  Put("bad\\one.exe", "abc");
  Put("bad\\two.dll", "");
  Put("bad\\sub\\three.txt", "3");
  Put("bad\\.hidden\\four.txt", "4");
  ScanSession session;
  LogLines log;
  common::MessageCatalog catalog;
  ASSERT_TRUE(FlagFolderContents(p, session, log, catalog, Scratch("bad"), "T", true));
  EXPECT_EQ(session.AlertCounter, 3);
  std::vector<std::string> expected;  // the order the folder's own listing gives
  auto listing = p.files.List(Scratch("bad\\*.*"));
  ASSERT_TRUE(listing);
  for (const auto& e : *listing) {
    if (!e.IsDirectory()) expected.push_back(Scratch("bad\\" + e.name));
    if (e.IsDirectory() && e.name == "sub") {
      expected.push_back(Scratch("bad\\sub"));
      expected.push_back(Scratch("bad\\sub\\three.txt"));
    }
  }
  std::vector<std::string> seen;
  for (const auto& a : session.Alerts) seen.push_back(a.Path);
  EXPECT_EQ(seen, expected);
  for (const auto& a : session.Alerts) {
    if (a.Path == Scratch("bad\\one.exe")) {
      EXPECT_EQ(a.Md5, "900150983cd24fb0d6963f7d28e17f72");
    }
  }
}

TEST_P(ScanOnMachine, WalkerNeverEntersALink) {
  auto p = P();
  ASSERT_TRUE(p.files.CreateDirectory(Scratch("bad")));
  ASSERT_TRUE(p.files.CreateDirectory(Scratch("outside")));
  Put("bad\\one.exe", "abc");
  Put("outside\\keep.txt", "a file that was never inside the folder");
  // Two links back to the folder (the work would double at every level for ever) and one
  // out of it.
  ASSERT_TRUE(machine->MakeFolderLink(Scratch("bad\\loop1"), Scratch("bad")));
  ASSERT_TRUE(machine->MakeFolderLink(Scratch("bad\\loop2"), Scratch("bad")));
  ASSERT_TRUE(machine->MakeFolderLink(Scratch("bad\\out"), Scratch("outside")));
  auto attributes = p.files.GetAttributes(Scratch("bad\\out"));
  ASSERT_TRUE(attributes && (*attributes & platform::attr::ReparsePoint));

  ScanSession session;
  LogLines log;
  common::MessageCatalog catalog;
  ASSERT_TRUE(FlagFolderContents(p, session, log, catalog, Scratch("bad"), "T", true));
  EXPECT_EQ(session.AlertCounter, 1);
  std::vector<std::string> seen;
  for (const auto& a : session.Alerts) seen.push_back(AsciiLower(a.Path));
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(seen, (std::vector<std::string>{AsciiLower(Scratch("bad\\loop1")),
                                            AsciiLower(Scratch("bad\\loop2")),
                                            AsciiLower(Scratch("bad\\one.exe")),
                                            AsciiLower(Scratch("bad\\out"))}));
  // A folder entry that names a link is not walked at all.
  ScanSession other;
  EXPECT_FALSE(FlagFolderContents(p, other, log, catalog, Scratch("bad\\out"), "T", true));
  EXPECT_TRUE(other.Alerts.Empty());
  // The links go, the folders they led to stay.
  for (const char* link : {"bad\\loop1", "bad\\loop2", "bad\\out"})
    EXPECT_TRUE(machine->RemoveFolderLink(Scratch(link))) << link;
  EXPECT_TRUE(p.files.FileExists(Scratch("outside\\keep.txt")));
}

TEST_P(ScanOnMachine, DigestReadsAFileAnotherProgramHoldsOpenForWriting) {
  if (!machine->IsReal()) GTEST_SKIP() << "needs a second real process";
  auto p = P();
  const std::string locked = Scratch("locked.bin");
  Put("locked.bin", "abc");
  const std::string command =
      "\"" + machine->HelperPath("sleeper.exe") + "\" 60 --lock \"" + locked + "\"";
  std::optional<uint32_t> pid;
  bool isLocked = false;
  // The sleeper may lose the race for the file against our probe; start it again then.
  for (int attempt = 0; attempt < 50 && !isLocked; ++attempt) {
    if (!pid || p.processes.WaitForExit(*pid, 0)) pid = p.processes.Start(command);
    ASSERT_TRUE(pid);
    p.system.Sleep(100);
    isLocked = p.files.Open(locked, platform::OpenMode::ReadWrite) == nullptr;
  }
  ASSERT_TRUE(isLocked) << "the sleeper did not take the file";
  EXPECT_EQ(FileDigest(p.files, locked), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(FileSize(p.files, locked), 3);
  EXPECT_TRUE(IsFilePresent(p.files, locked));
  p.processes.Terminate(*pid);
  p.processes.WaitForExit(*pid, 5000);
}

TEST_P(ScanOnMachine, FindRunningProcessSeesARunningProgram) {
  if (!machine->IsReal()) GTEST_SKIP() << "needs a real running program";
  auto p = P();
  const std::string helper = machine->HelperPath("sleeper.exe");
  auto pid = p.processes.Start("\"" + helper + "\" 60");
  ASSERT_TRUE(pid);
  SnapshotProcesses processes(p.processes);
  std::string byName, byDigest;
  for (int attempt = 0; attempt < 50 && byName.empty(); ++attempt) {
    byName = FindRunningProcess(p, processes, "\\SLEEPER.exe", "");
    if (byName.empty()) p.system.Sleep(100);
  }
  byDigest = FindRunningProcess(p, processes, "", FileDigest(p.files, helper));
  p.processes.Terminate(*pid);
  p.processes.WaitForExit(*pid, 5000);
  EXPECT_TRUE(platform::EqualsNoCase(byName, helper)) << byName;
  EXPECT_TRUE(platform::EqualsNoCase(byDigest, helper)) << byDigest;
  EXPECT_EQ(FindRunningProcess(p, processes, "\\no-such-program.exe", ""), "");
}

INSTANTIATE_TEST_SUITE_P(Machines, ScanOnMachine, ::testing::ValuesIn(Machine::Available()),
                         [](const auto& info) { return Machine::KindName(info.param); });

}  // namespace
}  // namespace morvanta::scan
