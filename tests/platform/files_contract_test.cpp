#include <algorithm>
#include <cstring>
#include <set>

#include "contract_test.h"
#include "platform/text.h"

namespace morvanta::testing {
namespace {

using platform::EqualsNoCase;
using platform::OpenMode;
namespace attr = platform::attr;

MORVANTA_CONTRACT_SUITE(FilesContract);

std::set<std::string> Names(const std::vector<platform::DirEntry>& entries) {
  std::set<std::string> names;
  for (const auto& e : entries) names.insert(e.name);
  return names;
}

std::string Text(const std::optional<std::vector<uint8_t>>& bytes) {
  return bytes ? std::string(bytes->begin(), bytes->end()) : "<none>";
}

TEST_P(FilesContract, WritesReadsAndReportsFiles) {
  auto& f = P().files;
  const std::string path = M().ScratchPath("Report.TXT");
  ASSERT_TRUE(f.WriteAll(path, "line one\r\nline two\r\n"));
  EXPECT_EQ(Text(f.ReadAll(path)), "line one\r\nline two\r\n");
  EXPECT_EQ(Text(f.ReadAll(M().ScratchPath("report.txt"))), "line one\r\nline two\r\n");
  EXPECT_TRUE(f.FileExists(M().ScratchPath("REPORT.txt")));
  EXPECT_TRUE(f.FileExists(M().ScratchPath("Report.TXT ")));  // trailing blanks are dropped
  EXPECT_FALSE(f.Exists(M().ScratchPath("Report.TXT\\")));    // but a file is no folder
  EXPECT_FALSE(f.Exists(M().ScratchPath("Report.TXT /")));
  EXPECT_FALSE(f.DirectoryExists(path));
  EXPECT_TRUE(f.DirectoryExists(M().Scratch()));
  EXPECT_FALSE(f.FileExists(M().Scratch()));
  EXPECT_EQ(f.GetAttributes(path).value_or(0) & attr::Archive, attr::Archive);
  EXPECT_FALSE(f.GetAttributes(M().ScratchPath("missing.txt")));
  EXPECT_FALSE(f.ReadAll(M().ScratchPath("missing.txt")));

  auto appender = f.Open(path, OpenMode::Append);
  ASSERT_TRUE(appender);
  EXPECT_TRUE(appender->Write("tail", 4));
  appender.reset();
  EXPECT_EQ(Text(f.ReadAll(path)), "line one\r\nline two\r\ntail");

  auto file = f.Open(path, OpenMode::Read);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->Size(), 24u);
  char buffer[8] = {};
  ASSERT_TRUE(file->Seek(10));
  EXPECT_EQ(file->Read(buffer, 8), 8u);
  EXPECT_EQ(std::string(buffer, 8), "line two");
  EXPECT_FALSE(file->Write("x", 1));
}

TEST_P(FilesContract, ListsByPatternWithoutRegardToCase) {
  auto& f = P().files;
  ASSERT_TRUE(f.WriteAll(M().ScratchPath("Agent.EXE"), "MZ"));
  ASSERT_TRUE(f.WriteAll(M().ScratchPath("notes.txt"), "n"));
  ASSERT_TRUE(f.CreateDirectory(M().ScratchPath("Sub")));

  auto all = f.List(M().ScratchPath("*.*"));
  ASSERT_TRUE(all);
  EXPECT_EQ(Names(*all), (std::set<std::string>{".", "..", "Agent.EXE", "notes.txt", "Sub"}));
  for (const auto& e : *all) {
    if (e.name == "Sub" || e.name == "." || e.name == "..") {
      EXPECT_TRUE(e.IsDirectory()) << e.name;
    } else {
      EXPECT_FALSE(e.IsDirectory()) << e.name;
    }
    if (e.name == "Agent.EXE") {
      EXPECT_EQ(e.size, 2u);
    }
  }
  auto star = f.List(M().ScratchPath("*"));
  ASSERT_TRUE(star);
  EXPECT_EQ(star->size(), all->size());

  auto exes = f.List(M().ScratchPath("*.exe"));
  ASSERT_TRUE(exes);
  EXPECT_EQ(Names(*exes), std::set<std::string>{"Agent.EXE"});
  auto one = f.List(M().ScratchPath("agent.exe"));
  ASSERT_TRUE(one);
  EXPECT_EQ(Names(*one), std::set<std::string>{"Agent.EXE"});
  auto q = f.List(M().ScratchPath("note?.txt"));
  ASSERT_TRUE(q);
  EXPECT_EQ(Names(*q), std::set<std::string>{"notes.txt"});

  EXPECT_FALSE(f.List(M().ScratchPath("*.dll")));
  EXPECT_FALSE(f.List(M().ScratchPath("nowhere\\*.*")));
}

TEST_P(FilesContract, OpenFilesAreSharedForReadingOnly) {
  auto& f = P().files;
  const std::string path = M().ScratchPath("locked.dat");
  auto writer = f.Open(path, OpenMode::Write);
  ASSERT_TRUE(writer);
  ASSERT_TRUE(writer->Write("abc", 3));
  EXPECT_FALSE(f.Open(path, OpenMode::Write));
  EXPECT_FALSE(f.Open(path, OpenMode::Append));
  EXPECT_TRUE(f.Open(path, OpenMode::Read));
  EXPECT_EQ(Text(f.ReadAll(path)), "abc");
  EXPECT_FALSE(f.DeleteFile(path));
  EXPECT_FALSE(f.MoveFile(path, M().ScratchPath("moved.dat")));
  writer.reset();

  auto reader = f.Open(path, OpenMode::Read);
  EXPECT_FALSE(f.DeleteFile(path));
  reader.reset();
  EXPECT_TRUE(f.DeleteFile(path));
  EXPECT_FALSE(f.Exists(path));
  EXPECT_FALSE(f.DeleteFile(path));
}

TEST_P(FilesContract, FileLockedByAnotherProcessCanStillBeRead) {
  auto p = P();
  const std::string path = M().ScratchPath("held.log");
  ASSERT_TRUE(p.files.WriteAll(path, "held by another process"));
  auto pid = p.processes.Start("\"" + M().HelperPath("sleeper.exe") + "\" 30 --lock \"" + path + "\"");
  ASSERT_TRUE(pid);
  std::unique_ptr<platform::File> held;
  if (M().IsReal()) {
    // The helper opens the file once it runs; wait until a writer is refused.
    for (int i = 0; i < 100 && p.files.Open(path, OpenMode::ReadWrite); ++i) p.system.Sleep(50);
  } else {
    // The fake's helper does nothing; take its lock by hand.
    held = p.files.Open(path, OpenMode::Write);
    ASSERT_TRUE(held->Write("held by another process", 23));
  }
  EXPECT_FALSE(p.files.Open(path, OpenMode::Write));
  EXPECT_FALSE(p.files.DeleteFile(path));
  EXPECT_EQ(Text(p.files.ReadAll(path)), "held by another process");
  auto view = p.files.MapReadOnly(path);
  ASSERT_TRUE(view);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(view->Data()), view->Size()),
            "held by another process");
  view.reset();
  held.reset();
  EXPECT_NE(p.processes.Terminate(*pid), 0);
  EXPECT_TRUE(p.processes.WaitForExit(*pid, 10000));
}

