#include "engine_commands.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "scan/file_digest.h"

#include "scan_fixture.h"

namespace morvanta::tools {
namespace {

struct EngineRun {
  int status;
  std::string out;
  std::string err;
};

EngineRun Engine(const std::vector<std::string>& args, platform::Platform* machine) {
  std::ostringstream out, err;
  int status = RunEngineCommand(args, out, err, machine);
  return {status, out.str(), err.str()};
}

TEST(EngineCommands, StatusAndOutputPerCommand) {
  scan::testing::FakeMachine fake;
  fake.Fake().folders.SetTempPath("C:\\Temp\\");
  fake.PutProgram("C:\\windows\\system32\\x.exe");
  fake.Fake().files.PutFile("C:\\abc.txt", "abc");
  auto* m = &fake.Get();
  const struct {
    std::vector<std::string> args;
    platform::Platform* machine;
    int status;
    const char* out;
  } cases[] = {
      {{"range", "x??a1?c3?.dll"}, nullptr, 0, "xa1.dll\nxa2.dll\nxb1.dll\nxb2.dll\n"},
      {{"range", "plain.dll"}, nullptr, 1, ""},
      {{"range", "??1?99999999999?"}, nullptr, 2, ""},
      {{"expand", "%%wt%%\\a.exe"}, m, 0, "C:\\Temp\\a.exe\n"},
      {{"expand", "%%wt%%\\a.exe"}, nullptr, 2, ""},
      {{"resolve", "\"%SystemRoot%\\x.exe\" /s"}, m, 0, "c:\\windows\\system32\\x.exe\n"},
      {{"resolve", "nothere.exe"}, m, 1, ""},
      {{"match", "C:\\w\\plain.exe"}, m, 1, ""},
      {{"match", "C:\\w\\abc<>.exe"}, nullptr, 2, ""},
      {{"digest", "C:\\abc.txt"}, m, 0, "900150983cd24fb0d6963f7d28e17f72  C:\\abc.txt\n"},
      {{"digest", "C:\\abc.txt", "C:\\none"}, m, 1,
       "900150983cd24fb0d6963f7d28e17f72  C:\\abc.txt\n"},
      {{"digest", "/nonexistent/file"}, nullptr, 1, ""},
      {{"digest"}, m, 2, ""},
      {{"expand"}, m, 2, ""},
      {{"expand", "a", "b"}, m, 2, ""},
      {{"bogus"}, m, 2, ""},
      {{}, m, 2, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.empty() ? "(none)" : c.args[0] + (c.machine ? " on machine" : ""));
    EngineRun run = Engine(c.args, c.machine);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_EQ(run.out, c.out);
    if (c.status == 2) {
      EXPECT_FALSE(run.err.empty());
    }
  }
}

TEST(EngineCommands, DigestOfAFolderIsAnErrorAndTheNextFileIsStillHashed) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("morvanta-digest-" + std::to_string(::getpid()));
  fs::create_directories(dir / "sub");
  { std::ofstream(dir / "abc.txt", std::ios::binary) << "abc"; }
  { std::ofstream(dir / "empty.txt", std::ios::binary); }
  const std::string sub = (dir / "sub").string(), abc = (dir / "abc.txt").string(),
                    empty = (dir / "empty.txt").string();
  EngineRun run = Engine({"digest", sub, abc, empty}, nullptr);
  fs::remove_all(dir);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "900150983cd24fb0d6963f7d28e17f72  " + abc + "\n" +
                         std::string(scan::kEmptyDigest) + "  " + empty + "\n");
  EXPECT_NE(run.err.find("cannot read " + sub), std::string::npos) << run.err;
}

TEST(EngineCommands, ParseShowsTemplatesAndTheirExpansion) {
  scan::testing::FakeMachine fake;
  fake.Fake().folders.SetTempPath("C:\\Temp\\");
  EngineRun plain = Engine({"parse", "/0/[Threat.D]:%%wt%%\\abc.exe"}, nullptr);
  EXPECT_EQ(plain.status, 0);
  EXPECT_EQ(plain.out,
            "kind: file\nthreat: Threat.D\ndigest: \nno-process-substitution: yes\n"
            "target: %%wt%%\\abc.exe\nfolder: \npath: %%wt%%\\abc.exe\n");
  EngineRun expanded = Engine({"parse", "[X]:%%wt%%\\sub\\\\"}, &fake.Get());
  EXPECT_NE(expanded.out.find("kind: folder\n"), std::string::npos);
  EXPECT_NE(expanded.out.find("folder (expanded): C:\\Temp\\sub\n"), std::string::npos);
}

}  // namespace
}  // namespace morvanta::tools
