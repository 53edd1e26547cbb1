#include "scan/walker.h"

#include <exception>
#include <optional>

#include "platform/text.h"
#include "platform/types.h"
#include "scan/file_digest.h"
#include "scan/path_tokens.h"
#include "scan/text_fields.h"

namespace morvanta::scan {
namespace {

using common::Msg;

// One folder being walked: its listing and the next entry to take up.
struct WalkLevel {
  std::string folder;  // with its trailing backslash
  std::vector<platform::DirEntry> entries;
  size_t next = 0;
  std::string time;  // this folder's time stamp for its log lines
};

std::optional<WalkLevel> OpenLevel(platform::Platform& platform, std::string folder) {
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  auto entries = platform.files.List(folder + "*.*");
  if (!entries) return std::nullopt;
  return WalkLevel{folder, std::move(*entries), 0, platform.system.LongTimeText()};
}

void FlagFile(platform::Platform& platform, ScanSession& session, common::LogLines& log,
              const common::MessageCatalog& catalog, const WalkLevel& level,
              const std::string& name, const std::string& threatName) {
  const std::string path = level.folder + name;
  if (session.Ignored.Covers(path)) {
    session.Skipped.Add(path);
    return;
  }
  // A file an entry found before is that entry's alert already: counted and logged once.
  if (session.Alerts.IsAlertPath(path)) return;
  try {
    const std::string digest = FileDigest(platform.files, path);
    session.Alerts.AddAlert(path, threatName, digest, -1, true, false, false, false);
  } catch (const std::exception&) {
    log.AddLine(level.time + catalog.Text(Msg::CannotOpenFileLine) + path + ") " + path);
    return;
  }
  session.CountUp();
  log.AddLine(level.time + catalog.Text(Msg::InfectedFileLine) + threatName + ") " + path);
}

}  // namespace

std::vector<std::string> SnapshotProcesses::ImagePaths() {
  std::vector<std::string> paths;
  auto snapshot = processes_.Snapshot();
  if (!snapshot) return paths;
  for (const auto& entry : *snapshot)
    if (auto path = processes_.ImagePath(entry.pid)) paths.push_back(*path);
  return paths;
}

bool FlagFolderContents(platform::Platform& platform, ScanSession& session, common::LogLines& log,
                        const common::MessageCatalog& catalog, const std::string& folder,
                        const std::string& threatName, bool recurse) {
  // A folder that leads elsewhere (junction, symbolic link, mount point) is never walked:
  // what lies behind it was never inside the flagged folder.
  if (auto a = platform.files.GetAttributes(folder); a && (*a & platform::attr::ReparsePoint))
    return false;
  if (session.Ignored.Covers(folder)) {
    session.Skipped.Add(folder);
    return false;
  }
  auto top = OpenLevel(platform, folder);
  if (!top) return false;
  // An explicit stack instead of recursion: folder depth is the file system's to decide.
  std::vector<WalkLevel> stack;
  stack.push_back(std::move(*top));
  while (!stack.empty()) {
    WalkLevel& level = stack.back();
    if (level.next == level.entries.size()) {
      stack.pop_back();
      continue;
    }
    const platform::DirEntry entry = level.entries[level.next++];
    if (!entry.IsDirectory()) {
      FlagFile(platform, session, log, catalog, level, entry.name, threatName);
      continue;
    }
    if (!recurse || entry.name.empty() || entry.name[0] == '.') continue;
    const std::string sub = level.folder + entry.name;
    // An ignored folder is left as it is, with everything in it.
    if (session.Ignored.Covers(sub)) {
      session.Skipped.Add(sub);
      continue;
    }
    session.Alerts.AddAlert(sub, threatName, "", -1, false, true, false, false);
    // A link is flagged itself (removing it removes the link only), never entered.
    if (entry.attributes & platform::attr::ReparsePoint) continue;
    if (auto child = OpenLevel(platform, sub)) stack.push_back(std::move(*child));
  }
  return true;
}

RunningProcessIndex::RunningProcessIndex(platform::Platform& platform,
                                         RunningProcesses& processes)
    : platform_(platform) {
  for (auto& path : processes.ImagePaths()) {
    if (!IsFilePresent(platform.files, path)) continue;
    lower_.push_back(platform::AsciiLower(path));
    present_.push_back(std::move(path));
  }
}

std::string RunningProcessIndex::Find(const std::string& nameFragment,
                                      const std::string& digest) const {
  if (!nameFragment.empty()) {
    const std::string fragment = platform::AsciiLower(nameFragment);
    for (size_t i = 0; i < lower_.size(); ++i)
      if (platform::Contains(lower_[i], fragment)) return present_[i];
    return "";
  }
  if (!digest.empty()) {
    for (const auto& path : present_)
      if (FileDigest(platform_.files, path) == digest) return path;
  }
  return "";
}

std::string FindRunningProcess(platform::Platform& platform, RunningProcesses& processes,
                               const std::string& nameFragment, const std::string& digest) {
  return RunningProcessIndex(platform, processes).Find(nameFragment, digest);
}

std::string FindRunningObjectByDigest(platform::Platform& platform, RunningObjects& objects,
                                      const std::string& digest) {
  if (digest.empty()) return "";
  try {
    const auto& lines = objects.List();
    for (size_t i = 0; i < lines.size(); ++i)
      if (platform::Contains(lines[i], digest)) return objects.ResolvedPath(platform, i);
  } catch (const std::exception&) {
  }
  return "";
}

}  // namespace morvanta::scan
