#include "scan/entry_reader.h"
#include "platform/text.h"

#include <cstring>

#include "scan/path_tokens.h"
#include "scan/system_folders.h"
#include "scan/text_fields.h"

namespace morvanta::scan {
namespace {

}  // namespace

EntryKind KindOf(const DatabaseEntry& entry) {
  if (entry.Target.empty() && entry.Folder.empty() && !entry.Digest.empty())
    return EntryKind::Digest;
  if (entry.Target.empty() && !entry.Folder.empty()) return EntryKind::Folder;
  return EntryKind::File;
}

std::string DerivedPath(const DatabaseEntry& entry) {
  if (entry.Folder.empty()) return entry.Target;
  if (entry.Target.empty()) return entry.Folder;
  std::string path = entry.Folder;
  if (path.back() != '\\') path += '\\';
  return path + entry.Target;
}

DatabaseEntry ParseEntryTemplates(const std::string& line, const std::string& baseFolder) {
  DatabaseEntry entry;
  std::string base = TrimRightSpaces(baseFolder);
  std::string rest = line;

  if (!rest.empty() && rest[0] == '/') {
    rest.erase(0, 1);
    size_t slash = rest.find('/');
    if (slash != std::string::npos) {
      entry.Digest = rest.substr(0, slash);
      rest.erase(0, slash + 1);
    }
  }

  size_t open = rest.find('['), close = rest.find(']');
  if (open != std::string::npos && close != std::string::npos && close > open)
    entry.ThreatName = rest.substr(open + 1, close - open - 1);

  if (platform::Contains(rest, "::")) return entry;

  size_t colon = rest.find(':');
  std::string target =
      TrimRightSpaces(colon == std::string::npos ? rest : rest.substr(colon + 1));

  bool isFolder = platform::FileNamePart(target).empty();
  std::string folder = base;
  if (isFolder) {
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    size_t twin = target.find("\\\\");
    std::string named = twin == std::string::npos ? std::string() : target.substr(0, twin);
    folder += named;
    target = platform::FileNamePart(named);
  }

  if (entry.ThreatName.empty()) {
    size_t dot = target.find_last_of('.');
    entry.ThreatName = "Sys32." + (dot == std::string::npos
                                       ? target
                                       : platform::FileNamePart(target.substr(0, dot)));
  }
  entry.Folder = folder;
  if (!isFolder) entry.Target = target;
  return entry;
}

DatabaseEntry ParseEntryLine(FolderCache& folders, const std::string& line,
                             const std::string& baseFolder) {
  DatabaseEntry entry = ParseEntryTemplates(line, baseFolder);
  entry.Folder = ExpandPathTokens(folders, entry.Folder);
  entry.Target = ExpandPathTokens(folders, entry.Target);
  return entry;
}

DatabaseEntry ParseEntryLine(platform::Platform& platform, const std::string& line,
                             const std::string& baseFolder) {
  FolderCache afresh(platform);
  return ParseEntryLine(afresh, line, baseFolder);
}

EntryLine StripNoSubstitutionMarker(const std::string& line) {
  EntryLine entry;
  entry.noProcessSubstitution = platform::Contains(line, "/0/");
  entry.text = entry.noProcessSubstitution ? ReplaceAll(line, "/0/", "") : line;
  return entry;
}

const std::array<SectionMarker, 4>& SectionMarkers() {
  static const std::array<SectionMarker, 4> markers = {{{"[Start]", false},
                                                        {"[Win32Root]", true},
                                                        {"[System32Root]", true},
                                                        {"[ProgramFiles32Root]", true}}};
  return markers;
}

void EntryLineReader::Start() {
  database_.Rewind();
  database_.ReadDatabaseLine();
  baseFolder_.clear();
}

std::optional<EntryLine> EntryLineReader::Next() {
  std::string line = database_.ReadDatabaseLine();
  if (line == database::kEndLine) return std::nullopt;
  // The folder of each root line, beside its marker.
  static std::string (*const kRootFolders[])(platform::Platform&) = {
      nullptr, &WindowsFolder, &SystemFolder, &ProgramFilesFolder};
  const auto& markers = SectionMarkers();
  for (size_t i = 0; i < markers.size(); ++i) {
    if (!platform::StartsWith(line, markers[i].marker)) continue;
    baseFolder_ = markers[i].namesRoot
                      ? kRootFolders[i](platform_) + line.substr(std::strlen(markers[i].marker))
                      : std::string();
    line = database_.ReadDatabaseLine();
    if (line == database::kEndLine) return std::nullopt;
  }
  return StripNoSubstitutionMarker(line);
}

}  // namespace morvanta::scan
