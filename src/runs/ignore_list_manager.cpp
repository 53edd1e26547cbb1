#include "runs/ignore_list_manager.h"

namespace morvanta::runs {

using common::Msg;
using common::PromptKind;

IgnoreListManager::IgnoreListManager(app::Session& session, IgnoreListViews views)
    : session_(session), v_(views) {}

void IgnoreListManager::FormCreate() { session_.LoadIgnoreLists(); }

void IgnoreListManager::FormShow() {
  session_.LoadIgnoreLists();
  RebuildFiles();
  RebuildValues();
}

void IgnoreListManager::FormClose() { session_.SaveIgnoreLists(); }

void IgnoreListManager::RebuildFiles() {
  v_.files.Clear();
  const auto& files = session_.Ignore().files;
  for (size_t i = 0; i < files.size(); ++i) v_.files.AddRow(i, files[i].EntryPath, {}, false);
}

void IgnoreListManager::RebuildValues() {
  v_.registry.Clear();
  const auto& values = session_.Ignore().registry;
  for (size_t i = 0; i < values.size(); ++i) v_.registry.AddRow(i, values[i].DisplayLine(), {}, false);
}

std::optional<size_t> IgnoreListManager::DeleteCheckedFiles() {
  if (!v_.prompts.Ask({PromptKind::PlainQuestion, Msg::None, kDeleteFilesQuestion, kQuestionCaption}))
    return std::nullopt;
  const size_t removed = RemoveCheckedLines(session_.Ignore().files, v_.files);
  v_.prompts.Tell({PromptKind::Information, Msg::None, kFilesDeleted, kInformationCaption});
  return removed;
}

void IgnoreListManager::ClearFiles() {
  v_.files.Clear();
  session_.Ignore().files.clear();
}

void IgnoreListManager::CheckAllFiles(bool checked) {
  for (int row = 0; row < v_.files.RowCount(); ++row) v_.files.SetChecked(row, checked);
}

void IgnoreListManager::AddFolder(const std::optional<std::string>& chosen) {
  if (!chosen || chosen->empty()) return;
  session_.Ignore().files.push_back(remedy::TFileIgnoreList::Folder(*chosen));
  RebuildFiles();
}

std::optional<size_t> IgnoreListManager::DeleteCheckedValues() {
  if (!v_.prompts.Ask({PromptKind::PlainQuestion, Msg::None, kDeleteValuesQuestion, kQuestionCaption}))
    return std::nullopt;
  const size_t removed = RemoveCheckedLines(session_.Ignore().registry, v_.registry);
  v_.prompts.Tell({PromptKind::Information, Msg::None, kValuesDeleted, kInformationCaption});
  return removed;
}

void IgnoreListManager::ClearValues() {
  v_.registry.Clear();
  session_.Ignore().registry.clear();
}

void IgnoreListManager::CheckAllValues(bool checked) {
  for (int row = 0; row < v_.registry.RowCount(); ++row) v_.registry.SetChecked(row, checked);
}

}  // namespace morvanta::runs
