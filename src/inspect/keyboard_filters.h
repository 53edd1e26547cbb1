// The tool window's keyboard filter drivers: the names registered in the keyboard class's
// "UpperFilters" behind the first one, their driver files, and their removal.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace morvanta::inspect {

extern const char* const kKeyboardClassKey;  // below HKEY_LOCAL_MACHINE
// "UpperFilters" is read into a buffer of this size.
constexpr size_t kUpperFiltersBufferBytes = 260;

struct KeyboardFilterRow {
  std::string name;  // the caption
  std::string file;  // sub-item 0: the driver file, or "File not found"; empty for notices
};

struct KeyboardFilterListing {
  std::vector<KeyboardFilterRow> rows;
  // The rows are a notice, not drivers: the placeholder "No Keyboard Filter driver found!"
  // or a value that cannot be read (too long, or of another type than a multi-string or
  // binary value).
  bool notice = false;
};

// The names of an "UpperFilters" buffer behind the first one, trimmed; the buffer is padded
// with blanks to kUpperFiltersBufferBytes.
std::vector<std::string> UpperFilterNamesAfterFirst(const std::vector<uint8_t>& data);

// `TfrmMain_ScanKeyboardFilterDriver`.
KeyboardFilterListing ListKeyboardFilters(platform::Platform& p);

enum class FilterRemoval { Removed, NotRemoved, Refused, NoAccess, StillListed };

// `TfrmMain_DelKBf`: asks first; rewrites "UpperFilters" without the row's name (the first
// name is always kept) and renames the driver file to ".del" once the row is gone. `listing`
// is rebuilt when the value was written (the row is taken by value: it may be one of it).
FilterRemoval RemoveKeyboardFilter(platform::Platform& p, KeyboardFilterRow row,
                                   platform::WindowHandle owner, KeyboardFilterListing& listing);

}  // namespace morvanta::inspect
