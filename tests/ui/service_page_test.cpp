// The main window's service page, created for real under Wine over the fake machine: the
// refresh, start, stop and restart buttons and the failure row.
#include <gtest/gtest.h>

#include <algorithm>

#include "ui_test_util.h"
#include "platform/fake/fake_platform.h"
#include "ui/application.h"

namespace morvanta::ui {
namespace {

using ::morvanta::ui::test_util::ClickCheckBox;
using ::morvanta::ui::test_util::Pump;
using ::morvanta::ui::test_util::Screenshot;
using platform::ServiceState;
using platform::StartType;

class ServicePageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_.files.PutFile("C:\\Agent\\agent.exe", "MZ agent");
    ASSERT_TRUE(m_.services.Create({"AgentSvc", "Agent Service", "C:\\Agent\\agent.exe -s",
                                    StartType::Manual}));
    ASSERT_TRUE(m_.services.Create({"OtherSvc", "Another One", "C:\\Agent\\agent.exe",
                                    StartType::Automatic}));
    m_.services.SetState("OtherSvc", ServiceState::Running);
    platform::fake::FakeVersionInfo microsoft;
    microsoft.translations = {{0x0409, 1200}};
    // The strings are read in a fixed order up to the first one missing.
    for (const char* key : {"CompanyName", "FileDescription", "FileVersion", "InternalName"})
      microsoft.strings[std::string("\\StringFileInfo\\040904B0\\") + key] = "Microsoft Corporation";
    microsoft.strings["\\StringFileInfo\\040904B0\\LegalCopyright"] =
        "\xA9 Microsoft Corporation. All rights reserved.";
    m_.files.PutFile("C:\\windows\\system32\\svchost.exe", "MZ host");
    m_.system.SetVersionInfo("C:\\windows\\system32\\svchost.exe", microsoft);
    ASSERT_TRUE(m_.services.Create({"HostSvc", "Host Service",
                                    "C:\\windows\\system32\\svchost.exe -k netsvcs",
                                    StartType::Automatic}));
    ASSERT_TRUE(m_.services.Create({"Nevrask", "Nevrask", "C:\\Agent\\agent.exe",
                                    StartType::Manual}));
    m_.registry.CreateKey(platform::RegRoot::LocalMachine, inspect::kKeyboardClassKey)
        ->WriteValue("UpperFilters", platform::RegValue::FromMultiString({"kbdclass", "spy"}));
    m_.files.PutFile("C:\\windows\\system32\\Drivers\\spy.sys", "driver");
    m_.files.PutFile("C:\\windows\\win.ini", "[windows]\r\nRun=C:\\Agent\\agent.exe\r\n");
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
  // The list's item of a caption; -1 when not listed.
  int Item(const std::string& caption) { return Item(app_->Main().ListView2, caption); }
  int Item(ListView& list, const std::string& caption) {
    for (int i = 0; i < list.ItemCount(); ++i)
      if (list.ItemText(i) == caption) return i;
    return -1;
  }

