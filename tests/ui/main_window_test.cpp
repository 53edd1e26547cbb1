// The main window and its companions, created for real under Wine: pages, buttons, status
// panels, hints, the question boxes, the action chooser setting, and a screenshot of each page.
#include <gtest/gtest.h>

#include <cstdlib>
#include <future>

#include "ui_test_util.h"
#include "platform/fake/fake_platform.h"
#include "platform/win32/message_box_robot.h"
#include "platform/win32/win32_platform.h"
#include "ui/application.h"

namespace morvanta::ui {
namespace {

using ::morvanta::ui::test_util::Pump;
using ::morvanta::ui::test_util::Screenshot;

constexpr char kDate[] = "Thursday, 10.12.2026, Upd 0042 ";

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    p_.registry.DeleteKeyTree(platform::RegRoot::CurrentUser, "Software\\Quorrin");
    app_ = std::make_unique<Application>(ApplicationServices{
        p_, catalog_, [](std::string&) { return true; }, [] { return std::string(kDate); }});
    ASSERT_TRUE(app_->CreateWindows());
    app_->Main().Show();
    Pump(100);
  }
  void TearDown() override {
    app_.reset();
    p_.registry.DeleteKeyTree(platform::RegRoot::CurrentUser, "Software\\Quorrin");
  }

  // Clicks a button that asks a question and answers it as the user would.
  std::string ClickAndAnswer(Button& button, platform::MessageAnswer answer) {
    auto user = std::async(std::launch::async, [&] {
      auto box = platform::win32::WaitForMessageBox(catalog_.Text(28), 10000);
      if (!box) return std::string("<no question>");
      platform::win32::PressMessageBoxButton(box->window, answer);
      return box->text;
    });
    button.Click();
    return user.get();
  }

  platform::win32::Win32Platform real_;
  platform::Platform p_ = real_.Get();
  common::MessageCatalog catalog_;
  std::unique_ptr<Application> app_;
};

TEST_F(MainWindowTest, WindowsExistWithTheirCaptionsAndOnlyTheMainOneShows) {
  struct Expected {
    const char* className;
    const char* caption;
  } windows[] = {
      {"TForm1", "Morvanta Pro - SE"},      {"TForm2", "Select your action"},
      {"TForm3", "Full scan process!"},     {"TForm4", "Upgrading..."},
      {"TForm9", "Quarantine Manager"},     {"TfrmMain", "Runtime & Process Manager"},
      {"TForm12", "Log Optimizer"},         {"TFormIG", "Ignore list (Built 20.03.2006)"},
      {"TFormL", "Select language"},        {"TFormR", "Report Manager"},
  };
  for (const auto& w : windows) {
    Window* window = app_->WindowByClass(w.className);
    ASSERT_NE(window, nullptr) << w.className;
    EXPECT_EQ(window->Caption(), w.caption);
    EXPECT_EQ(window->IsVisible(), std::string(w.className) == "TForm1") << w.className;
  }
}

