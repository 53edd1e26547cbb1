// The fix and the full drive scan on every machine: the fake, and under Wine the real system
// with real files, folders, Run values and processes in the test's own places.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/session.h"
#include "common/memory_views.h"
#include "contract_test.h"
#include "platform/fake/fake_platform.h"
#include "platform/text.h"
#include "runs/fix.h"
#include "runs/full_drive_scan.h"
#include "runs/quick_scan.h"
#include "results_page.h"
#include "scan/file_digest.h"

namespace morvanta::runs {
namespace {

using common::Msg;
using common::PromptKind;
using platform::RegRoot;
using platform::RegValue;

MORVANTA_CONTRACT_SUITE(FixOnMachine);

TEST_P(FixOnMachine, RemovesWhatIsTickedAndEverythingInFlaggedFolders) {
  auto p = P();
  ASSERT_TRUE(p.files.CreateDirectory(M().ScratchPath("dir")));
  ASSERT_TRUE(p.files.CreateDirectory(M().ScratchPath("dir\\sub")));
  for (const char* name : {"a.exe", "b.exe", "dir\\inner.dll", "dir\\sub\\deep.txt"})
    ASSERT_TRUE(p.files.WriteAll(M().ScratchPath(name), std::string("worm ") + name));
  Page page(M());
  page.QuickScan({"/0/[Worm.A]:" + M().ScratchPath("a.exe"), "/0/[Worm.B]:" + M().ScratchPath("b.exe"),
                  "[Worm.Dir]:" + M().ScratchPath("dir") + "\\\\"});
  ASSERT_EQ(page.results.RowCount(), 3);
  page.results.rows[1].checked = false;  // the user keeps b.exe
  const FixResult result = page.Fix();
  EXPECT_FALSE(p.files.Exists(M().ScratchPath("a.exe")));
  EXPECT_TRUE(p.files.FileExists(M().ScratchPath("b.exe")));
  EXPECT_FALSE(p.files.Exists(M().ScratchPath("dir")));  // its files, its subfolder, itself
  EXPECT_EQ(result.cleaned, 5u);  // a.exe, two files, two folders
  EXPECT_EQ(result.failed, 0u);
  EXPECT_TRUE(platform::StartsWith(page.results.Caption(0), "Clean...["));
  EXPECT_EQ(page.results.Caption(1), "Infected with Worm.B");
  EXPECT_EQ(page.results.Caption(2), "Clean...");
  EXPECT_TRUE(page.Logged(": Directory removed " + M().ScratchPath("dir")));
  ASSERT_EQ(page.prompts.shown.size(), 1u);
  EXPECT_EQ(page.prompts.shown[0].kind, PromptKind::UrgentInformation);
  EXPECT_EQ(page.prompts.shown[0].text,
            "5 alerts have been cleaned!\r\rNotes:\r1. If some viruses has not been cleaned please "
            "try to delete those files manually or restart your computer in Safe Mode then Scan "
            "again.");
  EXPECT_TRUE(page.Logged(" Cleaning process finished!"));
  EXPECT_EQ(page.log.lines.back(), "If you wish Click on \"Quick Scan\" button to start scan again.");
  EXPECT_FALSE(page.controls.fix);
  EXPECT_TRUE(page.controls.scan && page.controls.back && !page.controls.abort);
  EXPECT_EQ(page.status.text, "Fix process finished.");
}

TEST_P(FixOnMachine, AFileAlreadyGoneIsCleanedAndALockedOneStaysWithItsValuesGone) {
  auto p = P();
  ASSERT_TRUE(p.files.WriteAll(M().ScratchPath("gone.exe"), "will vanish"));
  ASSERT_TRUE(p.files.WriteAll(M().ScratchPath("mvlockq7.exe"), "found by a pattern"));
  const std::string value = "MorvantaFixTest-" + platform::FileNamePart(M().Scratch());
  ASSERT_TRUE(p.registry.CreateKey(RegRoot::CurrentUser, kRun)
                  ->WriteValue(value, RegValue::FromString("\"" + M().ScratchPath("mvlockq7.exe") + "\" /s")));
  Page page(M());
  page.Session().logUploadWanted = true;
  page.QuickScan({"/0/[Worm.Gone]:" + M().ScratchPath("gone.exe"),
                  "[Worm.Locked]:" + M().ScratchPath("mvlock<>.exe")});
  ASSERT_EQ(page.Session().Scan().Alerts.Size(), 2u);
  ASSERT_EQ(page.Session().Scan().Alerts[1].ThreatName, "Lock:Sys32.mvlockq7");
  ASSERT_TRUE(p.files.DeleteFile(M().ScratchPath("gone.exe")));
  page.prompts.SetDefaultAnswer(false);  // no log upload
  const FixResult result = page.Fix();
  auto key = p.registry.OpenKey(RegRoot::CurrentUser, kRun, platform::RegAccess::All);
  const bool valueLeft = key && key->ReadValue(value).has_value();
  if (key) key->DeleteValue(value);
  EXPECT_EQ(result.cleaned, 1u);
  EXPECT_EQ(result.failed, 1u);
  EXPECT_TRUE(page.Logged(": File cleaned " + M().ScratchPath("gone.exe")));
  EXPECT_TRUE(p.files.FileExists(M().ScratchPath("mvlockq7.exe")));  // never deleted
  EXPECT_FALSE(valueLeft) << "its startup value is removed all the same";
  EXPECT_EQ(page.results.Caption(1), "[Err] " + M().ScratchPath("mvlockq7.exe"));
  ASSERT_GE(page.prompts.shown.size(), 1u);
  EXPECT_EQ(page.prompts.shown[0].kind, PromptKind::UrgentError);
  EXPECT_EQ(page.prompts.shown[0].text, "Cannot clean file " + M().ScratchPath("mvlockq7.exe") +
                                            " please try to delete this file manually.");
  // The scan log lines carry the outcomes; the log is offered after the summary.
  const auto& log = page.Session().ScanLog();
  ASSERT_TRUE(log.Find("!Infected mvlockq7.exe"));
  EXPECT_TRUE(platform::EndsWith(log.Lines()[*log.Find("!Infected mvlockq7.exe")], ";Locked_Err;"));
  EXPECT_TRUE(platform::EndsWith(log.Lines()[*log.Find("!Infected gone.exe")], ";Ok;"));
  EXPECT_EQ(page.prompts.CountOf(Msg::SendLogAfterFix), 1u);
}

TEST_P(FixOnMachine, AFileThatStaysIsLeftForTheRestartAndItsFolderReported) {
  auto p = P();
  ASSERT_TRUE(p.files.CreateDirectory(M().ScratchPath("heldDir")));
  const std::string worm = M().ScratchPath("heldDir\\held.dat");
  ASSERT_TRUE(p.files.WriteAll(worm, "held open by another program"));
  Page page(M());
  page.QuickScan({"/0/[Worm.Held]:" + worm, "[Worm.Dir]:" + M().ScratchPath("heldDir") + "\\\\"});
  ASSERT_EQ(page.results.RowCount(), 2);
  std::unique_ptr<platform::File> holder;
  std::optional<uint32_t> other;
  if (M().IsReal()) {
    // Another program holds it open, and is not ended: its name is not the file's.
    other = p.processes.Start("\"" + M().HelperPath("sleeper.exe") + "\" 30 --lock \"" + worm + "\"");
    ASSERT_TRUE(other);
    p.system.Sleep(500);
  } else {
    holder = p.files.Open(worm, platform::OpenMode::Write);
  }
  const uint32_t before = p.system.TickCount();
  const FixResult result = page.Fix();
  const uint32_t spent = p.system.TickCount() - before;
  if (other) {
    p.processes.Terminate(*other);
    p.processes.WaitForExit(*other, 10000);
  }
  const auto restart = M().RestartDeletes();
  M().ForgetRestartDelete(worm);
  EXPECT_EQ(result.failed, 1u);
  EXPECT_EQ(result.leftForRestart, std::vector<std::string>{worm});
  EXPECT_EQ(result.foldersLeft, 1u);
  EXPECT_GE(spent, 4000u);  // it kept trying for the retry time
  EXPECT_TRUE(p.files.Exists(worm));
  EXPECT_EQ(page.results.Caption(0), "[Err] " + worm);
  EXPECT_EQ(page.results.Caption(1), "Err...");
  EXPECT_TRUE(page.Logged(": Cannot clean file."));
  EXPECT_TRUE(page.Logged(": File will be removed when the computer restarts " + worm));
  EXPECT_TRUE(std::any_of(restart.begin(), restart.end(),
                          [&](const std::string& r) { return platform::EqualsNoCase(r, worm); }));
  EXPECT_TRUE(page.Logged(": Cannot remove directory " + M().ScratchPath("heldDir")));
  EXPECT_EQ(page.prompts.CountOf(Msg::CannotCleanFile), 1u);
}

TEST_P(FixOnMachine, ARunningProgramIsEndedAndRemoved) {
  auto p = P();
  const std::string worm = M().ScratchPath("runworm.exe");
  ASSERT_TRUE(p.files.CopyFile(M().HelperPath("sleeper.exe"), worm, true));
  Page page(M());
  page.QuickScan({"/0/[Worm.Run]:" + worm});
  ASSERT_EQ(page.results.RowCount(), 1);
  // Started again after the scan, as a worm's watchdog would.
  const auto pid = p.processes.Start("\"" + worm + "\" 30");
  ASSERT_TRUE(pid);
  p.system.Sleep(300);
  const FixResult result = page.Fix();
  const bool ended = p.processes.WaitForExit(*pid, 5000);
  if (!ended) p.processes.Terminate(*pid);
  EXPECT_TRUE(ended);
  EXPECT_EQ(result.cleaned, 1u);
  EXPECT_EQ(result.failed, 0u);
  EXPECT_FALSE(p.files.Exists(worm));
}

TEST_P(FixOnMachine, NothingIsDeletedThroughAFolderThatBecameALink) {
  auto p = P();
  for (const char* folder : {"flagged", "flagged\\sub", "elsewhere"})
    ASSERT_TRUE(p.files.CreateDirectory(M().ScratchPath(folder)));
  ASSERT_TRUE(p.files.WriteAll(M().ScratchPath("flagged\\sub\\x.dat"), "worm"));
  ASSERT_TRUE(p.files.WriteAll(M().ScratchPath("elsewhere\\x.dat"), "the user's file"));
  Page page(M());
  page.QuickScan({"[Worm.Dir]:" + M().ScratchPath("flagged") + "\\\\"});
  ASSERT_TRUE(page.Session().Scan().Alerts.IsAlertPath(M().ScratchPath("flagged\\sub\\x.dat")));
  // After the scan the subfolder is swapped for a link to another folder.
  ASSERT_TRUE(p.files.DeleteFile(M().ScratchPath("flagged\\sub\\x.dat")));
  ASSERT_TRUE(p.files.RemoveDirectory(M().ScratchPath("flagged\\sub")));
  ASSERT_TRUE(M().MakeFolderLink(M().ScratchPath("flagged\\sub"), M().ScratchPath("elsewhere")));
  const FixResult result = page.Fix();
  EXPECT_TRUE(p.files.FileExists(M().ScratchPath("elsewhere\\x.dat")));
  EXPECT_EQ(result.failed, 1u);
  EXPECT_TRUE(result.leftForRestart.empty());  // nor at the next start
  EXPECT_TRUE(page.Logged(": Not removed, the path leads elsewhere since the scan " +
                          M().ScratchPath("flagged\\sub\\x.dat")));
  if (p.files.Exists(M().ScratchPath("flagged\\sub"))) {
    EXPECT_TRUE(M().RemoveFolderLink(M().ScratchPath("flagged\\sub")));
  }
  EXPECT_TRUE(p.files.FileExists(M().ScratchPath("elsewhere\\x.dat")));
}

TEST_P(FixOnMachine, AnEmptyListEndsWithTheSummaryOfNothing) {
  Page page(M());
  const FixResult result = page.Fix();
  EXPECT_EQ(result.cleaned, 0u);
  ASSERT_EQ(page.log.lines.size(), 4u);
  EXPECT_EQ(page.log.lines[0], "");
  EXPECT_TRUE(platform::EndsWith(page.log.lines[1], ": Cleaning please wait..."));
  EXPECT_TRUE(platform::EndsWith(page.log.lines[2], " Cleaning process finished!"));
  ASSERT_EQ(page.prompts.shown.size(), 1u);
  EXPECT_TRUE(platform::StartsWith(page.prompts.shown[0].text, "0 alerts have been cleaned!"));
}

TEST_P(FixOnMachine, AbortLeavesTheRestAndSaysSo) {
  auto p = P();
  std::vector<std::string> entries;
  for (int i = 0; i < 4; ++i) {
    const std::string name = "ab" + std::to_string(i) + ".exe";
    ASSERT_TRUE(p.files.WriteAll(M().ScratchPath(name), "worm " + name));
    entries.push_back("/0/[Worm.Abort]:" + M().ScratchPath(name));
  }
  ASSERT_TRUE(p.files.CreateDirectory(M().ScratchPath("emptydir")));
  entries.push_back("[Worm.Dir]:" + M().ScratchPath("emptydir") + "\\\\");
  Page page(M());
  page.QuickScan(entries);
  // "Abort" is pressed while the first file is being cleaned.
  page.pump.onPump = [&](size_t) { page.Session().Abort().Set(); };
  const FixResult result = page.Fix();
  EXPECT_TRUE(result.aborted);
  EXPECT_TRUE(p.files.FileExists(M().ScratchPath("ab1.exe")));
  EXPECT_TRUE(p.files.FileExists(M().ScratchPath("ab3.exe")));
  EXPECT_TRUE(p.files.DirectoryExists(M().ScratchPath("emptydir")));
  EXPECT_TRUE(page.Logged(": Cleaning process aborted!"));
  EXPECT_FALSE(page.Logged(" Cleaning process finished!"));
  EXPECT_TRUE(page.prompts.shown.empty());  // no summary
  EXPECT_EQ(page.status.text, "Fix process aborted.");
}

TEST(FixLines, TheCleanTimeUsesTheUsersDecimalSeparator) {
  common::MessageCatalog catalog;
  EXPECT_EQ(CleanLine(catalog, 0.0, "."), "Clean...[0.00 sec]");
  EXPECT_EQ(CleanLine(catalog, 1.256, ","), "Clean...[1,26 sec]");
}

MORVANTA_CONTRACT_SUITE(FullScanOnMachine);

TEST_P(FullScanOnMachine, CopiesBySizeAndDigestBecomeAlerts) {
  auto p = P();
  const std::string content = "the worm's own bytes, copied around";
  for (const char* folder : {"bad", "copies", "copies\\a", "copies\\b", "copies\\.hidden"})
    ASSERT_TRUE(p.files.CreateDirectory(M().ScratchPath(folder)));
  ASSERT_TRUE(p.files.WriteAll(M().ScratchPath("bad\\worm.exe"), content));
  ASSERT_TRUE(p.files.WriteAll(M().ScratchPath("copies\\a\\copy1.bin"), content));
  ASSERT_TRUE(p.files.WriteAll(M().ScratchPath("copies\\b\\COPY2.dat"), content));
  ASSERT_TRUE(p.files.WriteAll(M().ScratchPath("copies\\.hidden\\copy3.exe"), content));
  ASSERT_TRUE(p.files.WriteAll(M().ScratchPath("copies\\same-size.bin"), std::string(content.size(), 'x')));
  ASSERT_TRUE(p.files.WriteAll(M().ScratchPath("copies\\empty.bin"), ""));
  ASSERT_TRUE(M().MakeFolderLink(M().ScratchPath("copies\\loop"), M().ScratchPath("copies")));
  Page page(M());
  page.QuickScan({"/0/[Worm.Copy]:" + M().ScratchPath("bad\\worm.exe")}, /*fullScanAfter=*/true);
  ASSERT_EQ(page.offers.fullScans, 1);
  ASSERT_EQ(page.results.RowCount(), 2);  // the header line is still there
  const FullScanResult result = page.FullScan(M().Scratch() + "\\;");
  EXPECT_FALSE(result.aborted);
  EXPECT_EQ(result.copies, 2u);
  EXPECT_EQ(page.Session().Scan().AlertCounter, 3);
  std::vector<std::string> copies;
  for (const auto& a : page.Session().Scan().Alerts)
    if (a.IsFullScanFile) {
      copies.push_back(platform::AsciiLower(a.Path));
      EXPECT_EQ(a.ThreatName, "Worm.Copy");
      EXPECT_EQ(a.LineIndex, -1);
    }
  std::sort(copies.begin(), copies.end());
  EXPECT_EQ(copies, (std::vector<std::string>{platform::AsciiLower(M().ScratchPath("copies\\a\\copy1.bin")),
                                              platform::AsciiLower(M().ScratchPath("copies\\b\\COPY2.dat"))}));
  ASSERT_EQ(page.results.RowCount(), 1);  // the header went on the way out
  EXPECT_EQ(page.results.Caption(0), "Infected with Worm.Copy");
  ASSERT_EQ(page.prompts.shown.size(), 1u);
  EXPECT_EQ(page.prompts.shown[0].text,
            "You have 3 dangerous files in your computer, click \"Fix\" button to fix this tasks!");
  EXPECT_EQ(page.prompts.shown[0].caption, "Alert");
  EXPECT_TRUE(page.Logged(": 3 Dangerous files have been found on your computer."));
  EXPECT_EQ(page.status.text, "Scan process finished.");
  EXPECT_TRUE(page.controls.fix && page.controls.scan && page.controls.back);

  // Again: the copies are alerts already, so nothing is added or counted.
  EXPECT_EQ(page.FullScan(M().Scratch() + "\\;").copies, 0u);
  EXPECT_EQ(page.Session().Scan().AlertCounter, 3);
  // No drives: nothing walked, the quick scan's count reported.
  EXPECT_EQ(page.FullScan("").files, 0u);
  // The fix removes the copies whatever the lines say.
  page.prompts.SetDefaultAnswer(false);
  page.Fix();
  EXPECT_FALSE(p.files.Exists(M().ScratchPath("copies\\a\\copy1.bin")));
  EXPECT_TRUE(p.files.FileExists(M().ScratchPath("copies\\same-size.bin")));
  EXPECT_TRUE(M().RemoveFolderLink(M().ScratchPath("copies\\loop")));
}

TEST_P(FullScanOnMachine, AFlaggedFileGoneSinceTheStartMatchesNothingAndAMissingRootIsPassedOver) {
  auto p = P();
  const std::string content = "a worm that its owner removes meanwhile";
  ASSERT_TRUE(p.files.CreateDirectory(M().ScratchPath("bad")));
  ASSERT_TRUE(p.files.CreateDirectory(M().ScratchPath("later")));
  ASSERT_TRUE(p.files.WriteAll(M().ScratchPath("bad\\worm.exe"), content));
  ASSERT_TRUE(p.files.WriteAll(M().ScratchPath("bad\\other.exe"), "another worm"));
  ASSERT_TRUE(p.files.WriteAll(M().ScratchPath("later\\copy.bin"), content));
  ASSERT_TRUE(p.files.WriteAll(M().ScratchPath("later\\other-copy.bin"), "another worm"));
  Page page(M());
  page.QuickScan({"/0/[Worm.Gone]:" + M().ScratchPath("bad\\worm.exe"),
                  "/0/[Worm.Other]:" + M().ScratchPath("bad\\other.exe")},
                 /*fullScanAfter=*/true);
  bool removed = false;
  page.pump.onPump = [&](size_t) {
    if (!removed) removed = p.files.DeleteFile(M().ScratchPath("bad\\worm.exe"));
  };
  const FullScanResult result = page.FullScan("Q:\\no such folder\\;" + M().Scratch() + "\\;");
  ASSERT_TRUE(removed);
  EXPECT_EQ(result.copies, 1u);  // the other worm's copy only
  EXPECT_FALSE(page.Session().Scan().Alerts.IsAlertPath(M().ScratchPath("later\\copy.bin")));
  EXPECT_TRUE(page.Session().Scan().Alerts.IsAlertPath(M().ScratchPath("later\\other-copy.bin")));
}

TEST_P(FullScanOnMachine, TheWindowIsServedDuringTheWalkSoAbortEndsIt) {
  auto p = P();
  ASSERT_TRUE(p.files.WriteAll(M().ScratchPath("worm.exe"), "the worm's own bytes"));
  ASSERT_TRUE(p.files.CreateDirectory(M().ScratchPath("many")));
  constexpr size_t kFiles = 1500;
  for (size_t i = 0; i < kFiles; ++i)
    ASSERT_TRUE(p.files.WriteAll(M().ScratchPath("many\\file" + std::to_string(i) + ".txt"), "x"));
  Page page(M());
  page.QuickScan({"/0/[Worm.Many]:" + M().ScratchPath("worm.exe")}, /*fullScanAfter=*/true);
  page.status.history.clear();
  // Walked to the end, the window is served all along, the status line naming files checked.
  const FullScanResult whole = page.FullScan(M().ScratchPath("many") + ";");
  EXPECT_EQ(whole.files, kFiles);
  EXPECT_GE(page.pump.calls, 3u);
  const std::string checking = "Checking " + M().ScratchPath("many\\file");
  const auto named = std::count_if(page.status.history.begin(), page.status.history.end(),
                                   [&](const std::string& t) { return platform::StartsWith(t, checking); });
  EXPECT_GE(named, 2);
  EXPECT_EQ(page.status.text, "Scan process finished.");
  // "Abort" pressed during the walk: the scan ends there, long before the last file.
  const size_t before = page.pump.calls;
  page.pump.onPump = [&](size_t call) {
    if (call == before + 2) page.Session().Abort().Set();
  };
  const FullScanResult aborted = page.FullScan(M().ScratchPath("many") + ";");
  EXPECT_TRUE(aborted.aborted);
  EXPECT_LT(aborted.files, kFiles / 2);
  EXPECT_TRUE(page.Logged(" Scan process abort."));
  EXPECT_EQ(page.status.text, "Scan process aborted.");
  page.pump.onPump = nullptr;
  page.Session().Abort().Clear();
  for (size_t i = 0; i < kFiles; ++i)
    EXPECT_TRUE(p.files.DeleteFile(M().ScratchPath("many\\file" + std::to_string(i) + ".txt")));
  EXPECT_TRUE(p.files.RemoveDirectory(M().ScratchPath("many")));
}

TEST_P(FullScanOnMachine, ClosingTheDriveWindowWithoutScanningAsksWhatToDo) {
  ASSERT_TRUE(P().files.WriteAll(M().ScratchPath("w.exe"), "worm"));
  struct Case {
    std::initializer_list<bool> answers;
    AbortChoice choice;
  } cases[] = {{{false}, AbortChoice::ScanAnyway}, {{true, true}, AbortChoice::Fix},
               {{true, false}, AbortChoice::Back}};
  for (const auto& c : cases) {
    Page page(M());
    page.QuickScan({"/0/[W]:" + M().ScratchPath("w.exe")}, /*fullScanAfter=*/true);
    page.prompts.Answer(c.answers);
    EXPECT_EQ(page.Abort(), c.choice);
    EXPECT_EQ(page.results.RowCount() == 1, c.choice != AbortChoice::ScanAnyway);
    ASSERT_GE(page.prompts.shown.size(), 1u);
    EXPECT_EQ(page.prompts.shown[0].caption, "Morvanta Pro Scan alert");
    EXPECT_EQ(page.prompts.shown[0].text,
              "Do you want to abort full scan process?\r\rNote:\rIf aborting without full scan "
              "process your computer might not be cleaned 100%!");
  }
}

TEST(FullScanDrives, FixedDrivesInTheSystemsOrder) {
  platform::fake::FakePlatform fake;
  fake.folders.SetDrive("D:\\", platform::DriveType::CdRom);
  fake.folders.SetDrive("E:\\", platform::DriveType::Fixed);
  auto p = fake.Get();
  EXPECT_EQ(ListDrives(p, -1, platform::DriveType::Fixed), "C:\\;E:\\;");
  EXPECT_EQ(ListDrives(p, -1, std::nullopt), "C:\\;D:\\;E:\\;");
  EXPECT_EQ(ListDrives(p, 1, platform::DriveType::Fixed), "D:\\");
  EXPECT_EQ(SplitDrives("C:\\;E:\\;"), (std::vector<std::string>{"C:\\", "E:\\"}));
  EXPECT_TRUE(SplitDrives("").empty());
}

}  // namespace
}  // namespace morvanta::runs
