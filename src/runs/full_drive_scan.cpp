#include "runs/full_drive_scan.h"

#include <exception>
#include <optional>
#include <stdexcept>
#include <unordered_map>

#include "platform/text.h"
#include "scan/file_digest.h"

namespace morvanta::runs {
namespace {

using common::Msg;
using common::PromptKind;

bool IsReference(const scan::Alert& a) { return !a.IsFullScanFile && !a.IsWalkDir && !a.IsScanDir; }

// The window is served (its messages, so "Abort" is seen, and the status line with the file
// being checked) once in this many entries, whenever a folder has been listed, and before a
// file is read for its digest: a listed entry costs a few microseconds, a pass through the
// window's messages or a new status text tens of them, and the line changes faster than
// anyone reads it.
constexpr size_t kEntriesPerServe = 512;

// One folder being walked: its listing and the next entry to take up.
struct Level {
  std::string folder;  // with its backslash
  std::vector<platform::DirEntry> entries;
  size_t next = 0;
};

class FullScan {
 public:
  FullScan(app::Session& session, FullScanViews views)
      : s_(session), v_(views), p_(session.Platform()), scan_(session.Scan()) {}

  FullScanResult Run(const std::string& selectedDrives) {
    time_ = p_.system.LongTimeText();
    checking_ = Msg(Msg::Checking);
    v_.log.AddLine(time_ + Msg(Msg::ScanningPleaseWait));
    v_.controls.ShowRunning();
    scan_.Ignored = s_.IgnoredPaths();
    IndexReferences();
    for (const std::string& root : SplitDrives(selectedDrives)) {
      if (scan_.Abort.IsSet()) break;
      Walk(root);
    }
    result_.aborted = scan_.Abort.IsSet();
    v_.controls.SetFixEnabled(true);
    const std::string count = std::to_string(scan_.AlertCounter);
    if (result_.aborted) v_.log.AddLine(time_ + ": " + Msg(Msg::ScanProcessAbort));
    v_.log.AddLine(time_ + ": " + count + Msg(Msg::DangerousFilesFound));
    v_.log.AddLine(Msg(Msg::ClickFixToFix));
    if (!result_.aborted) {
      v_.prompts.Tell({PromptKind::UrgentInformation, Msg::YouHave,
                       Msg(Msg::YouHave) + count + Msg(Msg::DangerousFilesClickFix),
                       Msg(Msg::Alert)});
    }
    RemoveHeaderLine(v_.results);
    v_.controls.ShowIdle(/*fixEnabled=*/true);
    v_.status.SetText(Msg(result_.aborted ? Msg::ScanAborted : Msg::ScanFinished));
    return result_;
  }

 private:
  std::string Msg(common::Msg entry) const { return s_.Catalog().Text(entry); }

  // The flagged files by size, once: a file of another size is no copy, so most files are
  // passed by one lookup, whatever the number of alerts. The references are fixed for the
  // run: the copies it adds are not compared against.
  void IndexReferences() {
    for (size_t i = 0; i < scan_.Alerts.Size(); ++i) {
      const scan::Alert& a = scan_.Alerts[i];
      if (!IsReference(a)) continue;
      const int64_t size = SizeOf(a.Path);
      if (size > 0) bySize_[static_cast<uint64_t>(size)].push_back(i);
    }
  }

  // `FileSizeOf`: the size as the file's directory entry gives it; -1 without an entry.
  int64_t SizeOf(const std::string& path) {
    auto entries = p_.files.List(path);
    if (!entries || entries->empty() || entries->front().IsDirectory()) return -1;
    return static_cast<int64_t>(entries->front().size);
  }

  // `ScanFolderForCopies` with an explicit stack: folder depth is the file system's to
  // decide. Names beginning with "." and folder links are not entered, so no walk loops.
  void Walk(const std::string& root) {
    if (scan_.Ignored.Covers(root)) {
      scan_.Skipped.Add(root);
      return;
    }
    std::vector<Level> stack;
    if (auto level = Open(root)) stack.push_back(std::move(*level));
    while (!stack.empty()) {
      Level& level = stack.back();
      if (level.next == level.entries.size() || scan_.Abort.IsSet()) {
        stack.pop_back();
        continue;
      }
      // Taken out of the level before a child level is pushed, which may move the levels.
      const platform::DirEntry entry = std::move(level.entries[level.next++]);
      path_.assign(level.folder).append(entry.name);
      const bool serve = ++sinceServed_ >= kEntriesPerServe;
      if (serve) ServeWindow();
      // An ignored folder is not entered and an ignored file not read.
      if (!scan_.Ignored.Empty() && scan_.Ignored.Covers(path_)) {
        scan_.Skipped.Add(path_);
        continue;
      }
      if (entry.IsDirectory()) {
        if (entry.name.empty() || entry.name[0] == '.') continue;
        if (entry.attributes & platform::attr::ReparsePoint) continue;
        if (auto child = Open(path_)) stack.push_back(std::move(*child));
        continue;
      }
      CheckFile(path_, entry.size, serve);
    }
  }

