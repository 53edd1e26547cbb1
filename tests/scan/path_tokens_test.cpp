#include "scan/path_tokens.h"

#include <gtest/gtest.h>

#include <set>

#include "scan/system_folders.h"
#include "scan_fixture.h"

namespace morvanta::scan {
namespace {

using platform::RegValue;
namespace csidl = platform::csidl;

class PathTokensTest : public ::testing::Test {
 protected:
  PathTokensTest() {
    auto& folders = machine.Fake().folders;
    folders.SetTempPath("C:\\T\\");
    folders.SetWindowsDirectory("D:\\WIN");
    folders.SetSystemDirectory("D:\\WIN\\sys32");
    const std::pair<int, const char*> special[] = {
        {csidl::Personal, "C:\\Pers"},       {csidl::Favorites, "C:\\Fav"},
        {csidl::Startup, "C:\\Stup"},        {csidl::StartMenu, "C:\\SM"},
        {csidl::DesktopDirectory, "C:\\Desk"}, {csidl::CommonStartMenu, "C:\\CSM"},
        {csidl::CommonStartup, "C:\\CStup"}, {csidl::Profile, "C:\\Prof"},
        {csidl::CommonPrograms, "C:\\CProg"}, {csidl::CommonDesktopDirectory, "C:\\CDesk"},
        {csidl::CommonAppData, "C:\\CApp"},  {csidl::AppData, "C:\\App"},
        {csidl::Templates, "C:\\Tmpl"},      {csidl::InternetCache, "C:\\Cache"},
        {csidl::Cookies, "C:\\Cook"},        {csidl::History, "C:\\Hist"},
    };
    for (const auto& s : special) folders.SetSpecialFolder(s.first, s.second);
    machine.Fake().system.SetUserName("Ann");
    machine.SetCurrentVersionValue("CommonFilesDir", RegValue::FromString("C:\\Common"));
  }
  std::string Expand(const std::string& text) { return ExpandPathTokens(machine.Get(), text); }

