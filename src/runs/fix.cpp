#include "runs/fix.h"

#include <cstdio>
#include <exception>
#include <optional>

#include "platform/text.h"
#include "remedy/process_ending.h"
#include "remedy/regbase_file.h"
#include "scan/path_tokens.h"

namespace morvanta::runs {
namespace {

using common::Msg;
using common::PromptKind;

// The clean stopwatch: seconds on the system's clock, from Start to Stop.
class Stopwatch {
 public:
  explicit Stopwatch(platform::SystemInfo& system) : system_(system) {}
  void Start() {
    started_ = system_.TickCount();
    running_ = true;
  }
  void Stop() {
    stopped_ = system_.TickCount();
    running_ = false;
  }
  double Seconds() const {
    const uint32_t end = running_ ? system_.TickCount() : stopped_;
    return static_cast<uint32_t>(end - started_) / 1000.0;
  }

 private:
  platform::SystemInfo& system_;
  uint32_t started_ = 0, stopped_ = 0;
  bool running_ = false;
};

// The run stops where it is and goes to its closing.
struct Aborted {};

class Fix {
 public:
  Fix(app::Session& session, FixViews views)
      : s_(session), v_(views), p_(session.Platform()), scan_(session.Scan()),
        regBase_(session.ProgramFile(remedy::kRegBaseFileName)), stopwatch_(p_.system) {}

  FixResult Run() {
    time_ = p_.system.LongTimeText();
    v_.log.AddLine("");
    v_.log.AddLine(time_ + ": " + Msg(Msg::CleaningPleaseWait));
    scan_.Abort.Clear();
    // The lists as they are now: a folder ignored since the scan is left alone too.
    scan_.Ignored = s_.IgnoredPaths();
    v_.controls.ShowRunning();
    try {
      FilePass();
      FolderPass();
      v_.log.AddLine(time_ + Msg(Msg::CleaningFinished));
      Summary();
    } catch (const Aborted&) {
      result_.aborted = true;
    }
    Closing();
    return result_;
  }

 private:
  std::string Msg(common::Msg entry) const { return s_.Catalog().Text(entry); }
  void CheckAbort() const {
    if (scan_.Abort.IsSet()) throw Aborted{};
  }
  bool OwnsLine(const scan::Alert& a) const {
    return !a.IsWalkFile && !a.IsFullScanFile && a.LineIndex >= 0 &&
           a.LineIndex < v_.results.RowCount();
  }
  void SetLine(const scan::Alert& a, const std::string& text) {
    try {
      if (OwnsLine(a)) v_.results.SetCaption(a.LineIndex, text);
    } catch (const std::exception&) {
    }
  }

  void FilePass() {
    for (size_t i = 0; i < scan_.Alerts.Size(); ++i) {
      CheckAbort();
      const scan::Alert& alert = scan_.Alerts[i];
      if (alert.IsScanDir || alert.IsWalkDir) continue;
      if (!IsSelectedFile(alert, v_.results)) continue;
      if (scan_.Ignored.Covers(alert.Path)) {
        scan_.Skipped.Add(alert.Path);
        continue;
      }
      CleanFile(alert);
    }
  }

  void CleanFile(const scan::Alert& alert) {
    v_.status.SetText(Msg(Msg::CleaningStatus) + alert.ThreatName);
    v_.log.AddLine(time_ + Msg(Msg::CleaningLine) + alert.ThreatName);
    SetLine(alert, Msg(Msg::CleaningRow));
    stopwatch_.Start();
    v_.pump.ProcessPendingMessages();
    const bool locked = platform::Contains(platform::AsciiLower(alert.ThreatName), "lock:");
    const bool wasPresent = scan::IsFilePresent(p_.files, alert.Path);
    // A path that became a link since the scan would delete what it leads to now.
    const bool elsewhere = wasPresent && !locked && LeadsElsewhere(alert, /*itself=*/true);
    if (wasPresent) {
      CheckAbort();
      // A locked file was found by a name pattern: it is never ended or deleted.
      if (!locked && !elsewhere) Delete(alert.Path);
    }
    std::optional<size_t> logLine;
    if (s_.logUploadWanted) {
      try {
        logLine = s_.ScanLog().Find("!Infected " + platform::AsciiLower(platform::FileNamePart(alert.Path)));
      } catch (const std::exception&) {
        logLine.reset();
      }
    }
    if (wasPresent && (locked || elsewhere || scan::IsFilePresent(p_.files, alert.Path))) {
      Failed(alert, locked ? Why::Locked : elsewhere ? Why::LeadsElsewhere : Why::Held, logLine);
      return;
    }
    stopwatch_.Stop();
    ++result_.cleaned;
    SetLine(alert, CleanLine(s_.Catalog(), stopwatch_.Seconds(), p_.system.DecimalSeparator()));
    v_.log.AddLine(time_ + Msg(Msg::FileCleanedLine) + alert.Path);
    if (logLine && s_.logUploadWanted) s_.ScanLog().AppendTo(*logLine, "Ok;");
  }

