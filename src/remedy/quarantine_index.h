// The quarantine's index, "Quarantine.info": five lines per stored file (where it came
// from, where its copy is, the threat's name, when it was added, its MD5), one entry after
// another in the order they were added, CR LF line ends, nothing else.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace morvanta::remedy {

// `TQFileList`: one stored file.
struct TQFileList {
  std::string SourcePath;  // where the file was when it was stored
  std::string StoredPath;  // its stored copy
  std::string TaskName;    // the threat's name, or "Unknown" for a file added by hand
  std::string AddedAt;     // short date, ", ", long time
  std::string FileMd5;     // 32 lower-case hex digits, or empty for a file added by hand

  bool operator==(const TQFileList& other) const {
    return SourcePath == other.SourcePath && StoredPath == other.StoredPath &&
           TaskName == other.TaskName && AddedAt == other.AddedAt && FileMd5 == other.FileMd5;
  }
};

// `QuarantineIndex`, in the order the files were added.
using QuarantineIndex = std::vector<TQFileList>;

// The entries of an index file's text. Lines end with CR LF (a lone LF or CR is taken as
// well); a last entry short of its five lines has the missing fields empty; blank lines
// that make no entry of their own (a damaged end) are dropped.
QuarantineIndex ParseQuarantineIndex(std::string_view text);
// The text of an index file.
std::string FormatQuarantineIndex(const QuarantineIndex& index);

}  // namespace morvanta::remedy
