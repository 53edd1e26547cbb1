#include "scan_command.h"

#include <chrono>
#include <cstdio>

#include "cli.h"
#include "common/memory_views.h"
#include "database/container.h"
#include "database/threat_database.h"
#include "runs/fix.h"
#include "runs/full_drive_scan.h"
#include "runs/quick_scan.h"
#include "runs/recorded_page.h"

namespace morvanta::cli {

const char kScanUsage[] =
    "usage: morvanta-cli scan [--database FILE] [--full] [--drives LIST] [--fix] "
    "[--findings-only] [--show-skipped]\n";

namespace {

using common::Msg;
using common::PromptKind;

// The questions of a run are answered by the options; the errors it shows go to the
// standard error, its notices nowhere (the summary says it all).
class OptionPrompts : public common::Prompts {
 public:
  OptionPrompts(bool fullScan, std::ostream& err) : fullScan_(fullScan), err_(err) {}
  bool Ask(const common::Prompt& question) override {
    return question.entry == Msg::YouHave && fullScan_;  // the offer of the full scan
  }
  void Tell(const common::Prompt& notice) override {
    if (notice.kind != PromptKind::Error && notice.kind != PromptKind::UrgentError) return;
    std::string text = notice.text;
    for (char& c : text)
      if (c == '\r' || c == '\n') c = ' ';
    err_ << "morvanta-cli: " << text << "\n";
  }

 private:
  bool fullScan_;
  std::ostream& err_;
};

struct ScanOptions {
  std::string database;  // empty: files.dat beside the program
  bool full = false;
  std::string drives;  // the roots as the full scan takes them ("C:\;D:\;"); empty: fixed drives
  bool fix = false;
  bool findingsOnly = false;
  bool showSkipped = false;
};

// "C:\,D:\" or "C:\;D:\" as the full scan's list, each root with its backslash.
std::string DriveList(const std::string& given) {
  std::string list, root;
  for (size_t i = 0; i <= given.size(); ++i) {
    if (i < given.size() && given[i] != ',' && given[i] != ';') {
      root += given[i];
      continue;
    }
    if (root.empty()) continue;
    if (root.back() != '\\') root += '\\';
    list += root + ";";
    root.clear();
  }
  return list;
}

bool ParseScanOptions(const std::vector<std::string>& args, ScanOptions& options,
                      std::ostream& err) {
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--database" && i + 1 < args.size()) {
      options.database = args[++i];
    } else if (args[i] == "--drives" && i + 1 < args.size()) {
      options.drives = DriveList(args[++i]);
      options.full = true;
      if (options.drives.empty()) {
        err << "morvanta-cli: --drives names no drive\n" << kScanUsage;
        return false;
      }
    } else if (args[i] == "--full") {
      options.full = true;
    } else if (args[i] == "--fix") {
      options.fix = true;
    } else if (args[i] == "--findings-only") {
      options.findingsOnly = true;
    } else if (args[i] == "--show-skipped") {
      options.showSkipped = true;
    } else {
      err << "morvanta-cli: unknown option " << args[i] << "\n" << kScanUsage;
      return false;
    }
  }
  return true;
}

// Loads the database the program would, and refuses one that is no database at all (the
// window takes such a file silently as its text; a script wants to know).
bool LoadDatabase(app::Session& session, const std::string& path, std::ostream& err) {
  auto& files = session.Platform().files;
  auto bytes = files.ReadAll(path);
  if (!bytes) {
    const std::string reason = files.LastErrorText();  // before writing anything
    err << "morvanta-cli: cannot read the database \"" << path << "\". " << reason << "\n";
    return false;
  }
  const auto decoded = database::DecodeAnyForm(bytes->data(), bytes->size());
  if (decoded.form == database::ContainerForm::Damaged) {
    err << "morvanta-cli: the database \"" << path << "\" is damaged: "
        << database::FormName(decoded.form) << "\n";
    return false;
  }
  session.Database().SetText(decoded.text);
  if (!session.Database().ReadDateLine()) {
    err << "morvanta-cli: the database \"" << path << "\" has no date line\n";
    return false;
  }
  return true;
}

// Every root given must be there to be walked: a typing error would pass as a clean drive.
bool DrivesExist(app::Session& session, const std::string& drives, std::ostream& err) {
  for (const std::string& root : runs::SplitDrives(drives)) {
    if (session.Platform().files.DirectoryExists(root)) continue;
    err << "morvanta-cli: no drive or folder " << root << "\n";
    return false;
  }
  return true;
}

// One run of the command over the page a window would show.
class ScanRun {
 public:
  ScanRun(app::Session& session, const ScanOptions& options, std::ostream& out, std::ostream& err)
      : s_(session), o_(options), out_(out), err_(err), prompts_(options.full, err) {}

