// The main window's update and the upgrade window's download on the made-up machine and
// network: the answers to "Update", the questions of the list handler, the pieces fetched
// one after the other and saved once, the whole database, what is refused, and the new
// program started while this one ends.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/memory_views.h"
#include "common/ui_tasks.h"
#include "runs/program_upgrade.h"
#include "runs/update_check.h"
#include "signed_site.h"

namespace morvanta::runs {
namespace {

using common::Msg;
using namespace update_testing;

class RecordingWindow : public UpdateWindow, public UpgradeWindow {
 public:
  void SetMainEnabled(bool enabled) override { mainEnabled.push_back(enabled); }
  void SetUpdateButtonsEnabled(bool enabled) override { buttonsEnabled.push_back(enabled); }
  void RefreshDateTexts() override { ++dateRefreshes; }
  void StartProgramUpgrade(const std::string& label1) override { upgrades.push_back(label1); }
  void SetBarPosition(int position) override { bar.push_back(position); }
  void CloseWindow() override { ++closes; }
  void EndProgram(int exitCode) override { endedWith.push_back(exitCode); }

  std::vector<bool> mainEnabled, buttonsEnabled;
  int dateRefreshes = 0, closes = 0;
  std::vector<std::string> upgrades;
  std::vector<int> bar, endedWith;
};

class UpdateCheckFlow : public SignedSite {
 public:
  // Starts a check and runs the interface thread until its list has been handled (bounded).
  void CheckAndWait() {
    check.Start();
    RunTasksWhile([this] { return check.Get2.Busy(); });
  }
  template <typename Busy>
  void RunTasksWhile(Busy busy) {
    for (int i = 0; i < 2000 && busy(); ++i) {
      tasks.WaitForTask(std::chrono::milliseconds(10));
      tasks.RunPending();
    }
    ASSERT_FALSE(busy());
  }
  std::vector<std::string> Pieces() const {
    std::vector<std::string> fetched;
    for (const auto& r : fake.internet.Requests())
      if (r.find("/upd/") != std::string::npos && r.find(".sig") == std::string::npos)
        fetched.push_back(r.substr(kHost.size()));
    return fetched;
  }
  std::string Text(Msg entry) const { return session.Catalog().Text(entry); }

  common::UiTasks tasks;
  common::CountingPump pump;
  common::ScriptedPrompts prompts;
  common::MemoryText status0, status2, label2;
  RecordingWindow window;
  UpdateCheck check{session, tasks, {prompts, status0, status2, label2, pump, window}};
};

TEST_F(UpdateCheckFlow, UpdateTellsWhatTheLastCompletedCheckFound) {
  ServeList(5, "");
  session.Database().SetText(AsBytes(localText_));
  check.UpdateClick();  // before any check has completed: nothing
  EXPECT_TRUE(prompts.shown.empty());
  RunTasksWhile([this] { return check.Get2.Busy(); });
  EXPECT_EQ(session.updateCheckState, app::UpdateCheckState::UpToDate);
  EXPECT_TRUE(prompts.shown.empty());  // up to date: the list handler says nothing
  EXPECT_FALSE(fake.files.Exists(kFolder + "list.htm"));

  check.UpdateClick();
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].entry, Msg::AlreadyUpgraded);
  EXPECT_EQ(prompts.shown[0].caption, "Information");
  RunTasksWhile([this] { return check.Get2.Busy(); });

  // A list the maker did not sign counts as no list: the next click shows the connection
  // message.
  Serve(update::kListPath, AsBytes("Morvanta Pro\r\nforged\r\n"), false);
  CheckAndWait();
  EXPECT_EQ(session.updateCheckState, app::UpdateCheckState::Failed);
  prompts.shown.clear();
  check.UpdateClick();
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].caption, "Connection error");
  EXPECT_EQ(prompts.shown[0].text, ConnectionMessageText());
  EXPECT_EQ(prompts.shown[0].text.substr(0, 61),
            "Cannot upgrade, please check your internet connection.\r\rTips:");
  RunTasksWhile([this] { return check.Get2.Busy(); });
}