TEST_F(MainWindowTest, StatusPanelsAndTheDateTexts) {
  TForm1& main = app_->Main();
  EXPECT_EQ(main.sb1.PanelText(1), "Morvanta Pro - SE");
  EXPECT_EQ(main.sb1.PanelText(2), std::string("Last Update: ") + kDate);
  EXPECT_EQ(main.Label2.Text(), std::string("Last Update: ") + kDate);
  EXPECT_EQ(main.welcomeGroup.Text(), "Welcome");
  EXPECT_TRUE(main.AbortFlag());  // showing the window sets it

  ::SendMessageA(main.Button7.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(main.sb1.PanelText(0), "Update virus database via internet.");
  ::SendMessageA(main.Button17.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(main.sb1.PanelText(0), "Exit program.");
}

TEST_F(MainWindowTest, ButtonsSwitchPagesAndBackReturns) {
  TForm1& main = app_->Main();
  EXPECT_EQ(main.ActivePage(), TForm1::kStartPage);
  // Each step clicks a button and expects the page with this control to be the only one shown.
  struct Step {
    Button* button;
    int page;
    Control* onPage;
  } steps[] = {
      {&main.Button9, TForm1::kStartupPage, &main.List3},
      {&main.Button16, TForm1::kStartPage, &main.Button4},
      {&main.Button18, TForm1::kAboutPage, &main.aboutTitle},
      {&main.Button19, TForm1::kStartPage, &main.Button4},
      {&main.Button8, TForm1::kProcessPage, &main.List2},
      {&main.Button13, TForm1::kStartPage, &main.Button4},
      {&main.xpButton15, TForm1::kServicePage, &main.ListView2},
      {&main.xpButton8, TForm1::kStartPage, &main.Button4},
  };
  Control* pageControls[] = {&main.Button4, &main.List1, &main.List2, &main.List3,
                             &main.aboutTitle, &main.ListView2};
  for (const auto& s : steps) {
    s.button->Click();
    Pump(20);
    EXPECT_EQ(main.ActivePage(), s.page);
    for (Control* c : pageControls) EXPECT_EQ(c->IsVisible(), c == s.onPage);
  }
  EXPECT_TRUE(main.Button4.IsVisible());
  EXPECT_FALSE(main.List2.IsVisible());
}

TEST_F(MainWindowTest, ScanAsksFirstAndFixStartsDisabled) {
  TForm1& main = app_->Main();
  EXPECT_FALSE(main.Button2.IsEnabled());
  EXPECT_FALSE(main.xpButton5.IsEnabled());
  std::string question = ClickAndAnswer(main.Button4, platform::MessageAnswer::No);
  EXPECT_EQ(main.ActivePage(), TForm1::kResultPage);
  EXPECT_EQ(question,
            "Would you like to scan your computer for Viruses, Malwares, Worms, Spyware & "
            "Adware?\r\n\r\nImportant note:\r\nBefore scanning please close Internet "
            "Explorer/Internet Browsers and all Active Applications.");
  main.SetFixEnabled(true);
  EXPECT_TRUE(main.Button2.IsEnabled());
  EXPECT_TRUE(main.xpButton5.IsEnabled());
  EXPECT_EQ(ClickAndAnswer(main.Button2, platform::MessageAnswer::No),
            "Do you want to fix selected alerts?");
}

TEST_F(MainWindowTest, ListsHaveTheirColumns) {
  TForm1& main = app_->Main();
  struct Expected {
    ListView* list;
    std::vector<Column> columns;
  } lists[] = {
      {&main.List2, {{"Active process", 550}}},
      {&main.List3, {{"Program Key", 150}, {"Program Value", 300}}},
      {&main.ListView2, {{"Name", 130}, {"Path", 280}, {"Status", 60}, {"StartupType", 70}}},
  };
  for (const auto& l : lists) {
    ASSERT_EQ(l.list->ColumnCount(), static_cast<int>(l.columns.size()));
    for (size_t i = 0; i < l.columns.size(); ++i) {
      EXPECT_EQ(l.list->ColumnAt(static_cast<int>(i)).caption, l.columns[i].caption);
      EXPECT_EQ(l.list->ColumnAt(static_cast<int>(i)).width, l.columns[i].width);
    }
  }
  EXPECT_EQ(main.wormsLabel.Text(), "Worms && Viruses list:");
  EXPECT_EQ(main.cbx1.Text(), "Delete process from your hard drive!");
  EXPECT_FALSE(main.cbx1.IsChecked());
}

TEST_F(MainWindowTest, ChooserRemembersItsCheckBox) {
  TForm2& chooser = app_->Chooser();
  EXPECT_TRUE(chooser.c1.IsChecked());  // no key yet: the design state
  chooser.Show();
  Pump(20);
  EXPECT_FALSE(app_->Main().IsVisible() && ::IsWindowEnabled(app_->Main().Handle()));
  chooser.c1.SetChecked(false);
  chooser.CloseClick();
  EXPECT_TRUE(::IsWindowEnabled(app_->Main().Handle()));
  platform::RegistryObject reg(p_.registry);
  ASSERT_TRUE(reg.OpenKey("Software\\Quorrin\\Morvanta Pro\\Options", false));
  EXPECT_EQ(reg.ReadInteger("0"), 0u);

  // A chooser made now starts unchecked, and a Timer3 tick offers nothing without an update.
  TForm2 second(app_->Main(), p_.registry);
  EXPECT_FALSE(second.c1.IsChecked());
}

TEST_F(MainWindowTest, ScreenshotsOfEveryPage) {
  TForm1& main = app_->Main();
  for (int page = 0; page < TForm1::kPageCount; ++page) {
    main.ShowPage(page);
    Pump(150);
    Screenshot(main.Handle(), "main_page" + std::to_string(page));
  }
}

TEST(MainWindowRefusal, OldSystemsAreRefusedWithMessage61) {
  platform::fake::FakePlatform machine;
  platform::OsVersion w2k;
  w2k.platformId = 2;
  w2k.major = 5;
  w2k.build = 2195;
  w2k.productType = 1;
  machine.system.SetVersion(w2k);
  common::MessageCatalog catalog;
  bool loaded = false;
  Application app({machine.Get(), catalog,
                   [&](std::string&) { return loaded = true; }, [] { return std::string(); }});
  EXPECT_FALSE(app.CreateWindows());
  EXPECT_FALSE(loaded);  // nothing else starts
  ASSERT_EQ(machine.dialogs.Shown().size(), 1u);
  const auto& shown = machine.dialogs.Shown()[0];
  EXPECT_EQ(shown.text,
            "Morvanta Pro v4 only supports Microsoft Windows XP, Vista and Win7 platform.");
  EXPECT_EQ(shown.caption, "Morvanta Pro");
  EXPECT_EQ(shown.icon, platform::MessageIcon::Error);
  EXPECT_TRUE(shown.topmost && shown.setForeground);
}

TEST(MainWindowRefusal, UnreadableDatabaseIsReportedAndTheProgramGoesOn) {
  platform::fake::FakePlatform machine;
  common::MessageCatalog catalog;
  Application app({machine.Get(), catalog,
                   [](std::string& error) {
                     error = "Cannot open file \"files.dat\". File not found.";
                     return false;
                   },
                   [] { return std::string("Error"); }});
  EXPECT_TRUE(app.CreateWindows());
  ASSERT_EQ(machine.dialogs.Shown().size(), 1u);
  EXPECT_EQ(machine.dialogs.Shown()[0].text, "Cannot open file \"files.dat\". File not found.");
  EXPECT_EQ(machine.dialogs.Shown()[0].caption, "Error");
}

}  // namespace
}  // namespace morvanta::ui
