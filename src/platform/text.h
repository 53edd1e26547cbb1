// Text helpers for the 8-bit ANSI texts the system works with: letter case, trimming, and
// the parts of a path. Paths and names are compared on lower-cased copies.
#pragma once

#include <string>
#include <string_view>

namespace morvanta::platform {

// Lower-cases the ASCII letters A-Z only; other bytes of the ANSI text stay as they are.
std::string AsciiLower(std::string text);
std::string AsciiUpper(std::string text);
bool EqualsNoCase(const std::string& a, const std::string& b);
// The text with blanks and control characters removed at both ends.
std::string TrimControls(const std::string& text);

bool StartsWith(std::string_view text, std::string_view prefix);
bool EndsWith(std::string_view text, std::string_view suffix);
bool Contains(std::string_view text, std::string_view part);

// The file-name part of a path: the text after the last '\' or ':' (the whole text when it
// has neither). FolderPart is the rest, up to and including that character, so that
// FolderPart(p) + FileNamePart(p) == p.
std::string FileNamePart(const std::string& path);
std::string FolderPart(const std::string& path);

}  // namespace morvanta::platform
