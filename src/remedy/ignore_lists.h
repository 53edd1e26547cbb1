// The ignore lists: folders (and files) the user wants the scans to leave alone, in
// "FileIgnoreL.fil", and registry values the removals leave alone, in "RegIgnoreL.fil". Both
// files hold a count line and then a fixed number of lines per entry, CR LF line ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"

namespace morvanta::remedy {

inline constexpr char kFileIgnoreFileName[] = "FileIgnoreL.fil";
inline constexpr char kRegIgnoreFileName[] = "RegIgnoreL.fil";
inline constexpr char kFolderKind[] = "Folder";

// `TFileIgnoreList`: one ignored path. A folder added in the window is its path followed by
// ";", of kind "Folder", with the spare fields as `Folder` sets them.
struct TFileIgnoreList {
  std::string EntryPath;
  std::string Kind;
  std::string SpareText1;
  int32_t SpareNumber1 = 0;
  int32_t SpareNumber2 = 0;
  std::string SpareText2;
  bool SpareFlag1 = false;
  bool SpareFlag2 = false;

  // The entry the window adds for a chosen folder.
  static TFileIgnoreList Folder(const std::string& folder);
  bool operator==(const TFileIgnoreList& o) const {
    return EntryPath == o.EntryPath && Kind == o.Kind && SpareText1 == o.SpareText1 &&
           SpareNumber1 == o.SpareNumber1 && SpareNumber2 == o.SpareNumber2 &&
           SpareText2 == o.SpareText2 && SpareFlag1 == o.SpareFlag1 && SpareFlag2 == o.SpareFlag2;
  }
};

// `TRegIgnoreList`: one ignored registry value.
struct TRegIgnoreList {
  int32_t RootIndex = 0;  // the registry root table's index
  std::string KeyPath;
  std::string ValueName;
  std::string Information;
  std::string ValueData;
  bool IsNewValue = false;

  // The line the window shows: root name, "\", key, "\", value name.
  std::string DisplayLine() const;
  bool operator==(const TRegIgnoreList& o) const {
    return RootIndex == o.RootIndex && KeyPath == o.KeyPath && ValueName == o.ValueName &&
           Information == o.Information && ValueData == o.ValueData && IsNewValue == o.IsNewValue;
  }
};

using FileIgnoreList = std::vector<TFileIgnoreList>;
using RegIgnoreList = std::vector<TRegIgnoreList>;

// The entries of a file's bytes: the count on line 1, then the entries in file order. Lines
// end with CR LF (a lone LF is taken as well). Reading stops silently at the first line that
// is missing or a number that does not read, keeping what was read before; the count only
// bounds the reading, so a count larger than the file holds costs nothing. A flag is true
// for "1" only.
FileIgnoreList ParseFileIgnoreList(const uint8_t* data, size_t size);
RegIgnoreList ParseRegIgnoreList(const uint8_t* data, size_t size);
// The text of a file: the count, then every entry in list order.
std::string FormatFileIgnoreList(const FileIgnoreList& list);
std::string FormatRegIgnoreList(const RegIgnoreList& list);

// Both lists, as the program run holds them, with their loading and saving and the rules the
// scans and removals ask.
class IgnoreLists {
 public:
  FileIgnoreList files;
  RegIgnoreList registry;

  // Loads both from the program folder (with its trailing backslash). A list whose file is
  // missing or cannot be read stays as it is.
  void Load(platform::Files& fs, const std::string& programFolder);
  // Writes both whole, each into a new file that then replaces the old one; a file that
  // cannot be written is given up silently. False when either was not written.
  bool Save(platform::Files& fs, const std::string& programFolder) const;

  // The folders and files the entries name: every ";"-ended field of an entry's path (a
  // path without ";" counts whole), without trailing backslashes; blank fields name nothing.
  std::vector<std::string> IgnoredPaths() const;
  // Whether the registry list names this value: the root, the key (trailing backslashes
  // aside) and the value name compared without regard to letter case.
  bool IgnoresValue(long long rootIndex, const std::string& keyPath,
                    const std::string& valueName) const;
};

}  // namespace morvanta::remedy
