// Folder tokens of database path templates ("%%wt%%\name.exe"), and the reduction of command
// lines and variable paths ("\"%SystemRoot%\x.exe\" /s") to the path of an existing file.
#pragma once

#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/platform.h"
#include "scan/system_folders.h"

namespace morvanta::scan {

struct PathToken {
  const char* token;  // matched exactly, case-sensitively
  FolderId folder;
};

// The 41 tokens in the order they are replaced.
const std::vector<PathToken>& PathTokens();

// Replaces every folder token. A text without "%%" comes back untouched; otherwise every
// getter of the table is asked in order, and a getter failing with an error stops the
// replacements there (the text as replaced so far is returned).
std::string ExpandPathTokens(platform::Platform& platform, const std::string& text);
// The same with the folders a scan took once.
std::string ExpandPathTokens(FolderCache& folders, const std::string& text);

// The file presence test: the file exists (and is not a folder), or it opens for reading
// and holds more than 10 bytes. False on any error.
bool IsFilePresent(platform::Files& files, const std::string& path);

// The path of an existing file named by a command line or a path with "%systemroot%",
// "%systemdir%" (both the system folder), "%windir%" or "%winroot%" (the Windows folder):
// lower-cased, quotes removed, a bare name looked up in the system folder and then in the
// Windows folder, and arguments after a "X:\" path dropped one character at a time until an
// existing file remains. Empty when nothing is found.
std::string ResolveCommandPath(platform::Platform& platform, const std::string& text);

// The longest path the program's file calls open: the ANSI functions take fewer than 260
// characters (the program does not declare itself aware of longer paths).
inline constexpr size_t kLongestPath = 259;

}  // namespace morvanta::scan
