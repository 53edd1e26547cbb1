// Files and directories: listings, attributes, whole-file and streamed I/O, mappings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace morvanta::platform {

// File attribute bits, as the file system reports them.
namespace attr {
constexpr uint32_t ReadOnly = 0x01;
constexpr uint32_t Hidden = 0x02;
constexpr uint32_t System = 0x04;
constexpr uint32_t Directory = 0x10;
constexpr uint32_t Archive = 0x20;
constexpr uint32_t Normal = 0x80;
// A junction, symbolic link or mount point: the folder leads somewhere else.
constexpr uint32_t ReparsePoint = 0x400;
}  // namespace attr

// A point in time as a count of 100 ns intervals since 1601-01-01 UTC.
using FileTime = uint64_t;

struct DirEntry {
  std::string name;  // the name only, as stored (original letter case)
  uint32_t attributes = 0;
  uint64_t size = 0;
  FileTime lastWrite = 0;
  bool IsDirectory() const { return (attributes & attr::Directory) != 0; }
};

enum class OpenMode {
  Read,       // existing file; others may read and write meanwhile
  Write,      // create or truncate; others may read meanwhile
  ReadWrite,  // existing file, or created; others may read meanwhile
  Append,     // existing file, or created, positioned at its end; others may read
};

// An open file. Closed when the object goes.
class File {
 public:
  virtual ~File() = default;
  // Bytes read; 0 at the end or on error.
  virtual size_t Read(void* buffer, size_t count) = 0;
  virtual bool Write(const void* data, size_t count) = 0;
  virtual bool Seek(uint64_t position) = 0;
  virtual uint64_t Size() = 0;
};

// A read-only view of a whole file.
class MappedFile {
 public:
  virtual ~MappedFile() = default;
  virtual const uint8_t* Data() const = 0;
  virtual size_t Size() const = 0;
};

class Files {
 public:
  virtual ~Files() = default;

  // Entries matching a FindFirstFile pattern such as "c:\dir\*.*", in listing order; "."
  // and ".." are included where the file system reports them. Nothing when the listing
  // cannot be started (missing folder, or no entry matches).
  virtual std::optional<std::vector<DirEntry>> List(const std::string& pattern) = 0;
  // Nothing when the path does not exist.
  virtual std::optional<uint32_t> GetAttributes(const std::string& path) = 0;
  virtual bool SetAttributes(const std::string& path, uint32_t attributes) = 0;
  virtual bool DeleteFile(const std::string& path) = 0;
  virtual bool CreateDirectory(const std::string& path) = 0;
  virtual bool RemoveDirectory(const std::string& path) = 0;
  // Moves or renames a file or folder; fails when the target exists.
  virtual bool MoveFile(const std::string& from, const std::string& to) = 0;
  // Moves a file over another in one step, replacing it (or simply moves it when there is
  // none). When it fails (the target is open, read-only, or a folder) both stay as they were.
  virtual bool ReplaceFile(const std::string& from, const std::string& to) = 0;
  virtual bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) = 0;
  // Has the system delete the file when it next starts, before any program can hold it.
  // Needs administrator rights; false when the system refused.
  virtual bool DeleteAtRestart(const std::string& path) = 0;

  virtual std::unique_ptr<File> Open(const std::string& path, OpenMode mode) = 0;
  // Maps the whole file read-only, opened with shared read and write access. Nothing when
  // the file cannot be opened or mapped (an empty file cannot be mapped).
  virtual std::unique_ptr<MappedFile> MapReadOnly(const std::string& path) = 0;
  virtual std::optional<FileTime> LastWriteTime(const std::string& path) = 0;
  // The local time of a file time as a packed DOS date (high word) and time (low word).
  virtual std::optional<uint32_t> ToLocalDosDateTime(FileTime time) = 0;
  virtual std::string CurrentDirectory() = 0;
  // The system's words for why the last operation of this thread failed, for messages;
  // empty when it gave none.
  virtual std::string LastErrorText() = 0;

  // Conveniences built on the operations above.
  bool Exists(const std::string& path) { return GetAttributes(path).has_value(); }
  // True for an existing file that is not a directory.
  bool FileExists(const std::string& path);
  bool DirectoryExists(const std::string& path);
  // The whole content; nothing when the file cannot be opened or read.
  std::optional<std::vector<uint8_t>> ReadAll(const std::string& path);
  bool WriteAll(const std::string& path, const void* data, size_t size);
  bool WriteAll(const std::string& path, const std::string& text) {
    return WriteAll(path, text.data(), text.size());
  }
  // Rewrites a file whole without ever leaving a part of it: the content goes into a new
  // file beside it (path + ".new"), which then replaces the file in one step. On failure
  // the new file is removed and the old one is as it was.
  bool WriteAtomically(const std::string& path, const void* data, size_t size);
  bool WriteAtomically(const std::string& path, const std::string& text) {
    return WriteAtomically(path, text.data(), text.size());
  }
  static constexpr char kNewFileSuffix[] = ".new";
};

}  // namespace morvanta::platform
