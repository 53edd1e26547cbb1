// The ignore lists below their window `TFormIG`: the file list's lines (`List1`) and the
// registry list's (`List2`), built from the session's lists in list order, and what the
// menu items do with them. A line's id is its entry's position, and every removal takes the
// same position out of both, so line and entry stay aligned.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "app/session.h"
#include "common/views.h"

namespace morvanta::runs {

// What the manager reaches of its window.
struct IgnoreListViews {
  common::CheckList& files;     // `List1`: one line per file entry, its `EntryPath`
  common::CheckList& registry;  // `List2`: root name, key and value name of each entry
  common::Prompts& prompts;
};

// The window's fixed texts (not catalogue entries).
inline constexpr char kDeleteFilesQuestion[] = "Do you wan't to delete checked files from ignore list?";
inline constexpr char kFilesDeleted[] = "Checked files sucessfully deleted from ignore list!";
inline constexpr char kDeleteValuesQuestion[] =
    "Do you wan't to delete checked registry values from ignore list?";
inline constexpr char kValuesDeleted[] = "Checked registry values sucessfully deleted from ignore list!";
inline constexpr char kQuestionCaption[] = "Question";
inline constexpr char kInformationCaption[] = "Information";

class IgnoreListManager {
 public:
  IgnoreListManager(app::Session& session, IgnoreListViews views);
  IgnoreListManager(const IgnoreListManager&) = delete;
  IgnoreListManager& operator=(const IgnoreListManager&) = delete;

  // `TFormIG_FormCreate`: loads both lists.
  void FormCreate();
  // `TFormIG_FormShow`: loads both lists again and rebuilds both check lists.
  void FormShow();
  // `TFormIG_FormClose`: saves both lists, changed or not.
  void FormClose();

  // "Delete file-s from ignore list": asks, then removes every checked line with its entry;
  // the number removed, or nothing when the answer was not Yes.
  std::optional<size_t> DeleteCheckedFiles();
  // "Clear file ignore list": at once, without a question.
  void ClearFiles();
  // "Check All" / "UnCheck All" of `List1`.
  void CheckAllFiles(bool checked);
  // "Add folder to ignore list" with the folder the chooser gave (nothing when cancelled):
  // appends its entry and rebuilds `List1`, every line unchecked.
  void AddFolder(const std::optional<std::string>& chosen);

  // The same for the registry list and `List2`.
  std::optional<size_t> DeleteCheckedValues();
  void ClearValues();
  void CheckAllValues(bool checked);

 private:
  void RebuildFiles();
  void RebuildValues();

  app::Session& session_;
  IgnoreListViews v_;
};

// Removes the entries of the checked lines, the first checked line from the top each time;
// the number removed. `list` and `lines` are aligned position by position.
template <typename List>
size_t RemoveCheckedLines(List& list, common::CheckList& lines) {
  size_t removed = 0;
  for (;;) {
    int first = -1;
    for (int row = 0; row < lines.RowCount(); ++row)
      if (lines.IsChecked(row)) {
        first = row;
        break;
      }
    if (first < 0) return removed;
    if (static_cast<size_t>(first) < list.size()) list.erase(list.begin() + first);
    lines.DeleteRow(first);
    ++removed;
  }
}

}  // namespace morvanta::runs
