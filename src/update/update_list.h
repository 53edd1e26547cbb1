// The update server's list ("updr2/list.htm"), the partial-update counter of a database
// date line, and the choice between fetching the missing pieces and the whole database.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvanta::update {

// The program's own version string, compared whole with line 3 of the list.
inline constexpr char kProgramVersion[] = "Morvanta Pro v7 - SE (Build date: 20.10.2011)";
// Line 1 of every valid list.
inline constexpr char kListMagic[] = "Morvanta Pro";
// What precedes the counter in a date line.
inline constexpr char kCounterMarker[] = ", Upd ";

// Paths on the update server (behind "http://" + host) and the local file names the
// downloads are saved as; every one has its signature at the same path + ".sig".
inline constexpr char kListPath[] = "/updr2/list.htm";
inline constexpr char kProgramPath[] = "/updr2/kavup.htm";
inline constexpr char kWholeDatabasePath[] = "/updr2/files2.htm";
inline constexpr char kSignatureSuffix[] = ".sig";
inline constexpr char kListFileName[] = "list.htm";
inline constexpr char kProgramFileName[] = "kavup.exe";
// "/updr2/upd/" + N + ".htm".
std::string PiecePath(uint64_t number);
std::string SignaturePath(std::string_view path);

struct UpdateList {
  std::string databaseDate;    // line 2: the current database date line
  std::string programVersion;  // line 3: the current program version string
  bool logUploadWanted = false;  // line 5 is exactly "1"
  std::string lowestLine;      // line 6 as written: the lowest local counter served
};

// The list from the fetched file's bytes. Lines end with CR LF, LF or a lone CR; lines
// missing at the end of the file read as empty. Nothing when line 1 is not exactly
// "Morvanta Pro" (an empty file included).
std::optional<UpdateList> ReadUpdateList(const uint8_t* data, size_t size);

// The number after ", Upd " in a date line: the text from the first ", Upd " to the end,
// without any ", Upd ", blank or ".", read as a decimal number. 0 when the line has no
// ", Upd ", when the rest is not a number, or when it is too large for 64 bits.
uint64_t PartialUpdateCounter(std::string_view dateLine);
// Line 6 read as a decimal number: 0 when it is not one (blanks around it are allowed).
uint64_t ReadLowestCounter(std::string_view line);

// What a database update fetches once the user has agreed to it.
struct DatabaseUpdatePlan {
  bool partial = false;
  // Partial: the pieces first..last in order; none when last is below first (a server
  // behind the local database).
  uint64_t first = 1;
  uint64_t last = 0;
  size_t PieceCount() const {
    return partial && last >= first ? static_cast<size_t>(last - first + 1) : 0;
  }
};

// The pieces are fetched when line 6 is not empty, the counters differ, neither is 0, and
// the lowest counter served is neither 0 nor above the local one; otherwise the whole
// database is.
DatabaseUpdatePlan PlanDatabaseUpdate(uint64_t localCounter, uint64_t serverCounter,
                                      std::string_view lowestLine);
// The same from the local database's date line and the list.
DatabaseUpdatePlan PlanDatabaseUpdate(std::string_view localDateLine, const UpdateList& list);

}  // namespace morvanta::update