TEST_F(UpdateCheckFlow, PiecesAreFetchedInOrderMergedAndSavedOnce) {
  ServeList(7, "3");
  ServePiece(6);
  ServePiece(7);
  CheckAndWait();
  ASSERT_EQ(prompts.shown.size(), 2u);
  EXPECT_EQ(prompts.shown[0].entry, Msg::DatabaseOutOfDate);
  EXPECT_EQ(prompts.shown[0].text, Text(Msg::DatabaseOutOfDate) + "\r" +
                                       Text(Msg::DownloadDatabaseUpdating) + DateLine(7));
  EXPECT_EQ(prompts.shown[1].entry, Msg::DatabaseUpdatedLastDate);
  EXPECT_EQ(prompts.shown[1].caption, "Morvanta Pro Info");
  EXPECT_EQ(Pieces(), (std::vector<std::string>{"/updr2/upd/6.htm", "/updr2/upd/7.htm"}));
  EXPECT_EQ(LoadedText(), WholeText(7));
  EXPECT_EQ(session.DatabaseDate(), DateLine(7));
  EXPECT_EQ(label2.text, Text(Msg::DatabaseUpdatedDate) + DateLine(7));
  EXPECT_EQ(status2.text, Text(Msg::LastUpdate) + DateLine(7));
  EXPECT_NE(std::find(status0.history.begin(), status0.history.end(), "Finished 6/7"),
            status0.history.end());
  EXPECT_EQ(status0.text.substr(0, 9), "Finished ");
  EXPECT_EQ(window.buttonsEnabled.back(), true);
  for (const char* left : {"list.htm", "Upd.dat", "Upd.dat.sig"})
    EXPECT_FALSE(fake.files.Exists(kFolder + left)) << left;
}

TEST_F(UpdateCheckFlow, APieceThatIsRefusedEndsTheRunWithWhatCameBeforeIt) {
  ServeList(8, "3");
  ServePiece(6);
  ServePiece(7, false);
  ServePiece(8);
  CheckAndWait();
  EXPECT_EQ(Pieces(), (std::vector<std::string>{"/updr2/upd/6.htm", "/updr2/upd/7.htm"}));
  EXPECT_EQ(prompts.CountOf(Msg::CannotUpdateDatabase), 1u);
  EXPECT_EQ(session.DatabaseDate(), DateLine(6));  // saved, so the next check goes on from 6
  EXPECT_EQ(LoadedText(), WholeText(6));
  EXPECT_EQ(window.buttonsEnabled.back(), true);
}

TEST_F(UpdateCheckFlow, TheWholeDatabaseWhenPiecesCannotServe) {
  ServeList(7, "6");  // 6 is above the local counter 5
  ServeWhole(7);
  CheckAndWait();
  EXPECT_TRUE(Pieces().empty());
  EXPECT_EQ(LoadedText(), WholeText(7));
  EXPECT_EQ(session.DatabaseDate(), DateLine(7));
  EXPECT_EQ(prompts.CountOf(Msg::DatabaseUpdatedLastDate), 1u);
  EXPECT_FALSE(fake.files.Exists(kFolder + "filess.dat"));
}