  // Ends its processes, deletes it and the startup values that name it, and tries again
  // until it is gone or the stopwatch passes the retry time.
  void Delete(const std::string& path) {
    const std::string name = platform::FileNamePart(path);
    remedy::KillProcessByName(p_.processes, name);
    v_.pump.ProcessPendingMessages();
    p_.files.SetAttributes(path, 0);
    p_.files.DeleteFile(path);
    remedy::DeleteRegBaseValues(p_.files, p_.registry, regBase_, path, s_.Ignore());
    bool exists = true;
    do {
      remedy::KillProcessByName(p_.processes, name);
      v_.pump.ProcessPendingMessages();
      p_.files.SetAttributes(path, 0);
      p_.files.DeleteFile(path);
      exists = p_.files.Exists(path);
      CheckAbort();
      if (stopwatch_.Seconds() > kCleanRetrySeconds) break;
      // A file in use lets go when its process has ended; no need to spin meanwhile.
      if (exists) p_.system.Sleep(10);
    } while (exists);
  }

  // Whether the path, or a folder between it and the flagged folder it was found in, is a
  // link now (a junction, symbolic link or mount point): the scan saw no link there, so
  // one that is there now was put in since, and deleting through it would reach elsewhere.
  // A folder's own link is no danger: removing it removes the link only.
  bool LeadsElsewhere(const scan::Alert& alert, bool itself) {
    const auto isLink = [&](const std::string& path) {
      const auto attributes = p_.files.GetAttributes(path);
      return attributes && (*attributes & platform::attr::ReparsePoint);
    };
    if (itself && isLink(alert.Path)) return true;
    if (!alert.IsWalkFile && !alert.IsWalkDir) return false;
    std::string folder = alert.Path;
    for (;;) {
      const size_t slash = folder.find_last_of('\\');
      if (slash == std::string::npos || slash < 3) return false;  // the root
      folder.resize(slash);
      if (isLink(folder)) return true;
      auto index = scan_.Alerts.IndexOf(folder);
      if (!index) index = scan_.Alerts.IndexOf(folder + "\\");
      if (!index || scan_.Alerts[*index].IsScanDir) return false;
    }
  }

  enum class Why { Held, Locked, LeadsElsewhere };

  void Failed(const scan::Alert& alert, Why why, const std::optional<size_t>& logLine) {
    stopwatch_.Stop();
    ++result_.failed;
    SetLine(alert, "[Err] " + alert.Path);
    v_.log.AddLine(time_ + Msg(Msg::CannotCleanFileLine));
    if (why == Why::Held) {
      // What holds it now lets go when the system starts again; nothing runs that early.
      if (p_.files.DeleteAtRestart(alert.Path)) {
        result_.leftForRestart.push_back(alert.Path);
        v_.log.AddLine(time_ + ": File will be removed when the computer restarts " + alert.Path);
      } else {
        v_.log.AddLine(time_ + ": Cannot have the file removed at restart (" +
                       p_.files.LastErrorText() + ") " + alert.Path);
      }
    } else if (why == Why::LeadsElsewhere) {
      v_.log.AddLine(time_ + ": Not removed, the path leads elsewhere since the scan " + alert.Path);
    }
    if (logLine && s_.logUploadWanted)
      s_.ScanLog().AppendTo(*logLine, why == Why::Locked ? "Locked_Err;" : "Err;");
    v_.prompts.Tell({PromptKind::UrgentError, Msg::CannotCleanFile,
                     Msg(Msg::CannotCleanFile) + alert.Path + Msg(Msg::DeleteManually)});
    remedy::DeleteRegBaseValues(p_.files, p_.registry, regBase_, alert.Path, s_.Ignore());
  }

