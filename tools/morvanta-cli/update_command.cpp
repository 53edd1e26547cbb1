#include "update_command.h"

#include "cli.h"
#include "runs/database_update.h"

namespace morvanta::cli {

const char kUpdateUsage[] = "usage: morvanta-cli update\n";

int UpdateCommand(app::Session& session, const std::vector<std::string>& args, std::ostream& out,
                  std::ostream& err) {
  if (args.size() != 1) {
    err << kUpdateUsage;
    return kError;
  }
  // A missing or damaged "files.dat" is no obstacle: the whole database is fetched then.
  session.LoadDatabase();
  const runs::DatabaseUpdateResult r = runs::UpdateDatabase(session);
  switch (r.outcome) {
    case runs::UpdateOutcome::UpToDate:
      out << "Database up to date: " << session.DatabaseDate() << "\n";
      return kClean;
    case runs::UpdateOutcome::Updated:
      out << "Database updated: " << session.DatabaseDate() << " ("
          << (r.whole ? std::string("whole database")
                      : std::to_string(r.piecesApplied) + " update piece" +
                            (r.piecesApplied == 1 ? "" : "s"))
          << ")\n";
      return kClean;
    case runs::UpdateOutcome::ProgramOutOfDate:
      out << "A new program version is available: " << r.serverProgram
          << "\nThe database is updated once the program is (start Morvanta Pro and click "
             "\"Update\").\n";
      return kFound;
    case runs::UpdateOutcome::Failed:
      break;
  }
  err << "morvanta-cli: update failed: " << r.error << "\n";
  ExplainMissingRights(session, err);
  return kError;
}

}  // namespace morvanta::cli
