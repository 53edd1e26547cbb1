// The full report log on the fake machine, line by line: every section with all four
// switches on, the minimal file with all of them off, and the Log Optimizer's build with its
// question, its abort through a second click, its error path and the return to idle.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/os_name.h"
#include "contract_test.h"
#include "scoped_service.h"
#include "app/session.h"
#include "common/memory_views.h"
#include "inspect/keyboard_filters.h"
#include "platform/fake/fake_platform.h"
#include "platform/text.h"
#include "runs/full_report.h"
#include "update/update_list.h"

namespace morvanta::runs {
namespace {

using platform::RegRoot;
using platform::RegValue;

constexpr char kFolder[] = "C:\\Program\\";
constexpr char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kAgent[] = "C:\\Program Files\\Agent\\agent.exe";
constexpr char kWorm[] = "C:\\bad\\worm.exe";

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  if (start < text.size()) lines.push_back(text.substr(start) + "<no CR LF>");
  return lines;
}

// The lines of the section that begins with the line starting with `heading`, up to the next
// empty line or the closing line; "<none>" when there is no such section.
std::vector<std::string> Section(const std::vector<std::string>& lines, const std::string& heading) {
  auto it = std::find_if(lines.begin(), lines.end(),
                         [&](const std::string& l) { return l.rfind(heading, 0) == 0; });
  if (it == lines.end()) return {"<none>"};
  auto end = std::find_if(it, lines.end(), [](const std::string& l) { return l.empty() || l == "Finished..."; });
  return {it, end};
}

class RecordedReportControls : public ReportControls {
 public:
  void HideOptions() override { ++hidden; }
  void ShowBuilding(bool b) override { building = b; }
  void SetMainEnabled(bool e) override {
    mainEnabled = e;
    if (!e) ++disabled;
  }
  int hidden = 0, disabled = 0;
  bool building = false, mainEnabled = true;
};

class FullReportTest : public ::testing::Test {
 protected:
  FullReportTest() : session(fake.Get(), kFolder) {
    auto& files = fake.files;
    files.CreateDirectory("C:\\Program");
    files.PutFile(std::string(kFolder) + "RegBase.rgk", std::string("1\r\n1\r\n") + kRun + "\r\nRun\r\n");
    fake.system.SetDateText("11.12.2026");
    fake.system.SetTimeText("03:04:05");
    // A startup value, its program running.
    Key(RegRoot::CurrentUser, kRun)->WriteValue("mvagent", RegValue::FromString(std::string(kAgent) + " /tray"));
    files.CreateDirectory("C:\\Program Files");
    files.CreateDirectory("C:\\Program Files\\Agent");
    files.PutFile(kAgent, "MZ agent program");
    fake.processes.AddProcess("agent.exe", std::string(kAgent));
    // A worm the database names.
    files.CreateDirectory("C:\\bad");
    files.PutFile(kWorm, "MZ worm program body");
    const std::string db = "Thursday, 10.12.2026, Upd 0042   \r\n/0/[Worm.Report]:" + std::string(kWorm) +
                           "\r\n_end\r\n";
    session.Database().SetText(std::vector<uint8_t>(db.begin(), db.end()));
    // A keyboard filter without its file, a Win.ini run line, no System.ini.
    Key(RegRoot::LocalMachine, inspect::kKeyboardClassKey)
        ->WriteValue("UpperFilters", RegValue::FromMultiString({"kbdclass", "mvfilt"}));
    files.PutFile("C:\\windows\\win.ini", "[windows]\r\nrun=c:\\tools\\tray.exe\r\n");
    // A service.
    fake.services.Create({"mvsvc", "Morvanta Test Service", "C:\\helpers\\svc.exe"});
  }

