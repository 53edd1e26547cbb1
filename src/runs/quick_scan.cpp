#include "runs/quick_scan.h"

#include <exception>
#include <memory>

#include "inspect/running_objects.h"
#include "inspect/startup_page.h"
#include "platform/text.h"
#include "remedy/process_ending.h"
#include "remedy/regbase_file.h"
#include "scan/entry_reader.h"
#include "scan/file_digest.h"
#include "scan/name_patterns.h"
#include "scan/name_range.h"
#include "scan/path_tokens.h"
#include "scan/system_folders.h"
#include "scan/walker.h"

namespace morvanta::runs {
namespace {

using common::Msg;
using common::PromptKind;

constexpr char kLockPrefix[] = "Lock:";
constexpr char kSys32Prefix[] = "Sys32.";

class QuickScan {
 public:
  QuickScan(app::Session& session, QuickScanViews views)
      : s_(session),
        v_(views),
        p_(session.Platform()),
        scan_(session.Scan()),
        interactive_(!session.Scan().ReportInProgress && !views.report.Writing()) {}

  QuickScanResult Run() {
    Start();
    ReadingLoop();
    result_.aborted = scan_.Abort.IsSet();
    result_.found = scan_.Found;
    if (interactive_) End();
    return result_;
  }

 private:
  std::string Msg(common::Msg entry) const { return s_.Catalog().Text(entry); }
  void Stamp() { scan_.TimeStamp = p_.system.LongTimeText(); }
  bool Aborted() const { return scan_.Abort.IsSet(); }
  // The next candidate may go ahead: the window had its turn and "Abort" was not pressed.
  bool NextCandidate() {
    if (Aborted()) return false;
    v_.pump.ProcessPendingMessages();
    return !Aborted();
  }
  int AlertLines() const { return v_.results.RowCount() - (interactive_ ? 1 : 0); }

  // A. Start.
  void Start() {
    Stamp();
    v_.log.Clear();
    v_.log.AddLine(scan_.TimeStamp + Msg(Msg::ScanningPleaseWait));
    scan_.Reset();
    scan_.Ignored = s_.IgnoredPaths();
    s_.ScanLog().Clear();
    v_.results.Clear();
    if (interactive_) {
      const int header = v_.results.AddRow(kHeaderRow, Msg(Msg::ScanningHeader));
      v_.results.SetEnabled(header, false);
      v_.controls.ShowRunning();
      v_.status.SetText(Msg(Msg::InitializeSettings));
      try {
        // The startup values and the running objects as they are now: the name patterns
        // and digest entries read them.
        common::NoReport noReport;
        inspect::StartupPage startup(p_, s_.Catalog(), {v_.startupList, noReport, v_.prompts},
                                     s_.ProgramFile(remedy::kRegBaseFileName),
                                     s_.Lists().startupValues);
        startup.Refresh();
        inspect::CollectRunningObjects(p_, s_.Catalog(), s_.InventorySources(),
                                       s_.RunningObjects(), v_.pump, &v_.status);
      } catch (const std::exception&) {
        v_.status.SetText(Msg(Msg::InitializeError));
      }
    }
    // The running programs once for the whole scan; their files stay where they are even
    // when the scan ends them.
    scan::SnapshotProcesses snapshot(p_.processes);
    processes_ = std::make_unique<scan::RunningProcessIndex>(p_, snapshot);
  }

  // B. Reading loop.
  void ReadingLoop() {
    scan::EntryLineReader reader(s_.Database(), p_);
    reader.Start();
    for (;;) {
      Stamp();
      if (Aborted()) return;
      v_.pump.ProcessPendingMessages();
      const auto line = reader.Next();
      if (!line) return;
      ++result_.entriesRead;
      try {
        ScanEntry(scan::ParseEntryLine(folders_, line->text, reader.BaseFolder()),
                  line->noProcessSubstitution);
      } catch (const std::exception&) {
        // A line the engine cannot take yields nothing; the scan goes on.
      }
    }
  }

  void ScanEntry(scan::DatabaseEntry entry, bool noSubstitution) {
    const bool digestEntry = scan::KindOf(entry) == scan::EntryKind::Digest;
    if (!entry.Target.empty() && !entry.Folder.empty() && entry.Folder.back() != '\\')
      entry.Folder += '\\';
    // Wildcard candidates: the files of the folder whose names fit the "<>".
    if (platform::Contains(entry.Target, "<>")) {
      const std::string pattern = entry.Folder + entry.Target;
      scan::MatchList list = scan::WildcardListing(p_.files, pattern);
      const std::string stem = pattern.substr(0, pattern.find("<>"));
      if (!list.empty() && !stem.empty() &&
          platform::Contains(platform::AsciiLower(list), platform::AsciiLower(stem))) {
        for (const std::string& candidate : scan::SplitMatchList(list)) {
          if (!NextCandidate()) return;
          scan::DatabaseEntry one = entry;
          one.Target = platform::FileNamePart(candidate);
          one.ThreatName = kLockPrefix + std::string(kSys32Prefix) + BaseName(candidate);
          ScanPath(one, candidate, digestEntry, noSubstitution);
        }
        return;
      }
    }
    ScanPath(entry, entry.Folder + entry.Target, digestEntry, noSubstitution);
  }

