// The Report Manager's rows on the fake machine: the six kinds in the window's order, the
// size column, the colours, and the context menus the rows choose.
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "app/session.h"
#include "common/memory_views.h"
#include "platform/fake/fake_platform.h"
#include "platform/text.h"
#include "runs/full_report.h"
#include "runs/report_manager.h"

namespace morvanta::runs {
namespace {

using platform::RegRoot;
using platform::RegValue;

constexpr char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class ReportRows : public ::testing::Test {
 protected:
  ReportRows() : session(fake.Get(), "C:\\Program\\") {
    auto& files = fake.files;
    files.PutFile("C:\\Program\\RegBase.rgk", std::string("1\r\n1\r\n") + kRun + "\r\nRun\r\n");
    files.PutFile("C:\\Tools\\agent.exe", "MZ agent!");
    files.PutFile("C:\\Tools\\empty.exe", "");
    fake.processes.AddProcess("agent.exe", std::string("C:\\Tools\\agent.exe"));
    fake.processes.AddProcess("gone.exe", std::string("C:\\Tools\\gone.exe"));  // no file: no row
    auto run = fake.registry.CreateKey(RegRoot::CurrentUser, kRun);
    run->WriteValue("agent", RegValue::FromString("C:\\Tools\\agent.exe /tray"));
    run->WriteValue("flags", RegValue::FromDword(1));  // not text: no row
    run->WriteValue("empty", RegValue::FromString("C:\\Tools\\empty.exe"));
    fake.registry.CreateKey(RegRoot::CurrentUser,
                            "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders")
        ->WriteValue("Startup", RegValue::FromString("C:\\Startup"));
    files.CreateDirectory("C:\\Startup");
    fake.shell.CreateShortcut("C:\\Startup\\Agent.lnk", "C:\\Tools\\agent.exe");
    fake.services.Create({"mvsvc", "Morvanta Test Service", "C:\\Tools\\svc.exe"});
    files.PutFile("C:\\Tools\\svc.exe", "MZ service");
    files.PutFile("C:\\windows\\system.ini", "[boot]\r\nload=c:\\tools\\agent.exe\r\n");
    ReloadInspectionLists(session, pump, prompts);
  }
  std::vector<std::string> Kinds(const std::vector<ReportRow>& rows) {
    std::vector<std::string> kinds;
    for (const auto& r : rows) kinds.push_back(r.kind);
    return kinds;
  }

  platform::fake::FakePlatform fake;
  app::Session session;
  common::ScriptedPrompts prompts{false};
  common::CountingPump pump;
};

TEST_F(ReportRows, EveryKindInTheWindowsOrder) {
  const auto rows = BuildReportRows(session, pump);
  // No autostart place of the registry holds anything on this machine.
  EXPECT_EQ(Kinds(rows), (std::vector<std::string>{"Proc", "RegStartup", "RegStartup", "Startup",
                                                   "Service", "System.ini"}));
  ASSERT_EQ(rows.size(), 6u);
  const std::string key = std::string("HKEY_CURRENT_USER\\") + kRun + "\\";
  const ReportRow expected[] = {
      {"Proc", "C:\\Tools\\agent.exe", "9", ""},
      // The data as stored: a command with arguments names no file, so its size is "0".
      {"RegStartup", "C:\\Tools\\agent.exe /tray", "0", key},
      {"RegStartup", "C:\\Tools\\empty.exe", "0", key},
      {"Startup", "c:\\tools\\agent.exe", "9", ""},
      {"Service", "c:\\tools\\svc.exe", "10", ""},
      {"System.ini", "c:\\tools\\agent.exe", "9", ""},
  };
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].kind, expected[i].kind) << i;
    EXPECT_TRUE(platform::EqualsNoCase(rows[i].path, expected[i].path)) << rows[i].path;
    EXPECT_EQ(rows[i].size, expected[i].size) << rows[i].path;
    EXPECT_EQ(rows[i].key, expected[i].key) << rows[i].path;
  }
  EXPECT_GE(pump.calls, 3u);  // before each row of the windows' lists
}

TEST_F(ReportRows, ColoursBySizeAndPresence) {
  const ReportRow present{"RegStartup", "C:\\Tools\\empty.exe", "0", ""};
  const ReportRow command{"RegStartup", "C:\\Tools\\agent.exe /tray", "0", ""};
  const ReportRow sized{"Proc", "C:\\Tools\\agent.exe", "9", ""};
  platform::Files& files = fake.files;
  EXPECT_EQ(ColourOf(files, present, false), RowColour::EmptyFile);    // red
  EXPECT_EQ(ColourOf(files, command, false), RowColour::MissingFile);  // blue
  EXPECT_EQ(ColourOf(files, sized, false), RowColour::Normal);
  for (const ReportRow* row : {&present, &command, &sized})
    EXPECT_EQ(ColourOf(files, *row, true), RowColour::Ticked);  // yellow whatever the size
}

TEST_F(ReportRows, ContextMenusChosenByTheRows) {
  const ReportRow proc{"Proc", "a", "1", ""}, value{"RegStartup", "b", "1", "k"},
      service{"Service", "c", "1", ""}, other{"Clsid", "d", "1", ""};
  EXPECT_EQ(MenuOfSelection(proc), ReportMenu::Process);
  EXPECT_EQ(MenuOfSelection(value), ReportMenu::StartupValue);
  EXPECT_EQ(MenuOfSelection(service), ReportMenu::Service);
  EXPECT_EQ(MenuOfSelection(other), ReportMenu::General);

  const struct {
    std::vector<const ReportRow*> ticked;
    ReportMenu menu;
  } cases[] = {
      {{}, ReportMenu::General},
      {{&proc}, ReportMenu::Process},
      {{&proc, &proc}, ReportMenu::Process},
      {{&value}, ReportMenu::StartupValue},
      {{&proc, &value}, ReportMenu::General},  // one of each leaves the general menu
      {{&value, &proc}, ReportMenu::General},
      {{&proc, &value, &proc}, ReportMenu::Process},
      {{&proc, &service}, ReportMenu::General},  // any other kind ends the walk
      {{&service}, ReportMenu::General},         // never the service menu this way
      {{&other, &proc}, ReportMenu::General},
  };
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(MenuOfTicked(cases[i].ticked), cases[i].menu) << "case " << i;
}

}  // namespace
}  // namespace morvanta::runs
