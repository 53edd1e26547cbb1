#include "platform/fake/fake_files.h"
#include "platform/text.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace morvanta::platform::fake {
namespace {

// 2026-01-01 00:00:00 UTC as a file time: the fake clock's start.
constexpr FileTime kDefaultClock = 134116992000000000ULL;

bool IsDriveRoot(const std::string& full) { return full.size() == 3 && full[1] == ':'; }

std::string ParentOf(const std::string& full) {
  size_t slash = full.find_last_of('\\');
  if (slash == std::string::npos) return "";
  if (slash == 2) return full.substr(0, 3);  // "C:\"
  return full.substr(0, slash);
}

std::string NameOf(const std::string& full) {
  size_t slash = full.find_last_of('\\');
  return slash == std::string::npos ? full : full.substr(slash + 1);
}

// FindFirstFile masks: '*' any run, '?' one character, case-insensitive; "*.*" is all.
bool MaskMatches(const std::string& mask, const std::string& name) {
  if (mask == "*" || mask == "*.*") return true;
  std::string m = AsciiLower(mask), n = AsciiLower(name);
  size_t mi = 0, ni = 0, starM = std::string::npos, starN = 0;
  while (ni < n.size()) {
    if (mi < m.size() && (m[mi] == '?' || m[mi] == n[ni])) {
      ++mi;
      ++ni;
    } else if (mi < m.size() && m[mi] == '*') {
      starM = mi++;
      starN = ni;
    } else if (starM != std::string::npos) {
      mi = starM + 1;
      ni = ++starN;
    } else {
      return false;
    }
  }
  while (mi < m.size() && m[mi] == '*') ++mi;
  return mi == m.size();
}

class FakeFile : public File {
 public:
  FakeFile(std::shared_ptr<FakeFiles::Node> node, bool writer, uint64_t position, FileTime now,
           std::shared_ptr<FakeFiles::FreeSpace> space)
      : node_(std::move(node)), writer_(writer), position_(position), now_(now),
        space_(std::move(space)) {
    (writer_ ? node_->writers : node_->readers)++;
  }
  ~FakeFile() override { (writer_ ? node_->writers : node_->readers)--; }

  size_t Read(void* buffer, size_t count) override {
    if (position_ >= node_->data.size()) return 0;
    size_t n = std::min<uint64_t>(count, node_->data.size() - position_);
    std::memcpy(buffer, node_->data.data() + position_, n);
    position_ += n;
    return n;
  }

  bool Write(const void* data, size_t count) override {
    if (!writer_) return false;
    const uint64_t growth =
        position_ + count > node_->data.size() ? position_ + count - node_->data.size() : 0;
    if (space_->bytes) {
      if (growth > *space_->bytes) return false;  // the disk is full
      *space_->bytes -= growth;
    }
    if (position_ + count > node_->data.size()) node_->data.resize(position_ + count);
    if (count) std::memcpy(node_->data.data() + position_, data, count);
    position_ += count;
    node_->lastWrite = now_;
    return true;
  }

  bool Seek(uint64_t position) override {
    position_ = position;
    return true;
  }

  uint64_t Size() override { return node_->data.size(); }

 private:
  std::shared_ptr<FakeFiles::Node> node_;
  bool writer_;
  uint64_t position_;
  FileTime now_;
  std::shared_ptr<FakeFiles::FreeSpace> space_;
};

class FakeMapping : public MappedFile {
 public:
  explicit FakeMapping(std::shared_ptr<FakeFiles::Node> node)
      : node_(std::move(node)), bytes_(node_->data) {
    node_->readers++;
  }
  ~FakeMapping() override { node_->readers--; }
  const uint8_t* Data() const override { return bytes_.data(); }
  size_t Size() const override { return bytes_.size(); }

 private:
  std::shared_ptr<FakeFiles::Node> node_;
  std::vector<uint8_t> bytes_;  // a snapshot: later writes do not move the view's memory
};

}  // namespace

FakeFiles::FakeFiles() : clock_(kDefaultClock) { AddDrive("C:"); }

