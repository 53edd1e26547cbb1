#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/memory_views.h"
#include "common/message_catalog.h"
#include "platform/text.h"
#include "scan/alerts.h"
#include "scan/file_digest.h"
#include "scan/scan_log.h"
#include "scan/walker.h"
#include "scan_fixture.h"

namespace morvanta::scan {
namespace {

TEST(FileDigest, KnownAnswersFromRfc1321) {
  const std::pair<std::string, const char*> vectors[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  testing::FakeMachine machine;
  for (const auto& v : vectors) {
    SCOPED_TRACE(v.first);
    machine.Fake().files.PutFile("C:\\d.bin", v.first);
    EXPECT_EQ(FileDigest(machine.Fake().files, "C:\\d.bin"), v.second);
    EXPECT_EQ(DigestBytes(reinterpret_cast<const uint8_t*>(v.first.data()), v.first.size()),
              v.second);
  }
}

TEST(FileDigest, UnreadableFilesGiveTheEmptyDigestAndSizeZero) {
  testing::FakeMachine machine;
  auto& files = machine.Fake().files;
  files.PutFile("C:\\abc.txt", "abc");
  files.MakeFolders("C:\\dir");
  EXPECT_EQ(FileDigest(files, "C:\\missing"), kEmptyDigest);
  EXPECT_EQ(FileDigest(files, "C:\\dir"), kEmptyDigest);
  // The form that can say "unreadable", which an empty file is not.
  files.PutFile("C:\\empty.txt", "");
  EXPECT_FALSE(ReadFileDigest(files, "C:\\missing"));
  EXPECT_FALSE(ReadFileDigest(files, "C:\\dir"));
  EXPECT_EQ(ReadFileDigest(files, "C:\\empty.txt"), std::string(kEmptyDigest));
  EXPECT_EQ(ReadFileDigest(files, "C:\\abc.txt"), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(FileSize(files, "C:\\abc.txt"), 3);
  EXPECT_EQ(FileSize(files, "C:\\missing"), 0);
  EXPECT_EQ(FileSize(files, "C:\\dir"), 0);
  // A file another program is writing is still read.
  auto writer = files.Open("C:\\abc.txt", platform::OpenMode::Append);
  ASSERT_TRUE(writer);
  EXPECT_EQ(FileDigest(files, "C:\\abc.txt"), "900150983cd24fb0d6963f7d28e17f72");
}

TEST(ScanLogList, SortedWithoutDuplicatesAtMostSixteenFoundByName) {
  ScanLogList log;
  EXPECT_TRUE(log.Add("!Infected b.exe=;c:\\;t;d;1;"));
  EXPECT_TRUE(log.Add("!Infected a.exe=;c:\\;t;d;1;"));
  EXPECT_FALSE(log.Add("!INFECTED A.EXE=;C:\\;T;D;1;"));  // the same line in other letters
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{"!Infected a.exe=;c:\\;t;d;1;",
                                                   "!Infected b.exe=;c:\\;t;d;1;"}));
  for (int i = 0; i < 20; ++i) log.Add("!Infected n" + std::to_string(i) + ".exe=;");
  EXPECT_EQ(log.Size(), ScanLogList::kCapacity);
  EXPECT_TRUE(log.Full());
  const auto at = log.Find("!infected B.EXE");
  ASSERT_TRUE(at);
  log.AppendTo(*at, "Ok;");
  EXPECT_EQ(log.Lines()[*at], "!Infected b.exe=;c:\\;t;d;1;Ok;");
  EXPECT_FALSE(log.Find("!Infected b"));  // the whole name part, not a prefix of it
  log.Clear();
  EXPECT_EQ(log.Size(), 0u);
}

TEST(AlertList, PathsAreUniqueWithoutRegardToCase) {
  AlertList list;
  EXPECT_TRUE(list.AddAlert("c:\\a\\X.EXE", "T", "d", 4, false, false, false, false));
  EXPECT_TRUE(list.IsAlertPath("C:\\A\\x.exe"));
  EXPECT_FALSE(list.AddAlert("C:\\A\\x.exe", "U", "e", 5, true, false, false, false));
  ASSERT_EQ(list.Size(), 1u);
  EXPECT_EQ(list[0].Path, "c:\\a\\X.EXE");
  EXPECT_EQ(list[0].ThreatName, "T");
  EXPECT_EQ(list[0].LineIndex, 4);
  EXPECT_FALSE(list.IsAlertPath("C:\\A\\x.ex"));
  EXPECT_TRUE(list.AddAlert("C:\\A", "F", "", -1, false, false, false, true));
  EXPECT_TRUE(list[1].IsScanDir);
  list.Clear();
  EXPECT_FALSE(list.IsAlertPath("C:\\A\\x.exe"));
  EXPECT_TRUE(list.AddAlert("C:\\A\\x.exe", "T", "", 0, false, false, false, false));
}

TEST(ScanSession, ResetKeepsOnlyTheReportFlagAndTheCounterSaturates) {
  ScanSession session;
  session.Alerts.AddAlert("p", "t", "", -1, false, false, false, false);
  session.AlertCounter = 2147483647;
  session.CountUp();
  EXPECT_EQ(session.AlertCounter, 2147483647);
  session.Abort.Set();
  session.Found = session.ReportInProgress = session.ReportHeaderWritten = true;
  session.Reset();
  EXPECT_TRUE(session.Alerts.Empty());
  EXPECT_EQ(session.AlertCounter, 0);
  EXPECT_FALSE(session.Abort.IsSet() || session.Found || session.ReportHeaderWritten);
  EXPECT_TRUE(session.ReportInProgress);
}

// A file system whose mappings of one path fail hard (out of memory, for example).
class FailingMapFiles : public platform::fake::FakeFiles {
 public:
  std::unique_ptr<platform::MappedFile> MapReadOnly(const std::string& path) override {
    if (path == failPath) throw std::runtime_error("mapping failed");
    return FakeFiles::MapReadOnly(path);
  }
  std::string failPath;
};

class WalkerTest : public ::testing::Test {
 protected:
  WalkerTest() {
    machine.Fake().system.SetTimeText("10:11:12");
    auto& files = machine.Fake().files;
    files.PutFile("C:\\bad\\a.exe", "abc");
    files.PutFile("C:\\bad\\b.dll", "");
    files.PutFile("C:\\bad\\sub\\c.txt", "c");
    files.PutFile("C:\\bad\\.cache\\d.txt", "d");
    files.PutFile("C:\\bad\\.cache.txt", "e");
  }
  bool Walk(const std::string& folder, bool recurse) {
    return FlagFolderContents(machine.Get(), session, log, catalog, folder, "Bad.X", recurse);
  }
  std::vector<std::string> Alerts() const {
    std::vector<std::string> seen;
    for (const auto& a : session.Alerts)
      seen.push_back(a.Path + (a.IsWalkFile ? " file " : "") + (a.IsWalkDir ? " dir " : "") +
                     a.Md5 + (a.LineIndex == -1 ? "" : " line?"));
    return seen;
  }
  testing::FakeMachine machine;
  ScanSession session;
  common::MemoryLog log;
  common::MessageCatalog catalog;
};

TEST_F(WalkerTest, FlagsFilesAndSubfoldersDepthFirstInListingOrder) {
  EXPECT_TRUE(Walk("C:\\bad", true));
  EXPECT_EQ(Alerts(), (std::vector<std::string>{
                          "C:\\bad\\.cache.txt file e1671797c52e15f763380b45e841ec32",
                          "C:\\bad\\a.exe file 900150983cd24fb0d6963f7d28e17f72",
                          "C:\\bad\\b.dll file d41d8cd98f00b204e9800998ecf8427e",
                          "C:\\bad\\sub dir ",
                          "C:\\bad\\sub\\c.txt file 4a8a08f09d37b73795649038408b5f33",
                      }));
  EXPECT_EQ(session.AlertCounter, 4);
  ASSERT_EQ(log.lines.size(), 4u);
  EXPECT_EQ(log.lines[1], "10:11:12: Infected file (Bad.X) C:\\bad\\a.exe");
}

TEST_F(WalkerTest, WithoutRecursionSubfoldersAreLeftAlone) {
  EXPECT_TRUE(Walk("C:\\bad\\", false));
  EXPECT_EQ(session.Alerts.Size(), 3u);
  EXPECT_EQ(session.AlertCounter, 3);
}

TEST_F(WalkerTest, FilesAlreadyListedAreNotCountedAgain) {
  session.Alerts.AddAlert("c:\\BAD\\A.EXE", "Earlier", "", 0, false, false, false, false);
  EXPECT_TRUE(Walk("C:\\bad", true));
  EXPECT_EQ(session.Alerts.Size(), 5u);
  EXPECT_EQ(session.Alerts[0].ThreatName, "Earlier");
  EXPECT_EQ(session.AlertCounter, 3);  // one fewer than a whole walk: a.exe was counted when listed
  for (const auto& line : log.lines) EXPECT_EQ(line.find("a.exe"), std::string::npos) << line;
}

TEST_F(WalkerTest, LinksAreFlaggedButNeverEntered) {
  auto& files = machine.Fake().files;
  // Two links back to the folder itself would double the work at every level for ever; a
  // link out of it leads to files that were never inside it.
  files.MakeFolderLink("C:\\bad\\loop1", "C:\\bad");
  files.MakeFolderLink("C:\\bad\\sub\\loop2", "C:\\bad");
  files.PutFile("C:\\windows\\system32\\kernel32.dll", "MZ system library");
  files.MakeFolderLink("C:\\bad\\out", "C:\\windows");
  EXPECT_TRUE(Walk("C:\\bad", true));
  for (const auto& alert : session.Alerts)
    EXPECT_FALSE(platform::Contains(platform::AsciiLower(alert.Path), "kernel32")) << alert.Path;
  EXPECT_TRUE(session.Alerts.IsAlertPath("C:\\bad\\loop1"));
  EXPECT_TRUE(session.Alerts.IsAlertPath("C:\\bad\\out"));
  EXPECT_TRUE(session.Alerts.IsAlertPath("C:\\bad\\sub\\loop2"));
  EXPECT_FALSE(session.Alerts.IsAlertPath("C:\\bad\\loop1\\a.exe"));
  EXPECT_EQ(session.AlertCounter, 4);  // the four files really inside

  // A flagged folder that is itself a link is not walked.
  ScanSession other;
  EXPECT_FALSE(FlagFolderContents(machine.Get(), other, log, catalog, "C:\\bad\\out", "X", true));
  EXPECT_TRUE(other.Alerts.Empty());
}

TEST_F(WalkerTest, AFolderThatCannotBeListedAddsNothing) {
  EXPECT_FALSE(Walk("C:\\nothere", true));
  EXPECT_FALSE(Walk("C:\\bad\\a.exe", true));
  EXPECT_TRUE(session.Alerts.Empty());
  EXPECT_EQ(session.AlertCounter, 0);
  EXPECT_TRUE(log.lines.empty());
}

TEST(Walker, AFileThatFailsIsLoggedAndNotCounted) {
  platform::fake::FakePlatform fake;
  FailingMapFiles files;
  files.PutFile("C:\\bad\\1.exe", "1");
  files.PutFile("C:\\bad\\2.exe", "2");
  files.failPath = "C:\\bad\\1.exe";
  platform::Platform p{fake.registry, files, fake.folders, fake.processes, fake.services,
                       fake.shell, fake.system, fake.dialogs, fake.sockets,
                       fake.internet};
  ScanSession session;
  common::MemoryLog log;
  common::MessageCatalog catalog;
  EXPECT_TRUE(FlagFolderContents(p, session, log, catalog, "C:\\bad", "T", true));
  EXPECT_EQ(session.AlertCounter, 1);
  ASSERT_EQ(session.Alerts.Size(), 1u);
  EXPECT_EQ(session.Alerts[0].Path, "C:\\bad\\2.exe");
  EXPECT_EQ(log.lines, (std::vector<std::string>{
                           "12:00:00: Cannot open file (C:\\bad\\1.exe) C:\\bad\\1.exe",
                           "12:00:00: Infected file (T) C:\\bad\\2.exe"}));
}

TEST(Walker, DeepFoldersDoNotExhaustTheStack) {
  testing::FakeMachine machine;
  std::string folder = "C:\\deep";
  for (int i = 0; i < 200; ++i) folder += "\\d";
  machine.Fake().files.PutFile(folder + "\\x.exe", "x");
  ScanSession session;
  common::MemoryLog log;
  common::MessageCatalog catalog;
  EXPECT_TRUE(FlagFolderContents(machine.Get(), session, log, catalog, "C:\\deep", "T", true));
  EXPECT_EQ(session.AlertCounter, 1);
  EXPECT_EQ(session.Alerts.Size(), 201u);
}

class RunningLookupTest : public ::testing::Test {
 protected:
  testing::FakeMachine machine;
};

TEST_F(RunningLookupTest, FindRunningProcessByFragmentThenByDigest) {
  machine.PutProgram("c:\\windows\\svchost.exe");
  machine.Fake().files.PutFile("c:\\windows\\svch0st.exe", "abc");
  FixedRunningProcesses processes({"c:\\windows\\svchost.exe", "c:\\gone\\svch0st.exe",
                                   "C:\\WINDOWS\\SVCH0ST.EXE"});
  auto& p = machine.Get();
  EXPECT_EQ(FindRunningProcess(p, processes, "\\svch0st.exe", ""), "C:\\WINDOWS\\SVCH0ST.EXE");
  EXPECT_EQ(FindRunningProcess(p, processes, "\\svchost.exe", "ignored"),
            "c:\\windows\\svchost.exe");
  EXPECT_EQ(FindRunningProcess(p, processes, "\\other.exe", ""), "");
  EXPECT_EQ(FindRunningProcess(p, processes, "", "900150983cd24fb0d6963f7d28e17f72"),
            "C:\\WINDOWS\\SVCH0ST.EXE");
  EXPECT_EQ(FindRunningProcess(p, processes, "", "00000000000000000000000000000000"), "");
  EXPECT_EQ(FindRunningProcess(p, processes, "", ""), "");
}

TEST_F(RunningLookupTest, SnapshotProcessesSkipsUnqueryablePaths) {
  auto& fake = machine.Fake().processes;
  fake.AddProcess("a.exe", std::string("C:\\a.exe"));
  fake.AddProcess("b.exe", std::nullopt);
  SnapshotProcesses processes(fake);
  auto paths = processes.ImagePaths();
  EXPECT_EQ(std::count(paths.begin(), paths.end(), "C:\\a.exe"), 1);
  fake.FailSnapshots(true);
  EXPECT_TRUE(processes.ImagePaths().empty());
}

TEST_F(RunningLookupTest, FindRunningObjectByDigest) {
  machine.PutProgram("c:\\dir\\file.exe");
  FixedRunningObjects objects({"Proc c:\\dir\\gone.exe[aaa][1]",
                               "RegRun \"C:\\DIR\\FILE.EXE\" /x[bbb][15]",
                               "Proc c:\\dir\\file.exe[aaa][15]"});
  auto& p = machine.Get();
  EXPECT_EQ(FindRunningObjectByDigest(p, objects, "bbb"), "c:\\dir\\file.exe");
  EXPECT_EQ(FindRunningObjectByDigest(p, objects, "aaa"), "");  // the first holder is gone
  EXPECT_EQ(FindRunningObjectByDigest(p, objects, "ccc"), "");
  EXPECT_EQ(FindRunningObjectByDigest(p, objects, ""), "");
}

}  // namespace
}  // namespace morvanta::scan
