#include "runs/full_report.h"

#include <exception>

#include "app/os_name.h"
#include "inspect/ini_lines.h"
#include "inspect/keyboard_filters.h"
#include "inspect/process_manager.h"
#include "inspect/running_objects.h"
#include "inspect/services.h"
#include "inspect/startup_page.h"
#include "inspect/startup_programs.h"
#include "morvanta_version.h"
#include "remedy/regbase_file.h"
#include "runs/quick_scan.h"
#include "scan/path_tokens.h"
#include "update/update_list.h"

namespace morvanta::runs {

using common::Msg;
using common::PromptKind;

const char* const kReportMakerLines[3] = {
    "Morvanta Pro " MORVANTA_VERSION
    " - malware detection and removal for Windows workstations.",
    "This log lists what runs and starts automatically on this computer.",
    "Send it to Morvanta Pro support when you are asked for it.",
};

namespace {

// What the tool window shows in an empty Startup-folder list.
constexpr char kNoStartupProgram[] = "No startup program found!";

std::string Count(size_t n) { return std::to_string(n); }

// The status cell of a service row as the main window shows it; empty for a row that was
// not read completely (a service that could not be opened or queried, a notice row).
std::string MainStatusText(const common::MessageCatalog& catalog, const inspect::ServiceRow& row) {
  if (row.IsComplete() && row.state == inspect::ServiceRunState::Running)
    return catalog.Text(Msg::Running);
  if (row.IsComplete() && row.state == inspect::ServiceRunState::Stopped)
    return catalog.Text(Msg::Stopped);
  return inspect::StatusCellText(row);
}

}  // namespace

bool ReportFile::Create(const std::string& path) {
  file_ = files_.Open(path, platform::OpenMode::Write);
  failed_ = !file_;
  writing_ = file_ != nullptr;
  return writing_;
}

void ReportFile::WriteLine(const std::string& line) {
  if (!writing_ || !file_) return;
  const std::string text = line + "\r\n";
  if (!file_->Write(text.data(), text.size())) failed_ = true;
}

bool ReportFile::Close() {
  writing_ = false;
  file_.reset();
  return !failed_;
}

void ReloadInspectionLists(app::Session& session, common::MessagePump& pump,
                           common::Prompts& prompts) {
  platform::Platform& p = session.Platform();
  app::InspectionLists& lists = session.Lists();
  lists.services = inspect::LoadServiceListing(p, pump);
  lists.startupRegistry = inspect::LoadAllFromReg(p.registry);
  lists.startupFolders = inspect::LoadAllFromDirs(p);
  lists.keyboardFilters = inspect::ListKeyboardFilters(p);
  // A list that cannot be read keeps what it showed.
  if (auto systemIni = inspect::ListIniLines(p, "System.ini", prompts)) lists.systemIni = *systemIni;
  if (auto winIni = inspect::ListIniLines(p, "Win.ini", prompts)) lists.winIni = *winIni;
}

void HeadlessReportPages::QuickScan() {
  RunQuickScan(s_, {results_, log_, status_, prompts_, pump_, report_, startup_, controls_, offers_});
}

void HeadlessReportPages::RefreshProcesses() {
  inspect::ProcessPage(s_.Platform(), s_.Catalog(), {processes_, label_, status_, report_, prompts_})
      .Refresh();
}

void HeadlessReportPages::RefreshStartup() {
  inspect::StartupPage(s_.Platform(), s_.Catalog(), {startup_, report_, prompts_},
                       s_.ProgramFile(remedy::kRegBaseFileName), s_.Lists().startupValues)
      .Refresh();
}

void HeadlessReportPages::RefreshServices() { ReloadInspectionLists(s_, pump_, prompts_); }

void WriteReportTail(app::Session& session, const ReportSections& sections,
                     common::ReportSink& report, ReportPages& pages, common::MessagePump& pump) {
  if (!report.Writing()) return;
  const common::MessageCatalog& catalog = session.Catalog();
  auto msg = [&](Msg entry) { return catalog.Text(entry); };
  auto write = [&](const std::string& line) {
    if (report.Writing()) report.WriteLine(line);
  };

  pages.RefreshServices();
  if (!report.Writing()) return;
  inspect::CollectRunningObjects(session.Platform(), catalog, session.InventorySources(),
                                 session.RunningObjects(), pump);
  const auto& objects = session.RunningObjects().Lines();
  write("");
  write(msg(Msg::DetailReport) + Count(objects.size()) + ")");
  for (const std::string& line : objects) write(line);

  const app::InspectionLists& lists = session.Lists();
  if (sections.startupFiles) {
    write("");
    const auto& folders = lists.startupFolders;
    if (folders.empty()) {
      // The list's placeholder row counts, and has no command.
      write(msg(Msg::StartupFolderSection) + "1)");
      write(msg(Msg::StartupName) + kNoStartupProgram);
    } else {
      write(msg(Msg::StartupFolderSection) + Count(folders.size()) + ")");
      for (const auto& entry : folders) {
        write(msg(Msg::StartupName) + entry.fileName);
        write(msg(Msg::Command) + entry.target);
      }
    }
    auto iniSection = [&](const inspect::IniListing& listing, Msg heading) {
      write("");
      write(msg(heading) + Count(listing.rows.size()) + ")");
      for (const auto& row : listing.rows) write(msg(Msg::Path) + row.line);
    };
    iniSection(lists.winIni, Msg::WinIniSection);
    iniSection(lists.systemIni, Msg::SystemIniSection);
  }

  write("");
  const auto& filters = lists.keyboardFilters.rows;
  write(msg(Msg::KeyboardDriversSection) + Count(filters.size()) + ")");
  for (const auto& row : filters) {
    write(msg(Msg::Name) + row.name);
    const std::string path = inspect::FilterPathCellText(row);
    if (path.empty()) continue;  // the placeholder row has no path cell
    if (scan::IsFilePresent(session.Platform().files, path))
      write(msg(Msg::Path) + path);
    else
      write(msg(Msg::Path) + path + msg(Msg::NoFile));
  }

  if (sections.services) {
    write("");
    const auto& services = lists.services.rows;
    write(msg(Msg::ServicesSection) + Count(services.size()) + ")");
    for (const auto& row : services) {
      // A row read only in part has no status: its brackets stay empty.
      write(msg(Msg::ServiceName) + row.displayName + " [" + MainStatusText(catalog, row) + "], ");
      const std::string path = inspect::PathCellText(row, msg(Msg::CannotGetServiceList));
      if (!path.empty()) write(msg(Msg::Path) + path);
    }
  }
}

ReportOutcome WriteFullReport(app::Session& session, const ReportSections& sections,
                              ReportFile& file, ReportPages& pages, common::MessagePump& pump,
                              const std::string& path) {
  if (!file.Create(path)) return ReportOutcome::Failed;
  scan::ScanSession& scan = session.Scan();
  scan.ReportInProgress = true;
  scan.Abort.Clear();
  bool failed = false;
  try {
    platform::Platform& p = session.Platform();
    auto msg = [&](Msg entry) { return session.Catalog().Text(entry); };
    file.WriteLine(std::string(update::kProgramVersion) + msg(Msg::FullInformationLogFile));
    file.WriteLine(msg(Msg::GeneratedAt) + p.system.ShortDateText() + msg(Msg::On) +
                   p.system.LongTimeText());
    file.WriteLine(app::OsDisplayName(p));
    for (const char* line : kReportMakerLines) file.WriteLine(line);
    file.WriteLine("");
    if (sections.infectedFiles && file.Writing()) pages.QuickScan();
    file.WriteLine("");
    if (sections.processes && file.Writing()) pages.RefreshProcesses();
    if (sections.startupFiles && file.Writing()) pages.RefreshStartup();
    WriteReportTail(session, sections, file, pages, pump);
    file.WriteLine(msg(Msg::FinishedDots));
  } catch (const std::exception&) {
    failed = true;
  }
  const bool aborted = !file.Writing() || scan.Abort.IsSet();
  scan.ReportInProgress = false;
  if (!file.Close() || failed) return ReportOutcome::Failed;
  return aborted ? ReportOutcome::Aborted : ReportOutcome::Written;
}

ReportOutcome ReportBuilder::BuildOrAbort() {
  if (file_) {
    // A second click while building: the writers stop at their next line, the scan at its
    // next abort test.
    s_.Abort().Set();
    file_->Stop();
    prompts_.Tell({PromptKind::Information, Msg::LogAborted, s_.Catalog().Text(Msg::LogAborted)});
    BackToIdle();
    return ReportOutcome::Aborted;
  }
  controls_.HideOptions();
  if (!prompts_.Ask({PromptKind::PlainQuestion, Msg::BuildReportQuestion,
                     s_.Catalog().Text(Msg::BuildReportQuestion)})) {
    BackToIdle();
    return ReportOutcome::Aborted;
  }
  controls_.ShowBuilding(true);
  ReportFile file(s_.Platform().files);
  file_ = &file;
  const std::string path = s_.ProgramFile(kReportFileName);
  ReportOutcome outcome = ReportOutcome::Failed;
  try {
    std::unique_ptr<ReportPages> pages =
        factory_ ? factory_(file) : std::make_unique<HeadlessReportPages>(s_, file, prompts_, pump_);
    outcome = WriteFullReport(s_, sections, file, *pages, pump_, path);
  } catch (const std::exception&) {
    file.Close();
    outcome = ReportOutcome::Failed;
  }
  file_ = nullptr;
  if (outcome == ReportOutcome::Written && !s_.Platform().shell.Open(path))
    outcome = ReportOutcome::Failed;
  if (outcome == ReportOutcome::Failed) {
    controls_.SetMainEnabled(false);
    prompts_.Tell({PromptKind::Error, Msg::ErrorWritingLog, s_.Catalog().Text(Msg::ErrorWritingLog)});
    controls_.SetMainEnabled(true);
  }
  BackToIdle();
  return outcome;
}

void ReportBuilder::BackToIdle() {
  controls_.SetMainEnabled(true);
  s_.Scan().ReportInProgress = false;
  controls_.ShowBuilding(false);
}

}  // namespace morvanta::runs
