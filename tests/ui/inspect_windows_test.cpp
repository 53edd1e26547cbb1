// The process page, the startup page and the tool window's first tab, created for real under
// Wine over the fake machine: the handlers with scripted answers, the tool window's moves and
// message trap, and screenshots.
#include <gtest/gtest.h>

#include <cstdlib>

#include "ui_test_util.h"
#include "platform/fake/fake_platform.h"
#include "ui/application.h"

namespace morvanta::ui {
namespace {

using ::morvanta::ui::test_util::ClickCheckBox;
using ::morvanta::ui::test_util::ClickCheckBoxUntil;
using ::morvanta::ui::test_util::Pump;
using ::morvanta::ui::test_util::Screenshot;

using platform::MessageAnswer;
using platform::RegRoot;
using platform::RegValue;

constexpr char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kRunBak[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run_Bak";

class InspectWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Real program files of the Wine machine, so that their icons show.
    const std::string windows = "C:\\windows\\";
    for (const char* exe : {"notepad.exe", "regedit.exe", "winhlp32.exe"})
      m_.files.PutFile(windows + exe, std::string("MZ program file ") + exe);
    notepad_ = *m_.processes.Start(windows + "notepad.exe");
    regedit_ = *m_.processes.Start(windows + "regedit.exe");
    m_.processes.Start(windows + "winhlp32.exe");

    m_.files.PutFile("C:\\Program Files\\Morvanta Pro\\RegBase.rgk",
                     std::string("2\r\n1\r\n") + kRun + "\r\n\r\n2\r\n" + kRun + "\r\n\r\n");
    auto cu = m_.registry.CreateKey(RegRoot::CurrentUser, kRun);
    cu->WriteValue("Notepad", RegValue::FromString("\"C:\\windows\\notepad.exe\" /A"));
    cu->WriteValue("Counter", RegValue::FromDword(3));
    auto lm = m_.registry.CreateKey(RegRoot::LocalMachine, kRun);
    lm->WriteValue("Registry Tool", RegValue::FromString("C:\\windows\\regedit.exe -s x.reg"));
    m_.registry.CreateKey(RegRoot::LocalMachine, kRunBak)
        ->WriteValue("Help", RegValue::FromString("c:\\windows\\winhlp32.exe"));

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

  bool Running(uint32_t pid) {
    const auto snapshot = m_.processes.Snapshot();
    for (const auto& e : *snapshot)
      if (e.pid == pid) return true;
    return false;
  }
  bool Has(RegRoot root, const std::string& key, const std::string& name) {
    auto k = m_.registry.OpenKey(root, key, platform::RegAccess::Read);
    return k && k->ReadValue(name).has_value();
  }

  // Shows the tool window on top, for the mouse to reach it.
  TfrmMain& ShownToolWindow() {
    TfrmMain& tool = app_->ToolWindow();
    tool.Show();
    ::SetForegroundWindow(tool.Handle());
    Pump(100);
    return tool;
  }

  platform::fake::FakePlatform m_;
  std::unique_ptr<app::Session> session_;
  std::unique_ptr<Application> app_;
  uint32_t notepad_ = 0, regedit_ = 0;
};

TEST_F(InspectWindowsTest, ProcessPageEndsTickedProcessesOnYesOnly) {
  TForm1& main = app_->Main();
  main.Button8.Click();
  EXPECT_EQ(main.ActivePage(), TForm1::kProcessPage);
  ASSERT_EQ(main.List2.ItemCount(), 3);
  EXPECT_EQ(main.List2.ItemText(0), "C:\\windows\\notepad.exe");
  EXPECT_EQ(main.Label3.Text(), "Active processes (3).");
  Screenshot(main.Handle(), "process_page");

  main.List2.SetChecked(0, true);
  m_.dialogs.QueueAnswer(MessageAnswer::No);
  main.Button11.Click();
  EXPECT_TRUE(Running(notepad_));
  EXPECT_TRUE(main.List2.IsChecked(0));

  m_.dialogs.QueueAnswer(MessageAnswer::Yes);
  main.Button11.Click();
  EXPECT_FALSE(Running(notepad_));
  EXPECT_TRUE(Running(regedit_));
  EXPECT_EQ(main.List2.ItemCount(), 2);
  EXPECT_EQ(main.Label3.Text(), "Active processes (2).");
  ASSERT_EQ(m_.dialogs.Shown().size(), 2u);
  EXPECT_EQ(m_.dialogs.Shown()[1].text, "Do you want to terminate selected processes?");
  EXPECT_EQ(m_.dialogs.Shown()[1].owner, main.Handle());
}

TEST_F(InspectWindowsTest, StartupPageDeletesTickedValuesOnYesOnly) {
  TForm1& main = app_->Main();
  main.Button9.Click();
  main.Button15.Click();
  ASSERT_EQ(main.List3.ItemCount(), 2);
  EXPECT_EQ(main.List3.ItemText(0), "Notepad");
  EXPECT_EQ(main.List3.ItemText(0, 1), "\"C:\\windows\\notepad.exe\" /A");
  EXPECT_EQ(main.List3.ItemText(1), "Registry Tool");
  Screenshot(main.Handle(), "startup_page");

  main.List3.SetChecked(1, true);
  m_.dialogs.QueueAnswer(MessageAnswer::No);
  main.Button14.Click();
  EXPECT_TRUE(Has(RegRoot::LocalMachine, kRun, "Registry Tool"));

  m_.dialogs.QueueAnswer(MessageAnswer::Yes);
  main.Button14.Click();
  EXPECT_FALSE(Has(RegRoot::LocalMachine, kRun, "Registry Tool"));
  ASSERT_EQ(m_.dialogs.Shown().size(), 3u);
  EXPECT_EQ(m_.dialogs.Shown()[2].text, "Selected values successfully deleted!");
  EXPECT_EQ(main.List3.ItemCount(), 1);
  EXPECT_EQ(session_->Lists().startupValues.size(), 1u);
}

TEST_F(InspectWindowsTest, AStartupValueOfAnyLengthIsDeletedThroughTheList) {
  // Longer than any fixed buffer a row's text could be read back through.
  const std::string command = "C:\\windows\\notepad.exe " + std::string(3000, 'x');
  m_.registry.CreateKey(RegRoot::LocalMachine, kRun)
      ->WriteValue("Long One", RegValue::FromString(command));
  TForm1& main = app_->Main();
  main.Button9.Click();
  main.Button15.Click();
  ASSERT_EQ(main.List3.ItemCount(), 3);
  ASSERT_EQ(main.List3.ItemText(2), "Long One");
  EXPECT_EQ(main.List3.ItemText(2, 1), command);  // the row shows all of it
  main.List3.SetChecked(2, true);
  m_.dialogs.QueueAnswer(MessageAnswer::Yes);
  main.Button14.Click();
  EXPECT_FALSE(Has(RegRoot::LocalMachine, kRun, "Long One"));
  EXPECT_EQ(m_.dialogs.Shown().back().text, "Selected values successfully deleted!");
  EXPECT_EQ(main.List3.ItemCount(), 2);
}

TEST_F(InspectWindowsTest, DetailsShowsTheToolWindow) {
  TForm1& main = app_->Main();
  main.Button9.Click();
  main.xpButton14.Click();
  EXPECT_TRUE(app_->ToolWindow().IsVisible());
}

TEST_F(InspectWindowsTest, ToolWindowListsMovesAndRemovesStartupPrograms) {
  TfrmMain& tool = app_->ToolWindow();
  ASSERT_EQ(tool.PageControl1.TabCount(), 3);
  EXPECT_EQ(tool.PageControl1.TabText(0), "&Startup Programs");
  EXPECT_EQ(tool.PageControl1.TabText(1), "Services &Manager");
  EXPECT_EQ(tool.PageControl1.TabText(2),
            "&Keyboard Filter Drivers / Win.ini && System.ini (Special key)");
  EXPECT_EQ(tool.Label1.Text(),
            "NOTE: Some changes will not take effect until the Computer is restarted.");

  // HKCU, then HKLM, then HKLM_B; the DWORD value is left out.
  ASSERT_EQ(tool.ListView1.ItemCount(), 3);
  struct Row {
    const char* caption;
    const char* code;
    bool ticked;
  } rows[] = {{"Notepad", "HKCU", true}, {"Registry Tool", "HKLM", true}, {"Help", "HKLM_B", false}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(tool.ListView1.ItemText(i), rows[i].caption);
    EXPECT_EQ(tool.ListView1.ItemText(i, 2), rows[i].code);
    EXPECT_EQ(tool.ListView1.IsChecked(i), rows[i].ticked);
    EXPECT_EQ(tool.RowEnabledMarker(i), rows[i].ticked);
  }
  EXPECT_EQ(tool.RegistryRows()[0].programPath, "c:\\windows\\notepad.exe");
  // No Startup folder is recorded on the fake machine: the placeholder, without check boxes.
  ASSERT_EQ(tool.ListView1_2.ItemCount(), 1);
  EXPECT_EQ(tool.ListView1_2.ItemText(0), "No startup program found!");
  EXPECT_FALSE(tool.ListView1_2.HasCheckBoxes());

  ShownToolWindow();
  Screenshot(tool.Handle(), "tool_window_startup");

  // One real click each: unticking "Registry Tool" moves it to Run_Bak, ticking "Help"
  // moves it to Run.
  ASSERT_TRUE(ClickCheckBox(tool.ListView1.Handle(), 1));
  Pump(150);
  EXPECT_FALSE(tool.ListView1.IsChecked(1));
  EXPECT_FALSE(Has(RegRoot::LocalMachine, kRun, "Registry Tool"));
  EXPECT_TRUE(Has(RegRoot::LocalMachine, kRunBak, "Registry Tool"));
  ASSERT_TRUE(ClickCheckBox(tool.ListView1.Handle(), 2));
  Pump(150);
  EXPECT_TRUE(tool.ListView1.IsChecked(2));
  EXPECT_FALSE(Has(RegRoot::LocalMachine, kRun, "Registry Tool"));
  EXPECT_TRUE(Has(RegRoot::LocalMachine, kRunBak, "Registry Tool"));
  EXPECT_TRUE(Has(RegRoot::LocalMachine, kRun, "Help"));
  EXPECT_FALSE(Has(RegRoot::LocalMachine, kRunBak, "Help"));
  EXPECT_FALSE(tool.RowEnabledMarker(1));
  EXPECT_TRUE(tool.RowEnabledMarker(2));
  // A click that changed nothing moves nothing.
  tool.ListView1MouseUp(1);
  EXPECT_TRUE(Has(RegRoot::LocalMachine, kRunBak, "Registry Tool"));

  // Removing for good, with No then Yes.
  ::SetFocus(tool.ListView1.Handle());
  tool.ListView1.Select(0);
  m_.dialogs.QueueAnswer(MessageAnswer::No);
  tool.mnuDelClick();
  EXPECT_TRUE(Has(RegRoot::CurrentUser, kRun, "Notepad"));
  m_.dialogs.QueueAnswer(MessageAnswer::Yes);
  tool.mnuDelClick();
  EXPECT_FALSE(Has(RegRoot::CurrentUser, kRun, "Notepad"));
  EXPECT_FALSE(Has(RegRoot::CurrentUser, kRunBak, "Notepad"));
  EXPECT_EQ(tool.ListView1.ItemCount(), 2);
  const auto& ask = m_.dialogs.Shown().back();
  EXPECT_EQ(ask.text, "Remove [Notepad] from this list?");
  EXPECT_EQ(ask.caption, "This action can not be undone!");
  EXPECT_TRUE(ask.secondButtonDefault);
  EXPECT_EQ(ask.owner, tool.Handle());
}

TEST_F(InspectWindowsTest, ClickingBackAndForthFollowsEveryClick) {
  TfrmMain& tool = ShownToolWindow();
  for (int click = 1; click <= 4; ++click) {
    ASSERT_TRUE(ClickCheckBox(tool.ListView1.Handle(), 0));
    Pump(150);
    const bool live = click % 2 == 0;  // Notepad starts ticked, in Run
    EXPECT_EQ(tool.ListView1.IsChecked(0), live) << click;
    EXPECT_EQ(Has(RegRoot::CurrentUser, kRun, "Notepad"), live) << click;
    EXPECT_EQ(Has(RegRoot::CurrentUser, kRunBak, "Notepad"), !live) << click;
  }
}

TEST_F(InspectWindowsTest, AFailedMoveIsReportedAndTheRowStays) {
  m_.registry.CreateKey(RegRoot::CurrentUser, kRunBak);
  m_.registry.FailValueChanges(RegRoot::CurrentUser, kRunBak);
  TfrmMain& tool = ShownToolWindow();
  // The box changes and changes back: the click arrived, the move did not happen.
  ASSERT_TRUE(ClickCheckBoxUntil(tool.ListView1.Handle(), 0, [&] { return !m_.dialogs.Shown().empty(); }));
  EXPECT_EQ(m_.dialogs.Shown().back().text, "Cannot move [Notepad] between the startup keys!");
  EXPECT_EQ(m_.dialogs.Shown().back().caption, "Error");
  EXPECT_TRUE(Has(RegRoot::CurrentUser, kRun, "Notepad"));  // never lost
  EXPECT_TRUE(tool.ListView1.IsChecked(0));
  EXPECT_TRUE(tool.RowEnabledMarker(0));
}

TEST_F(InspectWindowsTest, AStaleRowReloadsAndMovesNothing) {
  TfrmMain& tool = ShownToolWindow();
  // The main window's page deletes the value behind the tool window's back.
  m_.registry.OpenKey(RegRoot::LocalMachine, kRun, platform::RegAccess::All)->DeleteValue("Registry Tool");
  ASSERT_TRUE(ClickCheckBoxUntil(tool.ListView1.Handle(), 1, [&] { return tool.ListView1.ItemCount() == 2; }));
  EXPECT_FALSE(Has(RegRoot::LocalMachine, kRunBak, "Registry Tool"));
  ASSERT_EQ(tool.ListView1.ItemCount(), 2);  // reloaded: Notepad and Help
  EXPECT_EQ(tool.ListView1.ItemText(1), "Help");
}

TEST_F(InspectWindowsTest, ContextMenuFollowsTheFocusedListsSelection) {
  TfrmMain& tool = app_->ToolWindow();
  tool.Show();
  EXPECT_EQ(tool.PopupMenu1.ItemText(TfrmMain::kRemoveCommand), "&Remove from Startup List");
  EXPECT_EQ(tool.PopupMenu1.ItemText(TfrmMain::kDetailCommand), "&Detail Information");
  ::SetFocus(tool.ListView1.Handle());
  tool.PopupMenu1Popup();
  EXPECT_FALSE(tool.PopupMenu1.IsItemEnabled(TfrmMain::kRemoveCommand));
  tool.ListView1.Select(1);
  tool.PopupMenu1Popup();
  EXPECT_TRUE(tool.PopupMenu1.IsItemEnabled(TfrmMain::kRemoveCommand));
  EXPECT_TRUE(tool.PopupMenu1.IsItemEnabled(TfrmMain::kDetailCommand));
}

TEST_F(InspectWindowsTest, EmptyPlacesShowThePlaceholderAndItsClickDoesNothing) {
  for (const char* key : {kRun, kRunBak})
    for (RegRoot root : {RegRoot::CurrentUser, RegRoot::LocalMachine})
      m_.registry.DeleteKeyTree(root, key);
  TfrmMain& tool = app_->ToolWindow();
  tool.LoadStartupPrograms();
  ASSERT_EQ(tool.ListView1.ItemCount(), 1);
  EXPECT_EQ(tool.ListView1.ItemText(0), "No startup program found!");
  EXPECT_FALSE(tool.ListView1.HasCheckBoxes());
  tool.ListView1MouseUp(0);
  EXPECT_FALSE(m_.registry.OpenKey(RegRoot::CurrentUser, kRun, platform::RegAccess::Read));
}

TEST_F(InspectWindowsTest, TheTrapMessageEndsTheApplication) {
  ::SendMessageA(app_->ToolWindow().Handle(), TfrmMain::kEndApplicationMessage, 0, 0);
  MSG m;
  bool quit = false;
  while (::PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
    if (m.message == WM_QUIT) quit = true;
  EXPECT_TRUE(quit);
}

}  // namespace
}  // namespace morvanta::ui
