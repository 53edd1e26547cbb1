#include "site_publisher.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string_view>

#include "database/container.h"
#include "database/threat_database.h"
#include "scan/lint.h"
#include "update/database_check.h"
#include "update/signature.h"
#include "update/update_list.h"

namespace morvanta::tools {

namespace {

namespace db = morvanta::database;
namespace fs = std::filesystem;

constexpr int kPublished = 0;
constexpr int kRefused = 2;

// The lines of a checked text (CR LF after each), the date line first, the end line last.
std::vector<std::string> Lines(const std::vector<uint8_t>& text) {
  std::vector<std::string> lines;
  const std::string_view view(reinterpret_cast<const char*>(text.data()), text.size());
  size_t start = 0;
  while (start < view.size()) {
    size_t end = view.find("\r\n", start);
    if (end == std::string_view::npos) end = view.size();
    lines.emplace_back(view.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::vector<uint8_t> Bytes(const std::string& text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

bool IsUsable(const std::vector<uint8_t>& text) {
  return update::CheckDatabaseText(text.data(), text.size()) == update::DatabaseCheck::Usable;
}

std::string ListText(const SitePlan& plan, bool logUploadWanted) {
  std::string list;
  for (const std::string& line :
       {std::string(update::kListMagic), plan.dateLine, std::string(update::kProgramVersion),
        std::string(), std::string(logUploadWanted ? "1" : "0"), plan.lowestLine}) {
    list += line + "\r\n";
  }
  return list;
}

std::optional<std::vector<uint8_t>> ReadFile(const fs::path& path, std::ostream& err) {
  std::error_code error;
  if (fs::is_directory(path, error)) {
    err << path.string() << ": is a folder, not a file\n";
    return std::nullopt;
  }
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) {
    err << path.string() << ": cannot open file\n";
    return std::nullopt;
  }
  const std::streamoff size = in.tellg();
  if (size < 0 || static_cast<uint64_t>(size) > db::kMaxDecodedSize) {
    err << path.string() << ": cannot read file\n";
    return std::nullopt;
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  in.seekg(0);
  in.read(reinterpret_cast<char*>(bytes.data()), size);
  if (!in || in.gcount() != size) {
    err << path.string() << ": cannot read file\n";
    return std::nullopt;
  }
  return bytes;
}

// Through a new file beside it, so that a failed write leaves the old file whole.
bool WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes, std::ostream& err) {
  fs::path fresh = path;
  fresh += ".new";
  {
    std::ofstream out(fresh, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      err << path.string() << ": cannot write file\n";
      std::error_code ignored;
      fs::remove(fresh, ignored);
      return false;
    }
  }
  std::error_code error;
  fs::rename(fresh, path, error);
  if (error) {
    // Where renaming does not replace an existing file.
    fs::remove(path, error);
    fs::rename(fresh, path, error);
  }
  if (error) {
    err << path.string() << ": cannot replace file: " << error.message() << "\n";
    return false;
  }
  return true;
}

// The numbers of the pieces in the site's piece folder ("N.htm", N decimal).
std::vector<uint64_t> ListPieces(const fs::path& folder) {
  std::vector<uint64_t> numbers;
  std::error_code error;
  if (!fs::is_directory(folder, error)) return numbers;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    const fs::path& path = entry.path();
    if (path.extension() != ".htm") continue;
    const std::string stem = path.stem().string();
    const uint64_t number = update::ReadLowestCounter(stem);
    if (number != 0 && stem.find_first_not_of("0123456789") == std::string::npos) {
      numbers.push_back(number);
    }
  }
  return numbers;
}

}  // namespace

std::string SitePieceFile(uint64_t number) {
  return std::string(kSitePieceFolder) + "/" + std::to_string(number) + ".htm";
}

SitePlan PlanSite(const SiteInputs& inputs) {
  SitePlan plan;
  if (update::CheckDatabaseText(inputs.databaseText.data(), inputs.databaseText.size()) !=
      update::DatabaseCheck::Usable) {
    plan.error = "the database has no date line or does not end with the \"_end\" line";
    return plan;
  }
  const std::vector<std::string> lines = Lines(inputs.databaseText);
  plan.dateLine = lines.front();
  plan.counter = update::PartialUpdateCounter(plan.dateLine);

  std::vector<std::string> previous;
  if (inputs.previousText) {
    if (!IsUsable(*inputs.previousText)) {
      plan.error = "the site's database has no date line or does not end with the \"_end\" line";
      return plan;
    }
    previous = Lines(*inputs.previousText);
    const uint64_t previousCounter = update::PartialUpdateCounter(previous.front());
    if (plan.counter <= previousCounter) {
      plan.error = "the database's update number " + std::to_string(plan.counter) +
                   " (\"" + plan.dateLine + "\") is not above the site's " +
                   std::to_string(previousCounter) + " (\"" + previous.front() + "\")";
      return plan;
    }
  }

  const std::vector<uint8_t> packed =
      db::PackDatabase(inputs.databaseText.data(), inputs.databaseText.size());
  if (packed.size() < kSmallestDownload) {
    plan.error = "the packed database is " + std::to_string(packed.size()) +
                 " bytes: the program ignores a database below " +
                 std::to_string(kSmallestDownload) + " bytes";
    return plan;
  }

  if (inputs.program) plan.files.push_back({kSiteProgramFile, *inputs.program});

  if (inputs.previousText) {
    // The entries of both, without date and end lines. A piece only adds in front of the
    // end line, so the old entries must come first, unchanged.
    const auto oldBegin = previous.begin() + 1, oldEnd = previous.end() - 1;
    const auto newBegin = lines.begin() + 1, newEnd = lines.end() - 1;
    const auto oldCount = oldEnd - oldBegin;
    if (newEnd - newBegin < oldCount || !std::equal(oldBegin, oldEnd, newBegin)) {
      plan.notes.push_back(
          "no piece " + std::to_string(plan.counter) +
          ": the database changes or removes entries of the site's, which a piece cannot do; "
          "the program will fetch the whole database");
    } else {
      std::string piece = plan.dateLine + "\r\n";
      for (auto line = newBegin + oldCount; line != newEnd; ++line) piece += *line + "\r\n";
      piece += std::string(db::kEndLine) + "\r\n";
      std::vector<uint8_t> pieceFile = db::PackPiece(
          reinterpret_cast<const uint8_t*>(piece.data()), piece.size());
      if (pieceFile.size() < kSmallestDownload) {
        plan.notes.push_back("no piece " + std::to_string(plan.counter) + ": it would be " +
                             std::to_string(pieceFile.size()) +
                             " bytes, and the program ignores a piece below " +
                             std::to_string(kSmallestDownload) +
                             " bytes; the program will fetch the whole database");
      } else {
        plan.piece = plan.counter;
        plan.files.push_back({SitePieceFile(plan.counter), std::move(pieceFile)});
      }
    }
  }
  plan.files.push_back({kSiteDatabaseFile, packed});

  if (inputs.lowest) {
    plan.lowestLine = std::to_string(*inputs.lowest);
  } else if (plan.piece) {
    const std::set<uint64_t> pieces(inputs.existingPieces.begin(), inputs.existingPieces.end());
    uint64_t first = *plan.piece;
    while (first > 1 && pieces.count(first - 1)) --first;
    // A database at the counter before the first piece takes every piece from there on.
    plan.lowestLine = std::to_string(std::max<uint64_t>(first - 1, 1));
  }
  plan.files.push_back({kSiteListFile, Bytes(ListText(plan, inputs.logUploadWanted))});
  return plan;
}

int PublishSite(const PublishRequest& request, std::ostream& out, std::ostream& err) {
  const auto keyFile = ReadFile(request.keyFile, err);
  if (!keyFile) return kRefused;
  const auto key = update::ReadPrivateKeyFile(keyFile->data(), keyFile->size());
  if (!key) {
    err << request.keyFile << ": not a private key file (64 hexadecimal digits)\n";
    return kRefused;
  }
  const update::PublicKey publicKey = update::PublicKeyOf(*key);

  const auto database = ReadFile(request.databaseFile, err);
  if (!database) return kRefused;
  SiteInputs inputs;
  db::DecodedDatabase decoded = db::DecodeAnyForm(database->data(), database->size());
  if (decoded.form == db::ContainerForm::Damaged) {
    err << request.databaseFile << ": " << db::FormName(decoded.form) << "\n";
    return kRefused;
  }
  const auto problems = scan::LintDatabaseText(decoded.text.data(), decoded.text.size());
  for (const auto& p : problems) {
    err << request.databaseFile;
    if (p.line != 0) err << ":" << p.line;
    err << ": " << p.message << "\n";
  }
  if (!problems.empty()) {
    err << request.databaseFile << ": " << problems.size() << " problem"
        << (problems.size() == 1 ? "" : "s") << ": not published\n";
    return kRefused;
  }
  inputs.databaseText = std::move(decoded.text);

  const fs::path site(request.siteFolder);
  const fs::path previousFile = site / kSiteDatabaseFile;
  std::error_code error;
  if (fs::exists(previousFile, error)) {
    // What the site serves now must be ours: its signature must match this key.
    const auto previous = ReadFile(previousFile, err);
    if (!previous) return kRefused;
    fs::path sigPath = previousFile;
    sigPath += update::kSignatureSuffix;
    std::vector<uint8_t> sig;
    if (fs::exists(sigPath, error)) {
      const auto read = ReadFile(sigPath, err);
      if (!read) return kRefused;
      sig = *read;
    }
    if (!update::VerifyUpdateSignature(previous->data(), previous->size(), sig.data(),
                                       sig.size(), publicKey)) {
      err << previousFile.string() << ": its signature is missing or was not made with "
          << request.keyFile << ": not published\n";
      return kRefused;
    }
    const db::DecodedDatabase old = db::DecodeAnyForm(previous->data(), previous->size());
    if (old.form != db::ContainerForm::Packed) {
      err << previousFile.string() << ": " << db::FormName(old.form)
          << ", not a packed database: not published\n";
      return kRefused;
    }
    inputs.previousText = old.text;
  }
  inputs.existingPieces = ListPieces(site / kSitePieceFolder);
  if (!request.programFile.empty()) {
    inputs.program = ReadFile(request.programFile, err);
    if (!inputs.program) return kRefused;
  }
  inputs.logUploadWanted = request.logUploadWanted;
  inputs.lowest = request.lowest;

  const SitePlan plan = PlanSite(inputs);
  if (!plan.error.empty()) {
    err << request.databaseFile << ": " << plan.error << ": not published\n";
    return kRefused;
  }
  for (const auto& note : plan.notes) err << "note: " << note << "\n";

  fs::create_directories(site / kSitePieceFolder, error);
  if (error) {
    err << (site / kSitePieceFolder).string() << ": cannot create folder: " << error.message()
        << "\n";
    return kRefused;
  }
  for (const SiteFile& file : plan.files) {
    const update::Signature sig =
        update::SignUpdateFile(file.bytes.data(), file.bytes.size(), *key);
    const fs::path path = site / fs::path(file.path);
    fs::path sigPath = path;
    sigPath += update::kSignatureSuffix;
    if (!WriteFile(sigPath, std::vector<uint8_t>(sig.begin(), sig.end()), err) ||
        !WriteFile(path, file.bytes, err)) {
      return kRefused;
    }
    out << file.path << "\n";
  }
  return kPublished;
}

int GenerateKeyFiles(const std::string& keyFile, std::ostream& out, std::ostream& err) {
  const fs::path privatePath(keyFile);
  fs::path publicPath = privatePath;
  publicPath += ".pub";
  std::error_code error;
  for (const fs::path& path : {privatePath, publicPath}) {
    if (fs::exists(path, error)) {
      err << path.string() << ": exists already; a key file is never replaced\n";
      return kRefused;
    }
  }
  const update::KeyPair pair = update::GenerateUpdateKeyPair();
  if (!WriteFile(privatePath, Bytes(update::PrivateKeyFileText(pair.privateKey)), err)) {
    return kRefused;
  }
  // For the owner only, where the file system keeps such rights.
  fs::permissions(privatePath, fs::perms::owner_read | fs::perms::owner_write, error);
  if (!WriteFile(publicPath, Bytes(update::PublicKeyFileText(pair.publicKey)), err)) {
    return kRefused;
  }
  out << update::KeyToHex(pair.publicKey) << "\n";
  return kPublished;
}

}  // namespace morvanta::tools
