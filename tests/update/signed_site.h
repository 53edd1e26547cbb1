// A made-up machine with a database of counter 5 in its program folder, and a made-up
// update server whose files carry the maker's signature (or, when asked, another one).
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/session.h"
#include "database/container.h"
#include "platform/fake/fake_platform.h"
#include "update/signature.h"
#include "update/update_list.h"
#include "update_test_paths.h"

namespace morvanta::update_testing {

using Bytes = std::vector<uint8_t>;
inline const std::string kFolder = "C:\\Morvanta\\";
inline const std::string kHost = "update.example.test";

inline std::string DateLine(int counter) {
  char text[40];
  std::snprintf(text, sizeof text, "Thursday, 10.12.2026, Upd %04d   ", counter);
  return text;
}

inline Bytes AsBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

// Entries enough for a packed piece above the size the program ignores.
inline std::string Entries(int counter) {
  std::string lines;
  for (int i = 0; i < 4; ++i)
    lines += "[Worm.Piece" + std::to_string(counter) + "x" + std::to_string(i) +
             "]:C:\\Windows\\piece" + std::to_string(counter) + "-" + std::to_string(i) + ".exe\r\n";
  return lines;
}

class SignedSite : public ::testing::Test {
 public:  // the cases' set-up steps reach these
  void SetUp() override {
    std::ifstream in(update::kDevPrivateKeyFile, std::ios::binary);
    const std::string keyText((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto key = update::ReadPrivateKeyFile(reinterpret_cast<const uint8_t*>(keyText.data()),
                                                keyText.size());
    ASSERT_TRUE(key);
    key_ = *key;
    fake.files.MakeFolders(kFolder);
    fake.files.PutFile(kFolder + "morvanta.ini", "[UpdateServer]\r\nHost=" + kHost + "\r\n");
    fake.internet.AddHost(kHost);
    localText_ = DateLine(5) + "\r\n[Worm.Old]:C:\\old.exe\r\n_end\r\n";
    const Bytes packed = database::PackDatabase(AsBytes(localText_).data(), localText_.size());
    fake.files.PutFile(kFolder + "files.dat", std::string(packed.begin(), packed.end()));
    ASSERT_TRUE(session.LoadDatabase().ok());
  }

  // Serves a file with the maker's signature beside it (or another one).
  void Serve(const std::string& path, const Bytes& bytes, bool signedByMaker = true) {
    fake.internet.Put(kHost, path, std::string(bytes.begin(), bytes.end()));
    Bytes toSign = bytes;
    if (!signedByMaker) toSign.push_back('!');
    const auto sig = update::SignUpdateFile(toSign.data(), toSign.size(), key_);
    fake.internet.Put(kHost, update::SignaturePath(path), std::string(sig.begin(), sig.end()));
  }
  void ServeList(int serverCounter, const std::string& lowest,
                 const std::string& version = update::kProgramVersion) {
    Serve(update::kListPath, AsBytes("Morvanta Pro\r\n" + DateLine(serverCounter) + "\r\n" + version +
                                     "\r\n\r\n1\r\n" + lowest + "\r\n"));
  }
  void ServePiece(int n, bool signedByMaker = true) {
    const std::string text = DateLine(n) + "\r\n" + Entries(n) + "_end\r\n";
    Serve(update::PiecePath(n), database::PackPiece(AsBytes(text).data(), text.size()), signedByMaker);
  }
  std::string WholeText(int counter) {
    std::string text = DateLine(counter) + "\r\n[Worm.Old]:C:\\old.exe\r\n";
    for (int n = 6; n <= counter; ++n) text += Entries(n);
    return text + "_end\r\n";
  }
  void ServeWhole(int counter, bool signedByMaker = true) {
    const std::string text = WholeText(counter);
    Serve(update::kWholeDatabasePath, database::PackDatabase(AsBytes(text).data(), text.size()),
          signedByMaker);
  }
  std::string FilesDat() {
    const auto bytes = fake.files.ReadAll(kFolder + "files.dat");
    return bytes ? std::string(bytes->begin(), bytes->end()) : "<none>";
  }
  bool Requested(const std::string& path) const {
    for (const auto& r : fake.internet.Requests())
      if (r == kHost + path) return true;
    return false;
  }
  // The database as the program would load it from "files.dat" now.
  std::string LoadedText() {
    app::Session fresh(fake.Get(), kFolder);
    if (!fresh.LoadDatabase().ok()) return "<cannot load>";
    const auto& c = fresh.Database().Content();
    return std::string(c.begin(), c.end());
  }

  platform::fake::FakePlatform fake;
  app::Session session{fake.Get(), kFolder};
  update::PrivateKey key_{};
  std::string localText_;
};

}  // namespace morvanta::update_testing
