// The report manager, created for real under Wine over the fake machine: shown by the main
// window's "Full report log", its table of planted rows, the context menus chosen by a
// selection and by ticks clicked with the real mouse, a deletion answered through the fake's
// dialogs, and a screenshot with rows of every colour (ticked yellow, an empty file red, a
// missing one blue).
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/fake/fake_platform.h"
#include "ui/application.h"
#include "ui_test_util.h"

namespace morvanta::ui {
namespace {

using platform::RegRoot;
using platform::RegValue;
using test_util::Pump;

constexpr char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class ReportManagerWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    session_ = std::make_unique<app::Session>(m_.Get());
    ASSERT_TRUE(test_util::PutDatabase(m_.files, session_->ProgramFile("files.dat"),
                                       "Thursday, 10.12.2026, Upd 0042   "));
    m_.files.PutFile(session_->ProgramFile("RegBase.rgk"), std::string("1\r\n1\r\n") + kRun + "\r\nRun\r\n");
    m_.files.PutFile("C:\\Tools\\agent.exe", "MZ agent!");
    m_.files.PutFile("C:\\Tools\\empty.exe", "");
    m_.processes.AddProcess("agent.exe", std::string("C:\\Tools\\agent.exe"));
    auto run = m_.registry.CreateKey(RegRoot::CurrentUser, kRun);
    run->WriteValue("agent", RegValue::FromString("C:\\Tools\\agent.exe /tray"));
    run->WriteValue("empty", RegValue::FromString("C:\\Tools\\empty.exe"));
    run->WriteValue("missing", RegValue::FromString("C:\\Tools\\missing.exe"));
    app_ = std::make_unique<Application>(*session_);
    ASSERT_TRUE(app_->CreateWindows());
    app_->Main().Show();
    Pump(50);
  }
  void TearDown() override {
    app_.reset();
    session_.reset();
  }
  int RowOf(TFormR& w, const std::string& kind, const std::string& path) {
    for (int item = 0; item < w.List1.ItemCount(); ++item)
      if (w.List1.ItemText(item) == kind && w.List1.ItemText(item, 1) == path) return item;
    return -1;
  }

  platform::fake::FakePlatform m_;
  std::unique_ptr<app::Session> session_;
  std::unique_ptr<Application> app_;
};

TEST_F(ReportManagerWindowTest, TableMenusAndDeletion) {
  app_->Main().Button10.Click();
  TFormR& w = app_->ReportManagerWindow();
  test_util::BringToFront(w.Handle());
  Pump(100);
  ASSERT_TRUE(w.IsVisible());
  EXPECT_EQ(w.Caption(), "Report Manager");
  ASSERT_EQ(w.List1.ColumnCount(), 4);
  const char* columns[] = {"ID", "FileName", "File Size", "Key"};
  for (int c = 0; c < 4; ++c) EXPECT_EQ(w.List1.ColumnAt(c).caption, columns[c]);

  const int proc = RowOf(w, "Proc", "C:\\Tools\\agent.exe");
  const int command = RowOf(w, "RegStartup", "C:\\Tools\\agent.exe /tray");
  const int empty = RowOf(w, "RegStartup", "C:\\Tools\\empty.exe");
  ASSERT_GE(proc, 0);
  ASSERT_GE(command, 0);
  ASSERT_GE(empty, 0);
  ASSERT_GE(RowOf(w, "RegStartup", "C:\\Tools\\missing.exe"), 0);
  EXPECT_EQ(w.List1.ItemText(proc, 2), "9");
  EXPECT_EQ(w.List1.ItemText(command, 2), "0");
  EXPECT_EQ(w.List1.ItemText(command, 3), std::string("HKEY_CURRENT_USER\\") + kRun + "\\");
  EXPECT_EQ(w.List1.ItemText(proc, 3), "");

  // A selection chooses by its row; ticks and a click by the ticked rows.
  w.List1.Select(proc);
  Pump(50);
  EXPECT_EQ(w.CurrentMenu(), runs::ReportMenu::Process);
  EXPECT_EQ(w.Manager().SelectedPath(), "C:\\Tools\\agent.exe");
  ASSERT_TRUE(test_util::ClickCheckBox(w.List1.Handle(), proc));
  ASSERT_TRUE(test_util::ClickCheckBox(w.List1.Handle(), command));
  Pump(50);
  EXPECT_EQ(w.CurrentMenu(), runs::ReportMenu::General);  // one of each leaves the general menu
  EXPECT_EQ(w.MenuOf(runs::ReportMenu::Process).ItemText(TFormR::kTerminateProcesses),
            "Terminate proceses");
  test_util::Screenshot(w.Handle(), "report_manager");

  // The general "Delete files" on the two ticked rows: the program goes, the command with
  // arguments names no file and stays with its error box.
  m_.dialogs.QueueAnswer(platform::MessageAnswer::Yes);
  ASSERT_TRUE(w.Run(TFormR::kDeleteFiles));
  Pump(50);
  EXPECT_FALSE(m_.files.Exists("C:\\Tools\\agent.exe"));
  ASSERT_EQ(m_.dialogs.Shown().size(), 2u);
  EXPECT_EQ(m_.dialogs.Shown()[0].text, "Do you want to delete selected items?");
  EXPECT_EQ(m_.dialogs.Shown()[1].text, "Cannot delete file C:\\Tools\\agent.exe /tray.");
  EXPECT_EQ(RowOf(w, "Proc", "C:\\Tools\\agent.exe"), -1);
  EXPECT_GE(RowOf(w, "RegStartup", "C:\\Tools\\agent.exe /tray"), 0);

  // "Save full report log" shows the Log Optimizer.
  w.xpButton3.Click();
  Pump(50);
  EXPECT_TRUE(app_->LogOptimizer().IsVisible());
}

}  // namespace
}  // namespace morvanta::ui