TEST_F(UpdateCheckFlow, WhatIsRefusedLeavesFilesDatAsItWas) {
  struct Case {
    const char* name;
    std::function<void(UpdateCheckFlow&)> serve;
  };
  const Case cases[] = {
      {"the whole database signed by another", [](UpdateCheckFlow& t) { t.ServeWhole(7, false); }},
      {"a signed whole database that does not decode",
       [](UpdateCheckFlow& t) { t.Serve(update::kWholeDatabasePath, Bytes(300, 'x')); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ServeList(7, "");
    c.serve(*this);
    const std::string before = FilesDat();
    prompts.shown.clear();
    CheckAndWait();
    EXPECT_EQ(prompts.CountOf(Msg::CannotUpdateDatabase), 1u);
    EXPECT_EQ(label2.text, Text(Msg::CannotUpdateStatus));
    EXPECT_EQ(FilesDat(), before);
    EXPECT_EQ(session.DatabaseDate(), DateLine(5));
    EXPECT_FALSE(fake.files.Exists(kFolder + "filess.dat"));
  }
}

TEST_F(UpdateCheckFlow, AnotherProgramIsOfferedFirst) {
  ServeList(7, "3", "Morvanta Pro v6 - SE (Build date: 01.01.2010)");  // older counts too
  ServePiece(6);
  ServePiece(7);
  prompts.Answer({true});
  CheckAndWait();
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text,
            Text(Msg::ProgramOutOfDate) + "\r" + Text(Msg::YourVersionIs) + update::kProgramVersion +
                "\r" + Text(Msg::NewVersionIs) + "Morvanta Pro v6 - SE (Build date: 01.01.2010)");
  EXPECT_EQ(window.upgrades, std::vector<std::string>{Text(Msg::NewVersionIs) +
                                                      "Morvanta Pro v6 - SE (Build date: 01.01.2010)"});
  EXPECT_TRUE(Pieces().empty());  // the database waits for the new program

  // Declined: the database is not offered either.
  prompts.shown.clear();
  prompts.Answer({false});
  CheckAndWait();
  ASSERT_EQ(prompts.shown.size(), 2u);
  EXPECT_EQ(prompts.shown[1].entry, Msg::UpgradeProgramFirst);
  EXPECT_EQ(prompts.CountOf(Msg::DatabaseOutOfDate), 0u);
  EXPECT_EQ(window.mainEnabled.back(), true);
  EXPECT_EQ(session.updateCheckState, app::UpdateCheckState::UpdateOffered);
}

TEST_F(UpdateCheckFlow, NoToTheDatabaseFetchesNothing) {
  ServeList(7, "3");
  ServePiece(6);
  prompts.Answer({false});
  CheckAndWait();
  EXPECT_TRUE(Pieces().empty());
  EXPECT_EQ(session.DatabaseDate(), DateLine(5));
  EXPECT_EQ(window.mainEnabled.back(), true);
}

TEST(UpgradeBar, PositionFollowsTheStepRule) {
  struct Case {
    uint64_t total, readed;
    int position;
  };
  const Case cases[] = {
      {1000, 0, 0},    {1000, 1, 0},     {1000, 10, 1},   {1000, 11, 1},   {1000, 20, 1},
      {1000, 21, 2},   {1000, 500, 49},  {1000, 1000, 99}, {1099, 1099, 100}, {50, 25, 50},
      {0, 0, 0},       {5000, 9999, 100},
  };
  for (const Case& c : cases)
    EXPECT_EQ(UpgradeBarPosition(c.total, c.readed), c.position) << c.total << " " << c.readed;
}

class ProgramUpgradeFlow : public UpdateCheckFlow {
 public:
  ProgramUpgrade upgrade{session, tasks, {prompts, label2, pump, window}};
  Bytes program = Bytes(20000, 'M');
};

TEST_F(ProgramUpgradeFlow, TheSignedProgramIsStartedAndThisOneEnds) {
  Serve(update::kProgramPath, program);
  upgrade.Start();
  RunTasksWhile([this] { return upgrade.Get1.Busy(); });
  EXPECT_EQ(window.bar.back(), 99);
  EXPECT_EQ(label2.text, Text(Msg::FinishedDots));
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].entry, Msg::ProgramUpgraded);
  EXPECT_EQ(prompts.shown[0].caption, "Finished");
  EXPECT_EQ(fake.shell.Opened(), std::vector<std::string>{kFolder + "kavup.exe"});
  EXPECT_EQ(window.endedWith, std::vector<int>{1});
  EXPECT_EQ(fake.files.ReadAll(kFolder + "kavup.exe"), program);
}

TEST_F(ProgramUpgradeFlow, AProgramSignedByAnotherIsNeverStarted) {
  Serve(update::kProgramPath, program, false);
  upgrade.Start();
  RunTasksWhile([this] { return upgrade.Get1.Busy(); });
  EXPECT_TRUE(fake.shell.Opened().empty());
  EXPECT_TRUE(window.endedWith.empty());
  EXPECT_FALSE(fake.files.Exists(kFolder + "kavup.exe"));
}

TEST_F(ProgramUpgradeFlow, ClosingAsksFirstAndCancelsOnYes) {
  Serve(update::kProgramPath, program);
  upgrade.Get1.OnProgress = nullptr;
  upgrade.Start();
  // The worker has fetched and checked the program and told its end; the window has not
  // seen it yet.
  ASSERT_TRUE(tasks.WaitForTask(std::chrono::seconds(10)));
  prompts.Answer({false, true});
  EXPECT_FALSE(upgrade.CloseQuery());
  EXPECT_TRUE(upgrade.CloseQuery());
  EXPECT_EQ(prompts.shown[0].entry, Msg::AbortCurrentProcess);
  EXPECT_EQ(prompts.shown[0].caption, "Question");
  RunTasksWhile([this] { return upgrade.Get1.Busy(); });
  EXPECT_TRUE(window.endedWith.empty());
  EXPECT_FALSE(fake.files.Exists(kFolder + "kavup.exe"));
  EXPECT_EQ(window.mainEnabled.back(), true);
}

}  // namespace
}  // namespace morvanta::runs