  std::unique_ptr<platform::RegistryKey> Key(RegRoot root, const std::string& path) {
    return fake.registry.CreateKey(root, path);
  }
  std::string ReportPath() const { return std::string(kFolder) + kReportFileName; }
  std::vector<std::string> ReportLines() {
    const auto bytes = fake.files.ReadAll(ReportPath());
    return bytes ? SplitLines(std::string(bytes->begin(), bytes->end())) : std::vector<std::string>{"<no file>"};
  }
  ReportOutcome Write(const ReportSections& sections) {
    ReportFile file(fake.files);
    HeadlessReportPages pages(session, file, prompts, pump);
    return WriteFullReport(session, sections, file, pages, pump, ReportPath());
  }
  std::vector<std::string> Header() {
    return {std::string(update::kProgramVersion) + " full information log file.",
            "Generated at: 11.12.2026 on 03:04:05",
            app::OsDisplayName(fake.Get()),
            kReportMakerLines[0],
            kReportMakerLines[1],
            kReportMakerLines[2]};
  }
  std::vector<std::string> DetailReport() {
    std::vector<std::string> lines{"Detail report: (" +
                                   std::to_string(session.RunningObjects().Lines().size()) + ")"};
    for (const auto& l : session.RunningObjects().Lines()) lines.push_back(l);
    return lines;
  }

