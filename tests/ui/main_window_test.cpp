// The main window and its companions, created for real under Wine: pages, buttons, status
// panels, hints, the question boxes, the action chooser setting, and a screenshot of each page.
#include <gtest/gtest.h>

#include <cstdlib>
#include <future>

#include "main_window_fixture.h"
#include "ui_test_util.h"
#include "database/container.h"
#include "platform/fake/fake_platform.h"
#include "morvanta_version.h"
#include "platform/win32/message_box_robot.h"
#include "platform/win32/win32_platform.h"
#include "app/window_components.h"
#include "ui/application.h"

namespace morvanta::ui {
namespace {

using ::morvanta::ui::test_util::Pump;
using ::morvanta::ui::test_util::Screenshot;

TEST_F(MainWindowTest, WindowsExistWithTheirCaptionsAndOnlyTheMainOneShows) {
  struct Expected {
    WindowId id;
    const char* caption;
  } windows[] = {
      {WindowId::Main, "Morvanta Pro - SE"},
      {WindowId::Chooser, "Select your action"},
      {WindowId::FullScan, "Full scan process!"},
      {WindowId::Upgrade, "Upgrading..."},
      {WindowId::QuarantineManager, "Quarantine Manager"},
      {WindowId::ToolWindow, "Runtime & Process Manager"},
      {WindowId::LogOptimizer, "Log Optimizer"},
      {WindowId::IgnoreList, "Ignore list (Built 20.03.2006)"},
      {WindowId::Language, "Select language"},
      {WindowId::ReportManager, "Report Manager"},
  };
  for (const auto& w : windows) {
    Window& window = app_->Get(w.id);
    EXPECT_EQ(window.Caption(), w.caption);
    EXPECT_EQ(window.IsVisible(), w.id == WindowId::Main) << w.caption;
  }
}

TEST_F(MainWindowTest, EachWindowRegistersItsComponentsInTheTablesOrder) {
  struct Window {
    app::WindowId id;
    const ComponentRegistry& registry;
  } windows[] = {{app::WindowId::Main, app_->Main().Components()},
                 {app::WindowId::Chooser, app_->Chooser().Components()},
                 {app::WindowId::FullScan, app_->DriveWindow().Components()},
                 {app::WindowId::QuarantineManager, app_->QuarantineWindow().Components()},
                 {app::WindowId::ToolWindow, app_->ToolWindow().Components()}};
  for (const auto& w : windows) {
    const auto& table = app::ComponentsOf(w.id);
    const auto& entries = w.registry.Entries();
    ASSERT_EQ(entries.size(), table.size()) << static_cast<int>(w.id);
    for (size_t i = 0; i < table.size(); ++i) {
      EXPECT_EQ(entries[i].name, table[i].name);
      // The program writes its own texts into these two labels.
      const std::string name = table[i].name;
      if (name == "Label2" || name == "Label3") continue;
      EXPECT_EQ(entries[i].caption(), table[i].caption) << name;
    }
  }
  // A caption set through the registry shows on the control.
  app_->Main().Components().Entries()[2].setCaption("Scannen");
  EXPECT_EQ(app_->Main().Button4.Text(), "Scannen");
  app_->ToolWindow().Components().Entries()[0].setCaption("&Entfernen");
  EXPECT_EQ(app_->ToolWindow().PopupMenu1.ItemText(TfrmMain::kRemoveCommand), "&Entfernen");
}

TEST_F(MainWindowTest, TheHintPanelClearsOverAControlWithoutAHint) {
  TForm1& main = app_->Main();
  ::SendMessageA(main.Button7.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  ASSERT_EQ(main.sb1.PanelText(0), "Update virus database via internet.");
  ::SendMessageA(main.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(main.Label2.Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(main.sb1.PanelText(0), "");
  ::SendMessageA(main.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(main.Button7.Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  ::SendMessageA(main.Button7.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(main.sb1.PanelText(0), "Update virus database via internet.");
}

TEST_F(MainWindowTest, TheTaskBarShowsTheApplicationTitle) {
  // The application window carries the title and owns the main window, which therefore
  // has no task bar button of its own.
  HWND appWindow = app_->AppWindow().Handle();
  EXPECT_EQ(app_->AppWindow().Caption(), "Morvanta Pro v4 - SE");
  EXPECT_EQ(::GetWindow(app_->Main().Handle(), GW_OWNER), appWindow);
  EXPECT_EQ(::GetWindowLongPtrA(appWindow, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
}

TEST_F(MainWindowTest, TheOtherWindowsOpenCentred) {
  RECT area = {};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  for (WindowId id : {WindowId::ToolWindow, WindowId::QuarantineManager, WindowId::Chooser}) {
    RECT r = {};
    ::GetWindowRect(app_->Get(id).Handle(), &r);
    EXPECT_NEAR((r.left + r.right) / 2, (area.left + area.right) / 2, 2) << static_cast<int>(id);
    EXPECT_NEAR((r.top + r.bottom) / 2, (area.top + area.bottom) / 2, 2) << static_cast<int>(id);
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

TEST_F(MainWindowTest, AboutPageShowsTheReleaseVersion) {
  TForm1& main = app_->Main();
  main.Button18.Click();
  Pump(20);
  HWND page = ::GetParent(main.aboutTitle.Handle());
  HWND version = ::FindWindowExA(page, nullptr, WC_STATICA, "Version " MORVANTA_VERSION);
  ASSERT_NE(version, nullptr);
  EXPECT_TRUE(::IsWindowVisible(version));
  main.Button19.Click();
  Pump(20);
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

TEST_F(MainWindowTest, AWholeScanInTheRealWindow) {
  for (const char* name : {"worm-one.exe", "worm-two.dll"})
    ASSERT_TRUE(p_.files.WriteAll(folder_ + name, std::string("worm file ") + name));
  const std::string text = std::string(kDate) + "\r\n/0/[Worm.One]:" + folder_ +
                           "worm-one.exe\r\n/0/[Worm.Two]:" + folder_ + "worm-two.dll\r\n"
                           "[Worm.Absent]:" + folder_ + "absent.exe\r\n_end\r\n";
  session_->Database().SetText(std::vector<uint8_t>(text.begin(), text.end()));
  TForm1& main = app_->Main();
  EXPECT_FALSE(main.Button3.IsEnabled());  // "Abort" before a scan
  // The user: Yes to the scan, a look at the page while the scan asks about the full drive
  // scan, No to that, OK to the pointer to "Fix".
  struct Seen {
    std::string question, offer, notice;
  };
  auto user = std::async(std::launch::async, [&] {
    Seen seen;
    using platform::win32::PressMessageBoxButton;
    using platform::win32::WaitForMessageBox;
    if (auto q = WaitForMessageBox("Question", 10000)) {
      seen.question = q->text;
      PressMessageBoxButton(q->window, platform::MessageAnswer::Yes);
    }
    if (auto offer = WaitForMessageBox("Alert", 20000)) {
      seen.offer = offer->text;
      Screenshot(main.Handle(), "results_page_during_scan");
      PressMessageBoxButton(offer->window, platform::MessageAnswer::No);
    }
    if (auto notice = WaitForMessageBox("Information", 10000)) {
      seen.notice = notice->text;
      PressMessageBoxButton(notice->window, platform::MessageAnswer::Ok);
    }
    return seen;
  });
  main.Button4.Click();
  const Seen seen = user.get();
  Pump(100);
  EXPECT_EQ(main.ActivePage(), TForm1::kResultPage);
  EXPECT_NE(seen.question.find("Would you like to scan your computer"), std::string::npos);
  EXPECT_EQ(seen.offer.substr(0, 11), "You have 2 ");
  EXPECT_EQ(seen.notice, "Click on \"Fix\" button to fix selected tasks by quick report!");
  ASSERT_EQ(main.List1.ItemCount(), 2);
  EXPECT_EQ(main.List1.ItemText(0), "Infected with Worm.One");
  EXPECT_EQ(main.List1.ItemText(1), "Infected with Worm.Two");
  EXPECT_TRUE(main.List1.IsChecked(0) && main.List1.IsChecked(1));
  EXPECT_NE(main.Memo2.Text().find("2 Dangerous files have been found on your computer."),
            std::string::npos);
  EXPECT_TRUE(main.Button2.IsEnabled() && main.xpButton5.IsEnabled());
  EXPECT_TRUE(main.Button1.IsEnabled());
  EXPECT_FALSE(main.Button3.IsEnabled());
  EXPECT_TRUE(main.Button6.IsVisible());
  EXPECT_EQ(main.sb1.PanelText(0), "Scan process finished.");
  ASSERT_EQ(session_->Scan().Alerts.Size(), 2u);
  EXPECT_EQ(session_->Scan().Alerts[1].LineIndex, 1);
  Screenshot(main.Handle(), "results_page_after_scan");
  for (const char* name : {"worm-one.exe", "worm-two.dll"}) p_.files.DeleteFile(folder_ + name);
}

TEST_F(MainWindowTest, AddToQuarantineStoresTheTickedAlertsThenOffersTheFix) {
  using platform::MessageAnswer;
  const std::string one = folder_ + "q-one.exe", two = folder_ + "q-two.dll";
  for (const std::string& path : {one, two}) ASSERT_TRUE(p_.files.WriteAll(path, "worm " + path));
  const std::string text = std::string(kDate) + "\r\n/0/[Worm.One]:" + one + "\r\n/0/[Worm.Two]:" + two +
                           "\r\n_end\r\n";
  session_->Database().SetText(std::vector<uint8_t>(text.begin(), text.end()));
  TForm1& main = app_->Main();
  // Yes to the scan, No to the full drive scan, OK to the pointer to "Fix".
  Answering({{"Question", MessageAnswer::Yes}, {"Alert", MessageAnswer::No}, {"Information", MessageAnswer::Ok}},
            [&] { main.Button4.Click(); });
  ASSERT_EQ(main.List1.ItemCount(), 2);
  main.List1.SetChecked(1, false);  // the user keeps q-two.dll
  const auto seen = Answering({{"Question", MessageAnswer::Yes},
                               {"Information", MessageAnswer::Ok},
                               {"Question", MessageAnswer::No}},
                              [&] { main.xpButton5.Click(); });
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0], "Do you want to add selected alerts in Quarantine?");
  EXPECT_EQ(seen[1], "1 alerts have been added to quarantine!\r\rNote:\rTo Clean reported tasks please "
                     "click on Fix Button");
  EXPECT_EQ(seen[2], "Do you want to fix selected alerts?");
  remedy::QuarantineStore& store = session_->Quarantine();
  EXPECT_TRUE(store.IsInQuarantine(one));
  EXPECT_FALSE(store.IsInQuarantine(two));
  EXPECT_TRUE(p_.files.FileExists(one) && p_.files.FileExists(two));  // No to the fix
  EXPECT_NE(main.Memo2.Text().find(": File added " + one), std::string::npos);
  EXPECT_EQ(main.sb1.PanelText(0), "Process finished.");
  EXPECT_TRUE(main.Button2.IsEnabled() && main.xpButton5.IsEnabled() && main.Button1.IsEnabled());
  EXPECT_FALSE(main.Button3.IsEnabled());

  EXPECT_TRUE(store.ClearQuarantine());
  p_.files.RemoveDirectory(store.Folder());
  for (const std::string& path : {one, two}) p_.files.DeleteFile(path);
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

  // A chooser made now starts unchecked.
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
  app::Session session(machine.Get());
  Application app(session);
  EXPECT_FALSE(app.CreateWindows());
  // Nothing else starts: no database load, whose failure would show a box of its own.
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
  app::Session session(machine.Get());
  Application app(session);
  EXPECT_TRUE(app.CreateWindows());
  ASSERT_EQ(machine.dialogs.Shown().size(), 1u);
  const auto& shown = machine.dialogs.Shown()[0];
  EXPECT_EQ(shown.text, "Cannot open file \"" + session.ProgramFile("files.dat") +
                            "\". The system cannot find the file specified.");
  EXPECT_EQ(shown.caption, "Error");
  EXPECT_EQ(shown.icon, platform::MessageIcon::Error);
  EXPECT_TRUE(shown.topmost && shown.setForeground);
  EXPECT_EQ(shown.owner, app.Main().Handle());
}

}  // namespace
}  // namespace morvanta::ui