  // Backwards: the scans add a folder before what lies in it, so the deepest go first.
  void FolderPass() {
    for (size_t i = scan_.Alerts.Size(); i-- > 0;) {
      v_.pump.ProcessPendingMessages();
      CheckAbort();
      const scan::Alert& alert = scan_.Alerts[i];
      if (!alert.IsScanDir && !alert.IsWalkDir) continue;
      // Nor is an ignored folder removed (one holding what is ignored is not empty, and stays).
      if (scan_.Ignored.Covers(alert.Path)) {
        scan_.Skipped.Add(alert.Path);
        continue;
      }
      const bool ownLine = alert.IsScanDir && alert.LineIndex != -1;
      if (!LeadsElsewhere(alert, /*itself=*/false) && p_.files.RemoveDirectory(alert.Path)) {
        ++result_.cleaned;
        v_.log.AddLine(time_ + Msg(Msg::DirectoryRemovedLine) + alert.Path);
        if (ownLine) SetLine(alert, Msg(Msg::CleanRow));
      } else {
        ++result_.foldersLeft;
        v_.log.AddLine(time_ + Msg(Msg::CannotRemoveDirectoryLine) + alert.Path);
        if (ownLine) SetLine(alert, "Err...");
      }
    }
  }

  void Summary() {
    v_.prompts.Tell({PromptKind::UrgentInformation, Msg::AlertsCleaned,
                     std::to_string(result_.cleaned) + Msg(Msg::AlertsCleaned) + "\r\r" +
                         Msg(Msg::Notes) + "\r" + Msg(Msg::FixNote)});
    if (s_.logUploadWanted &&
        v_.prompts.Ask({PromptKind::Question, Msg::SendLogAfterFix, Msg(Msg::SendLogAfterFix)}))
      v_.offers.SendScanLog();
  }

  void Closing() {
    if (result_.aborted) v_.log.AddLine(time_ + Msg(Msg::CleaningAbortedLine));
    v_.log.AddLine(Msg(Msg::ScanAgainHint));
    v_.controls.ShowIdle(/*fixEnabled=*/false);
    v_.status.SetText(Msg(scan_.Abort.IsSet() ? Msg::FixAborted : Msg::FixFinished));
  }

  app::Session& s_;
  FixViews v_;
  platform::Platform& p_;
  scan::ScanSession& scan_;
  const std::string regBase_;
  Stopwatch stopwatch_;
  std::string time_;
  FixResult result_;
};

}  // namespace

bool IsSelectedFile(const scan::Alert& alert, const common::CheckList& results) {
  if (alert.IsScanDir || alert.IsWalkDir) return false;
  if (alert.IsFullScanFile || alert.IsWalkFile || alert.LineIndex == -1) return true;
  // A line that is not there selects nothing: the fix removes only what the user left ticked.
  return alert.LineIndex >= 0 && alert.LineIndex < results.RowCount() &&
         results.IsChecked(alert.LineIndex);
}

FixResult FixAlerts(app::Session& session, FixViews views) { return Fix(session, views).Run(); }

std::string CleanLine(const common::MessageCatalog& catalog, double seconds,
                      const std::string& decimalSeparator) {
  char number[32];
  std::snprintf(number, sizeof number, "%.2f", seconds);
  std::string text = number;
  if (const size_t dot = text.find('.'); dot != std::string::npos) text.replace(dot, 1, decimalSeparator);
  std::string line = catalog.Text(Msg::CleanSeconds);
  if (const size_t at = line.find("%f"); at != std::string::npos) line.replace(at, 2, text);
  return line;
}

}  // namespace morvanta::runs
