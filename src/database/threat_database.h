// The decoded threat database: one in-memory byte stream of CR LF text lines with a read
// position, loaded from "files.dat", read line by line by the scans, extended by partial
// updates and written back scrambled.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/message_catalog.h"
#include "database/container.h"
#include "platform/files.h"
#include "platform/system_info.h"

namespace morvanta::database {

// File names in the program folder.
inline constexpr char kDatabaseFileName[] = "files.dat";
inline constexpr char kFullDownloadFileName[] = "filess.dat";
inline constexpr char kUpdatePieceFileName[] = "Upd.dat";

// The text's layout: a 33-character date line, entry lines of at most 254 bytes, the end
// line. Each line is followed by CR LF.
inline constexpr char kEndLine[] = "_end";
constexpr size_t kDateLineLength = 33;
constexpr size_t kDateLineBytes = kDateLineLength + 2;
constexpr size_t kEndLineBytes = 6;
constexpr size_t kMaxLineLength = 254;
// The line reader looks at most this many bytes ahead.
constexpr size_t kLineWindow = 255;

enum class LoadError { None, CannotOpen, CannotRead, CannotReplace };

struct LoadResult {
  LoadError error = LoadError::None;
  // For the error box: names the file and the system's reason; empty on success.
  std::string message;
  bool ok() const { return error == LoadError::None; }
};

class ThreatDatabase {
 public:
  // `decodedLimit`: decompressed text beyond this counts as a failed decompression.
  explicit ThreatDatabase(size_t decodedLimit = kMaxDecodedSize) : decodedLimit_(decodedLimit) {}

  // Replaces the content with the decoded content of the file. When the file cannot be
  // opened or read the content stays as it was. A failing decompression is not an error:
  // the unscrambled bytes are then the text.
  LoadResult LoadDatabase(platform::Files& files, const std::string& path);
  // The same from the file's bytes in memory.
  void LoadBytes(const uint8_t* data, size_t size);
  // Replaces the content with text that is already decoded.
  void SetText(std::vector<uint8_t> text);

  // The next line from the current position; "_end" once the line's CR LF reaches the end
  // of the text, so the end line itself is never returned as data. A run of 255 bytes
  // without CR is returned as one line and the position moves past it.
  std::string ReadDatabaseLine();
  // The first line; the catalogue's "Error" (entry 2) when the text has no complete first
  // line within the reader's window. Leaves the position behind that line.
  std::string DatabaseDate(const common::MessageCatalog& catalog);
  // The same without the catalogue: nothing when there is no complete first line.
  std::optional<std::string> ReadDateLine();

  // Merges a partial-update piece (scrambled, not compressed): its date line replaces the
  // database's, its entries and end line replace the database's end line. Refused (false,
  // content unchanged) when the file cannot be read, when the piece or the database is too
  // short to hold a date line and an end line, or when the piece's first line is not a
  // date line of 33 characters.
  bool ApplyUpdatePiece(platform::Files& files, const std::string& path);
  bool ApplyUpdatePieceBytes(const uint8_t* data, size_t size);

  // Writes the content scrambled, not compressed, replacing the file in one step: a failed
  // save leaves the file as it was.
  bool SaveScrambled(platform::Files& files, const std::string& path) const;
  std::vector<uint8_t> Scrambled() const;

  void Rewind() { position_ = 0; }
  size_t Position() const { return position_; }
  // Positions past the end read as the end.
  void Seek(size_t position) { position_ = position; }
  size_t Size() const { return bytes_.size(); }
  const std::vector<uint8_t>& Content() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
  size_t position_ = 0;
  size_t decodedLimit_;
};

// The folder of the running executable with its trailing backslash; every data file is
// named by appending its name. Empty when the path has no folder.
std::string ProgramFolder(platform::SystemInfo& system);

// Puts a complete downloaded database in place: "filess.dat" replaces "files.dat" in one
// step, then loads. When the replacement fails, "files.dat" and the loaded content stay as
// they were (CannotReplace). `folder` is the program folder with its backslash.
LoadResult ReplaceWithFullDownload(ThreatDatabase& database, platform::Files& files,
                                   const std::string& folder);

}  // namespace morvanta::database
