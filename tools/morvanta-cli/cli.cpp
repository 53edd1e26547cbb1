#include "cli.h"

#include <chrono>
#include <cstdio>
#include <exception>

#include "common/memory_views.h"
#include "database/container.h"
#include "database/threat_database.h"
#include "runs/quick_scan.h"

namespace morvanta::cli {
namespace {

const char kScanUsage[] =
    "usage: morvanta-cli scan [--database FILE] [--findings-only]\n";

class NoControls : public runs::ScanPageControls {
 public:
  void SetFixEnabled(bool) override {}
  void SetAbortEnabled(bool) override {}
  void SetScanEnabled(bool) override {}
  void SetBackVisible(bool) override {}
};

// The console offers nothing at the end of a scan: the options say what to do.
class NoOffers : public runs::ScanOffers {
 public:
  void StartFullDriveScan() override {}
  void SendScanLog() override {}
};

struct ScanOptions {
  std::string database;  // empty: files.dat beside the program
  bool findingsOnly = false;
};

bool ParseScanOptions(const std::vector<std::string>& args, ScanOptions& options,
                      std::ostream& err) {
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--database" && i + 1 < args.size()) {
      options.database = args[++i];
    } else if (args[i] == "--findings-only") {
      options.findingsOnly = true;
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

int Scan(app::Session& session, const std::vector<std::string>& args, std::ostream& out,
         std::ostream& err) {
  ScanOptions options;
  if (!ParseScanOptions(args, options, err)) return kError;
  const std::string path = options.database.empty()
                               ? session.ProgramFile(database::kDatabaseFileName)
                               : options.database;
  if (!LoadDatabase(session, path, err)) return kError;

  common::MemoryCheckList results, startup;
  common::MemoryLog log;
  common::MemoryText status;
  common::ScriptedPrompts prompts(false);
  common::NoMessages pump;
  common::NoReport report;
  NoControls controls;
  NoOffers offers;
  const auto started = std::chrono::steady_clock::now();
  const runs::QuickScanResult result = runs::RunQuickScan(
      session, {results, log, status, prompts, pump, report, startup, controls, offers});
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

  size_t files = 0;
  for (const scan::Alert& alert : session.Scan().Alerts) {
    if (alert.IsWalkDir) continue;  // the folder's own line stands for its subfolders
    if (!alert.IsScanDir) ++files;
    out << alert.Path << ": " << alert.ThreatName << " FOUND\n";
  }
  if (!options.findingsOnly) {
    char time[32];
    std::snprintf(time, sizeof time, "%.3f", seconds);
    out << "\n----------- SCAN SUMMARY -----------\n"
        << "Database: " << session.Database().DatabaseDate(session.Catalog()) << "\n"
        << "Entries read: " << result.entriesRead << "\n"
        << "Files found: " << files << "\n"
        << "Time: " << time << " sec\n";
  }
  if (result.aborted) {
    err << "morvanta-cli: scan aborted\n";
    return kError;
  }
  return result.found ? kFound : kClean;
}

}  // namespace

const char kUsage[] =
    "usage: morvanta-cli COMMAND [OPTIONS]\n"
    "\n"
    "Commands:\n"
    "  scan [--database FILE] [--findings-only]\n"
    "      Scans this machine against the threat database (files.dat beside the program,\n"
    "      or FILE), ending the processes of every file it finds, as the window does.\n"
    "      Prints one line per finding, \"PATH: THREATNAME FOUND\", then a summary\n"
    "      (not with --findings-only).\n"
    "  --help\n"
    "      Shows this text.\n"
    "\n"
    "Exit codes: 0 nothing found, 1 something found, 2 an error (bad arguments, a missing\n"
    "or damaged database, an aborted scan). Errors go to the standard error.\n";

int Run(app::Session& session, const std::vector<std::string>& args, std::ostream& out,
        std::ostream& err) {
  try {
    if (args.empty()) {
      err << kUsage;
      return kError;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
      out << kUsage;
      return kClean;
    }
    if (args[0] == "scan") return Scan(session, args, out, err);
    err << "morvanta-cli: unknown command " << args[0] << "\n" << kUsage;
    return kError;
  } catch (const std::exception& e) {
    err << "morvanta-cli: " << e.what() << "\n";
    return kError;
  }
}

}  // namespace morvanta::cli
