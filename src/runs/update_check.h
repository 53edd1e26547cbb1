// The main window's update: the check behind "Update" and the one shortly after start, the
// list handler with its questions, and the database downloads (the missing pieces one after
// the other, or the whole file) with their progress, end and failure. The program upgrade
// itself runs in the upgrade window (program_upgrade.h). Every file comes with the maker's
// signature or is not used.
#pragma once

#include <cstdint>
#include <string>

#include "app/server_settings.h"
#include "app/session.h"
#include "common/ui_tasks.h"
#include "common/views.h"
#include "database/threat_database.h"
#include "update/http_get_component.h"

namespace morvanta::runs {

// What the update reaches of the main window besides its texts.
class UpdateWindow {
 public:
  virtual ~UpdateWindow() = default;
  virtual void SetMainEnabled(bool enabled) = 0;
  // "Scan for viruses" and "Update".
  virtual void SetUpdateButtonsEnabled(bool enabled) = 0;
  // Status panel 2 and the welcome label from the database date.
  virtual void RefreshDateTexts() = 0;
  // Shows the upgrade window with `label1` and starts its download of the new program.
  virtual void StartProgramUpgrade(const std::string& label1) = 0;
};

struct UpdateCheckViews {
  common::Prompts& prompts;
  common::TextLine& status0;  // status panel 0
  common::TextLine& status2;  // status panel 2: "Last Update: "
  common::TextLine& label2;   // the welcome label
  common::MessagePump& pump;
  UpdateWindow& window;
};

// Points a transfer at a file of the update server (from the settings file) and the local
// file in the program folder it is saved as.
void AimAtUpdateServer(update::THTTPGet& get, app::Session& session, const std::string& path,
                       const std::string& fileName);
void AimAtUpdateServer(update::THTTPGet& get, app::Session& session,
                       const app::UpdateServerSettings& server, const std::string& path,
                       const std::string& fileName);

// The connection message, its lines joined by CR.
std::string ConnectionMessageText();
inline constexpr char kConnectionErrorCaption[] = "Connection error";
inline constexpr char kDatabaseUpdatedCaption[] = "Morvanta Pro Info";

class UpdateCheck {
 public:
  UpdateCheck(app::Session& session, common::UiTasks& tasks, UpdateCheckViews views);

  // Starts fetching the list; returns at once. Nothing while the last list is still coming.
  void Start();
  // "Update": starts a check, then tells what the most recent completed check found.
  void UpdateClick();

  // The list and the database downloads.
  update::THTTPGet Get1;
  update::THTTPGet Get2;

 private:
  void ListDone(uint64_t size);
  void Get1Progress(uint64_t totalSize, uint64_t readed);
  void Get1DoneFile(uint64_t size);
  void Get1Error();
  // Saves what the pieces of this run merged, then tells the new date.
  void FinishPartialRun();
  void TellDatabaseUpdated(uint64_t size);
  void FetchIntoGet1(const std::string& path, const std::string& fileName);
  std::string Msg(common::Msg entry) const { return session_.Catalog().Text(entry); }

  app::Session& session_;
  UpdateCheckViews views_;
  app::UpdateServerSettings server_;  // as the settings file said when the check started
  // The partial run: its pieces are merged into a copy, which is saved once at its end.
  bool partialMode_ = false;
  uint64_t partial_ = 0;
  uint64_t lastPartial_ = 0;
  uint64_t piecesMerged_ = 0;
  uint64_t lastPieceSize_ = 0;
  bool partialRunBroken_ = false;
  database::ThreatDatabase merged_;
};

}  // namespace morvanta::runs
