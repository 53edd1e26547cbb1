// morvanta-cli's commands on the fake machine: what they print and how they exit.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "app/session.h"
#include "cli.h"
#include "quarantine_command.h"
#include "report_command.h"
#include "database/container.h"
#include "morvanta_version.h"
#include "platform/fake/fake_platform.h"
#include "platform/text.h"

namespace morvanta::cli {
namespace {

class CliCommands : public ::testing::Test {
 protected:
  int Cli(const std::vector<std::string>& args) {
    out.str("");
    err.str("");
    return cli::Run(session, args, out, err);
  }
  void PutDatabase(const std::string& path, const std::string& entries) {
    const std::string text = "Thursday, 10.12.2026, Upd 0042   \r\n" + entries + "_end\r\n";
    const auto packed = database::PackDatabase(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    fake.files.PutFile(path, std::string(packed.begin(), packed.end()));
  }
  platform::fake::FakePlatform fake;
  app::Session session{fake.Get()};
  std::ostringstream out, err;
};

TEST_F(CliCommands, HelpAndUsage) {
  EXPECT_EQ(Cli({"--help"}), kClean);
  EXPECT_NE(out.str().find("scan [--database FILE] [--full] [--drives LIST] [--fix] [--findings-only]\n"
                           "       [--show-skipped]"),
            std::string::npos);
  EXPECT_NE(out.str().find("--show-skipped  prints \"PATH: SKIPPED\""), std::string::npos);
  EXPECT_NE(out.str().find("Exit codes"), std::string::npos);
  EXPECT_EQ(Cli({}), kError);
  EXPECT_EQ(Cli({"frobnicate"}), kError);
  EXPECT_NE(err.str().find("unknown command frobnicate"), std::string::npos);
  EXPECT_EQ(Cli({"scan", "--bogus"}), kError);
  EXPECT_EQ(Cli({"scan", "--database"}), kError);  // the option lacks its file
  EXPECT_EQ(Cli({"scan", "--drives", ",;"}), kError);
  EXPECT_NE(err.str().find("--drives names no drive"), std::string::npos);
}

TEST_F(CliCommands, VersionIsTheRelease) {
  EXPECT_EQ(Cli({"--version"}), kClean);
  EXPECT_EQ(out.str(), std::string("morvanta-cli (Morvanta Pro) ") + MORVANTA_VERSION + "\n");
  EXPECT_EQ(err.str(), "");
  // Three numbers, as the version resources carry them.
  const std::string version = MORVANTA_VERSION;
  EXPECT_EQ(std::count(version.begin(), version.end(), '.'), 2) << version;
  EXPECT_EQ(version.find_first_not_of("0123456789."), std::string::npos) << version;
  EXPECT_NE(Cli({"--help"}), kError);
  EXPECT_NE(out.str().find("--version"), std::string::npos);
}

TEST_F(CliCommands, ScanFindsPrintsAndExitsByWhatItFound) {
  PutDatabase(session.ProgramFile("files.dat"), "[Worm.Clean]:C:\\absent.exe\r\n");
  EXPECT_EQ(Cli({"scan"}), kClean);
  EXPECT_NE(out.str().find("Files found: 0"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("Database: Thursday, 10.12.2026, Upd 0042"), std::string::npos);
  EXPECT_NE(out.str().find("Entries read: 1"), std::string::npos);

  fake.files.PutFile("C:\\Worms\\bad.exe", "a planted worm");
  fake.files.PutFile("C:\\Worms\\Folder\\x.dll", "inside a flagged folder");
  PutDatabase("C:\\db\\other.dat",
              "[Worm.Bad]:C:\\Worms\\bad.exe\r\n[Worm.Dir]:C:\\Worms\\Folder\\\\\r\n");
  EXPECT_EQ(Cli({"scan", "--database", "C:\\db\\other.dat", "--findings-only"}), kFound);
  EXPECT_EQ(out.str(),
            "C:\\Worms\\bad.exe: Worm.Bad FOUND\n"
            "C:\\Worms\\Folder: Worm.Dir FOUND\n"
            "C:\\Worms\\Folder\\x.dll: Worm.Dir FOUND\n");
}

TEST_F(CliCommands, ScanFixRemovesWhatWasFoundAndExitsByWhatRemains) {
  fake.files.PutFile("C:\\Worms\\bad.exe", "a planted worm");
  fake.files.PutFile("C:\\Worms\\Folder\\x.dll", "inside a flagged folder");
  PutDatabase(session.ProgramFile("files.dat"),
              "[Worm.Bad]:C:\\Worms\\bad.exe\r\n[Worm.Dir]:C:\\Worms\\Folder\\\\\r\n");
  EXPECT_EQ(Cli({"scan", "--fix"}), kClean) << out.str() << err.str();
  EXPECT_NE(out.str().find("C:\\Worms\\bad.exe: Worm.Bad FOUND\n"), std::string::npos);
  EXPECT_NE(out.str().find("C:\\Worms\\bad.exe: Removed.\n"
                           "C:\\Worms\\Folder: Removed.\n"
                           "C:\\Worms\\Folder\\x.dll: Removed.\n"),
            std::string::npos)
      << out.str();
  EXPECT_NE(out.str().find("Removed: 3\nNot removed: 0\n"), std::string::npos) << out.str();
  EXPECT_FALSE(fake.files.Exists("C:\\Worms\\bad.exe"));
  EXPECT_FALSE(fake.files.Exists("C:\\Worms\\Folder"));

  // Another program holds the file: it stays, for the system to delete at the next start.
  fake.files.PutFile("C:\\Worms\\bad.exe", "a planted worm");
  auto holder = fake.files.Open("C:\\Worms\\bad.exe", platform::OpenMode::Write);
  EXPECT_EQ(Cli({"scan", "--fix", "--findings-only"}), kFound);
  EXPECT_EQ(out.str(), "C:\\Worms\\bad.exe: Worm.Bad FOUND\n"
                       "C:\\Worms\\bad.exe: Not removed (removed when the computer restarts).\n");
  EXPECT_EQ(err.str(), "morvanta-cli: Cannot clean file C:\\Worms\\bad.exe please try to delete "
                       "this file manually.\n");
  EXPECT_EQ(fake.files.RestartDeletes(), std::vector<std::string>{"C:\\Worms\\bad.exe"});
  holder.reset();
  // Nothing found: nothing to fix.
  ASSERT_TRUE(fake.files.DeleteFile("C:\\Worms\\bad.exe"));
  EXPECT_EQ(Cli({"scan", "--fix"}), kClean);
}

TEST_F(CliCommands, ScanFullFindsCopiesOnTheDrivesGiven) {
  const std::string worm = "the worm's bytes";
  fake.files.PutFile("C:\\Worms\\bad.exe", worm);
  fake.files.PutFile("C:\\Elsewhere\\renamed.bin", worm);
  fake.files.PutFile("C:\\Other\\copy.bin", worm);
  PutDatabase(session.ProgramFile("files.dat"), "[Worm.Bad]:C:\\Worms\\bad.exe\r\n");
  EXPECT_EQ(Cli({"scan", "--drives", "C:\\Elsewhere,C:\\Worms", "--findings-only"}), kFound);
  EXPECT_EQ(out.str(), "C:\\Worms\\bad.exe: Worm.Bad FOUND\n"
                       "C:\\Elsewhere\\renamed.bin: Worm.Bad FOUND\n");
  // The fixed drives, then the fix of the copies too.
  EXPECT_EQ(Cli({"scan", "--full", "--fix"}), kClean) << out.str() << err.str();
  EXPECT_NE(out.str().find("Copies found: 2\n"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("C:\\Other\\copy.bin: Removed.\n"), std::string::npos) << out.str();
  EXPECT_FALSE(fake.files.Exists("C:\\Elsewhere\\renamed.bin"));
  // A root that is not there would pass for a clean one.
  EXPECT_EQ(Cli({"scan", "--drives", "Q:\\"}), kError);
  EXPECT_NE(err.str().find("no drive or folder Q:\\"), std::string::npos) << err.str();
}

TEST_F(CliCommands, ScanLeavesWhatTheWindowsIgnoreListCoversAndShowsItWhenAsked) {
  const std::string worm = "the worm's bytes";
  for (const char* path : {"C:\\Worms\\bad.exe", "C:\\Tools\\bad.exe", "C:\\Toolsmith\\bad.exe"})
    fake.files.PutFile(path, worm);
  fake.files.PutFile("C:\\Tools\\sub\\copy.bin", worm);
  fake.files.PutFile(session.ProgramFile("FileIgnoreL.fil"),
                     remedy::FormatFileIgnoreList({remedy::TFileIgnoreList::Folder("c:\\TOOLS")}));
  PutDatabase(session.ProgramFile("files.dat"),
              "[Worm.Bad]:C:\\Worms\\bad.exe\r\n[Worm.Tool]:C:\\Tools\\bad.exe\r\n");
  EXPECT_EQ(Cli({"scan", "--drives", "C:\\", "--findings-only"}), kFound);
  EXPECT_EQ(out.str(), "C:\\Worms\\bad.exe: Worm.Bad FOUND\n"
                       "C:\\Toolsmith\\bad.exe: Worm.Bad FOUND\n");
  EXPECT_EQ(Cli({"scan", "--drives", "C:\\", "--show-skipped", "--fix"}), kClean) << out.str();
  EXPECT_NE(out.str().find("C:\\Toolsmith\\bad.exe: Worm.Bad FOUND\n"
                           "C:\\Tools\\bad.exe: SKIPPED\n"
                           "C:\\Tools: SKIPPED\n"),
            std::string::npos)
      << out.str();
  EXPECT_NE(out.str().find("Skipped (ignore list): 2\n"), std::string::npos) << out.str();
  EXPECT_EQ(out.str().find("C:\\Tools\\bad.exe: Removed"), std::string::npos);
  EXPECT_TRUE(fake.files.FileExists("C:\\Tools\\bad.exe"));
  EXPECT_TRUE(fake.files.FileExists("C:\\Tools\\sub\\copy.bin"));
  EXPECT_FALSE(fake.files.Exists("C:\\Toolsmith\\bad.exe"));
}

TEST_F(CliCommands, AMissingOrDamagedDatabaseIsAnError) {
  EXPECT_EQ(Cli({"scan"}), kError);
  EXPECT_NE(err.str().find("cannot read the database \"" + session.ProgramFile("files.dat")),
            std::string::npos)
      << err.str();
  EXPECT_NE(err.str().find("The system cannot find the file specified."), std::string::npos);
  PutDatabase("C:\\db\\whole.dat", "[W]:C:\\w.exe\r\n");
  auto whole = fake.files.ReadAll("C:\\db\\whole.dat");
  fake.files.PutFile("C:\\db\\cut.dat", std::string(whole->begin(), whole->begin() + whole->size() / 2));
  EXPECT_EQ(Cli({"scan", "--database", "C:\\db\\cut.dat"}), kError);
  EXPECT_NE(err.str().find("is damaged"), std::string::npos) << err.str();
  fake.files.PutFile("C:\\db\\nodate.txt", "no line end at all");
  EXPECT_EQ(Cli({"scan", "--database", "C:\\db\\nodate.txt"}), kError);
  EXPECT_NE(err.str().find("no date line"), std::string::npos) << err.str();
}

class CliQuarantine : public CliCommands {
 protected:
  std::string Text(const std::string& path) {
    const auto bytes = fake.files.ReadAll(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : "<none>";
  }
  const std::string bad = "C:\\Users\\Tech\\bad.exe";
};

TEST_F(CliQuarantine, AddListRestoreRemove) {
  fake.files.PutFile(bad, "the suspect's bytes");
  EXPECT_EQ(Cli({"quarantine", "list"}), kClean);  // no index file yet: no entries
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(Cli({"quarantine", "add", bad}), kClean);
  EXPECT_EQ(out.str(), bad + ": added to quarantine\n");
  EXPECT_EQ(Cli({"quarantine", "add", "C:\\USERS\\tech\\BAD.exe"}), kFound);
  EXPECT_NE(out.str().find("already in quarantine"), std::string::npos);

  ASSERT_EQ(Cli({"quarantine", "list"}), kClean);
  const std::string listed = out.str();
  EXPECT_EQ(listed.rfind(bad + "\tUnknown\t", 0), 0u) << listed;
  const std::string stored = listed.substr(listed.rfind('\t') + 1, listed.size() - listed.rfind('\t') - 2);
  EXPECT_EQ(stored, session.ProgramFile("Quarantine\\bad.exe"));
  EXPECT_NE(Text(stored), "the suspect's bytes");  // stored in the form that cannot run

  // The user removed the original; the restore puts it back, byte for byte.
  ASSERT_TRUE(fake.files.DeleteFile(bad));
  EXPECT_EQ(Cli({"quarantine", "restore", bad}), kClean);
  EXPECT_EQ(out.str(), bad + ": restored\n");
  EXPECT_EQ(Text(bad), "the suspect's bytes");
  EXPECT_EQ(Text(stored), "<none>");
  EXPECT_EQ(Cli({"quarantine", "list"}), kClean);
  EXPECT_EQ(out.str(), "");

  EXPECT_EQ(Cli({"quarantine", "add", bad}), kClean);
  EXPECT_EQ(Cli({"quarantine", "remove", bad}), kClean);
  EXPECT_EQ(out.str(), bad + ": removed from quarantine\n");
  EXPECT_EQ(Text(stored), "<none>");
  EXPECT_EQ(Text(bad), "the suspect's bytes");  // a removal leaves the original alone
  EXPECT_EQ(Cli({"quarantine", "list"}), kClean);
  EXPECT_EQ(out.str(), "");
}

TEST_F(CliQuarantine, RelativePathsAreTakenFromTheCurrentFolder) {
  fake.files.PutFile(bad, "x");
  fake.files.SetCurrentDirectory("C:\\Users\\Tech\\Downloads");
  EXPECT_EQ(Cli({"quarantine", "add", "..\\bad.exe"}), kClean);
  EXPECT_EQ(out.str(), bad + ": added to quarantine\n");
  fake.files.SetCurrentDirectory("C:\\Users\\Tech");
  EXPECT_EQ(Cli({"quarantine", "remove", ".\\bad.exe"}), kClean);
}

TEST_F(CliQuarantine, FullPaths) {
  const struct {
    const char* given;
    const char* current;
    const char* full;
  } cases[] = {
      {"C:\\a\\b.exe", "D:\\x", "C:\\a\\b.exe"},
      {"C:/a/b.exe", "D:\\x", "C:\\a\\b.exe"},
      {"\\\\server\\share\\b.exe", "D:\\x", "\\\\server\\share\\b.exe"},
      {"b.exe", "D:\\x", "D:\\x\\b.exe"},
      {"b.exe", "D:\\", "D:\\b.exe"},
      {".\\b.exe", "D:\\x\\", "D:\\x\\b.exe"},
      {"..\\..\\b.exe", "D:\\x\\y", "D:\\b.exe"},
      {"..\\b.exe", "D:\\", "D:\\b.exe"},  // no step above the root
      {"\\top\\b.exe", "D:\\x", "D:\\top\\b.exe"},
  };
  for (const auto& c : cases) EXPECT_EQ(FullPath(c.given, c.current), c.full) << c.given;
}

TEST_F(CliQuarantine, ErrorsSayWhatWentWrong) {
  EXPECT_EQ(Cli({"quarantine"}), kError);
  EXPECT_NE(err.str().find("usage: morvanta-cli quarantine"), std::string::npos);
  EXPECT_EQ(Cli({"quarantine", "add"}), kError);
  EXPECT_EQ(Cli({"quarantine", "list", "extra"}), kError);
  EXPECT_EQ(Cli({"quarantine", "add", "C:\\nothing.exe"}), kError);
  EXPECT_NE(err.str().find("C:\\nothing.exe: no such file"), std::string::npos);
  EXPECT_EQ(Cli({"quarantine", "restore", bad}), kError);
  EXPECT_NE(err.str().find("not in quarantine"), std::string::npos);
  EXPECT_EQ(Cli({"quarantine", "remove", bad}), kError);

  // An index that cannot be read is neither listed as empty nor saved over.
  fake.files.PutFile(bad, "x");
  ASSERT_TRUE(fake.files.CreateDirectory(session.Quarantine().IndexFile()));
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"quarantine", "list"}, {"quarantine", "add", bad},
        {"quarantine", "remove", bad}}) {
    EXPECT_EQ(Cli(args), kError) << args[1];
    EXPECT_NE(err.str().find("cannot read the quarantine index"), std::string::npos) << args[1];
  }
}

TEST_F(CliQuarantine, WithoutAdministratorRightsAFailedTaskSaysSo) {
  const std::string hint = "runs without administrator rights";
  fake.files.PutFile(bad, "the suspect's bytes");
  fake.system.SetAdministratorRights(false);
  EXPECT_EQ(Cli({"quarantine", "restore", bad}), kError);  // no rights would change that
  EXPECT_EQ(err.str().find(hint), std::string::npos) << err.str();
  EXPECT_EQ(Cli({"quarantine", "list"}), kClean);
  EXPECT_EQ(err.str(), "");

  // The store beside the program cannot be written (as Program Files refuses a user).
  fake.files.SetFreeSpace(0);
  EXPECT_EQ(Cli({"quarantine", "add", bad}), kError);
  EXPECT_NE(err.str().find("cannot add the file to the quarantine"), std::string::npos);
  EXPECT_NE(err.str().find(hint), std::string::npos) << err.str();
  EXPECT_NE(err.str().find(session.ProgramFolder()), std::string::npos) << err.str();
  EXPECT_NE(err.str().find("\"Run as administrator\""), std::string::npos) << err.str();

  // With the rights, the same failure has another reason: nothing is said about them.
  fake.system.SetAdministratorRights(true);
  EXPECT_EQ(Cli({"quarantine", "add", bad}), kError);
  EXPECT_EQ(err.str().find(hint), std::string::npos) << err.str();

  // A fix that leaves a file behind says it too.
  fake.files.SetFreeSpace(std::nullopt);
  fake.system.SetAdministratorRights(false);
  PutDatabase(session.ProgramFile("files.dat"), "[Worm.Held]:C:\\Worms\\held.exe\r\n");
  fake.files.PutFile("C:\\Worms\\held.exe", "a held worm");
  auto holder = fake.files.Open("C:\\Worms\\held.exe", platform::OpenMode::Write);
  EXPECT_EQ(Cli({"scan", "--fix", "--findings-only"}), kFound) << out.str() << err.str();
  EXPECT_NE(err.str().find(hint), std::string::npos) << out.str() << err.str();
}

// `report` and `autoruns` over a fake machine with a startup value and its running program.
class CliReport : public CliCommands {
 protected:
  void SetUp() override {
    const std::string run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    fake.files.PutFile(session.ProgramFile("RegBase.rgk"), "1\r\n1\r\n" + run + "\r\nRun\r\n");
    fake.registry.CreateKey(platform::RegRoot::CurrentUser, run)
        ->WriteValue("agent", platform::RegValue::FromString("C:\\Tools\\agent.exe"));
    fake.registry.CreateKey(platform::RegRoot::CurrentUser, run)
        ->WriteValue("with, comma", platform::RegValue::FromString("C:\\Tools\\a,b.exe"));
    fake.files.PutFile("C:\\Tools\\agent.exe", "MZ agent");
    fake.files.PutFile("C:\\Tools\\a,b.exe", "");
    fake.processes.AddProcess("agent.exe", std::string("C:\\Tools\\agent.exe"));
  }
  std::vector<std::string> FileLines(const std::string& path) {
    const auto bytes = fake.files.ReadAll(path);
    std::vector<std::string> lines;
    if (!bytes) return {"<no file>"};
    const std::string text(bytes->begin(), bytes->end());
    for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
      lines.push_back(text.substr(start, end - start));
    return lines;
  }
  bool Has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
};

TEST_F(CliReport, ReportWritesTheFileWithTheSectionsChosen) {
  fake.files.PutFile("C:\\Tools\\worm.exe", "a planted worm");
  PutDatabase(session.ProgramFile("files.dat"), "[Worm.Bad]:C:\\Tools\\worm.exe\r\n");
  EXPECT_EQ(Cli({"report"}), kClean) << err.str();
  const std::string beside = session.ProgramFile("Information.txt");
  EXPECT_EQ(out.str(), beside + "\n");
  auto lines = FileLines(beside);
  ASSERT_FALSE(lines.empty());
  for (const char* line : {"Virus list:", "Infected with Worm.Bad - File C:\\Tools\\worm.exe",
                           "Running processes: (1)", "Startup files:", "[C:\\Tools\\agent.exe]",
                           "Finished..."})
    EXPECT_TRUE(Has(lines, line)) << line;
  EXPECT_TRUE(fake.shell.Opened().empty());  // written, never opened

  // Every switch off, into a file named relative to the current folder: no database needed.
  fake.files.DeleteFile(session.ProgramFile("files.dat"));
  const std::string relative = fake.files.CurrentDirectory() + "\\out.txt";
  EXPECT_EQ(Cli({"report", "out.txt", "--no-infected", "--no-processes", "--no-startup",
                 "--no-services"}),
            kClean)
      << err.str();
  lines = FileLines(relative);
  ASSERT_GT(lines.size(), 10u);
  for (const char* line : {"Virus list:", "Startup files:"}) EXPECT_FALSE(Has(lines, line)) << line;
  EXPECT_EQ(lines[6], "");
  EXPECT_EQ(lines[7], "");
  EXPECT_EQ(lines[8], "");  // the detail report's own
  EXPECT_EQ(lines[9].rfind("Detail report: (", 0), 0u);
  EXPECT_EQ(lines.back(), "Finished...");

  // Errors: an unknown option, a missing database with the scan on, a folder that is not there.
  EXPECT_EQ(Cli({"report", "--bogus"}), kError);
  EXPECT_NE(err.str().find("unknown option --bogus"), std::string::npos);
  EXPECT_EQ(Cli({"report"}), kError);
  EXPECT_NE(err.str().find("cannot read the database"), std::string::npos);
  EXPECT_EQ(Cli({"report", "C:\\No such folder\\r.txt", "--no-infected"}), kError);
  EXPECT_NE(err.str().find("Error writing log file!"), std::string::npos);
}

TEST_F(CliReport, AutorunsPrintsTheRowsAsCsv) {
  EXPECT_EQ(Cli({"autoruns"}), kClean) << err.str();
  std::vector<std::string> lines;
  std::istringstream in(out.str());
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], "kind,path,size,key,md5");
  const std::string key = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\";
  const struct {
    std::string line;
  } expected[] = {
      {"Proc,C:\\Tools\\agent.exe,8,,"},
      {"RegStartup,C:\\Tools\\agent.exe,8," + key + ","},
      // A comma quotes the field; an empty file has the empty input's digest.
      {"RegStartup,\"C:\\Tools\\a,b.exe\",0," + key + ",d41d8cd98f00b204e9800998ecf8427e"},
  };
  for (const auto& e : expected) {
    const bool found = std::any_of(lines.begin(), lines.end(), [&](const std::string& l) {
      return l.rfind(e.line, 0) == 0;
    });
    EXPECT_TRUE(found) << e.line << "\n" << out.str();
  }
  // Proc before RegStartup, as the table lists them.
  auto at = [&](const std::string& prefix) {
    return std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
  };
  EXPECT_LT(at("Proc,"), at("RegStartup,"));
  const std::string agentMd5 = lines[static_cast<size_t>(at("Proc,") - lines.begin())].substr(
      std::string("Proc,C:\\Tools\\agent.exe,8,,").size());
  EXPECT_EQ(agentMd5.size(), 32u);

  EXPECT_EQ(Cli({"autoruns", "--bogus"}), kError);
  EXPECT_EQ(CsvField("plain"), "plain");
  EXPECT_EQ(CsvField("say \"hi\", twice"), "\"say \"\"hi\"\", twice\"");
}

}  // namespace
}  // namespace morvanta::cli
