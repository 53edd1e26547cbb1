#include "quarantine_command.h"

#include "cli.h"
#include "platform/text.h"
#include "runs/quarantine_manager.h"

namespace morvanta::cli {

const char kQuarantineUsage[] =
    "usage: morvanta-cli quarantine list | add FILE | restore PATH | remove PATH\n";

namespace {

struct Context {
  app::Session& session;
  remedy::QuarantineStore& store;
  std::ostream& out;
  std::ostream& err;
};

// The index file as it is now. False (with a message) when it is there but cannot be read:
// nothing is then changed, or the entries it lists would be lost.
bool TakeIndex(Context& c) {
  if (c.store.LoadQuarantineIndex()) return true;
  if (!c.session.Platform().files.Exists(c.store.IndexFile())) return true;
  c.err << "morvanta-cli: cannot read the quarantine index " << c.store.IndexFile() << "\n";
  return false;
}

// One line per entry, tab-separated: where the file came from, the threat's name, when it
// was stored, its MD5 (empty for a file added by hand), the stored copy.
int List(Context& c) {
  if (!TakeIndex(c)) return kError;
  for (const auto& e : c.store.Index())
    c.out << e.SourcePath << '\t' << e.TaskName << '\t' << e.AddedAt << '\t' << e.FileMd5
          << '\t' << e.StoredPath << '\n';
  return kClean;
}

int Add(Context& c, const std::string& path) {
  if (!c.session.Platform().files.FileExists(path)) {
    c.err << "morvanta-cli: " << path << ": no such file\n";
    return kError;
  }
  if (!TakeIndex(c)) return kError;
  if (c.store.IsInQuarantine(path)) {
    c.out << path << ": already in quarantine\n";
    return kFound;
  }
  if (!c.store.AddToQuarantine(path, runs::kHandAddedTask, "")) {
    c.err << "morvanta-cli: " << path << ": cannot add the file to the quarantine\n";
    ExplainMissingRights(c.session, c.err);
    return kError;
  }
  c.out << path << ": added to quarantine\n";
  return kClean;
}

// The first entry of the path, as the restore and the removal take it.
const remedy::TQFileList* EntryOf(Context& c, const std::string& path) {
  for (const auto& e : c.store.Index())
    if (platform::EqualsNoCase(e.SourcePath, path)) return &e;
  return nullptr;
}

int Restore(Context& c, const std::string& path) {
  if (!TakeIndex(c)) return kError;
  const auto* entry = EntryOf(c, path);
  if (!entry) {
    c.err << "morvanta-cli: " << path << ": not in quarantine\n";
    return kError;
  }
  const std::string source = entry->SourcePath;
  if (!c.store.RestoreFromQuarantine(source, platform::FolderPart(source))) {
    c.err << "morvanta-cli: " << source
          << ": cannot restore the file (it stays in the quarantine)\n";
    ExplainMissingRights(c.session, c.err);
    return kError;
  }
  c.out << source << ": restored\n";
  return kClean;
}

int Remove(Context& c, const std::string& path) {
  if (!TakeIndex(c)) return kError;
  const auto* entry = EntryOf(c, path);
  if (!entry) {
    c.err << "morvanta-cli: " << path << ": not in quarantine\n";
    return kError;
  }
  const std::string source = entry->SourcePath;
  const bool copyDeleted = c.store.RemoveFromQuarantine(source);
  if (!c.store.SaveQuarantineIndex()) {
    c.err << "morvanta-cli: cannot write the quarantine index " << c.store.IndexFile() << "\n";
    ExplainMissingRights(c.session, c.err);
    return kError;
  }
  if (!copyDeleted) {
    c.out << source << ": removed from the index; its stored copy could not be deleted\n";
    ExplainMissingRights(c.session, c.err);
    return kFound;
  }
  c.out << source << ": removed from quarantine\n";
  return kClean;
}

}  // namespace

std::string FullPath(const std::string& given, const std::string& currentFolder) {
  std::string path = given;
  for (char& ch : path)
    if (ch == '/') ch = '\\';
  const bool drive = path.size() >= 3 && path[1] == ':' && path[2] == '\\';
  const bool share = platform::StartsWith(path, "\\\\");
  if (drive || share) return path;
  if (path.size() >= 1 && path[0] == '\\' && currentFolder.size() >= 2)
    return currentFolder.substr(0, 2) + path;  // from the root of the current drive
  std::string folder = currentFolder;
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  // Leading "." and ".." steps are taken here, so that the index holds a plain path.
  while (true) {
    if (platform::StartsWith(path, ".\\")) {
      path.erase(0, 2);
    } else if (platform::StartsWith(path, "..\\")) {
      path.erase(0, 3);
      const size_t cut = folder.find_last_of('\\', folder.size() >= 2 ? folder.size() - 2 : 0);
      if (cut != std::string::npos && cut >= 2) folder.erase(cut + 1);
    } else {
      break;
    }
  }
  return folder + path;
}

int QuarantineCommand(app::Session& session, const std::vector<std::string>& args,
                      std::ostream& out, std::ostream& err) {
  Context c{session, session.Quarantine(), out, err};
  const std::string action = args.size() > 1 ? args[1] : "";
  if (action == "list" && args.size() == 2) return List(c);
  if ((action == "add" || action == "restore" || action == "remove") && args.size() == 3) {
    const std::string path =
        FullPath(args[2], session.Platform().files.CurrentDirectory());
    if (action == "add") return Add(c, path);
    if (action == "restore") return Restore(c, path);
    return Remove(c, path);
  }
  err << kQuarantineUsage;
  return kError;
}

}  // namespace morvanta::cli
