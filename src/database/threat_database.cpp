#include "database/threat_database.h"

#include <algorithm>

#include "database/scramble.h"

namespace morvanta::database {
namespace {

struct FileBytes {
  std::optional<std::vector<uint8_t>> bytes;
  LoadError error = LoadError::None;
};

// The whole file in one read.
FileBytes ReadWholeFile(platform::Files& files, const std::string& path) {
  auto file = files.Open(path, platform::OpenMode::Read);
  if (!file) return {std::nullopt, LoadError::CannotOpen};
  const uint64_t size = file->Size();
  if (size > kMaxDecodedSize) return {std::nullopt, LoadError::CannotRead};
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  size_t done = 0;
  while (done < bytes.size()) {
    const size_t n = file->Read(bytes.data() + done, bytes.size() - done);
    if (n == 0) return {std::nullopt, LoadError::CannotRead};
    done += n;
  }
  return {std::move(bytes), LoadError::None};
}

// Names the file and, where the system gave one, its reason.
std::string ErrorMessage(LoadError error, const std::string& path, const std::string& reason) {
  std::string text;
  switch (error) {
    case LoadError::None:
      return "";
    case LoadError::CannotOpen:
      text = "Cannot open file \"" + path + "\".";
      break;
    case LoadError::CannotRead:
      text = "Cannot read file \"" + path + "\".";
      break;
    case LoadError::CannotReplace:
      text = "Cannot replace file \"" + path + "\".";
      break;
  }
  return reason.empty() ? text : text + " " + reason;
}

}  // namespace

LoadResult ThreatDatabase::LoadDatabase(platform::Files& files, const std::string& path) {
  FileBytes file = ReadWholeFile(files, path);
  if (!file.bytes) return {file.error, ErrorMessage(file.error, path, files.LastErrorText())};
  LoadBytes(file.bytes->data(), file.bytes->size());
  return {};
}

void ThreatDatabase::LoadBytes(const uint8_t* data, size_t size) {
  bytes_ = DecodeContainer(data, size, decodedLimit_);
  position_ = 0;
}

void ThreatDatabase::SetText(std::vector<uint8_t> text) {
  bytes_ = std::move(text);
  position_ = 0;
}

std::string ThreatDatabase::ReadDatabaseLine() {
  const size_t size = bytes_.size();
  if (position_ >= size) {
    position_ = size;
    return kEndLine;
  }
  const uint8_t* window = bytes_.data() + position_;
  const size_t n = std::min(kLineWindow, size - position_);
  const uint8_t* cr = std::find(window, window + n, '\r');
  std::string line(window, cr);
  // Behind the CR and the LF that is taken to follow it; without a CR in the window, behind
  // the bytes read, so that every call moves on.
  const size_t next = cr != window + n ? position_ + (cr - window) + 2 : position_ + n;
  position_ = std::min(next, size);
  if (next >= size) return kEndLine;
  return line;
}

std::optional<std::string> ThreatDatabase::ReadDateLine() {
  position_ = 0;
  const size_t n = std::min(kLineWindow, bytes_.size());
  const auto begin = bytes_.begin();
  const auto cr = std::find(begin, begin + n, '\r');
  if (cr == begin + n) return std::nullopt;
  position_ = std::min(static_cast<size_t>(cr - begin) + 2, bytes_.size());
  return std::string(begin, cr);
}

std::string ThreatDatabase::DatabaseDate(const common::MessageCatalog& catalog) {
  if (auto date = ReadDateLine()) return std::move(*date);
  return catalog.Text(common::Msg::Error);
}

bool ThreatDatabase::ApplyUpdatePiece(platform::Files& files, const std::string& path) {
  FileBytes file = ReadWholeFile(files, path);
  if (!file.bytes) return false;
  return ApplyUpdatePieceBytes(file.bytes->data(), file.bytes->size());
}

bool ThreatDatabase::ApplyUpdatePieceBytes(const uint8_t* data, size_t size) {
  constexpr size_t kShortest = kDateLineBytes + kEndLineBytes;
  if (size < kShortest || bytes_.size() < kShortest) return false;
  const std::vector<uint8_t> piece = Unscramble(data, size);
  // The piece's date line takes the place of the database's, byte for byte: it must be a
  // date line, 33 characters and its CR LF, or the first entry would be overwritten.
  if (piece[kDateLineLength] != '\r' || piece[kDateLineLength + 1] != '\n') return false;
  if (std::find(piece.begin(), piece.begin() + kDateLineLength, '\r') !=
      piece.begin() + kDateLineLength)
    return false;
  const size_t body = kDateLineBytes;

  std::copy(piece.begin(), piece.begin() + kDateLineBytes, bytes_.begin());
  // The body is written over the old end line, growing the text as needed; bytes of the old
  // end line that a very short body does not reach stay, as in a stream write.
  const size_t at = bytes_.size() - kEndLineBytes;
  const size_t length = piece.size() - body;
  if (at + length > bytes_.size()) bytes_.resize(at + length);
  std::copy(piece.begin() + body, piece.end(), bytes_.begin() + at);
  position_ = at + length;
  return true;
}

std::vector<uint8_t> ThreatDatabase::Scrambled() const {
  return Scramble(bytes_.data(), bytes_.size());
}

bool ThreatDatabase::SaveScrambled(platform::Files& files, const std::string& path) const {
  const std::vector<uint8_t> scrambled = Scrambled();
  return files.WriteAtomically(path, scrambled.data(), scrambled.size());
}

std::string ProgramFolder(platform::SystemInfo& system) {
  const std::string module = system.ModulePath();
  const size_t slash = module.find_last_of('\\');
  return slash == std::string::npos ? std::string() : module.substr(0, slash + 1);
}

LoadResult ReplaceWithFullDownload(ThreatDatabase& database, platform::Files& files,
                                   const std::string& folder) {
  const std::string target = folder + kDatabaseFileName;
  // In one step: the database on disk is the old one or the new one, never none.
  if (!files.ReplaceFile(folder + kFullDownloadFileName, target)) {
    return {LoadError::CannotReplace,
            ErrorMessage(LoadError::CannotReplace, target, files.LastErrorText())};
  }
  return database.LoadDatabase(files, target);
}

}  // namespace morvanta::database
