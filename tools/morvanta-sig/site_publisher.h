// The update site publisher of morvanta-sig: a key pair for signing, and a complete update
// site under a folder, ready to be copied to any static web server:
//
//   updr2/list.htm       the update list: "Morvanta Pro", the database's date line, the
//                        program version string, an empty line, "1" or "0" (scan logs
//                        wanted), the lowest local counter the pieces serve (may be empty)
//   updr2/files2.htm     the whole database, bzip2 and scrambled ("files.dat" form)
//   updr2/upd/N.htm      piece N (N the counter after ", Upd " in the date line): scrambled
//                        text of the new date line, the entry lines added since the database
//                        the site served before, and the end line. Older pieces stay.
//   updr2/kavup.htm      a copy of the program file, when one is given
//
// and beside each of them its Ed25519 signature (the same name + ".sig"). The update list
// is written last, so a site copied while being published names only files already there.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace morvanta::tools {

// Files written into the site folder, their paths relative to it, with '/'.
inline constexpr char kSiteListFile[] = "updr2/list.htm";
inline constexpr char kSiteDatabaseFile[] = "updr2/files2.htm";
inline constexpr char kSiteProgramFile[] = "updr2/kavup.htm";
inline constexpr char kSitePieceFolder[] = "updr2/upd";
std::string SitePieceFile(uint64_t number);

// The program ignores a downloaded database file or piece below this size.
constexpr size_t kSmallestDownload = 100;

struct SiteFile {
  std::string path;  // relative to the site folder
  std::vector<uint8_t> bytes;
};

// What a site is made of, read from the inputs and the site as it stands.
struct SiteInputs {
  std::vector<uint8_t> databaseText;                 // the new database, decoded
  std::optional<std::vector<uint8_t>> previousText;  // the site's database, decoded
  std::vector<uint64_t> existingPieces;              // numbers of the pieces on the site
  std::optional<std::vector<uint8_t>> program;
  bool logUploadWanted = false;
  std::optional<uint64_t> lowest;  // line 6 as given; worked out from the pieces otherwise
};

struct SitePlan {
  std::string error;               // set when nothing may be published
  std::vector<std::string> notes;  // what the maker should know about the site
  std::vector<SiteFile> files;     // without signatures, the update list last
  std::string dateLine;
  uint64_t counter = 0;
  std::optional<uint64_t> piece;   // the piece written, if any
  std::string lowestLine;          // line 6 as written
};

// The files of the new site. Refused (error set) when the database has no date line or end
// line, when its counter is not above the previous database's, or when its packed form
// is too small for the program to take. No piece is written, and the note says why, when
// the new entries are not the previous ones followed by additions, or when the piece would
// be too small for the program to take; line 6 is then empty, so the program fetches the
// whole database. Otherwise line 6 is the lowest local counter from which the pieces on
// the site lead without a gap to the new one (at least 1).
SitePlan PlanSite(const SiteInputs& inputs);

struct PublishRequest {
  std::string databaseFile;  // plain text or either container form
  std::string siteFolder;
  std::string keyFile;       // the private key file
  std::string programFile;   // empty: no program in the site
  bool logUploadWanted = false;
  std::optional<uint64_t> lowest;
};

// Exit statuses, as the rest of morvanta-sig: 0 published, 2 refused or unusable input.
// Each file written is named on `out`; notes, problems and errors go to `err`.
int PublishSite(const PublishRequest& request, std::ostream& out, std::ostream& err);

// Writes a new key pair: `keyFile` the private key, `keyFile` + ".pub" the public key. An
// existing key file is never replaced (2). The public key goes to `out` as well.
int GenerateKeyFiles(const std::string& keyFile, std::ostream& out, std::ostream& err);

}  // namespace morvanta::tools
