// The tool window's "System.ini" and "Win.ini" lists: the load, run and device lines of the
// Windows folder's INI files, and turning a line off with a leading ";" or on again.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/views.h"
#include "platform/platform.h"

namespace morvanta::inspect {

struct IniRow {
  std::string line;  // trimmed, ASCII letters lower-cased
  bool ticked = false;
};

struct IniListing {
  std::vector<IniRow> rows;
  // The rows are a notice with check boxes off: the placeholder "No additional driver
  // found!", or a file that cannot be read.
  bool notice = false;
};

// `TfrmMain_ScanSystemINI`: the lines of the Windows folder's `fileName`. Nothing after the
// warning "Error get Windows Dir!" when the Windows folder is unknown.
std::optional<IniListing> ListIniLines(platform::Platform& p, const std::string& fileName,
                                       common::Prompts& prompts);

// The line a check-box change writes in place of `row.line`, where `tickedNow` is the box
// after the click: an enabled ";" line loses it, a disabled line gains it. Nothing when
// neither applies (a notice row counts as ticked).
std::optional<std::string> IniLineAfterCheck(const IniRow& row, bool tickedNow);

// `TfrmMain_ChangeLine`: rewrites the file with every line whose trimmed, lower-cased form is
// `oldLine` replaced by `newLine`. The new content goes completely into file + ".new" first,
// which then replaces the file in one step. The original file is never lost; false when
// nothing changed.
bool ChangeIniLine(platform::Platform& p, const std::string& fileName, const std::string& oldLine,
                   const std::string& newLine, common::Prompts& prompts);

}  // namespace morvanta::inspect
