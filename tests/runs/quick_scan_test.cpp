// The quick scan on every machine: the fake, and under Wine the real system with real files
// and folders in a scratch folder and real helper processes (copies of sleeper.exe made
// unique by name and content, so no other test's processes are touched).
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/session.h"
#include "common/memory_views.h"
#include "contract_test.h"
#include "platform/text.h"
#include "runs/quick_scan.h"
#include "runs/recorded_page.h"
#include "scan/file_digest.h"

namespace morvanta::runs {
namespace {

using common::Msg;
using common::PromptKind;

constexpr char kDate[] = "Thursday, 10.12.2026, Upd 0042   ";

MORVANTA_CONTRACT_SUITE(QuickScanOnMachine);

class Scanner {
 public:
  explicit Scanner(testing::Machine& machine) : machine_(machine), session_(machine.Get(), Folder(machine)) {}

  // The folder of the program: where RegBase.rgk is looked for.
  static std::string Folder(testing::Machine& machine) { return machine.Scratch() + "\\"; }

  QuickScanResult Scan(const std::vector<std::string>& entries) {
    std::string text = std::string(kDate) + "\r\n";
    for (const auto& e : entries) text += e + "\r\n";
    text += "_end\r\n";
    session_.Database().SetText(std::vector<uint8_t>(text.begin(), text.end()));
    return RunQuickScan(session_, Views());
  }
  QuickScanResult ScanText(const std::string& text) {
    session_.Database().SetText(std::vector<uint8_t>(text.begin(), text.end()));
    return RunQuickScan(session_, Views());
  }
  QuickScanViews Views() {
    return {results, log, status, prompts, pump, report, startup, controls, offers};
  }

  app::Session& Session() { return session_; }
  std::vector<std::string> Captions() const { return results.Captions(); }
  const scan::AlertList& Alerts() { return session_.Scan().Alerts; }
  std::vector<std::string> LogLines() const { return log.lines; }

  common::MemoryCheckList results, startup;
  common::MemoryLog log;
  common::MemoryText status;
  common::ScriptedPrompts prompts{false};
  common::CountingPump pump;
  common::MemoryReport report;
  RecordedControls controls;
  RecordedOffers offers;

 private:
  testing::Machine& machine_;
  app::Session session_;
};

// A running program of the test's own: a copy of the sleeper, its name and digest unique.
class OwnProcess {
 public:
  OwnProcess(testing::Machine& m, const std::string& path) : m_(m), path_(path) {
    auto p = m.Get();
    auto helper = p.files.ReadAll(m.HelperPath("sleeper.exe"));
    if (!helper) return;
    std::string tag = "morvanta test copy " + path;  // trailing data changes the digest only
    helper->insert(helper->end(), tag.begin(), tag.end());
    if (!p.files.WriteAll(path, helper->data(), helper->size())) return;
    Start();
  }
  ~OwnProcess() {
    auto p = m_.Get();
    for (int round = 0; round < 20 && Running(); ++round) {
      if (auto snapshot = p.processes.Snapshot())
        for (const auto& e : *snapshot)
          if (platform::EqualsNoCase(e.exeName, platform::FileNamePart(path_))) {
            p.processes.Terminate(e.pid);
            p.processes.WaitForExit(e.pid, 5000);
          }
    }
  }
  void Start() {
    auto p = m_.Get();
    pid_ = p.processes.Start("\"" + path_ + "\" 60").value_or(0);
  }
  bool Running() {
    auto snapshot = m_.Get().processes.Snapshot();
    if (!snapshot) return false;
    for (const auto& e : *snapshot)
      if (platform::EqualsNoCase(e.exeName, platform::FileNamePart(path_))) return true;
    return false;
  }
  bool Started() const { return pid_ != 0; }
  std::string Digest() { return scan::FileDigest(m_.Get().files, path_); }
  const std::string& Path() const { return path_; }

