// The quarantine: copies of suspect files in a form that cannot run, in the program folder's
// "Quarantine" folder, and the index of where each came from. Files enter by an add and
// leave by a restore (back where they came from) or a removal (the copy deleted).
//
// Every change goes through a new file first: a stored copy is written beside its final
// name and then moved there, a restored file likewise beside its destination, and the index
// is replaced whole; a failure at any step leaves what was there before. Nothing is ever
// read, written or deleted through a folder link, nor outside the quarantine folder, whatever
// the index says.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/views.h"
#include "platform/platform.h"
#include "remedy/quarantine_index.h"
#include "remedy/quarantine_transform.h"

namespace morvanta::remedy {

class QuarantineStore {
 public:
  QuarantineStore(platform::Platform platform, std::string programFolder,
                  std::string_view passphrase = kQuarantinePassphrase);

  // Program folder + "Quarantine" and program folder + "Quarantine.info".
  const std::string& Folder() const { return folder_; }
  const std::string& IndexFile() const { return indexFile_; }

  const QuarantineIndex& Index() const { return index_; }
  // The entries as last loaded, saved or changed. The index file is read before the first
  // IsInQuarantine, AddToQuarantine or RestoreFromQuarantine when no load came before, and
  // again before each of them when another program (a second window, the console program)
  // has rewritten it since, unless changes of this store's own wait to be saved: an add
  // never saves over an entry it did not see.
  bool Loaded() const { return loaded_; }

  // `LoadQuarantineIndex`: empties the index, then reads the entries of the file. False on
  // a read error, with the index left empty.
  bool LoadQuarantineIndex() { return LoadQuarantineIndex(indexFile_); }
  bool LoadQuarantineIndex(const std::string& file);
  // `SaveQuarantineIndex`: replaces the file whole with the index; on failure the old file
  // stays as it was.
  bool SaveQuarantineIndex() { return SaveQuarantineIndex(indexFile_); }
  bool SaveQuarantineIndex(const std::string& file);

  // `IsInQuarantine`: whether an entry came from this path, in any letter case.
  bool IsInQuarantine(const std::string& path);

  // `AddToQuarantine`: stores a copy of the file and records it, saving the index. False
  // when the path is in the quarantine already, or the file cannot be read, or the copy or
  // the index cannot be written (then nothing of it stays). The file stays where it is. A
  // second file of a name already stored is kept under that name with a number after it.
  bool AddToQuarantine(const std::string& path, const std::string& taskName,
                       const std::string& md5, common::MessagePump* pump = nullptr);

  // `RestoreFromQuarantine`: puts the file back as `folder` (ending with "\") + its name,
  // creating missing folders and replacing a file there, then drops its entries and saves.
  // False when there is no stored copy, the way to the folder passes a folder link, or the
  // file cannot be written; the stored copy then stays as it was, for a later try.
  bool RestoreFromQuarantine(const std::string& path, const std::string& folder,
                             common::MessagePump* pump = nullptr);

  // `RemoveFromQuarantine`: drops every entry of the path and deletes their stored copies;
  // does not save. False when no entry has the path, or the first entry's copy could not be
  // deleted. A copy the index places outside the quarantine folder is left alone, and its
  // entry goes all the same.
  bool RemoveFromQuarantine(const std::string& path);

  // Deletes every entry's stored copy (failures ignored), empties the index and deletes the
  // index file. Files of the quarantine folder that no entry names stay.
  bool ClearQuarantine();

  // `CopyFileBlockwise`: copies a file in blocks, the window served before each; `transform`
  // (when given) passes over each block in order on the way. False on any error; the
  // destination may then be left partly written.
  bool CopyFileBlockwise(const std::string& source, const std::string& destination,
                         common::MessagePump* pump = nullptr,
                         QuarantineTransform* transform = nullptr);

  // Whether a stored copy's path lies in the quarantine folder itself: the index names it,
  // so a damaged or altered index could name any file.
  bool IsInsideStore(const std::string& storedPath) const;
  // Whether an existing folder on the way to `path` (or `path` itself) is a folder link.
  bool PassesLink(const std::string& path);

  // How long a restore keeps trying to delete the stored copy it put back.
  static constexpr uint32_t kDeleteRetryMilliseconds = 3000;
  // How far the numbers after a name go when looking for a free one.
  static constexpr int kMaxNumber = 9999;
  // Bytes per block of a copy: a multiple of the cipher's 8.
  static constexpr size_t kBlockSize = 64 * 1024;

 private:
  void EnsureLoaded();
  // What the index file was when this store last read or wrote it.
  struct FileMark {
    std::optional<platform::FileTime> written;
    uint64_t size = 0;
    bool operator==(const FileMark& o) const { return written == o.written && size == o.size; }
  };
  FileMark MarkOfIndexFile();
  // A name in the quarantine folder that neither a file there nor an entry uses, with its
  // ".new" beside it free as well.
  std::string FreeStoredPath(const std::string& fileName);
  bool NameInUse(const std::string& path);
  // A path beside `path` that nothing uses, for a file on its way there.
  std::string FreeNeighbour(const std::string& path);
  const TQFileList* FirstEntry(const std::string& path) const;
  bool FolderUsable();
  bool DeleteWithRetries(const std::string& path);

  platform::Platform p_;
  std::string folder_;
  std::string indexFile_;
  QuarantineCipher cipher_;
  QuarantineIndex index_;
  bool loaded_ = false;
  bool unsaved_ = false;  // entries removed since the last load or save
  // The index file is there but could not be read: nothing may be saved over it until it
  // can be, or what it lists would be lost.
  bool unreadable_ = false;
  FileMark seen_;
};

}  // namespace morvanta::remedy
