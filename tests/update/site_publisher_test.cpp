#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "database/container.h"
#include "database/threat_database.h"
#include "site_publisher.h"
#include "update/signature.h"
#include "update/update_list.h"
#include "update_test_paths.h"
#include "../database/test_util.h"

namespace morvanta::tools {
namespace {

namespace fs = std::filesystem;
using database::testing::ReadHostFile;
using database::testing::Text;

std::vector<uint8_t> Bytes(const std::string& text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

void WriteHostFile(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

// The shipped database with its date line changed to `day` and `counter`, and `added`
// entries in front of its end line.
std::string Database(char day, char counter, const std::vector<std::string>& added = {}) {
  std::string text = Text(ReadHostFile(update::kShippedFilesTxtForUpdate));
  const std::string date = "Threat database 2026-01-12, Upd 1";
  EXPECT_EQ(text.compare(0, date.size(), date), 0);
  text[date.size() - 8] = day;
  text[date.size() - 1] = counter;
  std::string tail;
  for (const auto& line : added) tail += line + "\r\n";
  text.insert(text.size() - 6, tail);
  return text;
}

const std::vector<std::string> kSecond = {"[Start]", "[Worm.Test.One]:%%wt%%\\test-one.exe",
                                          "[Worm.Test.Two]:%%wt%%\\test-two.exe"};
const std::vector<std::string> kThird = {"[Worm.Test.Three]:%%wt%%\\test-three.exe",
                                         "[Worm.Test.Four]:%%wt%%\\test-four.exe"};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

class SitePublisher : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    folder_ = fs::temp_directory_path() /
              ("morvanta-site-" + std::to_string(random()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder_);
    keys_ = update::GenerateUpdateKeyPair();
    WriteHostFile(folder_ / "maker.key", update::PrivateKeyFileText(keys_.privateKey));
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  fs::path Site() const { return folder_ / "site"; }
  std::string Path(const std::string& name) const { return (folder_ / name).string(); }

  // Publishes `text` with the maker's key; the exit status.
  int Publish(const std::string& text, PublishRequest request = {}) {
    WriteHostFile(folder_ / "files.txt", text);
    if (request.databaseFile.empty()) request.databaseFile = Path("files.txt");
    if (request.siteFolder.empty()) request.siteFolder = Site().string();
    if (request.keyFile.empty()) request.keyFile = Path("maker.key");
    std::ostringstream out;
    err_.str("");
    const int status = PublishSite(request, out, err_);
    written_.clear();
    std::istringstream names(out.str());
    for (std::string name; std::getline(names, name);) written_.push_back(name);
    return status;
  }

  std::vector<uint8_t> SiteFile(const std::string& name) const {
    return ReadHostFile((Site() / name).string());
  }

  std::vector<std::string> List() const { return Lines(Text(SiteFile(kSiteListFile))); }

  // Every file of the site and its bytes.
  std::map<std::string, std::vector<uint8_t>> Snapshot() const {
    std::map<std::string, std::vector<uint8_t>> files;
    std::error_code error;
    if (!fs::exists(Site(), error)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(Site())) {
      if (entry.is_regular_file()) {
        files[fs::relative(entry.path(), Site()).generic_string()] =
            ReadHostFile(entry.path().string());
      }
    }
    return files;
  }

  fs::path folder_;
  update::KeyPair keys_;
  std::ostringstream err_;
  std::vector<std::string> written_;
};

TEST_F(SitePublisher, PublishingTwiceAddsThePieceOfTheNewEntries) {
  const std::string first = Database('2', '1');
  ASSERT_EQ(Publish(first, {"", "", "", "", true, std::nullopt}), 0) << err_.str();
  EXPECT_EQ(written_, (std::vector<std::string>{kSiteDatabaseFile, kSiteListFile}));
  EXPECT_EQ(List(), (std::vector<std::string>{"Morvanta Pro", "Threat database 2026-01-12, Upd 1",
                                              update::kProgramVersion, "", "1", ""}));
  const auto whole = SiteFile(kSiteDatabaseFile);
  EXPECT_EQ(Text(database::DecodeContainer(whole.data(), whole.size())), first);
  EXPECT_EQ(database::DecodeAnyForm(whole.data(), whole.size()).form,
            database::ContainerForm::Packed);

  const std::string second = Database('3', '2', kSecond);
  ASSERT_EQ(Publish(second), 0) << err_.str();
  EXPECT_EQ(written_, (std::vector<std::string>{"updr2/upd/2.htm", kSiteDatabaseFile,
                                                kSiteListFile}));
  const auto piece = SiteFile("updr2/upd/2.htm");
  EXPECT_EQ(database::DecodeAnyForm(piece.data(), piece.size()).form,
            database::ContainerForm::Scrambled);
  EXPECT_EQ(Text(database::Unscramble(piece.data(), piece.size())),
            "Threat database 2026-01-13, Upd 2\r\n[Start]\r\n"
            "[Worm.Test.One]:%%wt%%\\test-one.exe\r\n[Worm.Test.Two]:%%wt%%\\test-two.exe\r\n"
            "_end\r\n");
  EXPECT_EQ(List(), (std::vector<std::string>{"Morvanta Pro", "Threat database 2026-01-13, Upd 2",
                                              update::kProgramVersion, "", "0", "1"}));

  const std::string third = Database('4', '3', [] {
    auto lines = kSecond;
    lines.insert(lines.end(), kThird.begin(), kThird.end());
    return lines;
  }());
  ASSERT_EQ(Publish(third), 0) << err_.str();
  EXPECT_EQ(SiteFile("updr2/upd/2.htm"), piece);  // old pieces stay as they were
  EXPECT_EQ(Text(database::Unscramble(SiteFile("updr2/upd/3.htm").data(),
                                      SiteFile("updr2/upd/3.htm").size())),
            "Threat database 2026-01-14, Upd 3\r\n" + kThird[0] + "\r\n" + kThird[1] +
                "\r\n_end\r\n");
  EXPECT_EQ(List()[1], "Threat database 2026-01-14, Upd 3");
  EXPECT_EQ(List()[5], "1");  // pieces 2 and 3 lead from counter 1

  // What the program makes of it: the first database with both pieces merged is the third.
  database::ThreatDatabase merged;
  merged.LoadBytes(whole.data(), whole.size());
  for (const char* name : {"updr2/upd/2.htm", "updr2/upd/3.htm"}) {
    const auto bytes = SiteFile(name);
    ASSERT_TRUE(merged.ApplyUpdatePieceBytes(bytes.data(), bytes.size())) << name;
  }
  EXPECT_EQ(Text(merged.Content()), third);
}

TEST_F(SitePublisher, EveryFileIsSignedWithTheMakersKey) {
  WriteHostFile(folder_ / "program.exe", "MZ program image");
  ASSERT_EQ(Publish(Database('2', '1')), 0) << err_.str();
  PublishRequest request;
  request.programFile = Path("program.exe");
  ASSERT_EQ(Publish(Database('3', '2', kSecond), request), 0) << err_.str();
  EXPECT_EQ(SiteFile(kSiteProgramFile), Bytes("MZ program image"));

  const auto files = Snapshot();
  size_t signedFiles = 0;
  for (const auto& [name, bytes] : files) {
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".sig") == 0) continue;
    SCOPED_TRACE(name);
    ++signedFiles;
    ASSERT_EQ(files.count(name + ".sig"), 1u);
    const auto& sig = files.at(name + ".sig");
    EXPECT_EQ(sig.size(), update::kSignatureSize);
    EXPECT_TRUE(update::VerifyUpdateSignature(bytes.data(), bytes.size(), sig.data(),
                                              sig.size(), keys_.publicKey));
    // Another key (the development key this build trusts) does not take it.
    EXPECT_FALSE(update::VerifyUpdateSignature(bytes.data(), bytes.size(), sig.data(),
                                               sig.size()));
    for (const size_t at : {size_t{0}, bytes.size() / 2, bytes.size() - 1}) {
      auto tampered = bytes;
      tampered[at] ^= 0x20;
      EXPECT_FALSE(update::VerifyUpdateSignature(tampered.data(), tampered.size(), sig.data(),
                                                 sig.size(), keys_.publicKey))
          << at;
    }
  }
  EXPECT_EQ(signedFiles, 4u);  // list, whole database, piece 2, program
  EXPECT_EQ(files.size(), 8u);
}

TEST_F(SitePublisher, RefusedPublishingChangesNothing) {
  ASSERT_EQ(Publish(Database('2', '5')), 0) << err_.str();
  const auto before = Snapshot();
  const update::KeyPair stranger = update::GenerateUpdateKeyPair();
  WriteHostFile(folder_ / "stranger.key", update::PrivateKeyFileText(stranger.privateKey));
  WriteHostFile(folder_ / "broken.key", "# no key here\n");

  struct Case {
    const char* what;
    std::string text;
    std::string keyFile;
    std::string databaseFile;
    const char* message;
  };
  const std::string good = Database('3', '6', kSecond);
  std::string badDigest = good;
  badDigest.replace(badDigest.find("44d88612"), 8, "44D88612");
  const Case cases[] = {
      {"same counter", Database('3', '5', kSecond), "", "", "is not above the site's 5"},
      {"lower counter", Database('3', '4', kSecond), "", "", "is not above the site's 5"},
      {"lint problem", badDigest, "", "", "digest must be 32 lower-case hex digits"},
      {"no end line", good.substr(0, good.size() - 6), "", "", "not published"},
      {"another key", good, Path("stranger.key"), "", "was not made with"},
      {"no key", good, Path("missing.key"), "", "cannot open file"},
      {"broken key", good, Path("broken.key"), "", "not a private key file"},
      {"no database", good, "", Path("missing.txt"), "cannot open file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    PublishRequest request;
    request.keyFile = c.keyFile;
    request.databaseFile = c.databaseFile;
    EXPECT_EQ(Publish(c.text, request), 2);
    EXPECT_NE(err_.str().find(c.message), std::string::npos) << err_.str();
    EXPECT_TRUE(written_.empty());
    EXPECT_EQ(Snapshot(), before);
  }

  // A site whose database lost its signature is not built on either.
  fs::remove(Site() / "updr2/files2.htm.sig");
  const auto unsignedSite = Snapshot();
  EXPECT_EQ(Publish(good), 2);
  EXPECT_NE(err_.str().find("signature is missing"), std::string::npos) << err_.str();
  EXPECT_EQ(Snapshot(), unsignedSite);
}

TEST_F(SitePublisher, KeyFilesAreNeverReplaced) {
  std::ostringstream out, err;
  const std::string keyFile = Path("new.key");
  ASSERT_EQ(GenerateKeyFiles(keyFile, out, err), 0) << err.str();
  const auto privateFile = ReadHostFile(keyFile);
  const auto publicFile = ReadHostFile(keyFile + ".pub");
  const auto secret = update::ReadPrivateKeyFile(privateFile.data(), privateFile.size());
  const auto publicKey = update::ReadPublicKeyFile(publicFile.data(), publicFile.size());
  ASSERT_TRUE(secret && publicKey);
  EXPECT_EQ(update::PublicKeyOf(*secret), *publicKey);
  EXPECT_EQ(out.str(), update::KeyToHex(*publicKey) + "\n");

  EXPECT_EQ(GenerateKeyFiles(keyFile, out, err), 2);
  EXPECT_EQ(ReadHostFile(keyFile), privateFile);
  fs::remove(keyFile);
  EXPECT_EQ(GenerateKeyFiles(keyFile, out, err), 2);  // the public half alone stops it too
  EXPECT_EQ(ReadHostFile(keyFile + ".pub"), publicFile);
}

// The pure plan: when a piece is written and what line 6 says.
TEST(SitePlan, PiecesAndLowestCounter) {
  const std::string base = Database('2', '5');
  struct Case {
    const char* what;
    std::string text;
    std::vector<uint64_t> existing;
    std::optional<uint64_t> lowest;
    bool piece;
    std::string lowestLine;
  };
  const Case cases[] = {
      {"first piece", Database('3', '6', kSecond), {}, std::nullopt, true, "5"},
      {"after a run", Database('3', '6', kSecond), {3, 4, 5}, std::nullopt, true, "2"},
      {"after a gap", Database('3', '6', kSecond), {2, 3, 5}, std::nullopt, true, "4"},
      {"all pieces from 1", Database('3', '6', kSecond), {1, 2, 3, 4, 5}, std::nullopt, true,
       "1"},
      {"counter skips", Database('3', '8', kSecond), {5, 6}, std::nullopt, true, "7"},
      {"given lowest", Database('3', '6', kSecond), {3, 4, 5}, 4, true, "4"},
      {"piece too small", Database('3', '6', {"[Start]"}), {5}, std::nullopt, false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SiteInputs inputs;
    inputs.databaseText = Bytes(c.text);
    inputs.previousText = Bytes(base);
    inputs.existingPieces = c.existing;
    inputs.lowest = c.lowest;
    const SitePlan plan = PlanSite(inputs);
    ASSERT_TRUE(plan.error.empty()) << plan.error;
    EXPECT_EQ(plan.piece.has_value(), c.piece);
    EXPECT_EQ(plan.lowestLine, c.lowestLine);
    EXPECT_EQ(plan.notes.empty(), c.piece);
    EXPECT_EQ(plan.files.back().path, kSiteListFile);
    EXPECT_EQ(Lines(Text(plan.files.back().bytes))[5], c.lowestLine);
  }
}

TEST(SitePlan, ChangedEntriesGetNoPiece) {
  std::string changed = Database('3', '6', kSecond);
  changed.replace(changed.find("[Worm.Nimda]"), 12, "[Worm.Nimdb]");
  const std::string removed = Database('3', '6');
  for (const std::string& text : {changed, removed}) {
    SiteInputs inputs;
    inputs.databaseText = Bytes(text);
    inputs.previousText = Bytes(Database('2', '5', kSecond));
    inputs.existingPieces = {5};
    const SitePlan plan = PlanSite(inputs);
    ASSERT_TRUE(plan.error.empty()) << plan.error;
    EXPECT_FALSE(plan.piece.has_value());
    ASSERT_EQ(plan.notes.size(), 1u);
    EXPECT_NE(plan.notes[0].find("which a piece cannot do"), std::string::npos);
    EXPECT_EQ(plan.lowestLine, "");
    EXPECT_EQ(plan.files.size(), 2u);  // the whole database and the list
  }
}

TEST(SitePlan, ProgramFirstListLast) {
  SiteInputs inputs;
  inputs.databaseText = Bytes(Database('2', '1'));
  inputs.program = Bytes("MZ");
  inputs.logUploadWanted = true;
  const SitePlan plan = PlanSite(inputs);
  ASSERT_TRUE(plan.error.empty()) << plan.error;
  ASSERT_EQ(plan.files.size(), 3u);
  EXPECT_EQ(plan.files[0].path, kSiteProgramFile);
  EXPECT_EQ(plan.files[1].path, kSiteDatabaseFile);
  EXPECT_EQ(plan.files[2].path, kSiteListFile);
  EXPECT_EQ(Text(plan.files[2].bytes),
            std::string("Morvanta Pro\r\nThreat database 2026-01-12, Upd 1\r\n") +
                update::kProgramVersion + "\r\n\r\n1\r\n\r\n");

  inputs.databaseText = Bytes("Threat database 2026-01-12, Upd 1\r\n_end\r\n");
  EXPECT_NE(PlanSite(inputs).error.find("ignores a database below 100 bytes"),
            std::string::npos);
}

}  // namespace
}  // namespace morvanta::tools