  platform::fake::FakePlatform fake;
  app::Session session;
  common::ScriptedPrompts prompts{true};
  common::CountingPump pump;
};

TEST_F(FullReportTest, EverySectionInOrderWithAllSwitchesOn) {
  ASSERT_EQ(Write({}), ReportOutcome::Written);
  EXPECT_FALSE(session.Scan().ReportInProgress);

  const std::string agent = kAgent, worm = kWorm, run = kRun;
  std::vector<std::string> expected = Header();
  const std::vector<std::string> body = {
      "",
      // The quick scan in report mode, its own empty line first.
      "", "You have some viruses in your computer.",
      "Please Scan your computer with Morvanta Pro to remove discovered viruses.", "Virus list:",
      "Infected with Worm.Report - File " + worm,
      "",
      // The process page, with its empty line.
      "Running processes: (1)", agent, "",
      "Startup files:", "HKEY_CURRENT_USER\\" + run + "\\mvagent", "[" + agent + " /tray]"};
  expected.insert(expected.end(), body.begin(), body.end());
  expected.push_back("");
  for (const auto& l : DetailReport()) expected.push_back(l);
  const std::vector<std::string> tail = {
      "", "Startup folder: (1)", "Startup name: No startup program found!",
      "", "Win.ini Startup: (1)", "Path: run=c:\\tools\\tray.exe",
      // The System.ini heading is catalogue entry 188, worded as the Win.ini one.
      "", "Win.ini Startup: (1)", "Path: Can not read C:\\windows\\System.ini!",
      "", "Keyboard drivers: (1)", "Name: mvfilt", "Path: File not found (No file)",
      "", "Services: (1)", "Service Name: Morvanta Test Service [Stopped], ",
      "Path: C:\\helpers\\svc.exe",
      "Finished..."};
  expected.insert(expected.end(), tail.begin(), tail.end());
  EXPECT_EQ(ReportLines(), expected);

  // The inventory holds the running agent, its startup value and the service's file.
  const auto detail = DetailReport();
  auto has = [&](const std::string& prefix) {
    return std::any_of(detail.begin(), detail.end(),
                       [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
  };
  EXPECT_TRUE(has("Proc " + agent + "[")) << ::testing::PrintToString(detail);
  // Startup values are listed by their resolved, lower-cased path.
  EXPECT_TRUE(has("RegRun " + platform::AsciiLower(agent) + "[")) << ::testing::PrintToString(detail);
  EXPECT_TRUE(fake.shell.Opened().empty());  // writing alone opens nothing
}

TEST_F(FullReportTest, AllSwitchesOffGiveTheMinimalFile) {
  ASSERT_EQ(Write({false, false, false, false}), ReportOutcome::Written);
  std::vector<std::string> expected = Header();
  expected.push_back("");
  expected.push_back("");
  expected.push_back("");
  for (const auto& l : DetailReport()) expected.push_back(l);
  for (const char* l : {"", "Keyboard drivers: (1)", "Name: mvfilt", "Path: File not found (No file)",
                        "Finished..."})
    expected.push_back(l);
  EXPECT_EQ(ReportLines(), expected);
  EXPECT_TRUE(session.Scan().Alerts.Empty());  // no quick scan ran
}

TEST_F(FullReportTest, PlaceholderAndPartRowsOfTheTailLists) {
  // No keyboard filter: the placeholder row has a name only. A service that cannot be
  // opened: its name with empty brackets, then the row's notice as its path.
  fake.registry.DeleteKeyTree(RegRoot::LocalMachine, inspect::kKeyboardClassKey);
  fake.services.SetConfigError("mvsvc", platform::ConfigQueryError::CannotOpen);
  // A present driver file is written without the note.
  ASSERT_EQ(Write({true, true, false, false}), ReportOutcome::Written);
  const auto lines = ReportLines();
  EXPECT_EQ(Section(lines, "Keyboard drivers: ("),
            (std::vector<std::string>{"Keyboard drivers: (1)", "Name: No Keyboard Filter driver found!"}));
  EXPECT_EQ(Section(lines, "Services: ("),
            (std::vector<std::string>{"Services: (1)", "Service Name: Morvanta Test Service [], ",
                                      "Path: Can not open service!"}));

  // A Startup-folder file and a filter whose driver is there.
  Key(RegRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders")
      ->WriteValue("Startup", RegValue::FromString("C:\\Startup"));
  fake.files.CreateDirectory("C:\\Startup");
  ASSERT_TRUE(fake.shell.CreateShortcut("C:\\Startup\\Agent.lnk", kAgent));
  Key(RegRoot::LocalMachine, inspect::kKeyboardClassKey)
      ->WriteValue("UpperFilters", RegValue::FromMultiString({"kbdclass", "mvfilt"}));
  fake.files.PutFile("C:\\windows\\system32\\drivers\\mvfilt.sys", "a driver file of some size");
  ASSERT_EQ(Write({true, false, false, false}), ReportOutcome::Written);
  const auto again = ReportLines();
  EXPECT_EQ(Section(again, "Startup folder: ("),
            (std::vector<std::string>{"Startup folder: (1)", "Startup name: Agent.lnk",
                                      std::string("Command: ") + kAgent}));
  const auto filters = Section(again, "Keyboard drivers: (");
  ASSERT_EQ(filters.size(), 3u);
  EXPECT_EQ(filters[1], "Name: mvfilt");
  EXPECT_EQ(filters[2], "Path: C:\\windows\\system32\\Drivers\\mvfilt.sys");
  EXPECT_EQ(Section(again, "Services: ("), std::vector<std::string>{"<none>"});
}

TEST_F(FullReportTest, BuildAsksWritesOpensAndReturnsToIdle) {
  RecordedReportControls controls;
  ReportBuilder builder(session, prompts, pump, controls);
  bool sawBuilding = false;
  pump.onPump = [&](size_t) { sawBuilding = sawBuilding || (controls.building && builder.Building()); };

  // No: nothing written, idle again.
  prompts.Answer({false});
  EXPECT_EQ(builder.BuildOrAbort(), ReportOutcome::Aborted);
  EXPECT_FALSE(fake.files.Exists(ReportPath()));
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, "Do you want to build full report?");
  EXPECT_EQ(controls.hidden, 1);

  // Yes: the whole file, opened with the shell.
  prompts.Answer({true});
  EXPECT_EQ(builder.BuildOrAbort(), ReportOutcome::Written);
  EXPECT_TRUE(sawBuilding);
  EXPECT_EQ(ReportLines().back(), "Finished...");
  EXPECT_EQ(fake.shell.Opened(), std::vector<std::string>{ReportPath()});
  EXPECT_FALSE(controls.building);
  EXPECT_TRUE(controls.mainEnabled);
  EXPECT_FALSE(session.Scan().ReportInProgress);
  EXPECT_EQ(prompts.shown.size(), 2u);  // the question only

  // The switches count: a build without processes has no process section.
  builder.sections.processes = false;
  EXPECT_EQ(builder.BuildOrAbort(), ReportOutcome::Written);
  EXPECT_EQ(Section(ReportLines(), "Running processes: ("), std::vector<std::string>{"<none>"});
}

TEST_F(FullReportTest, SecondClickDuringTheBuildAbortsIt) {
  RecordedReportControls controls;
  ReportBuilder builder(session, prompts, pump, controls);
  int clicks = 0;
  pump.onPump = [&](size_t) {
    if (builder.Building() && clicks++ == 0) {
      EXPECT_EQ(builder.BuildOrAbort(), ReportOutcome::Aborted);
    }
  };
  EXPECT_EQ(builder.BuildOrAbort(), ReportOutcome::Aborted);
  EXPECT_EQ(clicks > 0, true);
  ASSERT_EQ(prompts.shown.size(), 2u);
  EXPECT_EQ(prompts.shown[1].text, "Log process aborted!");
  EXPECT_EQ(prompts.shown[1].kind, common::PromptKind::Information);
  const auto lines = ReportLines();
  EXPECT_EQ(std::find(lines.begin(), lines.end(), "Finished..."), lines.end());
  EXPECT_TRUE(fake.shell.Opened().empty());
  EXPECT_FALSE(controls.building);
  EXPECT_TRUE(controls.mainEnabled);
  EXPECT_FALSE(session.Scan().ReportInProgress);
  EXPECT_FALSE(builder.Building());
}

TEST_F(FullReportTest, FileThatCannotBeWrittenEndsWithTheErrorBox) {
  app::Session elsewhere(fake.Get(), "C:\\No such folder\\");
  RecordedReportControls controls;
  ReportBuilder builder(elsewhere, prompts, pump, controls);
  EXPECT_EQ(builder.BuildOrAbort(), ReportOutcome::Failed);
  ASSERT_EQ(prompts.shown.size(), 2u);
  EXPECT_EQ(prompts.shown[1].text, "Error writing log file!");
  EXPECT_EQ(prompts.shown[1].kind, common::PromptKind::Error);
  EXPECT_EQ(controls.disabled, 1);
  EXPECT_TRUE(controls.mainEnabled);
  EXPECT_FALSE(controls.building);
  EXPECT_FALSE(elsewhere.Scan().ReportInProgress);
  EXPECT_TRUE(fake.shell.Opened().empty());
}

// A real report on every machine: under Wine the real registry's Run key with a value of the
// test's own (removed afterwards), the real processes and the real inventory.
MORVANTA_CONTRACT_SUITE(FullReportOnMachine);

// A value of the test's own in HKEY_CURRENT_USER's Run key, there for the test's span.
class PlantedRunValue {
 public:
  PlantedRunValue(platform::Registry& registry, std::string name, const std::string& data)
      : registry_(registry), name_(std::move(name)) {
    auto key = registry_.CreateKey(RegRoot::CurrentUser, kRun);
    planted_ = key && key->WriteValue(name_, RegValue::FromString(data));
  }
  ~PlantedRunValue() {
    if (auto key = registry_.OpenKey(RegRoot::CurrentUser, kRun, platform::RegAccess::All))
      key->DeleteValue(name_);
  }
  bool Planted() const { return planted_; }

 private:
  platform::Registry& registry_;
  std::string name_;
  bool planted_ = false;
};

// A value put back as it was afterwards: its old type and bytes, or no value.
class RestoredValue {
 public:
  RestoredValue(platform::Registry& registry, RegRoot root, std::string key, std::string name)
      : registry_(registry), root_(root), key_(std::move(key)), name_(std::move(name)) {
    if (auto k = registry_.OpenKey(root_, key_, platform::RegAccess::Read)) {
      keyExisted_ = true;
      original_ = k->ReadValue(name_);
    }
  }
  ~RestoredValue() {
    if (!keyExisted_) {
      registry_.DeleteKeyTree(root_, key_);
      return;
    }
    auto k = registry_.OpenKey(root_, key_);
    if (!k) return;
    if (original_)
      k->WriteValue(name_, *original_);
    else
      k->DeleteValue(name_);
  }
  const std::optional<RegValue>& Original() const { return original_; }

 private:
  platform::Registry& registry_;
  RegRoot root_;
  std::string key_, name_;
  bool keyExisted_ = false;
  std::optional<RegValue> original_;
};

// A file put back as it was afterwards (or removed when there was none).
class RestoredFile {
 public:
  RestoredFile(platform::Files& files, std::string path) : files_(files), path_(std::move(path)) {
    original_ = files_.ReadAll(path_);
  }
  ~RestoredFile() {
    if (original_)
      files_.WriteAll(path_, original_->data(), original_->size());
    else
      files_.DeleteFile(path_);
  }
  std::string Text() const {
    return original_ ? std::string(original_->begin(), original_->end()) : std::string();
  }

 private:
  platform::Files& files_;
  std::string path_;
  std::optional<std::vector<uint8_t>> original_;
};

TEST_P(FullReportOnMachine, RealReportWithAPlantedRunValue) {
  auto p = P();
  const std::string folder = M().Scratch() + "\\";
  ASSERT_TRUE(p.files.WriteAll(folder + "RegBase.rgk", std::string("1\r\n1\r\n") + kRun + "\r\nRun\r\n"));
  const std::string program = M().ScratchPath("mvreport-agent.exe");
  ASSERT_TRUE(p.files.WriteAll(program, "MZ a program of the test's own, started by its Run value"));
  const std::string worm = M().ScratchPath("mvreport-worm.exe");
  ASSERT_TRUE(p.files.WriteAll(worm, "MZ a file the test's database names"));
  const std::string name = "MorvantaReport" + M().Tag();
  PlantedRunValue run(p.registry, name, program);
  ASSERT_TRUE(run.Planted());

  // A shortcut of the test's own in the user's Startup folder (the fake's made for it).
  const std::string shellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  RestoredValue startupFolder(p.registry, RegRoot::CurrentUser, shellFolders, "Startup");
  std::string startupDir;
  if (startupFolder.Original()) startupDir = startupFolder.Original()->AsText();
  if (startupDir.empty() || !M().IsReal()) {
    startupDir = M().ScratchPath("Startup");
    ASSERT_TRUE(p.files.CreateDirectory(startupDir));
    ASSERT_TRUE(p.registry.CreateKey(RegRoot::CurrentUser, shellFolders)
                    ->WriteValue("Startup", RegValue::FromString(startupDir)));
  }
  const std::string linkName = "mvreport" + M().Tag() + ".lnk";
  const std::string link = startupDir + "\\" + linkName;
  ASSERT_TRUE(p.shell.CreateShortcut(link, program));
  struct LinkRemover {
    platform::Files& files;
    std::string path;
    ~LinkRemover() { files.DeleteFile(path); }
  } linkRemover{p.files, link};

  // A keyboard filter without its file, behind the class's own first name.
  RestoredValue filters(p.registry, RegRoot::LocalMachine, inspect::kKeyboardClassKey, "UpperFilters");
  ASSERT_TRUE(p.registry.CreateKey(RegRoot::LocalMachine, inspect::kKeyboardClassKey)
                  ->WriteValue("UpperFilters", RegValue::FromMultiString({"kbdclass", "mvrptflt"})));

  // A Win.ini run line.
  const std::string winIni = p.folders.WindowsDirectory() + "\\win.ini";
  RestoredFile restoredWinIni(p.files, winIni);
  ASSERT_TRUE(p.files.WriteAll(winIni, restoredWinIni.Text() + "\r\n[windows]\r\nrun=" + program + "\r\n"));

  // A service of the test's own, stopped.
  const std::string servicePath = "\"" + M().HelperPath("test_service.exe") + "\" MorvantaReportSvc";
  testing::ScopedService service(p.services, {"MorvantaReportSvc", "Morvanta Report Service",
                                              servicePath, platform::StartType::Manual});
  ASSERT_TRUE(service.Created());

  app::Session session(p, folder);
  const std::string db = "Thursday, 10.12.2026, Upd 0042   \r\n/0/[Worm.Planted]:" + worm + "\r\n_end\r\n";
  session.Database().SetText(std::vector<uint8_t>(db.begin(), db.end()));
  common::ScriptedPrompts prompts{false};
  common::NoMessages pump;
  ReportFile file(p.files);
  HeadlessReportPages pages(session, file, prompts, pump);
  const std::string path = folder + kReportFileName;
  ASSERT_EQ(WriteFullReport(session, {}, file, pages, pump, path), ReportOutcome::Written);

  const auto bytes = p.files.ReadAll(path);
  ASSERT_TRUE(bytes);
  const auto lines = SplitLines(std::string(bytes->begin(), bytes->end()));
  ASSERT_GT(lines.size(), 12u);
  EXPECT_EQ(lines[0], std::string(update::kProgramVersion) + " full information log file.");
  EXPECT_EQ(lines[1], "Generated at: " + p.system.ShortDateText() + " on " + lines[1].substr(lines[1].rfind(" on ") + 4));
  EXPECT_EQ(lines[2], app::OsDisplayName(p));
  EXPECT_EQ(lines[3], kReportMakerLines[0]);
  EXPECT_EQ(lines.back(), "Finished...");

  EXPECT_EQ(Section(lines, "You have some"),
            (std::vector<std::string>{"You have some viruses in your computer.",
                                      "Please Scan your computer with Morvanta Pro to remove discovered viruses.",
                                      "Virus list:", "Infected with Worm.Planted - File " + worm}));
  // The startup section holds the planted value and its data.
  const auto startup = Section(lines, "Startup files:");
  const auto at = std::find(startup.begin(), startup.end(), "HKEY_CURRENT_USER\\" + std::string(kRun) + "\\" + name);
  ASSERT_NE(at, startup.end()) << ::testing::PrintToString(startup);
  ASSERT_NE(at + 1, startup.end());
  EXPECT_EQ(*(at + 1), "[" + program + "]");
  // The inventory lists the program with its digest and size.
  const auto detail = Section(lines, "Detail report: (");
  ASSERT_GT(detail.size(), 1u);
  EXPECT_EQ(detail[0], "Detail report: (" + std::to_string(detail.size() - 1) + ")");
  EXPECT_TRUE(std::any_of(detail.begin(), detail.end(), [&](const std::string& l) {
    return platform::StartsWith(platform::AsciiLower(l), platform::AsciiLower("RegRun " + program + "["));
  })) << ::testing::PrintToString(detail);
  // The count of each counted section is its number of rows.
  const auto processes = Section(lines, "Running processes: (");
  EXPECT_EQ(processes[0], "Running processes: (" + std::to_string(processes.size() - 1) + ")");
  auto has = [&](const std::vector<std::string>& section, const std::string& line) {
    return std::any_of(section.begin(), section.end(),
                       [&](const std::string& l) { return platform::EqualsNoCase(l, line); });
  };
  const auto startupFolders = Section(lines, "Startup folder: (");
  EXPECT_EQ(startupFolders[0],
            "Startup folder: (" + std::to_string((startupFolders.size() - 1) / 2) + ")");
  const auto named = std::find(startupFolders.begin(), startupFolders.end(), "Startup name: " + linkName);
  ASSERT_NE(named, startupFolders.end()) << ::testing::PrintToString(startupFolders);
  ASSERT_NE(named + 1, startupFolders.end());
  EXPECT_TRUE(platform::EqualsNoCase(*(named + 1), "Command: " + program)) << *(named + 1);
  const auto win = Section(lines, "Win.ini Startup: (");
  EXPECT_EQ(win[0], "Win.ini Startup: (" + std::to_string(win.size() - 1) + ")");
  EXPECT_TRUE(has(win, "Path: run=" + program)) << ::testing::PrintToString(win);
  EXPECT_EQ(Section(lines, "Keyboard drivers: ("),
            (std::vector<std::string>{"Keyboard drivers: (1)", "Name: mvrptflt",
                                      "Path: File not found (No file)"}));
  const auto services = Section(lines, "Services: (");
  EXPECT_EQ(services[0], "Services: (" + std::to_string((services.size() - 1) / 2) + ")");
  const auto svc = std::find(services.begin(), services.end(),
                             "Service Name: Morvanta Report Service [Stopped], ");
  ASSERT_NE(svc, services.end()) << ::testing::PrintToString(services);
  ASSERT_NE(svc + 1, services.end());
  EXPECT_EQ(*(svc + 1), "Path: " + servicePath);
  p.files.DeleteFile(path);
}

}  // namespace
}  // namespace morvanta::runs
