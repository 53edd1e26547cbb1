// The Log Optimizer, created for real under Wine over the fake machine: shown from the report
// manager's "Save full report log", its switches clicked with the real mouse, the build
// answered through the fake's dialogs, the report file read back, the main window's buttons
// during and after the build, the abort by a second click, and a screenshot.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "ui/application.h"
#include "ui_test_util.h"

namespace morvanta::ui {
namespace {

using test_util::Pump;

class LogOptimizerWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    session_ = std::make_unique<app::Session>(m_.Get());
    ASSERT_TRUE(test_util::PutDatabase(m_.files, session_->ProgramFile("files.dat"),
                                       "Thursday, 10.12.2026, Upd 0042   "));
    app_ = std::make_unique<Application>(*session_);
    ASSERT_TRUE(app_->CreateWindows());
    app_->Main().Show();
    Pump(50);
  }
  void TearDown() override {
    app_.reset();
    session_.reset();
  }

  // As the user gets there: "Full report log", then "Save full report log".
  TForm12& Shown() {
    app_->Main().Button10.Click();
    Pump(50);
    EXPECT_TRUE(app_->ReportManagerWindow().IsVisible());
    app_->ReportManagerWindow().xpButton3.Click();
    TForm12& w = app_->LogOptimizer();
    test_util::BringToFront(w.Handle());
    Pump(100);
    return w;
  }
  std::vector<std::string> ReportLines() {
    const auto bytes = m_.files.ReadAll(session_->ProgramFile("Information.txt"));
    std::vector<std::string> lines;
    if (!bytes) return lines;
    const std::string text(bytes->begin(), bytes->end());
    for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
      lines.push_back(text.substr(start, end - start));
    return lines;
  }
  static bool Has(const std::vector<std::string>& lines, const std::string& prefix) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
  }
  std::vector<std::string> Texts() {
    std::vector<std::string> texts;
    for (const auto& m : m_.dialogs.Shown()) texts.push_back(m.text);
    return texts;
  }

  platform::fake::FakePlatform m_;
  std::unique_ptr<app::Session> session_;
  std::unique_ptr<Application> app_;
};

TEST_F(LogOptimizerWindowTest, SwitchesBuildOpenAndAbort) {
  TForm12& w = Shown();
  TForm1& main = app_->Main();
  ASSERT_TRUE(w.IsVisible());
  EXPECT_EQ(w.Caption(), "Log Optimizer");
  EXPECT_TRUE(::GetWindowLongA(w.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(w.GroupBox1.Text(), "Build log about");
  EXPECT_EQ(w.xpButton1.Text(), "Build log");
  EXPECT_EQ(w.xpButton2.Text(), "Cancel");
  const struct {
    CheckBox& box;
    const char* caption;
  } boxes[] = {{w.xpCheckBox1, "Startup files."},
               {w.xpCheckBox2, "Active Services."},
               {w.xpCheckBox3, "Active processes."},
               {w.xpCheckBox4, "Infected files."}};
  for (const auto& b : boxes) {
    EXPECT_EQ(b.box.Text(), b.caption);
    EXPECT_TRUE(b.box.IsChecked()) << b.caption;
  }
  test_util::Screenshot(w.Handle(), "log_optimizer");

  // "Active processes." off, with the mouse; the flag follows the box.
  ASSERT_TRUE(test_util::ClickControlUntil(w.xpCheckBox3.Handle(), [&] { return !w.Sections().processes; }));
  EXPECT_FALSE(w.xpCheckBox3.IsChecked());
  EXPECT_TRUE(w.Sections().startupFiles && w.Sections().services && w.Sections().infectedFiles);

  // "Build log", Yes: the file without the process section, opened with the shell.
  m_.dialogs.QueueAnswer(platform::MessageAnswer::Yes);
  w.xpButton1.Click();
  Pump(50);
  EXPECT_EQ(w.LastOutcome(), runs::ReportOutcome::Written);
  EXPECT_EQ(Texts(), std::vector<std::string>{"Do you want to build full report?"});
  const auto lines = ReportLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "Finished...");
  EXPECT_TRUE(Has(lines, "Detail report: ("));
  EXPECT_FALSE(Has(lines, "Running processes: ("));
  EXPECT_EQ(m_.shell.Opened(), std::vector<std::string>{session_->ProgramFile("Information.txt")});
  EXPECT_FALSE(w.IsVisible());  // hidden before the question
  EXPECT_EQ(main.Button10.Text(), "Full report log");
  EXPECT_TRUE(main.Button4.IsEnabled());
  EXPECT_TRUE(main.Button7.IsEnabled());
  EXPECT_TRUE(::IsWindowEnabled(main.Handle()));

  // A second "Build log" during the build (waiting in the queue for the build's first look at
  // its messages) aborts it: no "Finished...", nothing opened, idle again.
  m_.dialogs.Clear();
  m_.files.DeleteFile(session_->ProgramFile("Information.txt"));
  w.Show();
  Pump(50);
  m_.dialogs.QueueAnswer(platform::MessageAnswer::Yes);
  ::PostMessageA(w.Handle(), WM_COMMAND, MAKEWPARAM(w.xpButton1.Id(), BN_CLICKED),
                 reinterpret_cast<LPARAM>(w.xpButton1.Handle()));
  w.xpButton1.Click();
  Pump(50);
  EXPECT_EQ(w.LastOutcome(), runs::ReportOutcome::Aborted);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Do you want to build full report?", "Log process aborted!"}));
  EXPECT_FALSE(Has(ReportLines(), "Finished..."));
  EXPECT_EQ(m_.shell.Opened().size(), 1u);
  EXPECT_FALSE(w.Building());
  EXPECT_EQ(main.Button10.Text(), "Full report log");
  EXPECT_EQ(w.xpButton1.Text(), "Build log");
  EXPECT_TRUE(main.Button4.IsEnabled());
  EXPECT_FALSE(session_->Scan().ReportInProgress);

  // "Cancel" closes the window.
  w.Show();
  Pump(50);
  w.xpButton2.Click();
  EXPECT_FALSE(w.IsVisible());
}

}  // namespace
}  // namespace morvanta::ui
