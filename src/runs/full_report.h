// The full report log: "Information.txt" in the program folder, with the quick scan's
// findings, the running processes, the startup values, the running-object inventory, the
// Startup folders, the INI lines, the keyboard filters and the services. The Log Optimizer
// window builds it (asking first and opening it at the end); the console writes it as it is.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/session.h"
#include "common/memory_views.h"
#include "common/views.h"
#include "platform/files.h"
#include "runs/recorded_page.h"

namespace morvanta::runs {

// The report file's name in the program folder.
inline constexpr char kReportFileName[] = "Information.txt";

// The three lines below the system's name that say whose report this is.
extern const char* const kReportMakerLines[3];

// The Log Optimizer's four switches, all on at program start.
struct ReportSections {
  bool startupFiles = true;   // "Startup files.": the startup values, folders and INI lines
  bool services = true;       // "Active Services."
  bool processes = true;      // "Active processes."
  bool infectedFiles = true;  // "Infected files.": a quick scan in report mode
};

// The report file while it is written: one open file, every line ending with CR LF. It is
// `Writing` from a successful Create until Stop or Close; a failed write is remembered.
class ReportFile : public common::ReportSink {
 public:
  explicit ReportFile(platform::Files& files) : files_(files) {}
  // Creates or overwrites the file; false when it cannot be.
  bool Create(const std::string& path);
  bool Writing() const override { return writing_; }
  void WriteLine(const std::string& line) override;
  // The remaining writers write nothing more; the file stays open.
  void Stop() { writing_ = false; }
  // Closes the file; false when it or any write failed.
  bool Close();
  bool Failed() const { return failed_; }

 private:
  platform::Files& files_;
  std::unique_ptr<platform::File> file_;
  bool writing_ = false;
  bool failed_ = false;
};

// The pages the report refreshes, each writing its section while the report is written:
// the windows' own pages in the program (so that they show what was written), in-memory
// pages on the console and in the tests.
class ReportPages {
 public:
  virtual ~ReportPages() = default;
  // The quick scan in report mode: its "Virus list:" section.
  virtual void QuickScan() = 0;
  // The process page: its "Running processes: (" section.
  virtual void RefreshProcesses() = 0;
  // The startup page: its "Startup files:" section.
  virtual void RefreshStartup() = 0;
  // The services page, which reloads the tool window's startup, filter and INI lists too.
  virtual void RefreshServices() = 0;
};

// Reloads what the services page's refresh reloads into the session: the service list and
// the tool window's Run keys, Startup folders, keyboard filters and INI lists.
void ReloadInspectionLists(app::Session& session, common::MessagePump& pump,
                           common::Prompts& prompts);

// Pages with no window behind them, over the session's lists.
class HeadlessReportPages : public ReportPages {
 public:
  HeadlessReportPages(app::Session& session, common::ReportSink& report,
                      common::Prompts& prompts, common::MessagePump& pump)
      : s_(session), report_(report), prompts_(prompts), pump_(pump) {}
  void QuickScan() override;
  void RefreshProcesses() override;
  void RefreshStartup() override;
  void RefreshServices() override;

 private:
  app::Session& s_;
  common::ReportSink& report_;
  common::Prompts& prompts_;
  common::MessagePump& pump_;
  common::MemoryCheckList results_, processes_, startup_;
  common::MemoryLog log_;
  common::MemoryText status_, label_;
  RecordedControls controls_;
  RecordedOffers offers_;
};

// The report tail: the services refresh, the detail report of the running-object
// inventory, the Startup folder, Win.ini and System.ini sections (with "Startup files."),
// the keyboard drivers (always) and the services (with "Active Services."). Writes only
// while `report` is writing.
void WriteReportTail(app::Session& session, const ReportSections& sections,
                     common::ReportSink& report, ReportPages& pages, common::MessagePump& pump);

enum class ReportOutcome {
  Written,  // the whole file, closed
  Aborted,  // stopped by "Abort log" or the abort flag: closed as far as it came
  Failed,   // the file could not be created, written or closed
};

// Writes the whole report into `path` (created or overwritten), from the header to
// "Finished...", with the report-in-progress flag set meanwhile. `file` is the sink the
// pages were given; Stop on it (or the abort flag) ends the writing early.
ReportOutcome WriteFullReport(app::Session& session, const ReportSections& sections,
                              ReportFile& file, ReportPages& pages, common::MessagePump& pump,
                              const std::string& path);

// The main window's part in a build: its "Full report log" button, "Scan for viruses" and
// "Update", and the window itself around the error box.
class ReportControls {
 public:
  virtual ~ReportControls() = default;
  // Hides the Log Optimizer.
  virtual void HideOptions() = 0;
  // "Full report log" reads "Abort log" (`building`) or "Full report log"; scanning and
  // updating are disabled while building.
  virtual void ShowBuilding(bool building) = 0;
  virtual void SetMainEnabled(bool enabled) = 0;
};

// The Log Optimizer's "Build log": builds the report after a Yes, or aborts the one being
// built (the second click arrives through the pump while the first is building).
class ReportBuilder {
 public:
  // Makes the pages a build refreshes, over the report file: the window's own in the
  // program; headless ones when none is set.
  using PagesFactory = std::function<std::unique_ptr<ReportPages>(common::ReportSink&)>;
  ReportBuilder(app::Session& session, common::Prompts& prompts, common::MessagePump& pump,
                ReportControls& controls)
      : s_(session), prompts_(prompts), pump_(pump), controls_(controls) {}

  void SetPagesFactory(PagesFactory factory) { factory_ = std::move(factory); }

  ReportSections sections;

  bool Building() const { return file_ != nullptr; }
  // `TForm12_xpButton1Click`. The outcome of the build it ran (Aborted also for the click
  // that aborted one, and for a No).
  ReportOutcome BuildOrAbort();

 private:
  void BackToIdle();

  app::Session& s_;
  common::Prompts& prompts_;
  common::MessagePump& pump_;
  ReportControls& controls_;
  PagesFactory factory_;
  ReportFile* file_ = nullptr;  // the file being written
};

}  // namespace morvanta::runs