TEST_P(FilesContract, MapsWholeFilesButNotEmptyOnes) {
  auto& f = P().files;
  std::string content(70000, '\0');
  for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7);
  ASSERT_TRUE(f.WriteAll(M().ScratchPath("big.bin"), content));
  ASSERT_TRUE(f.WriteAll(M().ScratchPath("empty.bin"), ""));
  {
    auto view = f.MapReadOnly(M().ScratchPath("big.bin"));
    ASSERT_TRUE(view);
    ASSERT_EQ(view->Size(), content.size());
    EXPECT_EQ(std::memcmp(content.data(), view->Data(), content.size()), 0);
  }
  EXPECT_FALSE(f.MapReadOnly(M().ScratchPath("empty.bin")));
  EXPECT_FALSE(f.MapReadOnly(M().ScratchPath("missing.bin")));
  EXPECT_FALSE(f.MapReadOnly(M().Scratch()));
}

TEST_P(FilesContract, MovesCopiesAndRemoves) {
  auto& f = P().files;
  ASSERT_TRUE(f.WriteAll(M().ScratchPath("a.exe"), "first"));
  ASSERT_TRUE(f.WriteAll(M().ScratchPath("b.exe"), "second"));
  EXPECT_FALSE(f.MoveFile(M().ScratchPath("a.exe"), M().ScratchPath("B.EXE")));
  EXPECT_TRUE(f.MoveFile(M().ScratchPath("a.exe"), M().ScratchPath("a.exe.del")));
  EXPECT_FALSE(f.Exists(M().ScratchPath("a.exe")));
  EXPECT_EQ(Text(f.ReadAll(M().ScratchPath("a.exe.del"))), "first");

  EXPECT_FALSE(f.CopyFile(M().ScratchPath("a.exe.del"), M().ScratchPath("b.exe"), true));
  EXPECT_TRUE(f.CopyFile(M().ScratchPath("a.exe.del"), M().ScratchPath("b.exe"), false));
  EXPECT_EQ(Text(f.ReadAll(M().ScratchPath("b.exe"))), "first");

  ASSERT_TRUE(f.CreateDirectory(M().ScratchPath("dir")));
  EXPECT_FALSE(f.CreateDirectory(M().ScratchPath("dir")));
  EXPECT_FALSE(f.CreateDirectory(M().ScratchPath("no\\such\\parent")));
  ASSERT_TRUE(f.WriteAll(M().ScratchPath("dir\\inner.txt"), "x"));
  EXPECT_FALSE(f.RemoveDirectory(M().ScratchPath("dir")));
  EXPECT_TRUE(f.MoveFile(M().ScratchPath("dir"), M().ScratchPath("dir2")));
  EXPECT_EQ(Text(f.ReadAll(M().ScratchPath("dir2\\inner.txt"))), "x");
  EXPECT_TRUE(f.DeleteFile(M().ScratchPath("dir2\\inner.txt")));
  EXPECT_TRUE(f.RemoveDirectory(M().ScratchPath("dir2")));
}