std::string FakeFiles::FullPath(const std::string& path) const {
  std::string p = path;
  std::replace(p.begin(), p.end(), '/', '\\');
  if (p.size() >= 2 && p[1] == ':') {
    p[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(p[0])));
    if (p.size() == 2 || p[2] != '\\') p.insert(2, "\\");  // "C:x" is taken as "C:\x"
  } else if (!p.empty() && p[0] == '\\') {
    p = currentDirectory_.substr(0, 2) + p;
  } else {
    std::string base = currentDirectory_;
    if (base.back() != '\\') base += '\\';
    p = base + p;
  }
  // Collapse doubled separators and resolve "." and "..".
  std::vector<std::string> parts;
  std::string part;
  for (size_t i = 3; i <= p.size(); ++i) {
    if (i == p.size() || p[i] == '\\') {
      if (part == "..") {
        if (!parts.empty()) parts.pop_back();
      } else if (!part.empty() && part != ".") {
        // Windows drops blanks and dots at the end of a name: "a.exe " opens "a.exe".
        size_t keep = part.find_last_not_of(" .");
        if (keep != std::string::npos) parts.push_back(part.substr(0, keep + 1));
      }
      part.clear();
    } else {
      part += p[i];
    }
  }
  std::string full = p.substr(0, 3);
  for (size_t i = 0; i < parts.size(); ++i) full += (i ? "\\" : "") + parts[i];
  return ThroughLinks(full);
}

std::string FakeFiles::ThroughLinks(std::string full) const {
  // A folder link on the way leads into its target, as the system's path lookup does; the
  // last name is left alone, so a link itself is still the link.
  for (int hops = 0; hops < 32; ++hops) {
    bool followed = false;
    for (size_t slash = full.find('\\', 3); slash != std::string::npos;
         slash = full.find('\\', slash + 1)) {
      auto it = nodes_.find(AsciiLower(full.substr(0, slash)));
      if (it == nodes_.end()) break;  // nothing below a missing folder
      if (it->second->linkTarget.empty()) continue;
      full = it->second->linkTarget + full.substr(slash);
      followed = true;
      break;
    }
    if (!followed) break;
  }
  return full;
}

std::shared_ptr<FakeFiles::Node> FakeFiles::Find(const std::string& path) const {
  if (path.empty()) return nullptr;
  auto it = nodes_.find(AsciiLower(FullPath(path)));
  if (it == nodes_.end()) return nullptr;
  // A name followed by a separator names a folder; Windows finds no file as "x.exe\".
  const char last = path.back();
  if ((last == '\\' || last == '/') && !it->second->directory) return nullptr;
  return it->second;
}

std::shared_ptr<FakeFiles::Node> FakeFiles::FindParentFolder(const std::string& full) const {
  if (IsDriveRoot(full)) return nullptr;
  auto parent = Find(ParentOf(full));
  return parent && parent->directory ? parent : nullptr;
}

bool FakeFiles::HasChildren(const std::string& full) const {
  std::string prefix = AsciiLower(full);
  if (prefix.back() != '\\') prefix += '\\';
  auto it = nodes_.lower_bound(prefix);
  return it != nodes_.end() && it->first.compare(0, prefix.size(), prefix) == 0;
}

void FakeFiles::AddDrive(const std::string& letterColon) {
  auto node = std::make_shared<Node>();
  node->path = FullPath(letterColon + "\\");
  node->directory = true;
  node->attributes = attr::Directory;
  nodes_[AsciiLower(node->path)] = node;
}

void FakeFiles::MakeFolders(const std::string& path) {
  std::string full = FullPath(path);
  if (Find(full)) return;
  MakeFolders(ParentOf(full));
  CreateDirectory(full);
}

void FakeFiles::MakeFolderLink(const std::string& link, const std::string& target) {
  const std::string full = FullPath(link);
  MakeFolders(ParentOf(full));
  auto node = std::make_shared<Node>();
  node->path = full;
  node->directory = true;
  node->attributes = attr::Directory | attr::ReparsePoint;
  node->lastWrite = clock_;
  node->linkTarget = FullPath(target);
  nodes_[AsciiLower(full)] = node;
}

void FakeFiles::PutFile(const std::string& path, const std::string& content) {
  std::string full = FullPath(path);
  MakeFolders(ParentOf(full));
  auto node = Find(full);
  if (!node) {
    node = std::make_shared<Node>();
    node->path = full;
    nodes_[AsciiLower(full)] = node;
  }
  node->data.assign(content.begin(), content.end());
  node->lastWrite = clock_;
}

