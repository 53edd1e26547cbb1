#include "remedy/quarantine_index.h"

#include <array>

namespace morvanta::remedy {
namespace {

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  // The last line's end is optional.
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

}  // namespace

QuarantineIndex ParseQuarantineIndex(std::string_view text) {
  const std::vector<std::string_view> lines = SplitLines(text);
  QuarantineIndex index;
  for (size_t first = 0; first < lines.size(); first += 5) {
    std::array<std::string_view, 5> fields{};
    bool blank = true;
    for (size_t i = 0; i < 5 && first + i < lines.size(); ++i) {
      fields[i] = lines[first + i];
      if (!fields[i].empty()) blank = false;
    }
    if (blank) continue;
    index.push_back({std::string(fields[0]), std::string(fields[1]), std::string(fields[2]),
                     std::string(fields[3]), std::string(fields[4])});
  }
  return index;
}

std::string FormatQuarantineIndex(const QuarantineIndex& index) {
  std::string text;
  for (const TQFileList& entry : index)
    for (const std::string* field : {&entry.SourcePath, &entry.StoredPath, &entry.TaskName,
                                     &entry.AddedAt, &entry.FileMd5}) {
      text += *field;
      text += "\r\n";
    }
  return text;
}

}  // namespace morvanta::remedy