  // Step 5: one path of an entry.
  void ScanPath(const scan::DatabaseEntry& entry, std::string path, bool digestEntry,
                bool noSubstitution) {
    if (entry.Target.empty() && !entry.Folder.empty() && p_.files.DirectoryExists(entry.Folder)) {
      if (Ignored(entry.Folder)) return;
      FlagFolder(entry.Folder, entry.ThreatName);
      return;
    }
    if (digestEntry) {
      path = scan::FindRunningObjectByDigest(p_, s_.RunningObjects(), entry.Digest);
      if (path.empty()) return;
      if (scan::IsFilePresent(p_.files, path)) {
        if (Ignored(path)) return;
        if (scan::FileDigest(p_.files, path) != entry.Digest) return;
        EndProcessesOf(path);
      }
    } else if (!noSubstitution && !entry.Target.empty()) {
      const std::string running = processes_->Find("\\" + entry.Target, "");
      if (!running.empty() && scan::IsFilePresent(p_.files, running)) path = running;
    }
    const std::string& display = entry.ThreatName;
    if (platform::Contains(platform::FileNamePart(path), "??")) {
      scan::ExpandNameRange(path, [&](const std::string& name) {
        if (!NextCandidate()) return false;
        const std::string generated = kSys32Prefix + BaseName(name);
        CheckPath(name, generated, generated);
        return true;
      });
      return;
    }
    CheckPath(path, entry.ThreatName, display);
  }

  // Steps 6 and 7: the path itself, or what its name pattern matches.
  void CheckPath(const std::string& path, const std::string& threatName,
                 const std::string& display) {
    v_.status.SetText(Msg(Msg::Checking) + display);
    scan::MatchList matches;
    try {
      matches = scan::MatchNamePattern(p_, s_.RunningObjects(), path);
    } catch (const std::exception&) {
      matches.clear();
    }
    if (matches.empty()) {
      FlagFile(path, threatName, display);
      return;
    }
    for (const std::string& match : scan::SplitMatchList(matches)) {
      if (!NextCandidate()) return;
      const std::string locked = kLockPrefix + std::string(kSys32Prefix) + BaseName(match);
      FlagFile(match, locked, locked);
    }
  }

  // Whether the ignore lists cover the path; what they cover is noted as skipped.
  bool Ignored(const std::string& path) {
    if (!scan_.Ignored.Covers(path)) return false;
    scan_.Skipped.Add(path);
    return true;
  }

  void EndProcessesOf(const std::string& path) {
    try {
      remedy::KillProcessByName(p_.processes, platform::FileNamePart(path));
    } catch (const std::exception&) {
    }
  }

  // C. A folder entry whose folder exists.
  void FlagFolder(const std::string& folder, const std::string& threatName) {
    scan_.Found = true;
    const int lineIndex = AlertLines();
    scan_.Alerts.AddAlert(folder, threatName, "", lineIndex, false, false, false, true);
    AddResultLine(folder, Msg(Msg::InfectedWith) + threatName);
    scan_.CountUp();
    v_.log.AddLine(scan_.TimeStamp + Msg(Msg::InfectedDirectoryLine) + folder);
    scan::FlagFolderContents(p_, scan_, v_.log, s_.Catalog(), folder, threatName, true);
    Report(Msg(Msg::InfectedWith) + threatName + " - Dir " + folder);
  }

  // D. Flagging a file.
  void FlagFile(const std::string& path, const std::string& threatName, std::string display) {
    if (!scan::IsFilePresent(p_.files, path)) return;
    // Left alone before anything is done to it: its processes run on, nothing is logged.
    if (Ignored(path)) return;
    if (const size_t lock = display.find(kLockPrefix); lock != std::string::npos)
      display.erase(lock, sizeof kLockPrefix - 1);
    EndProcessesOf(path);
    const std::string digest = scan::FileDigest(p_.files, path);
    if (!s_.ScanLog().Full()) {
      try {
        s_.ScanLog().Add(ScanLogLine(path, threatName, digest, scan::FileSize(p_.files, path)));
      } catch (const std::exception&) {
      }
    }
    scan_.Found = true;
    if (scan_.Alerts.IsAlertPath(path)) return;
    scan_.Alerts.AddAlert(path, threatName, digest, AlertLines(), false, false, false, false);
    AddResultLine(path, Msg(Msg::InfectedWith) + display);
    scan_.CountUp();
    v_.log.AddLine(scan_.TimeStamp + Msg(Msg::InfectedFileLine) + display + ") " + path);
    Report(Msg(Msg::InfectedWith) + display + " - File " + path);
  }

