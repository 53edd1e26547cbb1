// The threat database as the windows see it: loaded from "files.dat" in the program folder,
// its date line shown in the main window.
#pragma once

#include <string>

#include "common/message_catalog.h"
#include "database/threat_database.h"
#include "platform/platform.h"
#include "ui/application.h"

namespace morvanta::ui {

class DatabaseLink {
 public:
  DatabaseLink(platform::Platform p, common::MessageCatalog& catalog);

  const std::string& ProgramFolder() const { return programFolder_; }
  database::ThreatDatabase& Database() { return database_; }
  ApplicationServices Services();

 private:
  platform::Platform platform_;
  common::MessageCatalog& catalog_;
  std::string programFolder_;
  database::ThreatDatabase database_;
};

}  // namespace morvanta::ui