  testing::FakeMachine machine;
};

TEST_F(PathTokensTest, EveryTokenNamesItsFolder) {
  const std::pair<const char*, const char*> table[] = {
      {"%%WinTemp%%", "C:\\T"},
      {"%%PersonalFolder%%", "C:\\Pers"},
      {"%%user%%", "Ann"},
      {"%%User%%", "Ann"},
      {"%%FavoritesFolder%%", "C:\\Fav"},
      {"%%StartupFolder%%", "C:\\Stup"},
      {"%%StartmenuFolder%%", "C:\\SM"},
      {"%%DesktopFolder%%", "C:\\Desk"},
      {"%%CommonStartmenuFolder%%", "C:\\CSM"},
      {"%%CommonProgramsFolder%%", "C:\\CProg"},
      {"%%CommonStartupFolder%%", "C:\\CStup"},
      {"%%CommonDesktopdirectoryFolder%%", "C:\\CDesk"},
      {"%%CommonAppdataFolder%%", "C:\\CApp"},
      {"%%AppdataFolder%%", "C:\\App"},
      {"%%TemplatesFolder%%", "C:\\Tmpl"},
      {"%%InternetCacheFolder%%", "C:\\Cache"},
      {"%%CookiesFolder%%", "C:\\Cook"},
      {"%%HistoryFolder%%", "C:\\Hist"},
      {"%%ProfileFolder%%", "C:\\Prof"},
      {"%%CommonFilesFolder%%", "C:\\Common"},
      {"%%MyDocuments%%", "C:\\Pers"},
      {"%%root%%", "D:"},
      {"%%wt%%", "C:\\T"},
      {"%%pf%%", "C:\\Pers"},
      {"%%ff%%", "C:\\Fav"},
      {"%%sf%%", "C:\\Stup"},
      {"%%stf%%", "C:\\SM"},
      {"%%df%%", "C:\\Desk"},
      {"%%csf%%", "C:\\CSM"},  // the common start menu, not the common startup folder
      {"%%cpf%%", "C:\\CProg"},
      {"%%cdf%%", "C:\\CDesk"},
      {"%%caf%%", "C:\\CApp"},
      {"%%af%%", "C:\\App"},
      {"%%tf%%", "C:\\Tmpl"},
      {"%%icf%%", "C:\\Cache"},
      {"%%ckf%%", "C:\\Cook"},
      {"%%hf%%", "C:\\Hist"},
      {"%%prf%%", "C:\\Prof"},
      {"%%cff%%", "C:\\Common"},
      {"%%md%%", "C:\\Pers"},
      {"%%rt%%", "D:"},
  };
  ASSERT_EQ(PathTokens().size(), std::size(table));
  for (size_t i = 0; i < std::size(table); ++i) {
    SCOPED_TRACE(table[i].first);
    EXPECT_STREQ(PathTokens()[i].token, table[i].first);
    EXPECT_EQ(Expand(std::string(table[i].first) + "\\a.exe"),
              std::string(table[i].second) + "\\a.exe");
  }
}

TEST_F(PathTokensTest, AScansFoldersAreTakenOnceAndKept) {
  FolderCache folders(machine.Get());
  EXPECT_EQ(ExpandPathTokens(folders, "%%wt%%\\a.exe"), "C:\\T\\a.exe");
  machine.Fake().folders.SetTempPath("C:\\Elsewhere\\");
  EXPECT_EQ(ExpandPathTokens(folders, "%%WinTemp%%\\a.exe"), "C:\\T\\a.exe");  // as taken
  EXPECT_EQ(Expand("%%wt%%\\a.exe"), "C:\\Elsewhere\\a.exe");  // asked afresh without one
  // A failing getter stops the expansion with the cache as without it.
  machine.Fake().system.SetUserName("");
  FolderCache nameless(machine.Get());
  EXPECT_EQ(ExpandPathTokens(nameless, "%%user%%\\%%wt%%"), Expand("%%user%%\\%%wt%%"));
}

TEST_F(PathTokensTest, TokensAreCaseSensitiveAndNeedTheDoublePercent) {
  const std::pair<const char*, const char*> cases[] = {
      {"%%wt%%\\a.exe", "C:\\T\\a.exe"},
      {"%%WinTemp%%\\a.exe", "C:\\T\\a.exe"},
      {"%%Wt%%\\a.exe", "%%Wt%%\\a.exe"},
      {"%%WINTEMP%%\\a.exe", "%%WINTEMP%%\\a.exe"},
      {"%%USER%%", "%%USER%%"},
      {"%wt%\\a.exe", "%wt%\\a.exe"},
      {"", ""},
      {"%%wt%%%%wt%%", "C:\\TC:\\T"},
      {"x%%af%%\\%%user%%\\%%rt%%", "xC:\\App\\Ann\\D:"},
  };
  for (const auto& c : cases) EXPECT_EQ(Expand(c.first), c.second) << c.first;
}

TEST_F(PathTokensTest, TokensApplyInTableOrderToTheResultSoFar) {
  // The user name is inserted before the short tokens are replaced, so a name that looks
  // like a later token is itself replaced.
  machine.Fake().system.SetUserName("%%wt%%");
  EXPECT_EQ(Expand("%%user%%\\x"), "C:\\T\\x");
  // A folder that looks like an earlier token stays as inserted.
  machine.Fake().folders.SetSpecialFolder(csidl::History, "%%WinTemp%%");
  EXPECT_EQ(Expand("%%hf%%"), "%%WinTemp%%");
}

TEST_F(PathTokensTest, AFailingGetterStopsTheReplacementsThere) {
  // Common files is asked at row 20: rows before it are done, rows after it are not.
  machine.SetCurrentVersionValue("CommonFilesDir", RegValue::FromDword(7));
  EXPECT_EQ(Expand("%%WinTemp%%|%%ProfileFolder%%|%%CommonFilesFolder%%|%%md%%"),
            "C:\\T|C:\\Prof|%%CommonFilesFolder%%|%%md%%");
  // The user name fails at row 3.
  machine.SetCurrentVersionValue("CommonFilesDir", RegValue::FromString("C:\\Common"));
  machine.Fake().system.SetUserName("");
  EXPECT_EQ(Expand("%%pf%%|%%WinTemp%%|%%PersonalFolder%%"), "%%pf%%|C:\\T|C:\\Pers");
}

TEST_F(PathTokensTest, MissingFoldersExpandToEmptyText) {
  machine.Fake().folders.SetSpecialFolder(csidl::Cookies, "");
  machine.Fake().registry.DeleteKeyTree(platform::RegRoot::LocalMachine,
                                        "SOFTWARE\\Microsoft\\Windows\\CurrentVersion");
  EXPECT_EQ(Expand("%%ckf%%\\a|%%cff%%\\b|%%wt%%"), "\\a|\\b|C:\\T");
}

TEST_F(PathTokensTest, GettersAreAskedAfreshEachTime) {
  EXPECT_EQ(Expand("%%wt%%"), "C:\\T");
  machine.Fake().folders.SetTempPath("E:\\Other\\");
  EXPECT_EQ(Expand("%%wt%%"), "E:\\Other");
}

TEST(SystemFolders, RootAndProgramFilesFolders) {
  testing::FakeMachine machine;
  auto& p = machine.Get();
  EXPECT_EQ(ProgramFilesFolder(p), "");
  machine.SetCurrentVersionValue("ProgramFilesDir", RegValue::FromString("C:\\Program Files"));
  EXPECT_EQ(ProgramFilesFolder(p), "C:\\Program Files");
  machine.SetCurrentVersionValue("ProgramFilesDir", RegValue::FromDword(1));
  EXPECT_EQ(ProgramFilesFolder(p), "");

  const std::pair<const char*, const char*> roots[] = {
      {"C:\\WINDOWS", "C:"}, {"q:\\", "q:"}, {"\\\\server\\win", ""}, {"", ""}};
  for (const auto& r : roots) {
    machine.Fake().folders.SetWindowsDirectory(r.first);
    EXPECT_EQ(GetFolder(p, FolderId::Root).value_or("<error>"), r.second) << r.first;
  }
}

class ResolveCommandPathTest : public ::testing::Test {
 protected:
  ResolveCommandPathTest() {
    machine.Fake().folders.SetWindowsDirectory("C:\\WINDOWS");
    machine.Fake().folders.SetSystemDirectory("C:\\WINDOWS\\System32");
    machine.Fake().files.MakeFolders("C:\\WINDOWS\\System32");
  }
  std::string Resolve(const std::string& text) {
    return ResolveCommandPath(machine.Get(), text);
  }
  testing::FakeMachine machine;
};

TEST_F(ResolveCommandPathTest, CommandLinesReduceToAnExistingFile) {
  machine.PutProgram("C:\\WINDOWS\\System32\\x.exe");
  machine.PutProgram("C:\\WINDOWS\\w.exe");
  machine.PutProgram("C:\\Prog Files\\App\\app.exe");
  machine.PutProgram("C:\\dir\\x.dll");
  machine.PutProgram("C:\\dir\\file.exe");
  const std::pair<const char*, const char*> cases[] = {
      // Variables: %systemroot% and %systemdir% name the system folder here.
      {"\"%SystemRoot%\\x.exe\" /s", "c:\\windows\\system32\\x.exe"},
      {"%SYSTEMDIR%\\x.exe", "c:\\windows\\system32\\x.exe"},
      {"%windir%\\w.exe -k run", "c:\\windows\\w.exe"},
      {"%WinRoot%\\w.exe", "c:\\windows\\w.exe"},
      {"%systemroot%\\w.exe", ""},
      // Bare names: the system folder first (prefix kept as the platform writes it).
      {"x.exe", "C:\\WINDOWS\\System32\\x.exe"},
      {"W.EXE", "C:\\WINDOWS\\w.exe"},
      {"nothere.exe", ""},
      {"x.exe /switch", ""},
      // Quotes, arguments and switches after a path.
      {"\"C:\\Prog Files\\App\\app.exe\" --tray", "c:\\prog files\\app\\app.exe"},
      {"C:\\Prog Files\\App\\app.exe", "c:\\prog files\\app\\app.exe"},
      {"rundll32.exe c:\\dir\\x.dll,Entry", "c:\\dir\\x.dll"},
      {"rundll32.exe c:\\dir\\missing.dll,Entry", ""},
      // Running-object lines.
      {"Proc c:\\dir\\file.exe[0123456789abcdef0123456789abcdef][15]", "c:\\dir\\file.exe"},
      {"RegRun \"C:\\DIR\\FILE.EXE\" /min[d41d8][0]", "c:\\dir\\file.exe"},
      {"", ""},
      {"\"\"", ""},
      {":\\", ""},
      {"c:\\", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Resolve(c.first), c.second) << c.first;
}

TEST_F(ResolveCommandPathTest, PresenceCountsSmallUnreadableAndFolderPaths) {
  machine.Fake().files.PutFile("C:\\small.exe", "tiny");  // exists: present, whatever its size
  machine.Fake().files.MakeFolders("C:\\folder.exe");
  EXPECT_EQ(Resolve("c:\\small.exe arg"), "c:\\small.exe");
  EXPECT_EQ(Resolve("c:\\folder.exe arg"), "");
  EXPECT_TRUE(IsFilePresent(machine.Fake().files, "C:\\small.exe"));
  EXPECT_FALSE(IsFilePresent(machine.Fake().files, "C:\\folder.exe"));
  EXPECT_FALSE(IsFilePresent(machine.Fake().files, "C:\\none.exe"));
  EXPECT_FALSE(IsFilePresent(machine.Fake().files, ""));
}

TEST_F(ResolveCommandPathTest, LongTrailingDecorationIsDroppedWithoutDeepRecursion) {
  machine.PutProgram("C:\\a.exe");
  EXPECT_EQ(Resolve("c:\\a.exe " + std::string(1000, 'x')), "c:\\a.exe");
  EXPECT_EQ(Resolve("c:\\b.exe " + std::string(500, 'x')), "");
}

TEST_F(ResolveCommandPathTest, AHugeValueIsCutToAPathsLengthAtOnce) {
  // Malware shapes its autostart values: a path followed by 60,000 characters, and one
  // behind 300 of them.
  machine.PutProgram("C:\\a.exe");
  EXPECT_EQ(Resolve("c:\\a.exe " + std::string(60000, 'x')), "c:\\a.exe");
  EXPECT_EQ(Resolve(std::string(300, 'y') + " c:\\a.exe /s"), "c:\\a.exe");
  // A path too long for the program's file calls names nothing.
  const std::string deep = "C:\\" + std::string(300, 'd') + "\\x.exe";
  machine.PutProgram(deep);
  EXPECT_EQ(Resolve(deep), "");
}

TEST_F(ResolveCommandPathTest, AQuoteInsideAVariableIsNoDeadEnd) {
  // Removing the quote forms "%windir%", whose expansion is longer than the text it
  // replaces; the path before it is still found.
  machine.PutProgram("C:\\dir\\file.exe");
  EXPECT_EQ(Resolve("c:\\dir\\file.exe %win\"dir%\\x"), "c:\\dir\\file.exe");
  EXPECT_EQ(Resolve("c:\\dir\\file.exe %windir%\\x"), "c:\\dir\\file.exe");
}

TEST_F(ResolveCommandPathTest, TrailingBlanksAndDotsAreNoPartOfThePath) {
  machine.PutProgram("C:\\dir\\file.exe");
  const std::pair<const char*, const char*> cases[] = {
      {"c:\\dir\\file.exe.", "c:\\dir\\file.exe"},
      {"c:\\dir\\file.exe. .", "c:\\dir\\file.exe"},
      {"c:\\dir\\file.exe   ", "c:\\dir\\file.exe"},
      {"\"c:\\dir\\file.exe.\" /x", "c:\\dir\\file.exe"},
  };
  for (const auto& c : cases) EXPECT_EQ(Resolve(c.first), c.second) << c.first;
}

TEST_F(ResolveCommandPathTest, AFolderNamedLikeAVariableCannotMakeItLoop) {
  machine.Fake().folders.SetSystemDirectory("C:\\%systemroot%x");
  EXPECT_EQ(Resolve("%systemroot%\\y.exe"), "");
}

}  // namespace
}  // namespace morvanta::scan