  platform::fake::FakePlatform m_;
  std::unique_ptr<app::Session> session_;
  std::unique_ptr<Application> app_;
};

TEST_F(ServicePageTest, TheMainListIsFilledAtCreation) {
  // The tool window lists the services when it is created; the main window shows them too,
  // so the inventory has its service lines before anyone opens the page.
  EXPECT_EQ(app_->Main().ListView2.ItemCount(), 4);
  EXPECT_EQ(session_->InventorySources().serviceImagePaths.size(), 4u);
}

TEST_F(ServicePageTest, TheListsHaveGridLines) {
  for (ListView* list : {&app_->Main().ListView2, &app_->ToolWindow().ListView2})
    EXPECT_TRUE(ListView_GetExtendedListViewStyle(list->Handle()) & LVS_EX_GRIDLINES);
}

TEST_F(ServicePageTest, RefreshStartStopRestart) {
  TForm1& main = app_->Main();
  main.xpButton15.Click();
  Pump(20);
  EXPECT_EQ(main.ActivePage(), TForm1::kServicePage);
  ASSERT_EQ(main.ListView2.ItemCount(), 4);
  const int agent = Item("Agent Service");
  ASSERT_GE(agent, 0);
  EXPECT_EQ(main.ListView2.ItemText(agent, 1), "C:\\Agent\\agent.exe -s");
  EXPECT_EQ(main.ListView2.ItemText(agent, 2), "Stopped");
  EXPECT_EQ(main.ListView2.ItemText(agent, 3), "Manual");
  EXPECT_EQ(main.ListView2.ItemText(Item("Another One"), 2), "Running");
  Pump(100);
  Screenshot(main.Handle(), "service_page");

  main.ListView2.Select(agent);
  main.xpButton10.Click();
  Pump(20);
  EXPECT_EQ(main.ListView2.ItemText(agent, 2), "Running");
  EXPECT_EQ(m_.services.QueryStatus("AgentSvc")->state, ServiceState::Running);
  main.xpButton9.Click();
  Pump(20);
  EXPECT_EQ(main.ListView2.ItemText(agent, 2), "Stopped");
  main.xpButton11.Click();  // the failed stop does not prevent the start
  Pump(20);
  EXPECT_EQ(main.ListView2.ItemText(agent, 2), "Running");

  // a start the manager refuses keeps the old text
  const int other = Item("Another One");
  main.ListView2.Select(other);
  main.xpButton10.Click();
  Pump(20);
  EXPECT_EQ(main.ListView2.ItemText(other, 2), "Running");

  m_.services.SetManagerAvailable(false);
  main.xpButton12.Click();
  Pump(20);
  ASSERT_EQ(main.ListView2.ItemCount(), 1);
  EXPECT_EQ(main.ListView2.ItemText(0, 1), "Can not get Service List!");
  main.ListView2.Select(0);
  main.xpButton10.Click();  // nothing to act on
  Pump(20);
  EXPECT_EQ(main.ListView2.ItemText(0, 1), "Can not get Service List!");
}

TEST_F(ServicePageTest, RefreshReloadsTheToolWindow) {
  TForm1& main = app_->Main();
  TfrmMain& tool = app_->ToolWindow();
  ASSERT_TRUE(m_.services.Create({"LateSvc", "Late Service", "C:\\Agent\\agent.exe",
                                  StartType::Manual}));
  m_.files.PutFile("C:\\windows\\system.ini", "[boot]\r\n;device=x.drv\r\n");
  main.xpButton12.Click();
  Pump(20);
  EXPECT_EQ(main.ListView2.ItemCount(), 5);
  EXPECT_EQ(tool.ListView2.ItemCount(), 5);
  EXPECT_GE(Item(tool.ListView2, "Late Service"), 0);
  ASSERT_EQ(tool.ListView4.ItemCount(), 1);
  EXPECT_EQ(tool.ListView4.ItemText(0), ";device=x.drv");
  EXPECT_FALSE(tool.ListView4.IsChecked(0));

  // the inventory reads the lists as loaded
  const auto sources = session_->InventorySources();
  EXPECT_EQ(sources.serviceImagePaths.size(), 5u);
  EXPECT_EQ(sources.systemIniLines, std::vector<std::string>{";device=x.drv"});
  inspect::RunningObjectList objects;
  auto p = m_.Get();
  common::NoMessages pump;
  inspect::CollectRunningObjects(p, session_->Catalog(), sources, objects, pump);
  const auto& lines = objects.Lines();
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& l) {
    return l.rfind("Service c:\\agent\\agent.exe[", 0) == 0;
  })) << lines.size();
}

TEST_F(ServicePageTest, ToolWindowServicesTab) {
  TfrmMain& tool = app_->ToolWindow();
  tool.ShowTab(TfrmMain::kServicesTab);
  ASSERT_EQ(tool.ListView2.ItemCount(), 4);
  // Image 6 marks the services whose program is not Microsoft's.
  EXPECT_EQ(tool.ListView2.ItemImage(Item(tool.ListView2, "Host Service")), ImageList::kServiceImage);
  EXPECT_EQ(tool.ListView2.ItemImage(Item(tool.ListView2, "Agent Service")),
            ImageList::kNonMicrosoftServiceImage);
  Button* buttons[] = {&tool.cmdServiceStart, &tool.cmdServiceStop, &tool.cmdServiceRestart,
                       &tool.cmdServiceChangeStartupMode};
  auto states = [&] {
    std::vector<bool> out;
    for (Button* b : buttons) out.push_back(b->IsEnabled());
    return out;
  };
  EXPECT_EQ(states(), (std::vector<bool>{false, false, false, false}));  // nothing selected

  const int agent = Item(tool.ListView2, "Agent Service");
  tool.ListView2.Select(agent);
  tool.Show();
  Pump(150);
  Screenshot(tool.Handle(), "tool_window_services");
  EXPECT_EQ(states(), (std::vector<bool>{true, false, false, true}));
  tool.cmdServiceStart.Click();
  Pump(20);
  EXPECT_EQ(tool.ListView2.ItemText(agent, 2), "Running");
  EXPECT_EQ(states(), (std::vector<bool>{false, true, true, true}));

  tool.mnuServiceStartupTypeClick(StartType::Disabled);
  EXPECT_EQ(tool.ListView2.ItemText(agent, 3), "Disabled");
  EXPECT_EQ(m_.services.QueryConfig("AgentSvc").config->startType, StartType::Disabled);
  EXPECT_EQ(states(), (std::vector<bool>{false, false, false, true}));

  tool.ListView2.Select(Item(tool.ListView2, "Nevrask"));
  Pump(20);
  EXPECT_EQ(states(), (std::vector<bool>{false, false, false, false}));

  // the report manager's stop by image path
  EXPECT_TRUE(tool.StopServiceByImagePath("c:\\agent\\AGENT.exe"));
  EXPECT_EQ(m_.services.QueryStatus("AgentSvc")->state, ServiceState::Stopped);
  EXPECT_EQ(tool.ListView2.ItemText(agent, 2), "Stopped");
}

