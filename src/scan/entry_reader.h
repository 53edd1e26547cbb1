// Database entry lines: the parsed form `DatabaseEntry`, and the reader that walks the
// decoded database, follows its section lines (which set `BaseFolder`) and hands out the
// entry lines with the "/0/" marker taken off.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "database/threat_database.h"
#include "platform/platform.h"
#include "scan/system_folders.h"

namespace morvanta::scan {

struct DatabaseEntry {
  std::string Target;
  std::string ThreatName;
  std::string Digest;
  std::string Folder;
};

enum class EntryKind { File, Folder, Digest };

EntryKind KindOf(const DatabaseEntry& entry);

// The path a file entry names: `Folder` + "\" + `Target` (the backslash only when `Folder`
// lacks one), `Target` alone when `Folder` is empty, `Folder` alone when `Target` is empty.
std::string DerivedPath(const DatabaseEntry& entry);

// The parse without token expansion: the fields hold the templates as written.
DatabaseEntry ParseEntryTemplates(const std::string& line, const std::string& baseFolder);
// The parse, then `Folder` and `Target` expanded (`ExpandPathTokens`). Never rejects a line.
DatabaseEntry ParseEntryLine(platform::Platform& platform, const std::string& line,
                             const std::string& baseFolder);
// The same with the folders a scan took once.
DatabaseEntry ParseEntryLine(FolderCache& folders, const std::string& line,
                             const std::string& baseFolder);

// The section lines the reader follows, in the order it tests them before an entry line.
// "[Start]" clears the base folder; the root lines set it to their folder followed by the
// rest of the line.
struct SectionMarker {
  const char* marker;
  bool namesRoot;
};
const std::array<SectionMarker, 4>& SectionMarkers();

// One entry line as the reading loop hands it on.
struct EntryLine {
  std::string text;                    // with every "/0/" removed
  bool noProcessSubstitution = false;  // the line carried "/0/"
};

// Takes the "/0/" marker off an entry line.
EntryLine StripNoSubstitutionMarker(const std::string& line);

class EntryLineReader {
 public:
  EntryLineReader(database::ThreatDatabase& database, platform::Platform& platform)
      : database_(database), platform_(platform) {}

  // Rewinds the database, reads past the date line and clears the base folder.
  void Start();
  // The next entry line, after any section lines in front of it ("[Start]", then
  // "[Win32Root]", "[System32Root]", "[ProgramFiles32Root]", each tested once, in this
  // order). Nothing at the end line, also when it follows a section line.
  std::optional<EntryLine> Next();

  const std::string& BaseFolder() const { return baseFolder_; }

 private:
  database::ThreatDatabase& database_;
  platform::Platform& platform_;
  std::string baseFolder_;
};

}  // namespace morvanta::scan
