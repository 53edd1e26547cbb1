#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan/lint.h"
#include "test_util.h"

namespace morvanta::database {
namespace {

using scan::LintDatabaseText;
using scan::LintProblem;

using testing::CrLf;
using testing::DateLine;

const std::string kDigest = "44d88612fea8a8f36de82e1278abb02f";

std::vector<LintProblem> Lint(const std::string& text) {
  return LintDatabaseText(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

std::string Describe(const std::vector<LintProblem>& problems) {
  std::string all;
  for (const auto& p : problems) all += std::to_string(p.line) + ": " + p.message + "\n";
  return all;
}

// A database with these lines between its date line and its end line.
std::string Database(const std::vector<std::string>& entries) {
  std::vector<std::string> lines = {DateLine('2')};
  lines.insert(lines.end(), entries.begin(), entries.end());
  lines.push_back("_end");
  return CrLf(lines);
}

TEST(Lint, AcceptsEveryLineForm) {
  const std::string text = Database({
      "/" + kDigest + "/[Test.Digest]::",
      "/" + kDigest + "/[Test.File]:%%DesktopFolder%%\\eicar.com",
      "[Test.Folder]:%%wt%%\\eicar-test\\\\",
      "/0/[Worm.Root]:%%root%%\\explorer.exe",
      "[Worm.Drive]:C:\\x.exe",
      "[Start]",
      "[Win32Root]",
      "[]:msblast.exe",
      "[Worm.Sub]:sub\\\\",
      "[Win32Root]\\system",
      "[Worm.Pattern]:wink&abc!.exe!",
      "[Start]",
      "[Win32Root]\\a",
      "[System32Root]\\b",
      "[ProgramFiles32Root]\\c",
      "[Worm.Trailing]:x.exe   ",
      "[Worm.Range]:x??a0?e2500?.dll",  // 4 letters of 2500 numbers: as many as allowed
  });
  EXPECT_EQ(Describe(Lint(text)), "");
}

struct Case {
  const char* name;
  std::string text;
  size_t line;
  const char* message;  // a part of the first problem's message
};

void ExpectFirstProblem(const Case& c) {
  SCOPED_TRACE(c.name);
  const auto problems = Lint(c.text);
  ASSERT_FALSE(problems.empty());
  EXPECT_EQ(problems[0].line, c.line) << Describe(problems);
  EXPECT_NE(problems[0].message.find(c.message), std::string::npos) << Describe(problems);
}

TEST(Lint, ReportsLayoutProblems) {
  const std::string good = Database({"[X]:%%wt%%\\a.exe"});
  const Case cases[] = {
      {"empty text", "", 0, "empty text"},
      {"short date line", CrLf({"2026-01-12", "_end"}), 1,
       "date line must be 33 characters, not 10"},
      {"update number", CrLf({"Threat database 2026-01-12, Upd x", "_end"}), 1, "update number"},
      {"LF alone", DateLine('2') + "\r\n[X]:%%wt%%\\a.exe\n_end\r\n", 2, "LF without CR"},
      {"CR alone", DateLine('2') + "\r\n[X]:%%wt%%\\a.exe\r_end\r\n", 2, "CR without LF"},
      {"no CR LF at the end", good.substr(0, good.size() - 2), 3, "no CR LF"},
      {"no end line", CrLf({DateLine('2'), "[X]:%%wt%%\\a.exe"}), 2, "end line \"_end\""},
      {"end line early", Database({"_end", "[X]:%%wt%%\\a.exe"}), 2, "never read"},
      {"long line", Database({"[X]:%%wt%%\\" + std::string(240, 'a') + ".exe"}), 2,
       "255 bytes long; at most 254"},
      {"control character", Database({"[X]:%%wt%%\\a\t.exe"}), 2, "control character 0x09"},
      {"empty line", Database({""}), 2, "empty line"},
  };
  for (const auto& c : cases) ExpectFirstProblem(c);
}

TEST(Lint, ReportsSectionProblems) {
  const Case cases[] = {
      {"text after [Start]", Database({"[Start] here", "[X]:%%wt%%\\a.exe"}), 2,
       "text after [Start]"},
      {"rest without backslash", Database({"[Win32Root]system", "[]:a.exe"}), 2,
       "must begin with a backslash"},
      {"token in a root line", Database({"[Win32Root]\\%%wt%%", "[]:a.exe"}), 2, "not expanded"},
      {"out of order", Database({"[System32Root]", "[Win32Root]", "[]:a.exe"}), 3,
       "is read as an entry line"},
      {"twice", Database({"[Start]", "[Start]", "[X]:%%wt%%\\a.exe"}), 3,
       "is read as an entry line"},
      {"before the end line", Database({"[X]:%%wt%%\\a.exe", "[Win32Root]"}), 3,
       "must be followed by an entry line"},
  };
  for (const auto& c : cases) ExpectFirstProblem(c);
}

TEST(Lint, ReportsEntryProblems) {
  const Case cases[] = {
      {"digest in capitals", Database({"/44D88612FEA8A8F36DE82E1278ABB02F/[X]::"}), 2,
       "digest must be 32 lower-case hex digits"},
      {"short digest", Database({"/44d8/[X]::"}), 2, "digest must be 32 lower-case hex digits"},
      {"digest not closed", Database({"/" + kDigest + "[X]::"}), 2, "no closing \"/\""},
      {"digest entry without digest", Database({"[X]::"}), 2, "needs a digest"},
      {"digest entry without name", Database({"/" + kDigest + "/[]::"}), 2, "needs a threat name"},
      {"text after ::", Database({"/" + kDigest + "/[X]::x.exe"}), 2, "end the line"},
      {"no brackets", Database({"%%wt%%\\a.exe"}), 2, "threat name in brackets"},
      {"bracket not closed", Database({"[X:%%wt%%\\a.exe"}), 2, "no closing \"]\""},
      {"colon in name", Database({"[X:Y]:%%wt%%\\a.exe"}), 2, "must not contain \":\""},
      {"no colon", Database({"[X]%%wt%%\\a.exe"}), 2, "followed by \":\""},
      {"no path", Database({"[X]:  "}), 2, "no path"},
      {"folder with one backslash", Database({"[X]:%%wt%%\\sub\\"}), 2, "double backslash"},
      {"folder with two double backslashes", Database({"[X]:%%wt%%\\\\sub\\\\"}), 2,
       "only at its end"},
      {"folder naming the section's folder", Database({"[Win32Root]", "[X]:\\\\"}), 3,
       "section's folder"},
      {"double backslash in a file path", Database({"[X]:%%wt%%\\\\a.exe"}), 2,
       "double backslash inside"},
      {"unknown token", Database({"[X]:%%WINTEMP%%\\a.exe"}), 2, "unknown folder token"},
      {"unpaired token", Database({"[X]:%%wt\\a.exe"}), 2, "unpaired"},
      {"relative path outside a section", Database({"[X]:a.exe"}), 2,
       "begin with a folder token or a drive"},
      {"full path inside a section", Database({"[System32Root]", "[X]:%%wt%%\\a.exe"}), 3,
       "relative to the section's folder"},
      {"leading backslash inside a section", Database({"[System32Root]", "[X]:\\a.exe"}), 3,
       "must not begin with a backslash"},
      {"only /0/", Database({"/0/"}), 2, "nothing besides"},
      {"range of too many names", Database({"[X]:%%wt%%\\x??a1?z2147483647?.dll"}), 2,
       "range makes 53687091150 names; at most 10000"},
      {"range just too large", Database({"[X]:%%wt%%\\x??0?10001?.dll"}), 2, "range makes 10001 names"},
      {"range bound too large", Database({"[X]:%%wt%%\\x??1?99999999999?.dll"}), 2,
       "does not fit a 32-bit number"},
  };
  for (const auto& c : cases) ExpectFirstProblem(c);
}

// Whatever the bytes, the checks end and report something for a text that is not a
// database.
TEST(Lint, SurvivesBinaryInput) {
  std::string bytes;
  for (int i = 0; i < 4096; ++i) bytes += static_cast<char>((i * 7919) & 0xFF);
  EXPECT_FALSE(Lint(bytes).empty());
}

}  // namespace
}  // namespace morvanta::database