  void ServeWindow() {
    sinceServed_ = 0;
    v_.pump.ProcessPendingMessages();
  }

  std::optional<Level> Open(std::string folder) {
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    auto entries = p_.files.List(folder + "*.*");
    ServeWindow();
    if (!entries) return std::nullopt;
    return Level{std::move(folder), std::move(*entries), 0};
  }

  void ShowChecking(const std::string& path) {
    status_.assign(checking_).append(path);
    v_.status.SetText(status_);
  }

  void CheckFile(const std::string& path, uint64_t size, bool showStatus) {
    ++result_.files;
    if (showStatus) ShowChecking(path);
    if (size == 0) return;
    const auto candidates = bySize_.find(size);
    if (candidates == bySize_.end()) return;  // no flagged file of this size
    if (!showStatus) ShowChecking(path);  // it may be read whole: the line names it meanwhile
    std::optional<std::string> digest;
    bool digestTaken = false;
    for (const size_t i : candidates->second) {
      const scan::Alert& reference = scan_.Alerts[i];
      v_.pump.ProcessPendingMessages();
      if (platform::EqualsNoCase(reference.Path, path)) continue;
      // The flagged file as it is now: one that went or changed since is no reference.
      if (SizeOf(reference.Path) != static_cast<int64_t>(size)) continue;
      try {
        if (!digestTaken) {
          digest = scan::ReadFileDigest(p_.files, path);
          digestTaken = true;
        }
        if (!digest) throw std::runtime_error("unreadable");
        if (*digest != reference.Md5) continue;
        if (scan_.Alerts.IsAlertPath(path)) continue;
        scan_.CountUp();
        v_.log.AddLine(time_ + Msg(Msg::InfectedFileLine) + reference.ThreatName + ") " + path);
        const std::string threat = reference.ThreatName, md5 = reference.Md5;
        scan_.Alerts.AddAlert(path, threat, md5, -1, false, false, true, false);
        ++result_.copies;
      } catch (const std::exception&) {
        v_.log.AddLine(time_ + Msg(Msg::CannotOpenFileLine) + path + ") " + path);
      }
    }
  }

  app::Session& s_;
  FullScanViews v_;
  platform::Platform& p_;
  scan::ScanSession& scan_;
  std::string time_;
  std::string checking_;  // the status line's words before the path
  // Reused for every entry, so a listed file costs no allocation of its own.
  std::string path_, status_;
  // Entries since the window was last served.
  size_t sinceServed_ = 0;
  // The reference alerts by the size their file had when the run started.
  std::unordered_map<uint64_t, std::vector<size_t>> bySize_;
  FullScanResult result_;
};

}  // namespace

std::string ListDrives(platform::Platform& platform, int index,
                       std::optional<platform::DriveType> type) {
  std::string list;
  int count = 0;
  for (const std::string& root : platform.folders.LogicalDrives()) {
    if (count == index) return root;
    if (!type || platform.folders.GetDriveType(root) == *type) list += root + ";";
    ++count;
  }
  return index == -1 ? list : std::string();
}

std::vector<std::string> SplitDrives(const std::string& selectedDrives) {
  std::vector<std::string> roots;
  size_t start = 0;
  for (size_t semicolon; (semicolon = selectedDrives.find(';', start)) != std::string::npos;
       start = semicolon + 1)
    if (semicolon > start) roots.push_back(selectedDrives.substr(start, semicolon - start));
  return roots;
}

FullScanResult FullDriveScan(app::Session& session, FullScanViews views,
                             const std::string& selectedDrives) {
  return FullScan(session, views).Run(selectedDrives);
}

AbortChoice AbortFullScan(app::Session& session, FullScanViews views) {
  const common::MessageCatalog& catalog = session.Catalog();
  const std::string question = catalog.Text(Msg::AbortFullScanQuestion) + "\r\r" +
                               catalog.Text(Msg::Note) + "\r" +
                               catalog.Text(Msg::AbortFullScanWarning);
  if (!views.prompts.Ask({PromptKind::PlainAlertQuestion, Msg::AbortFullScanQuestion, question,
                          catalog.Text(Msg::ScanAlertCaption)})) {
    session.Abort().Clear();
    return AbortChoice::ScanAnyway;
  }
  if (session.Scan().AlertCounter > 0 &&
      views.prompts.Ask({PromptKind::PlainQuestion, Msg::CleanActiveAlerts,
                         catalog.Text(Msg::CleanActiveAlerts)})) {
    session.Abort().Clear();
    RemoveHeaderLine(views.results);
    return AbortChoice::Fix;
  }
  RemoveHeaderLine(views.results);
  views.controls.ShowIdle(/*fixEnabled=*/true);
  views.status.SetText(catalog.Text(session.Abort().IsSet() ? Msg::ScanAborted : Msg::ScanFinished));
  return AbortChoice::Back;
}

}  // namespace morvanta::runs
