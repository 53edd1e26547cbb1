#include "remedy/ignore_lists.h"

#include <limits>
#include <optional>
#include <string_view>

#include "platform/text.h"
#include "platform/types.h"

namespace morvanta::remedy {
namespace {

// The lines of a file's bytes, one at a time; nothing once they are used up.
class Lines {
 public:
  Lines(const uint8_t* data, size_t size)
      : text_(reinterpret_cast<const char*>(data), data ? size : 0) {}
  std::optional<std::string> Next() {
    if (at_ >= text_.size()) return std::nullopt;
    size_t end = text_.find('\n', at_);
    if (end == std::string_view::npos) end = text_.size();
    std::string_view line = text_.substr(at_, end - at_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    at_ = end + 1;
    return std::string(line);
  }

 private:
  std::string_view text_;
  size_t at_ = 0;
};

// A decimal 32-bit number as the files hold it: an optional sign, digits only.
std::optional<int32_t> ToInt32(const std::optional<std::string>& line) {
  if (!line || line->empty()) return std::nullopt;
  size_t i = 0;
  const bool negative = (*line)[0] == '-';
  if ((*line)[0] == '-' || (*line)[0] == '+') i = 1;
  if (i == line->size()) return std::nullopt;
  long long value = 0;
  for (; i < line->size(); ++i) {
    const char c = (*line)[i];
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > static_cast<long long>(std::numeric_limits<int32_t>::max()) + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int32_t>::max()) return std::nullopt;
  return static_cast<int32_t>(value);
}

// The count line: a count past the 32-bit range only says "more than the file holds".
std::optional<int32_t> ToCount(const std::optional<std::string>& line) {
  if (const auto count = ToInt32(line)) return count;
  if (!line || line->empty()) return std::nullopt;
  for (const char c : *line)
    if (c < '0' || c > '9') return std::nullopt;
  return std::numeric_limits<int32_t>::max();
}

const char* Flag(bool value) { return value ? "1" : "0"; }

std::string WithoutTrailingBackslashes(std::string path) {
  while (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

template <typename List>
std::string CountLine(const List& list) {
  return std::to_string(list.size()) + "\r\n";
}

void Add(std::string& text, const std::string& line) {
  text += line;
  text += "\r\n";
}

template <typename List, typename Parse>
void LoadOne(platform::Files& fs, const std::string& path, List& list, Parse parse) {
  if (!fs.FileExists(path)) return;
  const auto bytes = fs.ReadAll(path);
  if (!bytes) return;
  list = parse(bytes->data(), bytes->size());
}

}  // namespace

TFileIgnoreList TFileIgnoreList::Folder(const std::string& folder) {
  TFileIgnoreList entry;
  entry.EntryPath = folder + ";";
  entry.Kind = kFolderKind;
  entry.SpareFlag2 = true;
  return entry;
}

std::string TRegIgnoreList::DisplayLine() const {
  const auto root = platform::RegRootFromIndex(RootIndex);
  return std::string(root ? platform::RegRootName(*root) : "") + "\\" + KeyPath + "\\" + ValueName;
}

FileIgnoreList ParseFileIgnoreList(const uint8_t* data, size_t size) {
  FileIgnoreList list;
  Lines lines(data, size);
  const auto count = ToCount(lines.Next());
  if (!count) return list;
  for (int32_t i = 0; i < *count; ++i) {
    TFileIgnoreList entry;
    auto kind = lines.Next(), path = lines.Next(), text1 = lines.Next(), text2 = lines.Next();
    if (!text2) break;
    const auto number1 = ToInt32(lines.Next());
    if (!number1) break;
    const auto number2 = ToInt32(lines.Next());
    if (!number2) break;
    const auto flag1 = lines.Next(), flag2 = lines.Next();
    if (!flag2) break;
    entry.Kind = std::move(*kind);
    entry.EntryPath = std::move(*path);
    entry.SpareText1 = std::move(*text1);
    entry.SpareText2 = std::move(*text2);
    entry.SpareNumber1 = *number1;
    entry.SpareNumber2 = *number2;
    entry.SpareFlag1 = *flag1 == "1";
    entry.SpareFlag2 = *flag2 == "1";
    list.push_back(std::move(entry));
  }
  return list;
}

RegIgnoreList ParseRegIgnoreList(const uint8_t* data, size_t size) {
  RegIgnoreList list;
  Lines lines(data, size);
  const auto count = ToCount(lines.Next());
  if (!count) return list;
  for (int32_t i = 0; i < *count; ++i) {
    const auto root = ToInt32(lines.Next());
    if (!root) break;
    auto key = lines.Next(), name = lines.Next(), information = lines.Next(),
         data = lines.Next(), isNew = lines.Next();
    if (!isNew) break;
    list.push_back({*root, std::move(*key), std::move(*name), std::move(*information),
                    std::move(*data), *isNew == "1"});
  }
  return list;
}

std::string FormatFileIgnoreList(const FileIgnoreList& list) {
  std::string text = CountLine(list);
  for (const TFileIgnoreList& e : list) {
    for (const std::string* field : {&e.Kind, &e.EntryPath, &e.SpareText1, &e.SpareText2})
      Add(text, *field);
    Add(text, std::to_string(e.SpareNumber1));
    Add(text, std::to_string(e.SpareNumber2));
    Add(text, Flag(e.SpareFlag1));
    Add(text, Flag(e.SpareFlag2));
  }
  return text;
}

std::string FormatRegIgnoreList(const RegIgnoreList& list) {
  std::string text = CountLine(list);
  for (const TRegIgnoreList& e : list) {
    Add(text, std::to_string(e.RootIndex));
    for (const std::string* field : {&e.KeyPath, &e.ValueName, &e.Information, &e.ValueData})
      Add(text, *field);
    Add(text, Flag(e.IsNewValue));
  }
  return text;
}

void IgnoreLists::Load(platform::Files& fs, const std::string& programFolder) {
  LoadOne(fs, programFolder + kFileIgnoreFileName, files, ParseFileIgnoreList);
  LoadOne(fs, programFolder + kRegIgnoreFileName, registry, ParseRegIgnoreList);
}

bool IgnoreLists::Save(platform::Files& fs, const std::string& programFolder) const {
  const bool filesSaved =
      fs.WriteAtomically(programFolder + kFileIgnoreFileName, FormatFileIgnoreList(files));
  const bool registrySaved =
      fs.WriteAtomically(programFolder + kRegIgnoreFileName, FormatRegIgnoreList(registry));
  return filesSaved && registrySaved;
}

std::vector<std::string> IgnoreLists::IgnoredPaths() const {
  std::vector<std::string> paths;
  for (const TFileIgnoreList& entry : files) {
    const std::string& text = entry.EntryPath;
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find(';', start);
      if (end == std::string::npos) end = text.size();
      std::string path = WithoutTrailingBackslashes(platform::TrimControls(text.substr(start, end - start)));
      if (!path.empty()) paths.push_back(std::move(path));
      start = end + 1;
    }
  }
  return paths;
}

bool IgnoreLists::IgnoresValue(long long rootIndex, const std::string& keyPath,
                               const std::string& valueName) const {
  const std::string key = WithoutTrailingBackslashes(keyPath);
  for (const TRegIgnoreList& entry : registry)
    if (entry.RootIndex == rootIndex && platform::EqualsNoCase(entry.ValueName, valueName) &&
        platform::EqualsNoCase(WithoutTrailingBackslashes(entry.KeyPath), key))
      return true;
  return false;
}

}  // namespace morvanta::remedy