std::optional<std::vector<DirEntry>> FakeFiles::List(const std::string& pattern) {
  std::string full = FullPath(pattern);
  if (IsDriveRoot(full)) return std::nullopt;
  std::string folder = ParentOf(full), mask = NameOf(full);
  auto dir = Find(folder);
  // A listing through a folder link is the target's (a few hops at most, as the system's).
  for (int hops = 0; dir && !dir->linkTarget.empty() && hops < 32; ++hops) {
    folder = dir->linkTarget;
    dir = Find(folder);
  }
  if (!dir || !dir->directory || !dir->linkTarget.empty()) return std::nullopt;
  std::vector<DirEntry> entries;
  if (!IsDriveRoot(folder)) {
    for (const char* dots : {".", ".."})
      if (MaskMatches(mask, dots)) entries.push_back({dots, attr::Directory, 0, dir->lastWrite});
  }
  std::string prefix = AsciiLower(folder);
  if (prefix.back() != '\\') prefix += '\\';
  for (auto it = nodes_.lower_bound(prefix);
       it != nodes_.end() && it->first.compare(0, prefix.size(), prefix) == 0; ++it) {
    if (it->first.find('\\', prefix.size()) != std::string::npos) continue;
    const Node& n = *it->second;
    std::string name = NameOf(n.path);
    if (!MaskMatches(mask, name)) continue;
    entries.push_back({name, n.attributes, n.directory ? 0 : n.data.size(), n.lastWrite});
  }
  if (entries.empty()) return std::nullopt;
  return entries;
}

std::optional<uint32_t> FakeFiles::GetAttributes(const std::string& path) {
  auto node = Find(path);
  if (!node) return std::nullopt;
  return node->attributes;
}

bool FakeFiles::SetAttributes(const std::string& path, uint32_t attributes) {
  auto node = Find(path);
  if (!node) return false;
  uint32_t settable = attr::ReadOnly | attr::Hidden | attr::System | attr::Archive;
  node->attributes =
      (node->attributes & (attr::Directory | attr::ReparsePoint)) | (attributes & settable);
  if (node->attributes == 0) node->attributes = attr::Normal;
  return true;
}

bool FakeFiles::DeleteFile(const std::string& path) {
  auto node = Find(path);
  if (!node || node->directory) return false;
  if (node->readers || node->writers || (node->attributes & attr::ReadOnly)) return false;
  nodes_.erase(AsciiLower(node->path));
  return true;
}

bool FakeFiles::CreateDirectory(const std::string& path) {
  std::string full = FullPath(path);
  if (Find(full) || !FindParentFolder(full)) return false;
  auto node = std::make_shared<Node>();
  node->path = full;
  node->directory = true;
  node->attributes = attr::Directory;
  node->lastWrite = clock_;
  nodes_[AsciiLower(full)] = node;
  return true;
}

bool FakeFiles::RemoveDirectory(const std::string& path) {
  auto node = Find(path);
  if (!node || !node->directory || IsDriveRoot(node->path) || HasChildren(node->path))
    return false;
  nodes_.erase(AsciiLower(node->path));
  return true;
}

bool FakeFiles::MoveFile(const std::string& from, const std::string& to) {
  auto node = Find(from);
  std::string target = FullPath(to);
  if (!node || Find(target) || !FindParentFolder(target) || IsDriveRoot(node->path))
    return false;
  if (node->readers || node->writers) return false;
  std::string oldKey = AsciiLower(node->path), newKey = AsciiLower(target);
  if (newKey.rfind(oldKey + "\\", 0) == 0) return false;  // into itself
  // The node itself and everything below it; other names may sort in between.
  std::vector<std::shared_ptr<Node>> moved;
  for (auto it = nodes_.lower_bound(oldKey);
       it != nodes_.end() && it->first.compare(0, oldKey.size(), oldKey) == 0; ++it) {
    if (it->first == oldKey || it->first[oldKey.size()] == '\\') moved.push_back(it->second);
  }
  for (auto& n : moved) {
    if (n->readers || n->writers) return false;
  }
  const size_t oldLength = node->path.size();
  for (auto& n : moved) {
    nodes_.erase(AsciiLower(n->path));
    n->path = target + n->path.substr(oldLength);
  }
  for (auto& n : moved) nodes_[AsciiLower(n->path)] = n;
  return true;
}

bool FakeFiles::ReplaceFile(const std::string& from, const std::string& to) {
  auto source = Find(from);
  auto target = Find(to);
  if (!target) return MoveFile(from, to);
  if (!source || source->directory || target->directory) return false;
  // Open files, either one, and a read-only target cannot be replaced.
  if (source->readers || source->writers || target->readers || target->writers ||
      (target->attributes & attr::ReadOnly))
    return false;
  const std::string path = target->path;
  nodes_.erase(AsciiLower(source->path));
  source->path = path;
  nodes_[AsciiLower(path)] = source;
  return true;
}

