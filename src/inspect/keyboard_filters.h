// The tool window's keyboard filter drivers: the names registered in the keyboard class's
// "UpperFilters" behind the first one, their driver files, and their removal.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/views.h"
#include "platform/platform.h"

namespace morvanta::inspect {

extern const char* const kKeyboardClassKey;  // below HKEY_LOCAL_MACHINE
// "UpperFilters" is read into a buffer of this size.
constexpr size_t kUpperFiltersBufferBytes = 260;

struct KeyboardFilterRow {
  std::string name;  // the caption
  std::string file;  // the driver file; empty when none was found
  std::string note;  // a notice row's reason, shown where a driver's path would be
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

// The text of the row's "Path" cell: the driver file, "File not found", or a notice's
// reason (empty for the placeholder).
std::string FilterPathCellText(const KeyboardFilterRow& row);

enum class FilterRemoval { Removed, NotRemoved, Refused, NoAccess, StillListed };

// `TfrmMain_DelKBf`: asks first; rewrites "UpperFilters" without the row's name (the first
// name is always kept) and renames the driver file to ".del" once no registered name (in
// any letter case, the first one included) still names it; a row without a driver file
// renames nothing. `listing` is rebuilt when the value was written (the row is taken by
// value: it may be one of it).
FilterRemoval RemoveKeyboardFilter(platform::Platform& p, KeyboardFilterRow row,
                                   common::Prompts& prompts, KeyboardFilterListing& listing);

}  // namespace morvanta::inspect