 private:
  testing::Machine& m_;
  std::string path_;
  uint32_t pid_ = 0;
};

// Waits until the process of `own` is gone (a terminated process ends a moment later).
bool Ended(testing::Machine& m, OwnProcess& own) {
  for (int i = 0; i < 100 && own.Running(); ++i) m.Get().system.Sleep(50);
  return !own.Running();
}

// A program name of this test's own: processes are ended by name, and other tests run
// meanwhile.
std::string OwnName(testing::Machine& m, const std::string& stem) {
  return stem + "-" + platform::FileNamePart(m.Scratch()) + ".exe";
}

TEST_P(QuickScanOnMachine, AnEmptyDatabaseEndsClean) {
  Scanner s(M());
  s.Session().logUploadWanted = true;
  s.prompts.Answer({true});
  const QuickScanResult result = s.Scan({});
  EXPECT_FALSE(result.found);
  EXPECT_EQ(result.entriesRead, 0u);
  EXPECT_EQ(s.Captions(), std::vector<std::string>{"Your computer is clean..."});
  EXPECT_FALSE(s.results.rows[0].enabled);
  ASSERT_EQ(s.prompts.shown.size(), 2u);
  EXPECT_EQ(s.prompts.shown[0].kind, PromptKind::UrgentInformation);
  EXPECT_EQ(s.prompts.shown[0].text, "Your computer is clean from this kind of viruses!");
  EXPECT_EQ(s.prompts.shown[1].entry, Msg::SendLogAfterScan);
  EXPECT_EQ(s.offers.logUploads, 1);
  EXPECT_TRUE(platform::EndsWith(s.log.lines.back(), ": Your computer is clean!"));
  EXPECT_FALSE(s.controls.fix);
  EXPECT_TRUE(s.controls.scan && s.controls.back && !s.controls.abort);
  EXPECT_EQ(s.status.text, "Scan process finished.");
}

TEST_P(QuickScanOnMachine, LinesOutsideTheGrammarAndAMissingEndLineEndCleanly) {
  ASSERT_TRUE(P().files.WriteAll(M().ScratchPath("w.exe"), "worm"));
  Scanner s(M());
  const std::string worm = "/0/[W]:" + M().ScratchPath("w.exe");
  const QuickScanResult result = s.ScanText(
      std::string(kDate) + "\r\n" +
      "no brackets, no colon\r\n[\r\n]:\r\n::\r\n/\r\n[X]:\\\\\r\n/0//0/\r\n??\r\n<>\r\n" +
      std::string(300, 'z') + "\r\n" + worm + "\r\n" + worm);  // no "_end", no last CR LF
  EXPECT_TRUE(result.found);
  EXPECT_EQ(s.Alerts().Size(), 1u);
  EXPECT_GE(result.entriesRead, 11u);
  EXPECT_EQ(s.status.text, "Scan process finished.");
}

TEST_P(QuickScanOnMachine, OneFileNamedTwiceIsOneAlertAndBothEntriesEndItsProcesses) {
  OwnProcess worm(M(), M().ScratchPath(OwnName(M(), "mvdup")));
  ASSERT_TRUE(worm.Started());
  Scanner s(M());
  // The pump runs before each line: the program is started again whenever it was ended.
  int restarts = 0;
  s.pump.onPump = [&](size_t) {
    if (!worm.Running()) {
      ++restarts;
      worm.Start();
    }
  };
  const std::string upper = platform::AsciiUpper(worm.Path());
  const QuickScanResult result =
      s.Scan({"/0/[Worm.Dup]:" + worm.Path(), "/0/[Worm.Dup2]:" + upper, "/0/[Other]:C:\\no\\such.exe"});
  s.pump.onPump = nullptr;
  EXPECT_TRUE(result.found);
  EXPECT_EQ(result.entriesRead, 3u);
  ASSERT_EQ(s.Alerts().Size(), 1u);
  EXPECT_EQ(s.Alerts()[0].ThreatName, "Worm.Dup");
  EXPECT_EQ(s.Captions(), std::vector<std::string>{"Infected with Worm.Dup"});
  EXPECT_EQ(s.Session().Scan().AlertCounter, 1);
  EXPECT_GE(restarts, 2) << "each of the two entries ended the program";
}

TEST_P(QuickScanOnMachine, AFolderEntryFlagsTheFolderAndEverythingInIt) {
  auto p = P();
  ASSERT_TRUE(p.files.CreateDirectory(M().ScratchPath("badapp")));
  ASSERT_TRUE(p.files.CreateDirectory(M().ScratchPath("badapp\\plugins")));
  for (const char* name : {"badapp\\main.exe", "badapp\\readme.txt", "badapp\\plugins\\p.dll"})
    ASSERT_TRUE(p.files.WriteAll(M().ScratchPath(name), std::string("content of ") + name));
  Scanner s(M());
  s.Scan({"[Trojan.Dir]:" + M().ScratchPath("badapp") + "\\\\"});
  EXPECT_EQ(s.Captions(), std::vector<std::string>{"Infected with Trojan.Dir"});
  EXPECT_EQ(s.Session().Scan().AlertCounter, 4);  // the folder and its three files
  ASSERT_EQ(s.Alerts().Size(), 5u);               // and the subfolder, without a line
  EXPECT_TRUE(s.Alerts()[0].IsScanDir);
  EXPECT_EQ(s.Alerts()[0].LineIndex, 0);
  for (size_t i = 1; i < s.Alerts().Size(); ++i) {
    EXPECT_TRUE(s.Alerts()[i].IsWalkFile || s.Alerts()[i].IsWalkDir);
    EXPECT_EQ(s.Alerts()[i].LineIndex, -1);
  }
  EXPECT_TRUE(std::any_of(s.log.lines.begin(), s.log.lines.end(), [&](const std::string& l) {
    return platform::EndsWith(l, ": Infected directory " + M().ScratchPath("badapp"));
  }));
}

TEST_P(QuickScanOnMachine, AFileAnEntryFoundCountsOnceWhenItsFolderIsFlaggedToo) {
  auto p = P();
  ASSERT_TRUE(p.files.CreateDirectory(M().ScratchPath("badapp")));
  ASSERT_TRUE(p.files.WriteAll(M().ScratchPath("badapp\\main.exe"), "the worm"));
  ASSERT_TRUE(p.files.WriteAll(M().ScratchPath("badapp\\other.dll"), "its helper"));
  Scanner s(M());
  s.Scan({"/0/[Trojan.Main]:" + M().ScratchPath("badapp\\main.exe"),
          "[Trojan.Dir]:" + M().ScratchPath("badapp") + "\\\\"});
  EXPECT_EQ(s.Alerts().Size(), 3u);
  EXPECT_EQ(s.Session().Scan().AlertCounter, 3);  // main.exe, the folder, other.dll
  const auto mentions = std::count_if(s.log.lines.begin(), s.log.lines.end(), [&](const std::string& l) {
    return platform::EndsWith(l, ") " + M().ScratchPath("badapp\\main.exe"));
  });
  EXPECT_EQ(mentions, 1);
}

TEST_P(QuickScanOnMachine, AListingHitIsLockedAndShownWithoutTheLock) {
  auto p = P();
  ASSERT_TRUE(p.files.WriteAll(M().ScratchPath("mvpatq1.exe"), "first random-named copy"));
  ASSERT_TRUE(p.files.WriteAll(M().ScratchPath("mvpatq2.exe"), "second random-named copy"));
  Scanner s(M());
  s.Scan({"[Worm.Pattern]:" + M().ScratchPath("mvpat<>.exe")});
  EXPECT_EQ(s.Captions(), (std::vector<std::string>{"Infected with Sys32.mvpatq1",
                                                    "Infected with Sys32.mvpatq2"}));
  ASSERT_EQ(s.Alerts().Size(), 2u);
  EXPECT_EQ(s.Alerts()[0].ThreatName, "Lock:Sys32.mvpatq1");
  EXPECT_EQ(s.Alerts()[1].LineIndex, 1);
}

TEST_P(QuickScanOnMachine, LinesAreIndexedInOrderAndCheckedAfterTheScan) {
  auto p = P();
  std::vector<std::string> entries;
  for (const char* name : {"one.exe", "two.dll", "three.sys"}) {
    ASSERT_TRUE(p.files.WriteAll(M().ScratchPath(name), std::string("worm part ") + name));
    entries.push_back("/0/[Worm.Parts]:" + M().ScratchPath(name));
  }
  Scanner s(M());
  const QuickScanResult result = s.Scan(entries);
  ASSERT_EQ(s.results.RowCount(), 3);  // the header line is gone
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(s.results.IsChecked(i));
    EXPECT_EQ(s.Alerts()[s.results.IdAt(i)].LineIndex, i);
  }
  EXPECT_TRUE(result.found);
  EXPECT_TRUE(s.controls.fix);
  // The offer of the full drive scan, answered No, then the pointer to "Fix".
  ASSERT_EQ(s.prompts.shown.size(), 2u);
  EXPECT_EQ(s.prompts.shown[0].kind, PromptKind::AlertQuestion);
  EXPECT_EQ(s.prompts.shown[0].text,
            "You have 3 dangerous viruses & worms in your computer by quick report.\r"
            "Would you like to scan all files on your computer for complete cleaning (This might "
            "take few minutes).");
  EXPECT_EQ(s.prompts.shown[1].text, "Click on \"Fix\" button to fix selected tasks by quick report!");
  const auto& lines = s.log.lines;
  ASSERT_GE(lines.size(), 2u);
  EXPECT_TRUE(platform::EndsWith(lines[lines.size() - 2],
                                 ": 3 Dangerous files have been found on your computer."));
  EXPECT_EQ(lines.back(), "Click on \"Fix\" button to fix selected tasks.");
}

TEST_P(QuickScanOnMachine, YesToTheFullDriveScanLeavesThePageForIt) {
  ASSERT_TRUE(P().files.WriteAll(M().ScratchPath("w.exe"), "worm"));
  Scanner s(M());
  s.prompts.Answer({true});
  const QuickScanResult result = s.Scan({"/0/[W]:" + M().ScratchPath("w.exe")});
  EXPECT_TRUE(result.fullDriveScanStarted);
  EXPECT_EQ(s.offers.fullScans, 1);
  ASSERT_EQ(s.results.RowCount(), 2);
  EXPECT_EQ(s.results.IdAt(0), kHeaderRow);  // still there, the page as it was
  EXPECT_FALSE(s.controls.scan);
  EXPECT_TRUE(s.controls.abort);
}

TEST_P(QuickScanOnMachine, AbortDuringARangeStopsAtTheNextName) {
  auto p = P();
  for (const char* name : {"mvr2.dat", "mvr10.dat", "mvr4000.dat"})
    ASSERT_TRUE(p.files.WriteAll(M().ScratchPath(name), "range member"));
  Scanner s(M());
  size_t names = 0;
  s.pump.onPump = [&](size_t) {
    if (++names == 200) s.Session().Abort().Set();  // "Abort" pressed meanwhile
  };
  const QuickScanResult result = s.Scan({"[Range]:" + M().ScratchPath("mvr??1?5000?.dat"),
                                         "/0/[After]:" + M().ScratchPath("mvr4000.dat")});
  EXPECT_TRUE(result.aborted);
  EXPECT_EQ(s.Captions(), (std::vector<std::string>{"Infected with Sys32.mvr2",
                                                    "Infected with Sys32.mvr10"}));
  EXPECT_LT(names, 210u);  // no name after the abort, and no line after the range
  EXPECT_EQ(s.status.text, "Scan process aborted.");
}

TEST_P(QuickScanOnMachine, TheScanLogKeepsSixteenLines) {
  auto p = P();
  std::vector<std::string> entries;
  for (int i = 0; i < 20; ++i) {
    const std::string name = "Log" + std::to_string(100 + i) + ".exe";
    ASSERT_TRUE(p.files.WriteAll(M().ScratchPath(name), "logged worm " + name));
    entries.push_back("/0/[Worm.Many]:" + M().ScratchPath(name));
  }
  Scanner s(M());
  s.Scan(entries);
  EXPECT_EQ(s.Alerts().Size(), 20u);
  const auto& log = s.Session().ScanLog().Lines();
  ASSERT_EQ(log.size(), 16u);
  EXPECT_TRUE(std::is_sorted(log.begin(), log.end()));
  const std::string path = M().ScratchPath("Log100.exe");
  EXPECT_EQ(log[0], ScanLogLine(path, "Worm.Many", scan::FileDigest(p.files, path),
                                static_cast<int32_t>(std::string("logged worm Log100.exe").size())));
  EXPECT_TRUE(platform::StartsWith(log[0], "!Infected log100.exe=;"));
  EXPECT_TRUE(s.Session().ScanLog().Find("!Infected log100.exe"));
}

TEST_P(QuickScanOnMachine, RunningProgramsStandInForTheirNameUnlessMarked) {
  auto p = P();
  ASSERT_TRUE(p.files.CreateDirectory(M().ScratchPath("live")));
  const std::string name = OwnName(M(), "mvsub");
  OwnProcess worm(M(), M().ScratchPath("live\\" + name));
  ASSERT_TRUE(worm.Started());
  // The entries name the program in a folder where it is not.
  const std::string section = "[System32Root]\\mvgone-" + platform::FileNamePart(M().Scratch());
  {
    Scanner s(M());
    s.Scan({section, "/0/[Worm.Marked]:" + name});
    EXPECT_TRUE(s.Alerts().Empty());
    EXPECT_TRUE(worm.Running());
  }
  {
    Scanner s(M());
    s.Scan({section, "[Worm.Sub]:" + name});
    ASSERT_EQ(s.Alerts().Size(), 1u);
    EXPECT_TRUE(platform::EqualsNoCase(s.Alerts()[0].Path, worm.Path())) << s.Alerts()[0].Path;
    EXPECT_TRUE(Ended(M(), worm));  // flagging ends it
  }
}

TEST_P(QuickScanOnMachine, ADigestEntryFindsARunningObject) {
  const std::string name = OwnName(M(), "mvdig");
  OwnProcess worm(M(), M().ScratchPath(name));
  ASSERT_TRUE(worm.Started());
  Scanner s(M());
  s.Scan({"/" + worm.Digest() + "/[Worm.Digest]::", "/" + std::string(32, 'a') + "/[Nothing]::"});
  ASSERT_EQ(s.Alerts().Size(), 1u);
  EXPECT_TRUE(platform::EqualsNoCase(s.Alerts()[0].Path, worm.Path())) << s.Alerts()[0].Path;
  EXPECT_EQ(s.Alerts()[0].Md5, worm.Digest());
  EXPECT_EQ(s.Captions(), std::vector<std::string>{"Infected with Worm.Digest"});
  EXPECT_TRUE(Ended(M(), worm));
}

}  // namespace
}  // namespace morvanta::runs
