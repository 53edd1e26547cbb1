// The Quarantine Manager below its window: the rows of the quarantine's entries, and what the
// buttons do with the ticked ones (restore them to where they came from, remove them), with
// the whole quarantine (clear it) and with a file the user picks (add it).
//
// A row carries its entry as it was read for the row, and an action takes the index file as
// it is now: another program (the console's quarantine commands, another copy of this one)
// may have changed it since. An action touches an entry only while it is still the first one
// of its path, exactly as the row showed it; otherwise the row is marked as failed, so that
// nothing ever restores or deletes a file the row did not stand for.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/session.h"
#include "common/views.h"
#include "remedy/quarantine_index.h"

namespace morvanta::runs {

// What the manager reaches of its window.
struct QuarantineManagerViews {
  common::CheckList& rows;  // `List1`: caption the source path, then the task and the date
  common::TextLine& status;  // `Bar1`
  common::Prompts& prompts;
  common::MessagePump& pump;
};

// What a restore or a removal did.
struct QuarantineRun {
  bool confirmed = false;  // Yes to the question
  size_t done = 0;         // ticked rows restored or removed
  size_t failed = 0;       // ticked rows marked as failed
};

enum class AddOutcome {
  Nothing,  // no file chosen, or none there
  AlreadyInQuarantine,
  Added,
  Failed,
};

// The task name of a file added by hand.
inline constexpr char kHandAddedTask[] = "Unknown";

class QuarantineManager {
 public:
  QuarantineManager(app::Session& session, QuarantineManagerViews views);
  QuarantineManager(const QuarantineManager&) = delete;
  QuarantineManager& operator=(const QuarantineManager&) = delete;

  // `TForm9_RefreshList`: reads the index file and shows one ticked row per entry, in
  // index order; no rows when there is no index file or it cannot be read.
  void RefreshList();
  // "Restore selected tasks": asks, then puts each ticked row's file back into the folder
  // it came from; each row tells how it went, a summary at the end.
  QuarantineRun RestoreSelectedTasks();
  // "Remove Task": asks, then drops each ticked row's entry with its stored copy, saves the
  // index; each row tells how it went, a summary at the end.
  QuarantineRun RemoveSelectedTasks();
  // "Clear Quarantine": asks, then deletes every entry's stored copy and the index file.
  // False when the answer was No.
  bool ClearQuarantine();
  // "Add Task" with the file the dialog gave (nothing when the user cancelled).
  AddOutcome AddTask(const std::optional<std::string>& chosen);

  // A restore, removal or addition is under way: the buttons wait for it.
  bool Running() const { return running_; }
  // The entry a row was made for; null for a row the manager did not add.
  const remedy::TQFileList* EntryOf(int row) const;

 private:
  class RunGuard;

  void Reload();
  bool TakeIndexFile();
  bool IsFirstOfItsPath(const remedy::TQFileList& entry) const;
  bool Ask(common::PromptKind kind, common::Msg entry);
  void Tell(common::PromptKind kind, common::Msg entry);

  app::Session& session_;
  QuarantineManagerViews v_;
  // The entries the rows were made for; a row's id is its entry's place here.
  std::vector<remedy::TQFileList> shown_;
  bool running_ = false;
};

}  // namespace morvanta::runs
