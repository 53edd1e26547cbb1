#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/message_catalog.h"
#include "database/container.h"
#include "database/threat_database.h"
#include "platform/fake/fake_platform.h"
#include "test_util.h"

namespace morvanta::database {
namespace {

using testing::Bytes;
using testing::CrLf;
using testing::DateLine;
using testing::Text;

constexpr char kFolder[] = "C:\\Program Files\\Morvanta Pro\\";
const std::string kDate = DateLine('2');
const std::string kText = CrLf({kDate, "[Start]", "[Worm.A]:%%wt%%\\a.exe", "_end"});

std::string Packed(const std::string& text) {
  return Text(PackDatabase(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

std::string Piece(const std::string& text) {
  return Text(PackPiece(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

class ThreatDatabaseTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return kFolder + name; }
  platform::fake::FakePlatform machine;
  platform::fake::FakeFiles& files = machine.files;
  ThreatDatabase db;
};

using ThreatDatabaseLoad = ThreatDatabaseTest;

TEST_F(ThreatDatabaseLoad, BothFormsOfFilesDatGiveTheSameText) {
  for (const auto& content : {Packed(kText), Piece(kText)}) {
    files.PutFile(Path("files.dat"), content);
    ThreatDatabase fresh;
    const LoadResult result = fresh.LoadDatabase(files, Path("files.dat"));
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(result.message, "");
    EXPECT_EQ(Text(fresh.Content()), kText);
    EXPECT_EQ(fresh.Position(), 0u);
  }
}

TEST_F(ThreatDatabaseLoad, UnreadableFileFailsAndKeepsTheContent) {
  files.PutFile(Path("files.dat"), Packed(kText));
  ASSERT_TRUE(db.LoadDatabase(files, Path("files.dat")).ok());
  db.Seek(7);
  files.MakeFolders(Path("folder.dat"));
  for (const std::string name : {"missing.dat", "folder.dat"}) {
    SCOPED_TRACE(name);
    const LoadResult result = db.LoadDatabase(files, Path(name));
    EXPECT_EQ(result.error, LoadError::CannotOpen);
    EXPECT_NE(result.message.find(Path(name)), std::string::npos) << result.message;
    EXPECT_EQ(Text(db.Content()), kText);
    EXPECT_EQ(db.Position(), 7u);
  }
}

TEST_F(ThreatDatabaseLoad, ReplacesWithTheFullDownload) {
  files.PutFile(Path("files.dat"), Packed(kText));
  const std::string newer = CrLf({DateLine('3'), "[Worm.B]:%%wt%%\\b.exe", "_end"});
  files.PutFile(Path("filess.dat"), Packed(newer));
  EXPECT_TRUE(ReplaceWithFullDownload(db, files, kFolder).ok());
  EXPECT_EQ(Text(db.Content()), newer);
  EXPECT_FALSE(files.Exists(Path("filess.dat")));

  // Nothing downloaded: the database on disk and in memory stays, and the failure says so.
  const LoadResult missing = ReplaceWithFullDownload(db, files, kFolder);
  EXPECT_EQ(missing.error, LoadError::CannotReplace);
  EXPECT_NE(missing.message.find(Path("files.dat")), std::string::npos) << missing.message;
  EXPECT_EQ(Text(db.Content()), newer);
  EXPECT_EQ(Text(*files.ReadAll(Path("files.dat"))), Packed(newer));

  // The old file cannot be replaced (another program holds it open): it stays whole.
  files.PutFile(Path("filess.dat"), Packed(kText));
  {
    auto held = files.Open(Path("files.dat"), platform::OpenMode::Read);
    EXPECT_EQ(ReplaceWithFullDownload(db, files, kFolder).error, LoadError::CannotReplace);
  }
  EXPECT_EQ(Text(*files.ReadAll(Path("files.dat"))), Packed(newer));
  EXPECT_EQ(Text(db.Content()), newer);
}

TEST_F(ThreatDatabaseLoad, TheErrorNamesTheSystemsReason) {
  const LoadResult result = db.LoadDatabase(files, Path("absent.dat"));
  EXPECT_EQ(result.message, "Cannot open file \"" + Path("absent.dat") +
                                "\". The system cannot find the file specified.");
}

using DatabaseSave = ThreatDatabaseTest;

TEST_F(DatabaseSave, AFailedSaveLeavesTheFileAsItWas) {
  files.PutFile(Path("files.dat"), Packed(kText));
  db.SetText(Bytes(CrLf({DateLine('5'), "_end"})));
  files.SetFreeSpace(8);  // the disk fills up part way
  EXPECT_FALSE(db.SaveScrambled(files, Path("files.dat")));
  EXPECT_EQ(Text(*files.ReadAll(Path("files.dat"))), Packed(kText));
  EXPECT_FALSE(files.Exists(Path("files.dat.new")));
}

TEST_F(DatabaseSave, ThenLoadGivesTheSameText) {
  db.SetText(Bytes(kText));
  ASSERT_TRUE(db.SaveScrambled(files, Path("files.dat")));
  const auto saved = files.ReadAll(Path("files.dat"));
  ASSERT_TRUE(saved);
  EXPECT_EQ(Text(*saved), Piece(kText));  // scrambled, not compressed
  ThreatDatabase loaded;
  ASSERT_TRUE(loaded.LoadDatabase(files, Path("files.dat")).ok());
  EXPECT_EQ(Text(loaded.Content()), kText);
}

// Reads from the start until the first "_end" (at most 20 lines).
std::vector<std::string> ReadAll(ThreatDatabase& db) {
  std::vector<std::string> lines;
  db.Rewind();
  while (lines.size() < 20) {
    lines.push_back(db.ReadDatabaseLine());
    if (lines.back() == "_end") break;
  }
  return lines;
}

TEST(LineReader, ReadsLinesAsTheScanSeesThem) {
  const std::string a255(255, 'a'), b254(254, 'b');
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"date line, entry, end line", CrLf({"D", "E1", "_end"}), {"D", "E1", "_end"}},
      {"last entry without end line is lost", CrLf({"D", "E1", "E2"}), {"D", "E1", "_end"}},
      {"final line without CR LF is lost", "D\r\nE1\r\nE2", {"D", "E1", "_end"}},
      {"CR as the last byte", "D\r\nE1\r", {"D", "_end"}},
      {"empty text", "", {"_end"}},
      {"short text without CR", "abc", {"_end"}},
      {"line of 254 bytes", CrLf({"D", b254, "_end"}), {"D", b254, "_end"}},
      // 255 bytes fill the window before the CR is seen; the CR LF then reads as an empty
      // line.
      {"line of 255 bytes", CrLf({a255, "E", "_end"}), {a255, "", "E", "_end"}},
      {"line of 300 bytes",
       CrLf({std::string(300, 'a'), "E", "_end"}),
       {a255, std::string(45, 'a'), "E", "_end"}},
      {"long text without CR", std::string(600, 'a'), {a255, a255, "_end"}},
      {"lone LF belongs to the line", CrLf({"D", "a\nb", "_end"}), {"D", "a\nb", "_end"}},
      {"empty line", CrLf({"D", "", "E", "_end"}), {"D", "", "E", "_end"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ThreatDatabase db;
    db.SetText(Bytes(c.text));
    EXPECT_EQ(ReadAll(db), c.lines);
    // The end stays the end.
    EXPECT_EQ(db.ReadDatabaseLine(), "_end");
    EXPECT_EQ(db.ReadDatabaseLine(), "_end");
    EXPECT_LE(db.Position(), db.Size());
  }
}

TEST(LineReader, PositionPastTheEndReadsAsTheEnd) {
  ThreatDatabase db;
  db.SetText(Bytes(kText));
  db.Seek(kText.size() + 100);
  EXPECT_EQ(db.ReadDatabaseLine(), "_end");
  db.Rewind();
  EXPECT_EQ(db.ReadDatabaseLine(), kDate);
}

TEST(DatabaseDate, IsTheFirstLineOrError) {
  const common::MessageCatalog catalog;
  struct Case {
    const char* name;
    std::string text;
    std::string date;
  };
  const Case cases[] = {
      {"database", kText, kDate},
      {"date line alone", CrLf({kDate}), kDate},
      {"empty", "", "Error"},
      {"no CR", kDate, "Error"},
      {"no CR within 255 bytes", std::string(300, 'x') + "\r\n_end\r\n", "Error"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ThreatDatabase db;
    db.SetText(Bytes(c.text));
    db.Seek(c.text.size() / 2);  // read again from the start each time
    EXPECT_EQ(db.DatabaseDate(catalog), c.date);
    EXPECT_EQ(db.DatabaseDate(catalog), c.date);
  }
}

using UpdatePiece = ThreatDatabaseTest;

TEST_F(UpdatePiece, ReplacesTheDateLineAndAppendsBeforeTheNewEndLine) {
  db.SetText(Bytes(CrLf({kDate, "[Worm.A]:%%wt%%\\a.exe", "_end"})));
  files.PutFile(
      Path("Upd.dat"),
      Piece(CrLf({DateLine('3'), "[Worm.B]:%%wt%%\\b.exe", "[Worm.C]:%%wt%%\\c.exe", "_end"})));
  ASSERT_TRUE(db.ApplyUpdatePiece(files, Path("Upd.dat")));
  files.PutFile(Path("Upd.dat"), Piece(CrLf({DateLine('4'), "[Worm.D]:%%wt%%\\d.exe", "_end"})));
  ASSERT_TRUE(db.ApplyUpdatePiece(files, Path("Upd.dat")));
  EXPECT_EQ(Text(db.Content()),
            CrLf({DateLine('4'), "[Worm.A]:%%wt%%\\a.exe", "[Worm.B]:%%wt%%\\b.exe",
                  "[Worm.C]:%%wt%%\\c.exe", "[Worm.D]:%%wt%%\\d.exe", "_end"}));
}

TEST_F(UpdatePiece, ShortestPieceOnShortestDatabaseOnlyChangesTheDate) {
  db.SetText(Bytes(CrLf({kDate, "_end"})));
  const std::string piece = Piece(CrLf({DateLine('5'), "_end"}));
  ASSERT_EQ(piece.size(), 41u);
  ASSERT_TRUE(db.ApplyUpdatePieceBytes(reinterpret_cast<const uint8_t*>(piece.data()), 41));
  EXPECT_EQ(Text(db.Content()), CrLf({DateLine('5'), "_end"}));
}

TEST_F(UpdatePiece, RefusesWhatItCannotMergeAndKeepsTheDatabase) {
  const std::string database = CrLf({kDate, "[Worm.A]:%%wt%%\\a.exe", "_end"});
  const std::string piece = CrLf({DateLine('3'), "[Worm.B]:%%wt%%\\b.exe", "_end"});
  struct Case {
    const char* name;
    std::string database;
    std::string piece;  // plain; scrambled for the file
  };
  const Case cases[] = {
      {"piece of 40 bytes", database, piece.substr(0, 40)},
      {"empty piece", database, ""},
      {"piece without CR", database, std::string(60, 'p')},
      {"piece whose only CR ends it", database, std::string(60, 'p') + "\r"},
      // The date line is copied over the database's as 33 characters and CR LF: one of
      // 34 or 32 would eat into the first entry or leave part of the old date.
      {"date line of 34 characters", database, CrLf({DateLine('3') + "x", "[W.B]:%%wt%%\\b.exe", "_end"})},
      {"date line of 32 characters", database, CrLf({DateLine('3').substr(1), "[W.B]:%%wt%%\\b.exe", "_end"})},
      {"date line ended by CR alone", database, DateLine('3') + "\r[W.B]:%%wt%%\\b.exe\r\n_end\r\n"},
      {"database of 40 bytes", database.substr(0, 40), piece},
      {"empty database", "", piece},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ThreatDatabase db;
    db.SetText(Bytes(c.database));
    files.PutFile(Path("Upd.dat"), Piece(c.piece));
    EXPECT_FALSE(db.ApplyUpdatePiece(files, Path("Upd.dat")));
    EXPECT_EQ(Text(db.Content()), c.database);
  }
  db.SetText(Bytes(database));
  EXPECT_FALSE(db.ApplyUpdatePiece(files, Path("missing.dat")));
  EXPECT_EQ(Text(db.Content()), database);
}

TEST(ProgramFolder, IsTheExecutablePathWithoutItsName) {
  struct Case {
    const char* module;
    const char* folder;
  };
  const Case cases[] = {
      {"C:\\Program Files\\Morvanta Pro\\morvanta.exe", "C:\\Program Files\\Morvanta Pro\\"},
      {"C:\\morvanta.exe", "C:\\"},
      {"\\\\server\\share\\tools\\morvanta.exe", "\\\\server\\share\\tools\\"},
      {"morvanta.exe", ""},
  };
  for (const auto& c : cases) {
    platform::fake::FakePlatform machine;
    machine.system.SetModulePath(c.module);
    EXPECT_EQ(ProgramFolder(machine.system), c.folder) << c.module;
  }
}

}  // namespace
}  // namespace morvanta::database