bool FakeFiles::CopyFile(const std::string& from, const std::string& to, bool failIfExists) {
  auto source = Find(from);
  if (!source || source->directory) return false;
  std::string target = FullPath(to);
  auto existing = Find(target);
  if (existing && (failIfExists || existing->directory || existing->readers ||
                   existing->writers || (existing->attributes & attr::ReadOnly)))
    return false;
  if (!FindParentFolder(target)) return false;
  auto node = std::make_shared<Node>(*source);
  node->path = existing ? existing->path : target;
  node->readers = node->writers = 0;
  nodes_[AsciiLower(node->path)] = node;
  return true;
}

bool FakeFiles::DeleteAtRestart(const std::string& path) {
  if (!administrator_) {
    lastError_ = kAccessDenied;
    return false;
  }
  restartDeletes_.push_back(FullPath(path));
  return true;
}

void FakeFiles::ForgetRestartDelete(const std::string& path) {
  const std::string full = AsciiLower(FullPath(path));
  restartDeletes_.erase(std::remove_if(restartDeletes_.begin(), restartDeletes_.end(),
                                       [&](const std::string& p) { return AsciiLower(p) == full; }),
                        restartDeletes_.end());
}

std::unique_ptr<File> FakeFiles::Open(const std::string& path, OpenMode mode) {
  std::string full = FullPath(path);
  auto node = Find(path);
  lastError_ = kAccessDenied;
  if (node && node->directory) return nullptr;
  lastError_ = kNotFound;
  if (!node && !path.empty() && (path.back() == '\\' || path.back() == '/')) return nullptr;
  if (mode == OpenMode::Read) {
    if (!node) return nullptr;
    return std::make_unique<FakeFile>(node, false, 0, clock_, space_);
  }
  lastError_ = node && node->writers ? kInUse : kAccessDenied;
  if (node && (node->writers || (node->attributes & attr::ReadOnly))) return nullptr;
  lastError_ = kPathNotFound;
  if (!node) {
    if (!FindParentFolder(full)) return nullptr;
    node = std::make_shared<Node>();
    node->path = full;
    node->lastWrite = clock_;
    nodes_[AsciiLower(full)] = node;
  }
  if (mode == OpenMode::Write) {
    node->data.clear();
    node->lastWrite = clock_;
  }
  uint64_t start = mode == OpenMode::Append ? node->data.size() : 0;
  return std::make_unique<FakeFile>(node, true, start, clock_, space_);
}

std::unique_ptr<MappedFile> FakeFiles::MapReadOnly(const std::string& path) {
  auto node = Find(path);
  if (!node || node->directory || node->data.empty()) return nullptr;
  return std::make_unique<FakeMapping>(node);
}

std::optional<FileTime> FakeFiles::LastWriteTime(const std::string& path) {
  auto node = Find(path);
  if (!node) return std::nullopt;
  return node->lastWrite;
}

std::optional<uint32_t> FakeFiles::ToLocalDosDateTime(FileTime time) {
  int64_t seconds = static_cast<int64_t>(time / 10000000ULL) - 11644473600LL;
  seconds += static_cast<int64_t>(utcOffsetMinutes_) * 60;
  int64_t days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
  int64_t secs = seconds - days * 86400;
  // Civil date from days since 1970-01-01 (proleptic Gregorian).
  int64_t z = days + 719468, era = (z >= 0 ? z : z - 146096) / 146097;
  int64_t doe = z - era * 146097;
  int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  int64_t mp = (5 * doy + 2) / 153;
  int64_t day = doy - (153 * mp + 2) / 5 + 1, month = mp < 10 ? mp + 3 : mp - 9;
  int64_t year = yoe + era * 400 + (month <= 2);
  if (year < 1980 || year > 2107) return std::nullopt;
  uint32_t date = static_cast<uint32_t>(((year - 1980) << 9) | (month << 5) | day);
  uint32_t clock = static_cast<uint32_t>(((secs / 3600) << 11) | ((secs / 60 % 60) << 5) |
                                          (secs % 60 / 2));
  return date << 16 | clock;
}

}  // namespace morvanta::platform::fake
