#include "scan/name_patterns.h"

#include <exception>

#include "platform/text.h"
#include "platform/types.h"
#include "scan/path_tokens.h"
#include "scan/text_fields.h"

namespace morvanta::scan {

std::string RunningObjects::ResolvedPath(platform::Platform& platform, size_t index) {
  const auto& lines = List();
  if (resolved_.size() != lines.size()) resolved_.resize(lines.size());
  auto& entry = resolved_[index];
  // Lines move when the list changes: a slot answers only for the line it was worked out for.
  if (entry.first != lines[index]) entry = {lines[index], ResolveCommandPath(platform, lines[index])};
  return entry.second;
}

namespace {

using platform::AsciiLower;

std::string RemoveFirst(const std::string& text, const std::string& part) {
  size_t at = text.find(part);
  if (part.empty() || at == std::string::npos) return text;
  return text.substr(0, at) + text.substr(at + part.size());
}

bool SameFolder(const std::string& path, const std::string& folder) {
  return AsciiLower(platform::FolderPart(path)) == AsciiLower(folder);
}

MatchList MatchDiamond(platform::Platform& platform, RunningObjects& objects,
                       const std::string& name, const std::string& folder) {
  MatchList result;
  const std::string stem = name.substr(0, name.find("<>"));
  if (stem.empty()) return result;
  const std::string lowerStem = AsciiLower(stem);
  const auto& lines = objects.List();
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!platform::Contains(lines[i], stem)) continue;
    const std::string resolved = objects.ResolvedPath(platform, i);
    if (resolved.empty()) continue;
    if (platform::Contains(AsciiLower(resolved), lowerStem) && SameFolder(resolved, folder))
      result += resolved + ";";
  }
  return result;
}

MatchList MatchCharset(platform::Platform& platform, RunningObjects& objects,
                       const std::string& name, const std::string& folder) {
  MatchList result;
  size_t amp = name.find('&');
  const std::string stem = name.substr(0, amp);
  const std::string spec = name.substr(amp + 1);
  if (!stem.empty()) {
    const std::string plain = ReplaceAll(name, "!", "");
    size_t dot = plain.find_last_of('.');
    const std::string extension = dot == std::string::npos ? std::string() : plain.substr(dot);
    const std::string lowerStem = AsciiLower(stem);
    for (const auto& path :
         SplitMatchList(WildcardListing(platform.files, folder + stem + "<>" + extension))) {
      std::string candidate = RemoveFirst(AsciiLower(platform::FileNamePart(path)), lowerStem);
      if (CharsetCandidateMatches(spec, candidate)) result += folder + stem + candidate + ";";
    }
    return result;
  }
  for (size_t i = 0; i < objects.List().size(); ++i) {
    const std::string resolved = objects.ResolvedPath(platform, i);
    if (resolved.empty()) continue;
    std::string candidate = AsciiLower(platform::FileNamePart(resolved));
    if (CharsetCandidateMatches(spec, candidate)) result += folder + candidate + ";";
  }
  return result;
}

MatchList MatchOrderedParts(platform::Platform& platform, RunningObjects& objects,
                            const std::string& name, const std::string& folder) {
  MatchList result;
  std::vector<std::string> parts;
  for (int i = 0, n = FieldCount(name, '?'); i < n; ++i) {
    parts.push_back(AsciiLower(Field(name, i, '?')));
    if (parts.back().empty()) return result;
  }
  if (parts.empty()) return result;
  for (size_t i = 0; i < objects.List().size(); ++i) {
    const std::string resolved = objects.ResolvedPath(platform, i);
    if (resolved.empty()) continue;
    const std::string fileName = AsciiLower(platform::FileNamePart(resolved));
    size_t previous = 0;
    bool matches = true;
    for (const auto& part : parts) {
      size_t at = fileName.find(part);
      if (at == std::string::npos || at < previous) {
        matches = false;
        break;
      }
      previous = at;
    }
    if (matches && SameFolder(resolved, folder)) result += resolved + ";";
  }
  return result;
}

MatchList MatchRandomSuffix(platform::Platform& platform, RunningObjects& objects,
                            const std::string& folder) {
  MatchList result;
  for (size_t i = 0; i < objects.List().size(); ++i) {
    const std::string resolved = objects.ResolvedPath(platform, i);
    if (resolved.empty()) continue;
    const std::string fileName = AsciiLower(platform::FileNamePart(resolved));
    size_t dot = fileName.find_last_of('.');
    const std::string extension = dot == std::string::npos ? std::string() : fileName.substr(dot);
    const std::string marked = "a" + extension;
    size_t at = fileName.find(marked);
    // At least three characters stand before the extra "a".
    if (at == std::string::npos || at < 3) continue;
    const std::string sibling = ReplaceAll(AsciiLower(resolved), marked, extension);
    if (!IsFilePresent(platform.files, sibling)) continue;
    if (SameFolder(resolved, folder)) result += resolved + ";";
    result += resolved + ";" + sibling + ";";
  }
  return result;
}

}  // namespace

std::vector<std::string> SplitMatchList(const MatchList& list) {
  std::vector<std::string> paths;
  for (int i = 0, n = FieldCount(list, ';'); i < n; ++i) paths.push_back(Field(list, i, ';'));
  return paths;
}

MatchList WildcardListing(platform::Files& files, const std::string& pathWithDiamond) {
  std::string mask = pathWithDiamond;
  size_t diamond = mask.find("<>");
  if (diamond != std::string::npos) mask.replace(diamond, 2, "*");
  const std::string folder = platform::FolderPart(mask);
  MatchList result;
  auto entries = files.List(mask);
  if (!entries) return result;
  for (const auto& entry : *entries) {
    if (entry.IsDirectory()) continue;
    if (!files.ToLocalDosDateTime(entry.lastWrite)) continue;
    result += folder + entry.name + ";";
  }
  return result;
}

bool CharsetCandidateMatches(const std::string& spec, const std::string& candidate) {
  std::string rest = candidate;
  std::string set = spec;
  size_t previous = 0;  // 1-based position of the previous literal; 0 before the first
  for (int i = 1, n = FieldCount(spec, '!'); i < n; ++i) {
    const std::string literal = Field(spec, i, '!');
    size_t at = literal.empty() ? std::string::npos : candidate.find(literal);
    if (at == std::string::npos || at + 1 <= previous) return false;
    previous = at + 1;
    rest = RemoveFirst(rest, literal);
    set = RemoveFirst(set, literal);
  }
  set = ReplaceAll(set, "!", "");
  for (char c : rest)
    if (set.find(c) == std::string::npos) return false;
  return true;
}

MatchList MatchNamePattern(platform::Platform& platform, RunningObjects& objects,
                           const std::string& path) {
  try {
    const std::string name = platform::FileNamePart(path);
    const std::string folder = platform::FolderPart(path);
    if (platform::Contains(name, "<>")) return MatchDiamond(platform, objects, name, folder);
    if (platform::Contains(name, "&")) return MatchCharset(platform, objects, name, folder);
    if (platform::Contains(name, "?")) return MatchOrderedParts(platform, objects, name, folder);
    if (platform::Contains(name, "randomA")) return MatchRandomSuffix(platform, objects, folder);
    return "";
  } catch (const std::exception&) {
    return "";
  }
}

}  // namespace morvanta::scan
