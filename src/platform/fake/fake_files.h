// An in-memory file system: paths without regard to case, drive roots, attributes, write
// times from a clock the test moves, and the sharing rules of open files (a file that is
// open cannot be deleted or moved; only one writer at a time).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"
#include "platform/files.h"

namespace morvanta::platform::fake {

class FakeFiles : public Files {
 public:
  struct Node {
    std::string path;  // full path as created (original letter case)
    bool directory = false;
    uint32_t attributes = attr::Archive;
    std::vector<uint8_t> data;
    FileTime lastWrite = 0;
    int readers = 0;
    int writers = 0;
    std::string linkTarget;  // a folder link's target (full path); empty for others
  };

  // What a full disk has left; no limit when empty.
  struct FreeSpace {
    std::optional<uint64_t> bytes;
  };

  FakeFiles();

  std::optional<std::vector<DirEntry>> List(const std::string& pattern) override;
  std::optional<uint32_t> GetAttributes(const std::string& path) override;
  bool SetAttributes(const std::string& path, uint32_t attributes) override;
  bool DeleteFile(const std::string& path) override;
  bool CreateDirectory(const std::string& path) override;
  bool RemoveDirectory(const std::string& path) override;
  bool MoveFile(const std::string& from, const std::string& to) override;
  bool ReplaceFile(const std::string& from, const std::string& to) override;
  bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) override;
  bool DeleteAtRestart(const std::string& path) override;
  std::unique_ptr<File> Open(const std::string& path, OpenMode mode) override;
  std::unique_ptr<MappedFile> MapReadOnly(const std::string& path) override;
  std::optional<FileTime> LastWriteTime(const std::string& path) override;
  std::optional<uint32_t> ToLocalDosDateTime(FileTime time) override;
  std::string CurrentDirectory() override { return currentDirectory_; }
  // Set by a failed Open, in the system's words.
  std::string LastErrorText() override { return lastError_; }

  // Test set-up.
  void AddDrive(const std::string& letterColon);  // "D:"
  // Creates the folder and its missing parents.
  void MakeFolders(const std::string& path);
  // Creates or replaces a file, making its folders.
  void PutFile(const std::string& path, const std::string& content);
  // A folder that leads to another, as a junction does: listed with the reparse-point
  // attribute, its listing is the target's.
  void MakeFolderLink(const std::string& link, const std::string& target);
  void SetCurrentDirectory(const std::string& path) { currentDirectory_ = path; }
  void SetClock(FileTime now) { clock_ = now; }
  // Minutes east of UTC for the local time of ToLocalDosDateTime.
  void SetUtcOffsetMinutes(int minutes) { utcOffsetMinutes_ = minutes; }
  // Leaves `bytes` free on the disk: writes that would grow files beyond it fail.
  void SetFreeSpace(std::optional<uint64_t> bytes) { space_->bytes = bytes; }

  // The files marked for deletion at the next start, in the order marked.
  const std::vector<std::string>& RestartDeletes() const { return restartDeletes_; }
  void ForgetRestartDelete(const std::string& path);
  // Without administrator rights the system refuses to mark files.
  void SetAdministrator(bool administrator) { administrator_ = administrator; }

  // The full path a path names: relative paths are taken from the current directory.
  std::string FullPath(const std::string& path) const;

 private:
  std::string ThroughLinks(std::string full) const;
  std::shared_ptr<Node> Find(const std::string& path) const;
  std::shared_ptr<Node> FindParentFolder(const std::string& fullPath) const;
  bool HasChildren(const std::string& fullPath) const;

  static constexpr char kNotFound[] = "The system cannot find the file specified.";
  static constexpr char kPathNotFound[] = "The system cannot find the path specified.";
  static constexpr char kAccessDenied[] = "Access is denied.";
  static constexpr char kInUse[] =
      "The process cannot access the file because it is being used by another process.";

  std::map<std::string, std::shared_ptr<Node>> nodes_;  // by lower-case full path
  std::shared_ptr<FreeSpace> space_ = std::make_shared<FreeSpace>();
  std::string lastError_;
  std::string currentDirectory_ = "C:\\";
  FileTime clock_ = 0;
  int utcOffsetMinutes_ = 0;
  std::vector<std::string> restartDeletes_;
  bool administrator_ = true;
};

}  // namespace morvanta::platform::fake
