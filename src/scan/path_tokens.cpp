#include "scan/path_tokens.h"

#include <exception>

#include "platform/text.h"
#include "platform/types.h"
#include "scan/text_fields.h"

namespace morvanta::scan {

const std::vector<PathToken>& PathTokens() {
  static const std::vector<PathToken> tokens = {
      {"%%WinTemp%%", FolderId::Temp},
      {"%%PersonalFolder%%", FolderId::Personal},
      {"%%user%%", FolderId::UserName},
      {"%%User%%", FolderId::UserName},
      {"%%FavoritesFolder%%", FolderId::Favorites},
      {"%%StartupFolder%%", FolderId::Startup},
      {"%%StartmenuFolder%%", FolderId::StartMenu},
      {"%%DesktopFolder%%", FolderId::DesktopDirectory},
      {"%%CommonStartmenuFolder%%", FolderId::CommonStartMenu},
      {"%%CommonProgramsFolder%%", FolderId::CommonPrograms},
      {"%%CommonStartupFolder%%", FolderId::CommonStartup},
      {"%%CommonDesktopdirectoryFolder%%", FolderId::CommonDesktopDirectory},
      {"%%CommonAppdataFolder%%", FolderId::CommonAppData},
      {"%%AppdataFolder%%", FolderId::AppData},
      {"%%TemplatesFolder%%", FolderId::Templates},
      {"%%InternetCacheFolder%%", FolderId::InternetCache},
      {"%%CookiesFolder%%", FolderId::Cookies},
      {"%%HistoryFolder%%", FolderId::History},
      {"%%ProfileFolder%%", FolderId::Profile},
      {"%%CommonFilesFolder%%", FolderId::CommonFiles},
      {"%%MyDocuments%%", FolderId::MyDocuments},
      {"%%root%%", FolderId::Root},
      {"%%wt%%", FolderId::Temp},
      {"%%pf%%", FolderId::Personal},
      {"%%ff%%", FolderId::Favorites},
      {"%%sf%%", FolderId::Startup},
      {"%%stf%%", FolderId::StartMenu},
      {"%%df%%", FolderId::DesktopDirectory},
      {"%%csf%%", FolderId::CommonStartMenu},
      {"%%cpf%%", FolderId::CommonPrograms},
      {"%%cdf%%", FolderId::CommonDesktopDirectory},
      {"%%caf%%", FolderId::CommonAppData},
      {"%%af%%", FolderId::AppData},
      {"%%tf%%", FolderId::Templates},
      {"%%icf%%", FolderId::InternetCache},
      {"%%ckf%%", FolderId::Cookies},
      {"%%hf%%", FolderId::History},
      {"%%prf%%", FolderId::Profile},
      {"%%cff%%", FolderId::CommonFiles},
      {"%%md%%", FolderId::MyDocuments},
      {"%%rt%%", FolderId::Root},
  };
  return tokens;
}

std::string ExpandPathTokens(FolderCache& folders, const std::string& text) {
  if (text.empty() || !platform::Contains(text, "%%")) return text;
  std::string result = text;
  for (const auto& row : PathTokens()) {
    const auto& folder = folders.Get(row.folder);
    if (!folder) return result;
    result = ReplaceAll(result, row.token, *folder);
  }
  return result;
}

std::string ExpandPathTokens(platform::Platform& platform, const std::string& text) {
  FolderCache afresh(platform);  // asked anew at every use
  return ExpandPathTokens(afresh, text);
}

bool IsFilePresent(platform::Files& files, const std::string& path) {
  try {
    if (files.FileExists(path)) return true;
    auto file = files.Open(path, platform::OpenMode::Read);
    return file && file->Size() > 10;
  } catch (const std::exception&) {
    return false;
  }
}

namespace {

std::string ResolveOnce(platform::Platform& platform, const std::string& text) {
  const std::string system = SystemFolder(platform);
  const std::string windows = WindowsFolder(platform);
  std::string t = platform::AsciiLower(text);
  const std::pair<const char*, const std::string*> variables[] = {
      {"%systemroot%", &system},
      {"%systemdir%", &system},
      {"%windir%", &windows},
      {"%winroot%", &windows},
  };
  for (const auto& v : variables) t = ReplaceAll(platform::AsciiLower(t), v.first, *v.second);
  return ReplaceAll(platform::AsciiLower(t), "\"", "");
}

}  // namespace

namespace {

// Windows opens "name " and "name." as "name", so blanks and dots after a path pass the
// presence test; they are not part of the file's path.
std::string TrimTrailingBlanksAndDots(std::string text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '.')) text.pop_back();
  return text;
}

}  // namespace

std::string ResolveCommandPath(platform::Platform& platform, const std::string& text) {
  try {
    // Every round drops one character; a round's expansion may add some (removing a quote
    // can form a variable), but only so often: a folder whose own name holds variable text
    // could otherwise grow the text for ever. The budget ends such a text, and no other.
    constexpr size_t kLongest = 32768;
    size_t rounds = 2 * text.size() + 64;
    std::string current = text;
    while (rounds-- > 0) {
      std::string t = ResolveOnce(platform, current);
      if (t.size() > text.size() + kLongest) return "";  // grown for ever

      // A longer text names no file the program's file calls can open: no test for it.
      if (t.size() <= kLongestPath) {
        const std::string inSystem = SystemFolder(platform) + "\\" + t;
        if (IsFilePresent(platform.files, inSystem)) t = inSystem;
        const std::string inWindows = WindowsFolder(platform) + "\\" + t;
        if (IsFilePresent(platform.files, inWindows)) t = inWindows;
        if (IsFilePresent(platform.files, t)) return TrimTrailingBlanksAndDots(t);
      }

      size_t drive = t.find(":\\");
      if (drive == std::string::npos) return "";
      std::string cut = t.substr(drive == 0 ? 0 : drive - 1);
      if (cut.size() <= kLongestPath && IsFilePresent(platform.files, cut))
        return TrimTrailingBlanksAndDots(cut);
      // Dropping one character at a time from a text too long for a path tests nothing
      // until it is short enough; without "%" no variable can form on the way (the rounds
      // would change nothing else), so go there at once.
      if (cut.size() > kLongestPath + 1 && cut.find('%') == std::string::npos)
        cut.resize(kLongestPath + 1);
      cut.pop_back();
      current = cut;
    }
    return "";
  } catch (const std::exception&) {
    return "";
  }
}

}  // namespace morvanta::scan