  int Run() {
    const auto started = std::chrono::steady_clock::now();
    const runs::QuickScanResult quick = runs::RunQuickScan(
        s_, {results_, log_, status_, prompts_, pump_, report_, startup_, controls_, offers_});
    bool aborted = quick.aborted;
    size_t filesLookedAt = 0;
    if (quick.fullDriveScanStarted) {
      const std::string drives = o_.drives.empty()
          ? runs::ListDrives(s_.Platform(), -1, platform::DriveType::Fixed)
          : o_.drives;
      const runs::FullScanResult full = runs::FullDriveScan(
          s_, {results_, log_, status_, prompts_, pump_, controls_}, drives);
      aborted = aborted || full.aborted;
      filesLookedAt = full.files;
    }
    PrintFindings();
    if (o_.showSkipped) PrintSkipped();
    runs::FixResult fix;
    const bool fixing = o_.fix && quick.found && !aborted;
    if (fixing) {
      fix = runs::FixAlerts(s_, {results_, log_, status_, prompts_, pump_, controls_, offers_});
      aborted = fix.aborted;
      PrintOutcomes(fix);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (!o_.findingsOnly) PrintSummary(quick, filesLookedAt, fixing, seconds);
    if (aborted) {
      err_ << "morvanta-cli: " << (fixing ? "fix" : "scan") << " aborted\n";
      return kError;
    }
    if (fixing && remaining_ > 0) {
      ExplainMissingRights(s_, err_);
      return kFound;
    }
    if (fixing) return kClean;
    return quick.found ? kFound : kClean;
  }

 private:
  void PrintFindings() {
    for (const scan::Alert& alert : s_.Scan().Alerts) {
      if (alert.IsWalkDir) continue;  // the folder's own line stands for its subfolders
      if (!alert.IsScanDir) ++files_;
      if (alert.IsFullScanFile) ++copies_;
      out_ << alert.Path << ": " << alert.ThreatName << " FOUND\n";
    }
  }

  // What the ignore lists kept the scans from: files not flagged, folders not entered.
  void PrintSkipped() {
    for (const std::string& path : s_.Scan().Skipped.Paths()) out_ << path << ": SKIPPED\n";
  }

  // What is there of each finding after the fix: the system's word, not the fix's.
  void PrintOutcomes(const runs::FixResult& fix) {
    auto& files = s_.Platform().files;
    for (const scan::Alert& alert : s_.Scan().Alerts) {
      if (alert.IsWalkDir) continue;
      if (!files.Exists(alert.Path)) {
        ++removed_;
        out_ << alert.Path << ": Removed.\n";
        continue;
      }
      ++remaining_;
      bool atRestart = false;
      for (const std::string& path : fix.leftForRestart) atRestart = atRestart || path == alert.Path;
      out_ << alert.Path << (atRestart ? ": Not removed (removed when the computer restarts).\n"
                                       : ": Not removed.\n");
    }
  }

  void PrintSummary(const runs::QuickScanResult& quick, size_t filesLookedAt, bool fixing,
                    double seconds) {
    char time[32];
    std::snprintf(time, sizeof time, "%.3f", seconds);
    out_ << "\n----------- SCAN SUMMARY -----------\n"
         << "Database: " << s_.Database().DatabaseDate(s_.Catalog()) << "\n"
         << "Entries read: " << quick.entriesRead << "\n"
         << "Files found: " << files_ << "\n";
    if (quick.fullDriveScanStarted)
      out_ << "Files compared: " << filesLookedAt << "\n"
           << "Copies found: " << copies_ << "\n";
    if (const size_t skipped = s_.Scan().Skipped.Paths().size(); skipped > 0)
      out_ << "Skipped (ignore list): " << skipped << "\n";
    if (fixing) out_ << "Removed: " << removed_ << "\n" << "Not removed: " << remaining_ << "\n";
    out_ << "Time: " << time << " sec\n";
  }

  app::Session& s_;
  const ScanOptions& o_;
  std::ostream& out_;
  std::ostream& err_;
  common::MemoryCheckList results_, startup_;
  common::MemoryLog log_;
  common::MemoryText status_;
  OptionPrompts prompts_;
  common::NoMessages pump_;
  common::NoReport report_;
  // The console offers nothing at the end of a run: the options say what to do.
  runs::RecordedControls controls_;
  runs::RecordedOffers offers_;
  size_t files_ = 0, copies_ = 0, removed_ = 0, remaining_ = 0;
};

}  // namespace

int ScanCommand(app::Session& session, const std::vector<std::string>& args, std::ostream& out,
                std::ostream& err) {
  ScanOptions options;
  if (!ParseScanOptions(args, options, err)) return kError;
  if (!options.drives.empty() && !DrivesExist(session, options.drives, err)) return kError;
  const std::string path = options.database.empty()
                               ? session.ProgramFile(database::kDatabaseFileName)
                               : options.database;
  if (!LoadDatabase(session, path, err)) return kError;
  // The window's lists, beside the program: what the window leaves alone, the console does.
  session.LoadIgnoreLists();
  return ScanRun(session, options, out, err).Run();
}

}  // namespace morvanta::cli
