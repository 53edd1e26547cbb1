#include "runs/quarantine_manager.h"

#include <string_view>

#include "platform/text.h"

namespace morvanta::runs {

using common::Msg;
using common::PromptKind;
using remedy::TQFileList;

// Marks a run as under way for as long as it lasts: the window's messages are served during
// it, and a click there must not start another one over the same rows.
class QuarantineManager::RunGuard {
 public:
  explicit RunGuard(bool& running) : running_(running) { running_ = true; }
  ~RunGuard() { running_ = false; }
  RunGuard(const RunGuard&) = delete;
  RunGuard& operator=(const RunGuard&) = delete;

 private:
  bool& running_;
};

QuarantineManager::QuarantineManager(app::Session& session, QuarantineManagerViews views)
    : session_(session), v_(views) {}

const TQFileList* QuarantineManager::EntryOf(int row) const {
  if (row < 0 || row >= v_.rows.RowCount()) return nullptr;
  const common::RowId id = v_.rows.IdAt(row);
  return id < shown_.size() ? &shown_[id] : nullptr;
}

void QuarantineManager::RefreshList() {
  if (!running_) Reload();
}

void QuarantineManager::Reload() {
  // A missing file empties the index too: the entries it had are gone from the disk.
  session_.Quarantine().LoadQuarantineIndex();
  v_.rows.Clear();
  shown_ = session_.Quarantine().Index();
  for (size_t i = 0; i < shown_.size(); ++i)
    v_.rows.AddRow(i, shown_[i].SourcePath, {shown_[i].TaskName, shown_[i].AddedAt}, true);
}

bool QuarantineManager::TakeIndexFile() {
  auto& files = session_.Platform().files;
  auto& store = session_.Quarantine();
  const auto bytes = files.ReadAll(store.IndexFile());
  if (!bytes) {
    // A file that is there but cannot be read (another program writing it) must not be
    // saved over with what the store had.
    if (files.Exists(store.IndexFile())) return false;
    if (!store.Index().empty()) store.LoadQuarantineIndex();  // no file: no entries
    return true;
  }
  const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
  if (store.Loaded() && remedy::ParseQuarantineIndex(text) == store.Index()) return true;
  return store.LoadQuarantineIndex();
}

// The store finds an entry by its path, taking the first one of that path in any letter
// case: the row's entry is acted on only while that is the very entry the row showed. With
// the file unchanged since the rows were made this holds for every ticked row, and row i
// meets index entry i minus the entries taken out before it.
bool QuarantineManager::IsFirstOfItsPath(const TQFileList& entry) const {
  for (const TQFileList& indexed : session_.Quarantine().Index())
    if (platform::EqualsNoCase(indexed.SourcePath, entry.SourcePath)) return indexed == entry;
  return false;
}

QuarantineRun QuarantineManager::RestoreSelectedTasks() {
  QuarantineRun run;
  if (running_) return run;
  RunGuard guard(running_);
  if (!Ask(PromptKind::Question, Msg::RestoreQuestion)) return run;
  run.confirmed = true;
  const auto& catalog = session_.Catalog();
  const bool readable = TakeIndexFile();
  for (int row = 0; row < v_.rows.RowCount(); ++row) {
    if (!v_.rows.IsChecked(row)) continue;
    v_.rows.SetCaption(row, catalog.Text(Msg::RestoringDots));
    const TQFileList* shown = EntryOf(row);
    const TQFileList entry = shown ? *shown : TQFileList{};
    v_.status.SetText(catalog.Text(Msg::Restoring) + entry.SourcePath);
    v_.pump.ProcessPendingMessages();
    const bool restored =
        readable && shown && IsFirstOfItsPath(entry) &&
        session_.Quarantine().RestoreFromQuarantine(
            entry.SourcePath, platform::FolderPart(entry.SourcePath), &v_.pump);
    v_.rows.SetCaption(row, catalog.Text(restored ? Msg::FileRestored : Msg::CannotRestoreFile));
    ++(restored ? run.done : run.failed);
  }
  Tell(PromptKind::UrgentInformation, Msg::TasksRestored);
  return run;
}

QuarantineRun QuarantineManager::RemoveSelectedTasks() {
  QuarantineRun run;
  if (running_) return run;
  RunGuard guard(running_);
  if (!Ask(PromptKind::PlainQuestion, Msg::DeleteTasksQuestion)) return run;
  run.confirmed = true;
  const auto& catalog = session_.Catalog();
  auto& store = session_.Quarantine();
  const bool readable = TakeIndexFile();
  bool dropped = false;
  for (int row = 0; row < v_.rows.RowCount(); ++row) {
    if (!v_.rows.IsChecked(row)) continue;
    v_.rows.SetCaption(row, catalog.Text(Msg::DeletingStatus));
    const TQFileList* shown = EntryOf(row);
    const TQFileList entry = shown ? *shown : TQFileList{};
    v_.status.SetText(catalog.Text(Msg::Deleting) + entry.SourcePath);
    v_.pump.ProcessPendingMessages();
    bool removed = false;
    if (readable && shown && IsFirstOfItsPath(entry)) {
      // The entry leaves the index even when its stored copy stays.
      removed = store.RemoveFromQuarantine(entry.SourcePath);
      dropped = true;
    }
    v_.rows.SetCaption(row, catalog.Text(removed ? Msg::TaskRemoved : Msg::CannotRemoveTask));
    ++(removed ? run.done : run.failed);
  }
  // An index nothing was taken out of is not written: another program may be writing it.
  if (dropped) store.SaveQuarantineIndex();
  Tell(PromptKind::UrgentInformation, Msg::TasksRemoved);
  return run;
}

bool QuarantineManager::ClearQuarantine() {
  if (running_) return false;
  RunGuard guard(running_);
  if (!Ask(PromptKind::PlainQuestion, Msg::ClearQuarantineQuestion)) return false;
  v_.rows.Clear();
  shown_.clear();
  // Every entry the file has now goes, not only those the rows showed; failures to delete
  // a copy are passed over.
  TakeIndexFile();
  session_.Quarantine().ClearQuarantine();
  Tell(PromptKind::Plain, Msg::QuarantineCleared);
  return true;
}

AddOutcome QuarantineManager::AddTask(const std::optional<std::string>& chosen) {
  if (running_ || !chosen || !session_.Platform().files.FileExists(*chosen))
    return AddOutcome::Nothing;
  RunGuard guard(running_);
  auto& store = session_.Quarantine();
  // An index file that cannot be read now is not saved over with an entry added.
  const bool readable = TakeIndexFile();
  if (readable && store.IsInQuarantine(*chosen)) {
    Tell(PromptKind::Plain, Msg::AlreadyInQuarantine);
    return AddOutcome::AlreadyInQuarantine;
  }
  if (!readable || !store.AddToQuarantine(*chosen, kHandAddedTask, "", &v_.pump)) {
    Tell(PromptKind::Plain, Msg::CannotAddToQuarantine);
    return AddOutcome::Failed;
  }
  Tell(PromptKind::Plain, Msg::FileAddedToQuarantine);
  Reload();
  return AddOutcome::Added;
}

bool QuarantineManager::Ask(PromptKind kind, Msg entry) {
  return v_.prompts.Ask({kind, entry, session_.Catalog().Text(entry)});
}

void QuarantineManager::Tell(PromptKind kind, Msg entry) {
  v_.prompts.Tell({kind, entry, session_.Catalog().Text(entry)});
}

}  // namespace morvanta::runs
