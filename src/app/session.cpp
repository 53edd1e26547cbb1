#include "app/session.h"

namespace morvanta::app {

Session::Session(platform::Platform platform)
    : Session(platform, database::ProgramFolder(platform.system)) {}

Session::Session(platform::Platform platform, std::string programFolder)
    : platform_(platform),
      programFolder_(std::move(programFolder)),
      quarantine_(platform_, programFolder_) {}

database::LoadResult Session::LoadDatabase() {
  return database_.LoadDatabase(platform_.files, ProgramFile(database::kDatabaseFileName));
}

std::string Session::DatabaseDate() { return database_.DatabaseDate(catalog_); }

inspect::InventorySources Session::InventorySources() const {
  inspect::InventorySources sources;
  sources.startupValues = lists_.startupValues;
  for (const auto& row : lists_.startupFolders) sources.startupFolderTargets.push_back(row.target);
  for (const auto& row : lists_.services.rows)
    if (row.IsComplete()) sources.serviceImagePaths.push_back(row.imagePath);
  if (!lists_.systemIni.notice)
    for (const auto& row : lists_.systemIni.rows) sources.systemIniLines.push_back(row.line);
  return sources;
}

}  // namespace morvanta::app
