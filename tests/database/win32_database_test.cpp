// The container on the real file system, through the Win32 implementation.
#include <gtest/gtest.h>

#include <string>

#include "database/container.h"
#include "database/threat_database.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win_api.h"
#include "shipped_paths.h"
#include "test_util.h"

namespace morvanta::database {
namespace {

using testing::Bytes;
using testing::CrLf;
using testing::DateLine;
using testing::ReadHostFile;
using testing::Text;

// Files of this test in the temp folder, deleted when it ends. Tests run in parallel
// processes: the process id keeps their files apart.
class ScratchFiles {
 public:
  explicit ScratchFiles(platform::Platform p) : p_(p) {
    std::string temp = p_.folders.TempPath();
    if (!temp.empty() && temp.back() != '\\') temp += '\\';
    prefix_ = temp + "morvanta-db-" + std::to_string(::GetCurrentProcessId()) + "-" +
              std::to_string(p_.system.TickCount()) + "-";
  }
  ~ScratchFiles() {
    for (const auto& name : {"files.dat", "filess.dat", "Upd.dat"}) p_.files.DeleteFile(Path(name));
  }
  ScratchFiles(const ScratchFiles&) = delete;
  ScratchFiles& operator=(const ScratchFiles&) = delete;
  std::string Path(const std::string& name) const { return prefix_ + name; }
  const std::string& Prefix() const { return prefix_; }

 private:
  platform::Platform p_;
  std::string prefix_;
};

TEST(Win32Database, LoadsTheShippedFilesDatBesideTheProgram) {
  platform::win32::Win32Platform real;
  auto p = real.Get();
  const std::string folder = ProgramFolder(p.system);
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '\\');
  ThreatDatabase db;
  const LoadResult result = db.LoadDatabase(p.files, folder + kDatabaseFileName);
  ASSERT_TRUE(result.ok()) << result.message;
  EXPECT_EQ(Text(db.Content()), Text(ReadHostFile(kShippedFilesTxt)));
}

TEST(Win32Database, LoadsMergesAndSavesRealFiles) {
  platform::win32::Win32Platform real;
  auto p = real.Get();
  ScratchFiles scratch(p);
  const std::string text = CrLf({DateLine('2'), "[Worm.A]:%%wt%%\\a.exe", "_end"});
  const auto packed = PackDatabase(Bytes(text).data(), text.size());
  ASSERT_TRUE(p.files.WriteAll(scratch.Path("filess.dat"), packed.data(), packed.size()));

  ThreatDatabase db;
  ASSERT_TRUE(ReplaceWithFullDownload(db, p.files, scratch.Prefix()).ok());
  EXPECT_EQ(Text(db.Content()), text);
  EXPECT_FALSE(p.files.Exists(scratch.Path("filess.dat")));

  const std::string piece = CrLf({DateLine('3'), "[Worm.B]:%%wt%%\\b.exe", "_end"});
  const auto scrambled = PackPiece(Bytes(piece).data(), piece.size());
  ASSERT_TRUE(p.files.WriteAll(scratch.Path("Upd.dat"), scrambled.data(), scrambled.size()));
  ASSERT_TRUE(db.ApplyUpdatePiece(p.files, scratch.Path("Upd.dat")));
  ASSERT_TRUE(db.SaveScrambled(p.files, scratch.Path("files.dat")));

  ThreatDatabase reloaded;
  ASSERT_TRUE(reloaded.LoadDatabase(p.files, scratch.Path("files.dat")).ok());
  EXPECT_EQ(Text(reloaded.Content()),
            CrLf({DateLine('3'), "[Worm.A]:%%wt%%\\a.exe", "[Worm.B]:%%wt%%\\b.exe", "_end"}));

  const LoadResult missing = reloaded.LoadDatabase(p.files, scratch.Path("missing.dat"));
  EXPECT_EQ(missing.error, LoadError::CannotOpen);
  EXPECT_FALSE(reloaded.Content().empty());
}

}  // namespace
}  // namespace morvanta::database
