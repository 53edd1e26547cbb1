// The database update without questions, for the console and for scripted machines: the
// update list fetched and verified, then the missing pieces merged (or the whole database
// fetched) and put in place. Every file from the update server must carry the maker's
// signature beside it; nothing unsigned is read, and a new database replaces "files.dat"
// only once it decodes and ends with its end line.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "app/session.h"

namespace morvanta::runs {

enum class UpdateOutcome {
  UpToDate,
  Updated,
  ProgramOutOfDate,  // the program must be upgraded first: the database was left alone
  Failed,
};

struct DatabaseUpdateResult {
  UpdateOutcome outcome = UpdateOutcome::Failed;
  std::string error;           // what failed, for the user
  std::string serverDate;      // line 2 of the list
  std::string serverProgram;   // line 3 of the list
  bool whole = false;          // the whole database was fetched
  uint64_t piecesApplied = 0;
};

// Tells what is being fetched ("/updr2/upd/6.htm") and how far it has come.
using UpdateProgress =
    std::function<void(const std::string& path, uint64_t totalSize, uint64_t readed)>;

// A partial run fetches at most this many pieces; a longer one fetches the whole database.
inline constexpr uint64_t kMaxPiecesPerRun = 500;

// Sets the session's update check state and log upload wish as the list says.
DatabaseUpdateResult UpdateDatabase(app::Session& session, const UpdateProgress& progress = {});

}  // namespace morvanta::runs
