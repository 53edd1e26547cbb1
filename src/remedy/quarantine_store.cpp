#include "remedy/quarantine_store.h"

#include <algorithm>
#include <vector>

#include "platform/text.h"

namespace morvanta::remedy {

using platform::EqualsNoCase;
using platform::FileNamePart;
using platform::FolderPart;

QuarantineStore::QuarantineStore(platform::Platform platform, std::string programFolder,
                                 std::string_view passphrase)
    : p_(platform),
      folder_(programFolder + "Quarantine"),
      indexFile_(programFolder + "Quarantine.info"),
      cipher_(passphrase) {}

QuarantineStore::FileMark QuarantineStore::MarkOfIndexFile() {
  FileMark mark;
  mark.written = p_.files.LastWriteTime(indexFile_);
  if (mark.written)
    if (auto file = p_.files.Open(indexFile_, platform::OpenMode::Read)) mark.size = file->Size();
  return mark;
}

bool QuarantineStore::LoadQuarantineIndex(const std::string& file) {
  index_.clear();
  loaded_ = true;
  unsaved_ = false;
  if (file == indexFile_) seen_ = MarkOfIndexFile();
  const auto bytes = p_.files.ReadAll(file);
  if (file == indexFile_) unreadable_ = !bytes && p_.files.Exists(file);
  if (!bytes) return false;
  index_ = ParseQuarantineIndex(
      std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
  return true;
}

bool QuarantineStore::SaveQuarantineIndex(const std::string& file) {
  if (file == indexFile_ && unreadable_ && p_.files.Exists(file)) return false;
  if (!p_.files.WriteAtomically(file, FormatQuarantineIndex(index_))) return false;
  if (file == indexFile_) {
    unsaved_ = false;
    seen_ = MarkOfIndexFile();
  }
  return true;
}

void QuarantineStore::EnsureLoaded() {
  // A missing index file leaves the index as it is: empty after the start.
  if (!loaded_ || unreadable_ || (!unsaved_ && !(MarkOfIndexFile() == seen_))) {
    if (p_.files.Exists(indexFile_)) {
      LoadQuarantineIndex();
    } else {
      unreadable_ = false;  // what could not be read is gone: nothing to lose any more
    }
  }
  loaded_ = true;
}

const TQFileList* QuarantineStore::FirstEntry(const std::string& path) const {
  for (const TQFileList& entry : index_)
    if (EqualsNoCase(entry.SourcePath, path)) return &entry;
  return nullptr;
}

bool QuarantineStore::IsInQuarantine(const std::string& path) {
  EnsureLoaded();
  return FirstEntry(path) != nullptr;
}

bool QuarantineStore::IsInsideStore(const std::string& storedPath) const {
  if (!EqualsNoCase(FolderPart(storedPath), folder_ + "\\")) return false;
  const std::string name = FileNamePart(storedPath);
  // '/' separates folders as well; a name of dots and blanks alone names the folder itself.
  if (name.find('/') != std::string::npos) return false;
  return name.find_first_not_of(". ") != std::string::npos;
}

bool QuarantineStore::PassesLink(const std::string& path) {
  // Every folder from the drive on; the root itself is no link. Missing ones lead nowhere
  // yet, and are looked at again once they are made.
  for (size_t slash = path.find('\\', 3); slash != std::string::npos && slash + 1 < path.size();
       slash = path.find('\\', slash + 1)) {
    const auto attributes = p_.files.GetAttributes(path.substr(0, slash));
    if (attributes && (*attributes & platform::attr::ReparsePoint)) return true;
  }
  const auto attributes = p_.files.GetAttributes(path);
  return attributes && (*attributes & platform::attr::ReparsePoint);
}

bool QuarantineStore::FolderUsable() {
  if (!p_.files.DirectoryExists(folder_) && !p_.files.CreateDirectory(folder_)) return false;
  return !PassesLink(folder_);
}

bool QuarantineStore::NameInUse(const std::string& path) {
  if (p_.files.Exists(path)) return true;
  return std::any_of(index_.begin(), index_.end(), [&](const TQFileList& entry) {
    return EqualsNoCase(entry.StoredPath, path);
  });
}

std::string QuarantineStore::FreeStoredPath(const std::string& fileName) {
  const std::string plain = folder_ + "\\" + fileName;
  for (int number = 1; number <= kMaxNumber; ++number) {
    const std::string candidate = number == 1 ? plain : plain + "." + std::to_string(number);
    if (!NameInUse(candidate) && !NameInUse(candidate + platform::Files::kNewFileSuffix))
      return candidate;
  }
  return {};
}

std::string QuarantineStore::FreeNeighbour(const std::string& path) {
  for (int number = 1; number <= kMaxNumber; ++number) {
    const std::string candidate =
        path + (number == 1 ? "" : std::to_string(number)) + platform::Files::kNewFileSuffix;
    if (!p_.files.Exists(candidate)) return candidate;
  }
  return {};
}

bool QuarantineStore::CopyFileBlockwise(const std::string& source, const std::string& destination,
                                        common::MessagePump* pump, QuarantineTransform* transform) {
  auto in = p_.files.Open(source, platform::OpenMode::Read);
  if (!in) return false;
  auto out = p_.files.Open(destination, platform::OpenMode::Write);
  if (!out) return false;
  const uint64_t size = in->Size();
  std::vector<uint8_t> block(kBlockSize);
  uint64_t copied = 0;
  for (;;) {
    if (pump) pump->ProcessPendingMessages();
    // Full blocks until the end, so that only the file's last piece is short of 8 bytes.
    size_t got = 0;
    while (got < block.size()) {
      const size_t read = in->Read(block.data() + got, block.size() - got);
      if (read == 0) break;
      got += read;
    }
    if (got == 0) break;
    if (transform) transform->Process(block.data(), got);
    if (!out->Write(block.data(), got)) return false;
    copied += got;
    if (got < block.size()) break;
  }
  // A read that stopped short of the size is an error, not the end.
  return copied == size;
}

bool QuarantineStore::AddToQuarantine(const std::string& path, const std::string& taskName,
                                      const std::string& md5, common::MessagePump* pump) {
  if (IsInQuarantine(path) || unreadable_) return false;
  const std::string addedAt = p_.system.ShortDateText() + ", " + p_.system.LongTimeText();
  const std::string name = FileNamePart(path);
  if (name.empty() || !p_.files.FileExists(path) || !FolderUsable()) return false;
  const std::string stored = FreeStoredPath(name);
  if (stored.empty()) return false;
  const std::string incoming = stored + platform::Files::kNewFileSuffix;
  QuarantineTransform transform(cipher_, QuarantineTransform::Direction::Store);
  if (!CopyFileBlockwise(path, incoming, pump, &transform) || !p_.files.MoveFile(incoming, stored)) {
    p_.files.DeleteFile(incoming);
    return false;
  }
  index_.push_back({path, stored, taskName, addedAt, md5});
  if (SaveQuarantineIndex()) return true;
  index_.pop_back();
  p_.files.DeleteFile(stored);
  return false;
}

bool QuarantineStore::DeleteWithRetries(const std::string& path) {
  for (uint32_t waited = 0;; waited += 100) {
    if (p_.files.DeleteFile(path) || !p_.files.Exists(path)) return true;
    if (waited >= kDeleteRetryMilliseconds) return false;
    p_.system.Sleep(100);
  }
}

bool QuarantineStore::RestoreFromQuarantine(const std::string& path, const std::string& folder,
                                            common::MessagePump* pump) {
  EnsureLoaded();
  if (unreadable_) return false;  // its entry could not be dropped afterwards
  // The entry says where its copy is; a copy of an entry without one, or of a file stored
  // without an entry, is found by the file's own name.
  const TQFileList* entry = FirstEntry(path);
  const std::string name = FileNamePart(path);
  const std::string stored =
      entry && !entry->StoredPath.empty() ? entry->StoredPath : folder_ + "\\" + name;
  if (name.empty() || folder.empty() || !IsInsideStore(stored)) return false;
  if (!p_.files.DirectoryExists(folder_) || PassesLink(folder_) || !p_.files.FileExists(stored))
    return false;

  const std::string destination = folder + name;
  if (PassesLink(destination) || p_.files.DirectoryExists(destination)) return false;
  // The missing folders, from the top down; then the way is looked at again, made as it is.
  std::vector<std::string> missing;
  for (std::string at = folder; at.size() > 3 && !p_.files.DirectoryExists(at);) {
    if (at.back() == '\\') at.pop_back();
    missing.push_back(at);
    at = FolderPart(at);
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it)
    if (!p_.files.DirectoryExists(*it) && !p_.files.CreateDirectory(*it)) return false;
  if (PassesLink(destination)) return false;

  const std::string incoming = FreeNeighbour(destination);
  if (incoming.empty()) return false;
  QuarantineTransform transform(cipher_, QuarantineTransform::Direction::Restore);
  if (!CopyFileBlockwise(stored, incoming, pump, &transform) ||
      !p_.files.ReplaceFile(incoming, destination)) {
    p_.files.DeleteFile(incoming);
    return false;
  }
  // The file is back; a copy that will not go stays behind under a name no entry uses.
  DeleteWithRetries(stored);
  RemoveFromQuarantine(path);
  SaveQuarantineIndex();
  return true;
}

bool QuarantineStore::RemoveFromQuarantine(const std::string& path) {
  bool first = true, result = false;
  for (auto it = index_.begin(); it != index_.end();) {
    if (!EqualsNoCase(it->SourcePath, path)) {
      ++it;
      continue;
    }
    bool removed = true;
    if (IsInsideStore(it->StoredPath) && p_.files.FileExists(it->StoredPath))
      removed = p_.files.DeleteFile(it->StoredPath);
    if (first) result = removed;
    first = false;
    it = index_.erase(it);
    unsaved_ = true;
  }
  return result;
}

bool QuarantineStore::ClearQuarantine() {
  EnsureLoaded();
  for (const TQFileList& entry : index_)
    if (IsInsideStore(entry.StoredPath)) p_.files.DeleteFile(entry.StoredPath);
  index_.clear();
  unsaved_ = false;
  unreadable_ = false;
  const bool deleted = p_.files.DeleteFile(indexFile_) || !p_.files.Exists(indexFile_);
  seen_ = MarkOfIndexFile();
  return deleted;
}

}  // namespace morvanta::remedy