TEST_P(FilesContract, ReplacesAFileInOneStep) {
  auto& f = P().files;
  const std::string path = M().ScratchPath("files.dat");
  const std::string fresh = M().ScratchPath("files.dat.new");
  // A file that is not there yet is made; one that is there is replaced whole.
  ASSERT_TRUE(f.WriteAtomically(path, "first version"));
  EXPECT_EQ(Text(f.ReadAll(path)), "first version");
  ASSERT_TRUE(f.WriteAtomically(path, "second"));
  EXPECT_EQ(Text(f.ReadAll(path)), "second");
  EXPECT_FALSE(f.Exists(fresh));

  ASSERT_TRUE(f.WriteAll(M().ScratchPath("download"), "third"));
  ASSERT_TRUE(f.ReplaceFile(M().ScratchPath("download"), path));
  EXPECT_EQ(Text(f.ReadAll(path)), "third");
  EXPECT_FALSE(f.Exists(M().ScratchPath("download")));
  EXPECT_FALSE(f.ReplaceFile(M().ScratchPath("download"), path));  // nothing to move
  EXPECT_EQ(Text(f.ReadAll(path)), "third");
}

TEST_P(FilesContract, AFileMarkedForDeletionAtRestartStaysUntilThen) {
  auto& f = P().files;
  const std::string path = M().ScratchPath("stubborn.exe");
  ASSERT_TRUE(f.WriteAll(path, "still in use"));
  ASSERT_TRUE(f.DeleteAtRestart(path)) << f.LastErrorText();
  const auto marked = M().RestartDeletes();
  M().ForgetRestartDelete(path);
  EXPECT_EQ(std::count_if(marked.begin(), marked.end(),
                          [&](const std::string& p) { return EqualsNoCase(p, path); }),
            1);
  EXPECT_TRUE(f.FileExists(path));  // until the system starts again
  const auto after = M().RestartDeletes();
  EXPECT_EQ(std::count_if(after.begin(), after.end(),
                          [&](const std::string& p) { return EqualsNoCase(p, path); }),
            0);
}

