// Name patterns in the last component of a database file entry, matched against the files
// of the entry's folder and against the programs the system runs or starts.
//
//   ab<>.exe            diamond: files "ab*.exe" (listing), or running programs in the folder
//   abc&0123456789!.exe! charset: a stem, a character set and ordered literals
//   sv?ch?.exe          ordered parts: running programs whose names hold the parts in order
//   ...randomA...       random suffix: running "nameA.ext" beside an existing "name.ext"
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace morvanta::scan {

// The `RunningObjectList` as the matchers read it: sorted lines of a kind word, a path or
// command line, the digest and the size in brackets.
class RunningObjects {
 public:
  virtual ~RunningObjects() = default;
  virtual const std::vector<std::string>& List() = 0;
  // The path line `index` names (`ResolveCommandPath`), worked out once per line: every
  // pattern entry of a scan asks it of every line, and each answer costs a file test per
  // character of the line's tail.
  std::string ResolvedPath(platform::Platform& platform, size_t index);

 protected:
  // For a list rebuilt from the machine: the files the lines named may have changed.
  void ForgetResolvedPaths() { resolved_.clear(); }

 private:
  std::vector<std::pair<std::string, std::string>> resolved_;  // line, its path
};

// A list given once, for tests and tools.
class FixedRunningObjects : public RunningObjects {
 public:
  explicit FixedRunningObjects(std::vector<std::string> lines = {}) : lines_(std::move(lines)) {}
  const std::vector<std::string>& List() override { return lines_; }
  std::vector<std::string>& Lines() { return lines_; }

 private:
  std::vector<std::string> lines_;
};

// A `MatchList`: paths, each followed by ";", in the order found; repeats allowed.
using MatchList = std::string;

// The paths of a match list, in order.
std::vector<std::string> SplitMatchList(const MatchList& list);

// Files (not folders) matching the text with its first "<>" read as "*", each as the mask's
// folder + name + ";". Entries whose write time has no local DOS date and time are passed
// over. Empty when the folder cannot be listed or nothing matches.
MatchList WildcardListing(platform::Files& files, const std::string& pathWithDiamond);

// The charset test of one lower-cased candidate name against a spec ("0123456789!.exe!":
// a character set, then "!"-terminated literals that must appear in order).
bool CharsetCandidateMatches(const std::string& spec, const std::string& candidate);

// All matches of the pattern in the last component of `path`; empty when the name is no
// pattern, when nothing matches, or on any failure.
MatchList MatchNamePattern(platform::Platform& platform, RunningObjects& objects,
                           const std::string& path);

}  // namespace morvanta::scan