  // A checked line standing for the alert of `path`.
  void AddResultLine(const std::string& path, const std::string& caption) {
    const auto index = scan_.Alerts.IndexOf(path);
    v_.results.AddRow(index ? *index : kHeaderRow - 2, caption, {}, true);
  }

  // F. Report mode: the first finding writes the report's virus header.
  void Report(const std::string& line) {
    if (interactive_ || !v_.report.Writing()) return;
    if (!scan_.ReportHeaderWritten) {
      v_.report.WriteLine("");
      v_.report.WriteLine(Msg(Msg::ReportHaveViruses));
      v_.report.WriteLine(Msg(Msg::ReportPleaseScan));
      v_.report.WriteLine(Msg(Msg::ReportVirusList));
      scan_.ReportHeaderWritten = true;
    }
    v_.report.WriteLine(line);
  }

  // E. The end of an interactive scan.
  void End() {
    Stamp();
    const std::string count = std::to_string(AlertLines());
    if (scan_.Found) {
      v_.controls.SetFixEnabled(true);
      v_.log.AddLine(scan_.TimeStamp + ": " + count + Msg(Msg::DangerousFilesFound));
      v_.log.AddLine(Msg(Msg::ClickFixToFix));
      const std::string offer = Msg(Msg::YouHave) + count + Msg(Msg::DangerousByQuickReport) +
                                "\r" + Msg(Msg::FullScanOffer);
      if (v_.prompts.Ask({PromptKind::AlertQuestion, Msg::YouHave, offer})) {
        // The full drive scan goes on with the page as it is and puts it back when it ends.
        result_.fullDriveScanStarted = true;
        v_.offers.StartFullDriveScan();
        return;
      }
      v_.prompts.Tell({PromptKind::UrgentInformation, Msg::ClickFixByQuickReport,
                       Msg(Msg::ClickFixByQuickReport)});
    } else {
      v_.log.AddLine(scan_.TimeStamp + Msg(Msg::ComputerCleanLine));
      const int clean = v_.results.AddRow(kCleanRow, Msg(Msg::ComputerCleanRow));
      v_.results.SetEnabled(clean, false);
      v_.prompts.Tell({PromptKind::UrgentInformation, Msg::ComputerCleanMessage,
                       Msg(Msg::ComputerCleanMessage)});
      if (s_.logUploadWanted &&
          v_.prompts.Ask({PromptKind::Question, Msg::SendLogAfterScan, Msg(Msg::SendLogAfterScan)}))
        v_.offers.SendScanLog();
      v_.controls.SetFixEnabled(false);
    }
    FinishPage(v_, s_.Catalog(), Aborted());
  }

  app::Session& s_;
  QuickScanViews v_;
  platform::Platform& p_;
  scan::ScanSession& scan_;
  const bool interactive_;
  std::unique_ptr<scan::RunningProcessIndex> processes_;
  // The special folders once for the whole scan: every template asks for all of them.
  scan::FolderCache folders_{p_};
  QuickScanResult result_;
};

}  // namespace

void FinishPage(QuickScanViews views, const common::MessageCatalog& catalog, bool aborted) {
  RemoveHeaderLine(views.results);
  views.controls.SetScanEnabled(true);
  views.controls.SetAbortEnabled(false);
  views.controls.SetBackVisible(true);
  views.status.SetText(catalog.Text(aborted ? Msg::ScanAborted : Msg::ScanFinished));
}

QuickScanResult RunQuickScan(app::Session& session, QuickScanViews views) {
  return QuickScan(session, views).Run();
}

std::string BaseName(const std::string& path) {
  const std::string name = platform::FileNamePart(path);
  const std::string upToDot = name.substr(0, name.find('.'));
  return upToDot.empty() ? name : upToDot;
}

std::string ScanLogLine(const std::string& path, const std::string& threatName,
                        const std::string& digest, int32_t size) {
  return "!Infected " + platform::AsciiLower(platform::FileNamePart(path) + "=;" +
                                            platform::FolderPart(path) + ";" + threatName +
                                            ";" + digest + ";" + std::to_string(size) + ";");
}

void RemoveHeaderLine(common::CheckList& results) {
  if (results.RowCount() == 0 || results.IdAt(0) != kHeaderRow) return;
  results.SetEnabled(0, true);
  results.DeleteRow(0);
}

}  // namespace morvanta::runs
