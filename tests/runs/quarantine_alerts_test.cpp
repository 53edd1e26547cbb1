// "Add to Quarantine" on every machine: the fake, and under Wine the real system with real
// files and a running program.
#include <gtest/gtest.h>

#include <string>

#include "contract_test.h"
#include "results_page.h"

namespace morvanta::runs {
namespace {

using common::Msg;
using common::PromptKind;
using platform::RegRoot;
using platform::RegValue;

MORVANTA_CONTRACT_SUITE(QuarantineOnMachine);

TEST_P(QuarantineOnMachine, StoresWhatTheFixWouldRemoveAndLeavesItInPlace) {
  auto p = P();
  ASSERT_TRUE(p.files.CreateDirectory(M().ScratchPath("dir")));
  for (const char* name : {"a.exe", "b.exe", "dir\\inner.dll"})
    ASSERT_TRUE(p.files.WriteAll(M().ScratchPath(name), std::string("worm ") + name));
  Page page(M());
  page.QuickScan({"/0/[Worm.A]:" + M().ScratchPath("a.exe"), "/0/[Worm.B]:" + M().ScratchPath("b.exe"),
                  "[Worm.Dir]:" + M().ScratchPath("dir") + "\\\\"});
  ASSERT_EQ(page.results.RowCount(), 3);
  page.results.rows[1].checked = false;  // the user keeps b.exe
  page.log.lines.clear();
  const QuarantineResult result = page.Quarantine();

  EXPECT_EQ(result.added, 2u);  // a.exe and the flagged folder's file; never the folder
  remedy::QuarantineStore& store = page.Session().Quarantine();
  ASSERT_EQ(store.Index().size(), 2u);
  const scan::Alert& a = page.Session().Scan().Alerts[0];
  EXPECT_EQ(store.Index()[0].SourcePath, M().ScratchPath("a.exe"));
  EXPECT_EQ(store.Index()[0].TaskName, "Worm.A");
  EXPECT_EQ(store.Index()[0].FileMd5, a.Md5);
  EXPECT_EQ(store.Index()[1].SourcePath, M().ScratchPath("dir\\inner.dll"));
  EXPECT_FALSE(store.IsInQuarantine(M().ScratchPath("b.exe")));
  for (const char* name : {"a.exe", "b.exe", "dir\\inner.dll"})
    EXPECT_TRUE(p.files.FileExists(M().ScratchPath(name))) << "the fix removes it, not this";

  const std::string t = p.system.LongTimeText();
  const std::vector<std::string> expected = {
      "",
      t + ": Adding alerts to Quarantine, please wait...",
      t + ": Add in Quarantine Worm.A",
      t + ": File added " + M().ScratchPath("a.exe"),
      t + ": Add in Quarantine " + page.Session().Scan().Alerts[3].ThreatName,
      t + ": File added " + M().ScratchPath("dir\\inner.dll"),
      t + " Current process finished!",
      t + " To Fix tasks click on Fix button!",
  };
  if (!M().IsReal()) {
    EXPECT_EQ(page.log.lines, expected);  // the real clock may tick meanwhile
  }
  ASSERT_EQ(page.prompts.shown.size(), 1u);
  EXPECT_EQ(page.prompts.shown[0].kind, PromptKind::UrgentInformation);
  EXPECT_EQ(page.prompts.shown[0].text,
            "2 alerts have been added to quarantine!\r\rNote:\rTo Clean reported tasks please click "
            "on Fix Button");
  EXPECT_EQ(page.status.text, "Process finished.");
  EXPECT_TRUE(page.controls.fix && page.controls.scan && page.controls.back);
  EXPECT_FALSE(page.controls.abort);
}

TEST_P(QuarantineOnMachine, OnlyUntickedLinesAddNothingAndTheFixStaysOffered) {
  auto p = P();
  ASSERT_TRUE(p.files.WriteAll(M().ScratchPath("a.exe"), "worm"));
  Page page(M());
  page.QuickScan({"/0/[Worm.A]:" + M().ScratchPath("a.exe")});
  page.results.rows[0].checked = false;
  const QuarantineResult result = page.Quarantine();
  EXPECT_EQ(result.added, 0u);
  EXPECT_TRUE(page.Session().Quarantine().Index().empty());
  EXPECT_FALSE(p.files.Exists(page.Session().Quarantine().IndexFile()));
  ASSERT_EQ(page.prompts.shown.size(), 1u);
  EXPECT_TRUE(platform::StartsWith(page.prompts.shown[0].text, "0 alerts have been added"));
  EXPECT_TRUE(page.controls.fix);
}

TEST_P(QuarantineOnMachine, AGoneFileGetsItsLineOnlyAndAStoredOneIsNotStoredTwice) {
  auto p = P();
  ASSERT_TRUE(p.files.WriteAll(M().ScratchPath("gone.exe"), "will vanish"));
  ASSERT_TRUE(p.files.WriteAll(M().ScratchPath("twice.exe"), "stored before"));
  Page page(M());
  page.QuickScan({"/0/[Worm.Gone]:" + M().ScratchPath("gone.exe"),
                  "/0/[Worm.Twice]:" + M().ScratchPath("twice.exe")});
  ASSERT_TRUE(page.Session().Quarantine().AddToQuarantine(M().ScratchPath("TWICE.exe"), "Worm.Twice", ""));
  ASSERT_TRUE(p.files.DeleteFile(M().ScratchPath("gone.exe")));
  page.log.lines.clear();
  const QuarantineResult result = page.Quarantine();
  EXPECT_EQ(result.added, 0u);
  EXPECT_EQ(result.failed, 1u);
  ASSERT_EQ(page.log.lines.size(), 7u);
  EXPECT_TRUE(platform::EndsWith(page.log.lines[2], ": Add in Quarantine Worm.Gone"));
  EXPECT_TRUE(platform::EndsWith(page.log.lines[3], ": Add in Quarantine Worm.Twice"));
  EXPECT_TRUE(platform::EndsWith(page.log.lines[4], ": Cannot add file, it might be already in quarantine " +
                                                        M().ScratchPath("twice.exe")));
  EXPECT_EQ(page.Session().Quarantine().Index().size(), 1u);
}

TEST_P(QuarantineOnMachine, ALockedAlertIsNeverStoredButItsProgramEnds) {
  auto p = P();
  const std::string locked = M().ScratchPath("mvlockq7.exe");
  if (M().IsReal()) {
    ASSERT_TRUE(p.files.CopyFile(M().HelperPath("sleeper.exe"), locked, true));
  } else {
    ASSERT_TRUE(p.files.WriteAll(locked, "found by a pattern"));
  }
  const std::string value = "MorvantaQuarantineTest-" + platform::FileNamePart(M().Scratch());
  ASSERT_TRUE(p.registry.CreateKey(RegRoot::CurrentUser, kRun)
                  ->WriteValue(value, RegValue::FromString("\"" + locked + "\" /s")));
  Page page(M());
  page.QuickScan({"[Worm.Locked]:" + M().ScratchPath("mvlock<>.exe")});
  if (auto key = p.registry.OpenKey(RegRoot::CurrentUser, kRun, platform::RegAccess::All))
    key->DeleteValue(value);
  ASSERT_EQ(page.Session().Scan().Alerts.Size(), 1u);
  ASSERT_EQ(page.Session().Scan().Alerts[0].ThreatName, "Lock:Sys32.mvlockq7");
  // Started after the scan, as its watchdog would.
  const auto pid = p.processes.Start("\"" + locked + "\" 30");
  ASSERT_TRUE(pid);
  const QuarantineResult result = page.Quarantine();
  const bool ended = p.processes.WaitForExit(*pid, 5000);
  if (!ended) p.processes.Terminate(*pid);
  EXPECT_TRUE(ended);
  EXPECT_EQ(result.added, 0u);
  EXPECT_TRUE(page.Session().Quarantine().Index().empty());
  EXPECT_FALSE(p.files.Exists(page.Session().Quarantine().Folder()));
  EXPECT_TRUE(p.files.FileExists(locked));
  EXPECT_FALSE(page.Logged(": Cannot add file, it might be already in quarantine " + locked));
}

TEST_P(QuarantineOnMachine, AbortStopsBeforeTheNextAlertAndStillEndsTheRun) {
  auto p = P();
  for (const char* name : {"a.exe", "b.exe"}) ASSERT_TRUE(p.files.WriteAll(M().ScratchPath(name), name));
  Page page(M());
  page.QuickScan({"/0/[Worm.A]:" + M().ScratchPath("a.exe"), "/0/[Worm.B]:" + M().ScratchPath("b.exe")});
  // "Abort" is pressed while the first file is being stored.
  page.pump.onPump = [&](size_t) {
    if (page.Session().Quarantine().Index().empty()) return;
    page.Session().Abort().Set();
  };
  const QuarantineResult result = page.Quarantine();
  EXPECT_TRUE(result.aborted);
  EXPECT_EQ(result.added, 1u);
  EXPECT_FALSE(page.Session().Quarantine().IsInQuarantine(M().ScratchPath("b.exe")));
  EXPECT_TRUE(page.Logged(" To Fix tasks click on Fix button!"));
  EXPECT_EQ(page.prompts.shown.size(), 1u);
  EXPECT_TRUE(page.controls.fix);
}

}  // namespace
}  // namespace morvanta::runs
