// The upgrade window's part: the new program fetched (signed by the maker, or not used)
// with its progress, then started as "kavup.exe" while this program ends; closing the
// window first asks whether to abort.
#pragma once

#include <cstdint>
#include <string>

#include "app/session.h"
#include "common/ui_tasks.h"
#include "common/views.h"
#include "update/http_get_component.h"

namespace morvanta::runs {

// The bar's position from 0 to 100: how many times TotalSize div 100 must be added to
// itself to reach the bytes read, except that exactly one step gives 1. Below 100 bytes in
// all (no whole step) it is the share read in percent.
int UpgradeBarPosition(uint64_t totalSize, uint64_t readed);

class UpgradeWindow {
 public:
  virtual ~UpgradeWindow() = default;
  virtual void SetBarPosition(int position) = 0;
  virtual void SetMainEnabled(bool enabled) = 0;
  virtual void CloseWindow() = 0;
  // Ends the program at once with `exitCode`.
  virtual void EndProgram(int exitCode) = 0;
};

struct ProgramUpgradeViews {
  common::Prompts& prompts;
  common::TextLine& label2;
  common::MessagePump& pump;
  UpgradeWindow& window;
};

class ProgramUpgrade {
 public:
  ProgramUpgrade(app::Session& session, common::UiTasks& tasks, ProgramUpgradeViews views);

  // Starts fetching the new program into "kavup.exe"; returns at once.
  void Start();
  // "Cancel" or the window frame: true when the window may close (the user said Yes and
  // the download was cancelled).
  bool CloseQuery();

  update::THTTPGet Get1;

 private:
  void Progress(uint64_t totalSize, uint64_t readed);
  void Done(uint64_t size);
  std::string Msg(common::Msg entry) const { return session_.Catalog().Text(entry); }

  app::Session& session_;
  ProgramUpgradeViews views_;
};

}  // namespace morvanta::runs