TEST_F(ServicePageTest, ToolWindowFiltersTab) {
  TfrmMain& tool = app_->ToolWindow();
  tool.ShowTab(TfrmMain::kFiltersTab);
  tool.Show();
  ::SetForegroundWindow(tool.Handle());
  Pump(150);
  Screenshot(tool.Handle(), "tool_window_filters");
  ASSERT_EQ(tool.ListView3.ItemCount(), 1);
  EXPECT_EQ(tool.ListView3.ItemText(0), "spy");
  EXPECT_EQ(tool.ListView3.ItemText(0, 1), "C:\\windows\\system32\\Drivers\\spy.sys");
  ASSERT_EQ(tool.ListView4.ItemCount(), 1);  // no System.ini
  EXPECT_FALSE(tool.ListView4.HasCheckBoxes());
  ASSERT_EQ(tool.ListView5.ItemCount(), 1);
  EXPECT_EQ(tool.ListView5.ItemText(0), "run=c:\\agent\\agent.exe");
  EXPECT_TRUE(tool.ListView5.IsChecked(0));

  // One real click turns the line off, the next on again.
  auto winIni = [&] {
    auto data = m_.files.ReadAll("C:\\windows\\win.ini");
    return data ? std::string(data->begin(), data->end()) : std::string("<none>");
  };
  ASSERT_TRUE(ClickCheckBox(tool.ListView5.Handle(), 0));
  Pump(150);
  EXPECT_EQ(winIni(), "[windows]\r\n;run=c:\\agent\\agent.exe\r\n");
  EXPECT_FALSE(tool.ListView5.IsChecked(0));
  EXPECT_EQ(tool.ListView5.ItemText(0), ";run=c:\\agent\\agent.exe");
  ASSERT_TRUE(ClickCheckBox(tool.ListView5.Handle(), 0));
  Pump(150);
  EXPECT_EQ(winIni(), "[windows]\r\nrun=c:\\agent\\agent.exe\r\n");
  EXPECT_TRUE(tool.ListView5.IsChecked(0));

  tool.ListView3.Select(0);
  tool.PopupMenu1Popup();
  EXPECT_TRUE(tool.PopupMenu1.IsItemEnabled(TfrmMain::kDetailCommand));
  m_.dialogs.QueueAnswer(platform::MessageAnswer::Yes);
  tool.DelKBf();
  EXPECT_EQ(tool.ListView3.ItemText(0), "No Keyboard Filter driver found!");
  EXPECT_TRUE(m_.files.FileExists("C:\\windows\\system32\\Drivers\\spy.sys.del"));
  // The placeholder is no driver: nothing to remove or show.
  tool.ListView3.Select(0);
  tool.PopupMenu1Popup();
  EXPECT_FALSE(tool.PopupMenu1.IsItemEnabled(TfrmMain::kRemoveCommand));
  EXPECT_FALSE(tool.PopupMenu1.IsItemEnabled(TfrmMain::kDetailCommand));
}

TEST_F(ServicePageTest, AnUnreadableFilterValueIsANoticeWithoutActions) {
  m_.registry.CreateKey(platform::RegRoot::LocalMachine, inspect::kKeyboardClassKey)
      ->WriteValue("UpperFilters", platform::RegValue::FromDword(7));
  TfrmMain& tool = app_->ToolWindow();
  tool.ScanKeyboardFilterDriver();
  tool.ShowTab(TfrmMain::kFiltersTab);
  ASSERT_EQ(tool.ListView3.ItemCount(), 1);
  EXPECT_EQ(tool.ListView3.ItemText(0), "UpperFilters can not be read!");
  tool.ListView3.Select(0);
  tool.PopupMenu1Popup();
  EXPECT_FALSE(tool.PopupMenu1.IsItemEnabled(TfrmMain::kRemoveCommand));
  EXPECT_FALSE(tool.PopupMenu1.IsItemEnabled(TfrmMain::kDetailCommand));
}

}  // namespace
}  // namespace morvanta::ui
