#include "inspect/ini_lines.h"

#include "platform/text.h"
#include "platform/types.h"

namespace morvanta::inspect {

namespace {

const char kPlaceholder[] = "No additional driver found!";

// The Windows folder, or the warning.
std::optional<std::string> WindowsFolder(platform::Platform& p, common::Prompts& prompts) {
  std::string dir = p.folders.WindowsDirectory();
  if (!dir.empty()) return dir;
  prompts.Tell({common::PromptKind::Warning, common::Msg::None, "Error get Windows Dir!",
                "Scan INI files..."});
  return std::nullopt;
}

std::string Join(const std::string& dir, const std::string& name) {
  return !dir.empty() && dir.back() == '\\' ? dir + name : dir + "\\" + name;
}

// Lines ended by CR LF, LF or CR; a last line without its end counts too.
std::vector<std::string> SplitLines(const std::vector<uint8_t>& data) {
  std::vector<std::string> lines;
  std::string current;
  bool pending = false;
  for (size_t i = 0; i < data.size(); ++i) {
    const char c = static_cast<char>(data[i]);
    if (c == '\r' || c == '\n') {
      lines.push_back(current);
      current.clear();
      pending = false;
      if (c == '\r' && i + 1 < data.size() && data[i + 1] == '\n') ++i;
    } else {
      current += c;
      pending = true;
    }
  }
  if (pending) lines.push_back(current);
  return lines;
}

}  // namespace

std::optional<IniListing> ListIniLines(platform::Platform& p, const std::string& fileName,
                                       common::Prompts& prompts) {
  auto dir = WindowsFolder(p, prompts);
  if (!dir) return std::nullopt;
  IniListing listing;
  const std::string path = Join(*dir, fileName);
  auto data = p.files.ReadAll(path);
  if (!data) {
    listing.rows.push_back({"Can not read " + path + "!", true});
    listing.notice = true;
    return listing;
  }
  for (const auto& raw : SplitLines(*data)) {
    const std::string line = platform::AsciiLower(platform::TrimControls(raw));
    if (platform::StartsWith(line, "load") || platform::StartsWith(line, "run") || platform::StartsWith(line, "device"))
      listing.rows.push_back({line, true});
    else if (platform::StartsWith(line, ";load") || platform::StartsWith(line, ";run") || platform::StartsWith(line, ";device"))
      listing.rows.push_back({line, false});
  }
  if (listing.rows.empty()) {
    listing.rows.push_back({kPlaceholder, true});
    listing.notice = true;
  }
  return listing;
}

std::optional<std::string> IniLineAfterCheck(const IniRow& row, bool tickedNow) {
  const bool commented = !row.line.empty() && row.line[0] == ';';
  if (tickedNow && commented) return row.line.substr(1);
  if (!tickedNow && !commented) return ";" + row.line;
  return std::nullopt;
}

bool ChangeIniLine(platform::Platform& p, const std::string& fileName, const std::string& oldLine,
                   const std::string& newLine, common::Prompts& prompts) {
  auto dir = WindowsFolder(p, prompts);
  if (!dir) return false;
  const std::string path = Join(*dir, fileName);
  auto data = p.files.ReadAll(path);
  if (!data) return false;
  std::string content;
  for (const auto& line : SplitLines(*data)) {
    content += platform::AsciiLower(platform::TrimControls(line)) == oldLine ? newLine : line;
    content += "\r\n";
  }
  // Through the ".new" companion, replaced in one step: the file is never lost.
  return p.files.WriteAtomically(path, content);
}

}  // namespace morvanta::inspect