TEST_P(FilesContract, AFailedReplacementLeavesTheOldFile) {
  auto& f = P().files;
  const std::string path = M().ScratchPath("settings.txt");
  const std::string fresh = path + ".new";
  ASSERT_TRUE(f.WriteAll(path, "old content"));

  // The new file cannot be made: a folder holds its name.
  ASSERT_TRUE(f.CreateDirectory(fresh));
  EXPECT_FALSE(f.WriteAtomically(path, "new content"));
  EXPECT_EQ(Text(f.ReadAll(path)), "old content");
  ASSERT_TRUE(f.RemoveDirectory(fresh));

  // The old file is held open by another program: it cannot be replaced.
  {
    auto held = f.Open(path, OpenMode::Read);
    ASSERT_TRUE(held);
    EXPECT_FALSE(f.WriteAtomically(path, "new content"));
  }
  EXPECT_EQ(Text(f.ReadAll(path)), "old content");
  EXPECT_FALSE(f.Exists(fresh));

  // A folder is never replaced by a file.
  ASSERT_TRUE(f.CreateDirectory(M().ScratchPath("folder")));
  EXPECT_FALSE(f.WriteAtomically(M().ScratchPath("folder"), "x"));
  EXPECT_TRUE(f.DirectoryExists(M().ScratchPath("folder")));
  EXPECT_FALSE(f.Exists(M().ScratchPath("folder.new")));
}

TEST_P(FilesContract, ReadOnlyFilesResistDeletion) {
  auto& f = P().files;
  const std::string path = M().ScratchPath("guard.sys");
  ASSERT_TRUE(f.WriteAll(path, "driver"));
  ASSERT_TRUE(f.SetAttributes(path, attr::ReadOnly | attr::Hidden));
  EXPECT_EQ(f.GetAttributes(path).value_or(0) & (attr::ReadOnly | attr::Hidden),
            attr::ReadOnly | attr::Hidden);
  EXPECT_FALSE(f.DeleteFile(path));
  ASSERT_TRUE(f.SetAttributes(path, attr::Normal));
  EXPECT_EQ(f.GetAttributes(path).value_or(0) & attr::ReadOnly, 0u);
  EXPECT_TRUE(f.DeleteFile(path));
}

TEST_P(FilesContract, WriteTimesConvertToLocalDosTime) {
  auto& f = P().files;
  ASSERT_TRUE(f.WriteAll(M().ScratchPath("dated.txt"), "x"));
  auto written = f.LastWriteTime(M().ScratchPath("dated.txt"));
  ASSERT_TRUE(written);
  auto dos = f.ToLocalDosDateTime(*written);
  ASSERT_TRUE(dos);
  uint32_t year = 1980 + (*dos >> 25);
  EXPECT_GE(year, 2020u);
  // 2026-03-04 10:20:30 UTC; the local zone may move it by at most a day.
  const platform::FileTime t = 134170932300000000ULL;
  auto fixed = f.ToLocalDosDateTime(t);
  ASSERT_TRUE(fixed);
  EXPECT_EQ(1980 + (*fixed >> 25), 2026u);
  EXPECT_EQ((*fixed >> 21) & 0xF, 3u);
  EXPECT_NEAR(static_cast<int>((*fixed >> 16) & 0x1F), 4, 1);
  EXPECT_EQ((*fixed >> 5) & 0x3F, 20u);       // minutes
  EXPECT_EQ((*fixed & 0x1F) * 2, 30u);        // seconds, in steps of two
  EXPECT_FALSE(f.ToLocalDosDateTime(0));      // 1601 is before DOS time begins
  EXPECT_FALSE(f.LastWriteTime(M().ScratchPath("missing.txt")));
}

}  // namespace
}  // namespace morvanta::testing
