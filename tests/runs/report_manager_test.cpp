// The Report Manager's rows and actions on the fake machine: the six kinds in the window's
// order, the size column, the colours, the context menus the rows choose and every action;
// then, on every machine, ending a program that runs twice and a command that is no file,
// and under Wine deleting the file of a running service.
#include <gtest/gtest.h>

#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "app/session.h"
#include "contract_test.h"
#include "common/memory_views.h"
#include "inspect/services.h"
#include "platform/fake/fake_platform.h"
#include "platform/text.h"
#include "runs/full_report.h"
#include "runs/report_manager.h"
#include "scoped_service.h"

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

TEST_F(ReportRows, ColoursOfTheCells) {
  const ReportRow present{"RegStartup", "C:\\Tools\\empty.exe", "0", ""};
  const ReportRow command{"RegStartup", "C:\\Tools\\agent.exe /tray", "0", ""};
  const ReportRow sized{"Proc", "C:\\Tools\\agent.exe", "9", ""};
  platform::Files& files = fake.files;
  // The size "0": red when its file is there (empty or unreadable), blue when not.
  EXPECT_EQ(ColoursOf(files, present, false, kSizeColumn), (CellColours{false, CellText::EmptyFile}));
  EXPECT_EQ(ColoursOf(files, command, false, kSizeColumn), (CellColours{false, CellText::MissingFile}));
  EXPECT_EQ(ColoursOf(files, sized, false, kSizeColumn), (CellColours{false, CellText::Normal}));
  // Only the size cell: the kind, path and key of the same rows in the text colour.
  for (const ReportRow* row : {&present, &command, &sized})
    for (int column : {kKindColumn, kPathColumn, kKeyColumn}) {
      EXPECT_EQ(ColoursOf(files, *row, false, column), (CellColours{false, CellText::Normal}))
          << row->path << ", column " << column;
      EXPECT_EQ(ColoursOf(files, *row, true, column), (CellColours{true, CellText::Normal}))
          << row->path << ", column " << column;
    }
  // Ticked: yellow in every cell whatever the size, the size keeping its colour.
  EXPECT_EQ(ColoursOf(files, present, true, kSizeColumn), (CellColours{true, CellText::EmptyFile}));
  EXPECT_EQ(ColoursOf(files, command, true, kSizeColumn), (CellColours{true, CellText::MissingFile}));
  EXPECT_EQ(ColoursOf(files, sized, true, kSizeColumn), (CellColours{true, CellText::Normal}));
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

// The actions over the table as the window shows it, each row ticked or selected by hand.
class ReportActions : public ReportRows {
 protected:
  ReportActions() : manager(session, {table, prompts, pump}) {}
  int RowOf(const std::string& kind, const std::string& path) {
    for (int row = 0; row < table.RowCount(); ++row)
      if (const ReportRow* r = manager.RowAt(row); r && r->kind == kind && platform::EqualsNoCase(r->path, path))
        return row;
    return -1;
  }
  bool ValueThere(const std::string& name) {
    auto key = fake.registry.OpenKey(RegRoot::CurrentUser, kRun, platform::RegAccess::Read);
    return key && key->ReadValue(name).has_value();
  }
  std::vector<std::string> Seen() const { return prompts.Texts(); }

  common::MemoryCheckList table;
  ReportManager manager;
};

TEST_F(ReportActions, DeleteSelectedEndsDeletesAndRemovesTheValues) {
  manager.Refresh();
  const int row = RowOf("Proc", "C:\\Tools\\agent.exe");
  ASSERT_GE(row, 0);
  table.SetChecked(row, true);

  prompts.Answer({false});  // No: nothing happens
  manager.DeleteSelected();
  EXPECT_TRUE(fake.files.Exists("C:\\Tools\\agent.exe"));
  EXPECT_EQ(Seen(), std::vector<std::string>{"Do you want to delete selected items?"});

  prompts.Answer({true});
  manager.DeleteSelected();
  EXPECT_FALSE(fake.files.Exists("C:\\Tools\\agent.exe"));
  auto snapshot = fake.processes.Snapshot();
  ASSERT_TRUE(snapshot);
  for (const auto& e : *snapshot) EXPECT_FALSE(platform::EqualsNoCase(e.exeName, "agent.exe"));
  EXPECT_FALSE(ValueThere("agent"));  // its startup value went with it
  EXPECT_TRUE(ValueThere("empty"));
  EXPECT_EQ(RowOf("Proc", "C:\\Tools\\agent.exe"), -1);
  EXPECT_EQ(Seen().size(), 2u);  // no error box
}

TEST_F(ReportActions, ACommandWithArgumentsIsNeverGuessedAndFailsAfterTheRetries) {
  manager.Refresh();
  const int row = RowOf("RegStartup", "C:\\Tools\\agent.exe /tray");
  ASSERT_GE(row, 0);
  EXPECT_EQ(manager.SelectItem(row), ReportMenu::StartupValue);
  table.SetChecked(row, true);
  const uint32_t before = fake.system.TickCount();
  prompts.Answer({true});
  manager.DeleteFiles();
  EXPECT_GT(fake.system.TickCount() - before, 4000u);  // the whole retry time
  EXPECT_EQ(Seen(), (std::vector<std::string>{"Do you want to delete selected files?",
                                              "Cannot delete file C:\\Tools\\agent.exe /tray."}));
  ASSERT_EQ(prompts.shown.size(), 2u);
  EXPECT_EQ(prompts.shown[1].kind, common::PromptKind::Error);
  EXPECT_TRUE(fake.files.Exists("C:\\Tools\\agent.exe"));  // the program the command names stays
  ASSERT_EQ(RowOf("RegStartup", "C:\\Tools\\agent.exe /tray"), row);
  EXPECT_TRUE(table.IsChecked(row));  // still ticked
}

TEST_F(ReportActions, AFileHeldOpenStaysAndTheWalkGoesOn) {
  manager.Refresh();
  auto held = fake.files.Open("C:\\Tools\\svc.exe", platform::OpenMode::Read);
  ASSERT_TRUE(held);
  const int service = RowOf("Service", "C:\\Tools\\svc.exe");
  const int empty = RowOf("RegStartup", "C:\\Tools\\empty.exe");
  ASSERT_GE(service, 0);
  ASSERT_GE(empty, 0);
  table.SetChecked(service, true);
  table.SetChecked(empty, true);
  prompts.Answer({true});
  manager.DeleteSelected();
  EXPECT_TRUE(fake.files.Exists("C:\\Tools\\svc.exe"));
  EXPECT_FALSE(fake.files.Exists("C:\\Tools\\empty.exe"));
  EXPECT_EQ(prompts.CountOf(common::Msg::None), 2u);  // the question and one error box
  EXPECT_EQ(Seen().back(), "Cannot delete file c:\\tools\\svc.exe.");
  EXPECT_GE(RowOf("Service", "C:\\Tools\\svc.exe"), 0);
  EXPECT_EQ(RowOf("RegStartup", "C:\\Tools\\empty.exe"), -1);
}

TEST_F(ReportActions, TerminateTheSelectedProgramRunningTwiceFromTwoFolders) {
  // The fixture's agent runs from the Tools folder; another copy runs from Other, holding its file.
  fake.files.PutFile("C:\\Other\\agent.exe", "MZ another agent");
  ASSERT_TRUE(fake.processes.Start("C:\\Other\\agent.exe"));
  manager.Refresh();
  const int row = RowOf("Proc", "C:\\Tools\\agent.exe");
  ASSERT_GE(row, 0);
  EXPECT_EQ(manager.SelectItem(row), ReportMenu::Process);
  manager.TerminateProcesses();  // nothing ticked: the selected row
  auto snapshot = fake.processes.Snapshot();
  ASSERT_TRUE(snapshot);
  for (const auto& e : *snapshot) EXPECT_FALSE(platform::EqualsNoCase(e.exeName, "agent.exe"));
  EXPECT_EQ(RowOf("Proc", "C:\\Tools\\agent.exe"), -1);
  EXPECT_TRUE(fake.files.Exists("C:\\Tools\\agent.exe"));  // ended, not deleted
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(ReportActions, DeleteValuesAndTheServiceMenu) {
  manager.Refresh();
  const int value = RowOf("RegStartup", "C:\\Tools\\empty.exe");
  ASSERT_GE(value, 0);
  manager.SelectItem(value);
  manager.DeleteValues();
  EXPECT_FALSE(ValueThere("empty"));
  EXPECT_TRUE(fake.files.Exists("C:\\Tools\\empty.exe"));
  EXPECT_EQ(RowOf("RegStartup", "C:\\Tools\\empty.exe"), -1);

  const int service = RowOf("Service", "C:\\Tools\\svc.exe");
  ASSERT_GE(service, 0);
  EXPECT_EQ(manager.SelectItem(service), ReportMenu::Service);
  prompts.Answer({true});
  manager.DeleteServiceFile();
  EXPECT_EQ(Seen(), std::vector<std::string>{"Do you want to delete selected file?"});
  EXPECT_FALSE(fake.files.Exists("C:\\Tools\\svc.exe"));
  EXPECT_EQ(RowOf("Service", "C:\\Tools\\svc.exe"), -1);
}

TEST_F(ReportActions, TheSelectedRowGoesNotAnotherOfTheSamePath) {
  // A startup value of the running agent's very path: a "Proc" and a "RegStartup" row alike.
  fake.registry.OpenKey(RegRoot::CurrentUser, kRun, platform::RegAccess::All)
      ->WriteValue("plain", RegValue::FromString("C:\\Tools\\agent.exe"));
  manager.Refresh();
  const int proc = RowOf("Proc", "C:\\Tools\\agent.exe");
  const int value = RowOf("RegStartup", "C:\\Tools\\agent.exe");
  ASSERT_GE(proc, 0);
  ASSERT_GT(value, proc);
  EXPECT_EQ(manager.SelectItem(value), ReportMenu::StartupValue);
  manager.DeleteValues();  // nothing ticked: the selected row
  EXPECT_FALSE(ValueThere("plain"));
  EXPECT_EQ(RowOf("RegStartup", "C:\\Tools\\agent.exe"), -1);
  EXPECT_EQ(RowOf("Proc", "C:\\Tools\\agent.exe"), proc);
}

TEST_F(ReportActions, TerminateServiceStopsAServiceOfAQuotedImagePath) {
  fake.files.PutFile("C:\\Tools\\quoted svc.exe", "MZ a service in a path with a blank");
  fake.services.Create({"mvquoted", "Morvanta Quoted Service", "\"C:\\Tools\\quoted svc.exe\" -run"});
  ASSERT_TRUE(fake.services.RequestStart("mvquoted"));
  ReloadInspectionLists(session, pump, prompts);
  manager.Refresh();
  const int row = RowOf("Service", "C:\\Tools\\quoted svc.exe");
  ASSERT_GE(row, 0);
  EXPECT_EQ(manager.SelectItem(row), ReportMenu::Service);
  manager.TerminateService();
  auto status = fake.services.QueryStatus("mvquoted");
  ASSERT_TRUE(status);
  EXPECT_EQ(status->state, platform::ServiceState::Stopped);
  EXPECT_TRUE(prompts.shown.empty());
}

// The actions on every machine: under Wine real processes (copies of the sleeper, named for
// this test) and a real Run value of the test's own, removed afterwards.
MORVANTA_CONTRACT_SUITE(ReportManagerOnMachine);

// A copy of the sleeper at `path`, running; ended by its id when the test is over.
class Sleeper {
 public:
  Sleeper(testing::Machine& m, const std::string& path) : p_(m.Get()) {
    auto helper = p_.files.ReadAll(m.HelperPath("sleeper.exe"));
    if (helper && p_.files.WriteAll(path, helper->data(), helper->size()))
      pid_ = p_.processes.Start("\"" + path + "\" 60").value_or(0);
  }
  ~Sleeper() {
    if (pid_ && Running()) {
      p_.processes.Terminate(pid_);
      p_.processes.WaitForExit(pid_, 5000);
    }
  }
  bool Started() const { return pid_ != 0; }
  bool Running() {
    auto snapshot = p_.processes.Snapshot();
    if (!snapshot) return false;
    for (const auto& e : *snapshot)
      if (e.pid == pid_) return true;
    return false;
  }
  uint32_t Pid() const { return pid_; }

 private:
  platform::Platform p_;
  uint32_t pid_ = 0;
};

class ManagerOnMachine {
 public:
  explicit ManagerOnMachine(testing::Machine& m)
      : session(m.Get(), m.Scratch() + "\\"), manager(session, {table, prompts, pump}) {
    m.Get().files.WriteAll(m.ScratchPath("RegBase.rgk"), std::string("1\r\n1\r\n") + kRun + "\r\nRun\r\n");
  }
  int RowOf(const std::string& kind, const std::string& path) {
    for (int row = 0; row < table.RowCount(); ++row)
      if (const ReportRow* r = manager.RowAt(row); r && r->kind == kind && platform::EqualsNoCase(r->path, path))
        return row;
    return -1;
  }

  app::Session session;
  common::MemoryCheckList table;
  common::ScriptedPrompts prompts{true};
  common::NoMessages pump;
  ReportManager manager;
};

TEST_P(ReportManagerOnMachine, TerminateEndsAProgramRunningTwiceFromTwoFolders) {
  auto p = P();
  ASSERT_TRUE(p.files.CreateDirectory(M().ScratchPath("a")));
  ASSERT_TRUE(p.files.CreateDirectory(M().ScratchPath("b")));
  const std::string name = "mvtwin" + M().Tag() + ".exe";
  Sleeper first(M(), M().ScratchPath("a\\" + name)), second(M(), M().ScratchPath("b\\" + name));
  ASSERT_TRUE(first.Started() && second.Started());
  ManagerOnMachine m(M());
  m.manager.Refresh();
  const int row = m.RowOf("Proc", M().ScratchPath("a\\" + name));
  ASSERT_GE(row, 0);
  EXPECT_GE(m.RowOf("Proc", M().ScratchPath("b\\" + name)), 0);
  EXPECT_EQ(m.manager.SelectItem(row), ReportMenu::Process);
  m.manager.TerminateProcesses();
  p.processes.WaitForExit(first.Pid(), 5000);
  p.processes.WaitForExit(second.Pid(), 5000);
  EXPECT_FALSE(first.Running());
  EXPECT_FALSE(second.Running());
  EXPECT_EQ(m.RowOf("Proc", M().ScratchPath("a\\" + name)), -1);
  EXPECT_TRUE(p.files.Exists(M().ScratchPath("a\\" + name)));  // ended, not deleted
}

TEST_P(ReportManagerOnMachine, ACommandWithArgumentsFailsAfterTheRetries) {
  auto p = P();
  const std::string program = M().ScratchPath("mvcmd.exe");
  ASSERT_TRUE(p.files.WriteAll(program, "MZ a program its Run value starts with arguments"));
  const std::string value = "MorvantaRows" + M().Tag();
  {
    auto key = p.registry.CreateKey(RegRoot::CurrentUser, kRun);
    ASSERT_TRUE(key && key->WriteValue(value, RegValue::FromString(program + " /tray")));
  }
  ManagerOnMachine m(M());
  m.manager.Refresh();
  const int row = m.RowOf("RegStartup", program + " /tray");
  if (auto key = p.registry.OpenKey(RegRoot::CurrentUser, kRun, platform::RegAccess::All))
    key->DeleteValue(value);  // the row is read; the machine has its key back as it was
  ASSERT_GE(row, 0);
  const ReportRow* r = m.manager.RowAt(row);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->size, "0");
  EXPECT_EQ(ColoursOf(p.files, *r, false, kSizeColumn).text, CellText::MissingFile);  // blue
  m.table.SetChecked(row, true);
  m.manager.DeleteFiles();
  EXPECT_EQ(m.prompts.Texts(), (std::vector<std::string>{"Do you want to delete selected files?",
                                                         "Cannot delete file " + program + " /tray."}));
  EXPECT_TRUE(p.files.Exists(program));
  EXPECT_EQ(m.RowOf("RegStartup", program + " /tray"), row);
}

// A service of the test's own running from a copy of the service helper; stopped, removed
// and its file deleted again when the test is over, whatever happened.
class RunningService {
 public:
  RunningService(testing::Machine& m, const std::string& key, const std::string& file,
                 const std::string& imagePath)
      : p_(m.Get()), key_(key), file_(file) {
    auto helper = p_.files.ReadAll(m.HelperPath("test_service.exe"));
    if (!helper || !p_.files.WriteAll(file_, helper->data(), helper->size())) return;
    service_.emplace(p_.services, platform::NewService{key_, "Morvanta Report Manager Service",
                                                       imagePath, platform::StartType::Manual});
    started_ = service_->Created() && inspect::StartServiceAndWait(p_, key_);
  }
  ~RunningService() {
    if (service_) {
      inspect::StopServiceAndWait(p_, key_);
      service_.reset();
    }
    p_.files.SetAttributes(file_, 0);
    p_.files.DeleteFile(file_);
  }
  bool Started() const { return started_; }
  bool Running() {
    auto status = p_.services.QueryStatus(key_);
    return status && status->state != platform::ServiceState::Stopped;
  }

 private:
  platform::Platform p_;
  std::string key_, file_;
  std::optional<testing::ScopedService> service_;
  bool started_ = false;
};

TEST_P(ReportManagerOnMachine, DeletingAServicesFileStopsTheService) {
  // Only a real service process holds its file while it runs, and only then must the
  // service be stopped before the file goes.
  if (!M().IsReal()) GTEST_SKIP() << "needs a real service process";
  auto p = P();
  const std::string key = "MorvantaRmSvc" + M().Tag();
  const std::string file = M().ScratchPath("mvrmsvc" + M().Tag() + ".exe");
  // Quoted, as installers register a path that may hold blanks.
  RunningService service(M(), key, file, "\"" + file + "\" " + key);
  ASSERT_TRUE(service.Started());
  ASSERT_TRUE(service.Running());

  ManagerOnMachine m(M());
  // The services page as last loaded: the service running.
  m.session.Lists().services = inspect::LoadServiceListing(p, m.pump);
  m.manager.Refresh();
  const int row = m.RowOf("Service", file);
  ASSERT_GE(row, 0);
  EXPECT_GE(m.RowOf("Proc", file), 0);  // its process runs too
  EXPECT_EQ(m.manager.SelectItem(row), ReportMenu::Service);
  m.manager.DeleteServiceFile();

  // Deleted within the retries: no error box after the question.
  EXPECT_EQ(m.prompts.Texts(), std::vector<std::string>{"Do you want to delete selected file?"});
  EXPECT_FALSE(p.files.Exists(file));
  EXPECT_FALSE(service.Running());  // stopped through the manager, not ended behind its back
  EXPECT_EQ(m.RowOf("Service", file), -1);
  EXPECT_GE(m.RowOf("Proc", file), 0);  // only the row acted on goes until the next refresh
}

}  // namespace
}  // namespace morvanta::runs
