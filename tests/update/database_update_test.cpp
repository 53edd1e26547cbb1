// The database update without questions, on the made-up machine and network: the partial
// and the whole path, and every download that is not signed by the maker, cut short or
// damaged refused with "files.dat" left as it was.
#include <gtest/gtest.h>

#include <string>

#include "runs/database_update.h"
#include "signed_site.h"

namespace morvanta::runs {
namespace {

using namespace update_testing;

class DatabaseUpdate : public SignedSite {};

TEST_F(DatabaseUpdate, PiecesFromTheLocalCounterOnAreMergedAndSavedOnce) {
  ServeList(7, "3");
  ServePiece(6);
  ServePiece(7);
  ServeWhole(7);
  const auto r = UpdateDatabase(session);
  ASSERT_EQ(r.outcome, UpdateOutcome::Updated) << r.error;
  EXPECT_FALSE(r.whole);
  EXPECT_EQ(r.piecesApplied, 2u);
  EXPECT_TRUE(Requested("/updr2/upd/6.htm") && Requested("/updr2/upd/7.htm"));
  EXPECT_FALSE(Requested("/updr2/files2.htm"));
  EXPECT_EQ(LoadedText(), WholeText(7));
  EXPECT_EQ(session.DatabaseDate(), DateLine(7));
  EXPECT_TRUE(session.logUploadWanted);
  EXPECT_EQ(session.updateCheckState, app::UpdateCheckState::UpdateOffered);
  for (const char* left : {"list.htm", "Upd.dat", "Upd.dat.sig", "list.htm.sig"})
    EXPECT_FALSE(fake.files.Exists(kFolder + left)) << left;

  // Checked again: up to date.
  fake.internet.ClearRequests();
  EXPECT_EQ(UpdateDatabase(session).outcome, UpdateOutcome::UpToDate);
  EXPECT_EQ(session.updateCheckState, app::UpdateCheckState::UpToDate);
}

TEST_F(DatabaseUpdate, TheWholeDatabaseWhenTheCountersDoNotAllowPieces) {
  const struct Case {
    const char* name;
    std::string lowest;
  } cases[] = {{"lowest above local", "6"}, {"no line 6", ""}, {"line 6 no number", "x"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    ServeList(7, c.lowest);
    ServeWhole(7);
    fake.internet.ClearRequests();
    const auto r = UpdateDatabase(session);
    ASSERT_EQ(r.outcome, UpdateOutcome::Updated) << r.error;
    EXPECT_TRUE(r.whole);
    EXPECT_FALSE(Requested("/updr2/upd/6.htm"));
    EXPECT_EQ(LoadedText(), WholeText(7));
    EXPECT_FALSE(fake.files.Exists(kFolder + "filess.dat"));
  }
}

TEST_F(DatabaseUpdate, WhatIsNotTheMakersChangesNothing) {
  const struct Case {
    const char* name;
    void (*arrange)(DatabaseUpdate&);
  } cases[] = {
      {"tampered list", [](DatabaseUpdate& t) {
         t.ServeList(7, "");
         t.fake.internet.Put(kHost, update::kListPath,
                             "Morvanta Pro\r\n" + DateLine(9) + "\r\n" + update::kProgramVersion +
                                 "\r\n\r\n1\r\n\r\n");
         t.ServeWhole(7);
       }},
      {"tampered piece", [](DatabaseUpdate& t) {
         t.ServeList(6, "3");
         t.ServePiece(6, /*signedByMaker=*/false);
       }},
      {"tampered database", [](DatabaseUpdate& t) {
         t.ServeList(7, "");
         t.ServeWhole(7, /*signedByMaker=*/false);
       }},
      {"missing signature", [](DatabaseUpdate& t) {
         t.ServeList(7, "");
         t.ServeWhole(7);
         t.fake.internet.Remove(kHost, update::SignaturePath(update::kWholeDatabasePath));
       }},
      {"cut short", [](DatabaseUpdate& t) {
         t.ServeList(7, "");
         t.ServeWhole(7);
         platform::HttpRequest request;
         request.host = kHost;
         request.path = update::kWholeDatabasePath;
         const auto whole = t.fake.internet.Send(request);
         platform::fake::FakeInternet::Resource cut;
         std::vector<uint8_t> buffer(1 << 16);
         const size_t n = *whole->Read(buffer.data(), buffer.size());
         cut.body.assign(buffer.begin(), buffer.begin() + n / 2);
         cut.announcedLength = n;
         t.fake.internet.Put(kHost, update::kWholeDatabasePath, cut);
       }},
      {"signed but damaged", [](DatabaseUpdate& t) {
         t.ServeList(7, "");
         t.Serve(update::kWholeDatabasePath, Bytes(300, 'x'));
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    const std::string before = FilesDat();
    c.arrange(*this);
    const auto r = UpdateDatabase(session);
    EXPECT_EQ(r.outcome, UpdateOutcome::Failed);
    EXPECT_FALSE(r.error.empty());
    EXPECT_EQ(FilesDat(), before);
    EXPECT_EQ(session.DatabaseDate(), DateLine(5));
    EXPECT_EQ(LoadedText(), localText_);
    for (const char* left : {"filess.dat", "Upd.dat", "list.htm"})
      EXPECT_FALSE(fake.files.Exists(kFolder + left)) << left;
  }
}

TEST_F(DatabaseUpdate, APieceThatFailsEndsTheRunWithWhatCameBeforeIt) {
  ServeList(8, "3");
  ServePiece(6);
  ServePiece(7, /*signedByMaker=*/false);
  ServePiece(8);
  const auto r = UpdateDatabase(session);
  EXPECT_EQ(r.outcome, UpdateOutcome::Failed);
  EXPECT_EQ(r.piecesApplied, 1u);
  EXPECT_FALSE(Requested("/updr2/upd/8.htm"));  // never on top of a piece that is missing
  EXPECT_EQ(session.DatabaseDate(), DateLine(6));
  EXPECT_EQ(LoadedText(), DateLine(6) + "\r\n[Worm.Old]:C:\\old.exe\r\n" + Entries(6) + "_end\r\n");
}

TEST_F(DatabaseUpdate, AnotherProgramVersionOrAnUnreachableServer) {
  ServeList(7, "", "Morvanta Pro v8");
  ServeWhole(7);
  const std::string before = FilesDat();
  auto r = UpdateDatabase(session);
  EXPECT_EQ(r.outcome, UpdateOutcome::ProgramOutOfDate);
  EXPECT_EQ(r.serverProgram, "Morvanta Pro v8");
  EXPECT_FALSE(Requested("/updr2/files2.htm"));
  EXPECT_EQ(FilesDat(), before);

  fake.files.PutFile(kFolder + "morvanta.ini", "[UpdateServer]\r\nHost=nowhere.test\r\n");
  r = UpdateDatabase(session);
  EXPECT_EQ(r.outcome, UpdateOutcome::Failed);
  EXPECT_EQ(session.updateCheckState, app::UpdateCheckState::Failed);
  EXPECT_NE(r.error.find("nowhere.test"), std::string::npos) << r.error;
}

}  // namespace
}  // namespace morvanta::runs
