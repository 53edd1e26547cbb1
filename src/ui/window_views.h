// The window-facing interfaces over real controls: rows of a list view, a control's text,
// message boxes owned by a window, and the message pump of a long run.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "common/message_catalog.h"
#include "common/views.h"
#include "platform/dialogs.h"
#include "ui/controls.h"

namespace morvanta::ui {

// A list view's rows; each row keeps its id in the item's data word.
class ListViewRows : public common::CheckList {
 public:
  explicit ListViewRows(ListView& list) : list_(list) {}
  void Clear() override;
  int AddRow(common::RowId id, const std::string& caption, const std::vector<std::string>& subItems,
             bool checked) override;
  int RowCount() const override { return list_.ItemCount(); }
  common::RowId IdAt(int row) const override;
  bool IsChecked(int row) const override { return list_.IsChecked(row); }
  void SetChecked(int row, bool checked) override;
  std::string Caption(int row) const override { return list_.ItemText(row); }
  void SetCaption(int row, const std::string& caption) override { list_.SetSubItemText(row, 0, caption); }
  void SetEnabled(int row, bool enabled) override;
  void DeleteRow(int row) override;
  // A disabled row keeps its check state; the window draws it grey.
  bool IsEnabled(int row) const;

 private:
  ListView& list_;
  std::set<common::RowId> disabled_;
};

// The element a list view's item leads to through its data word, which holds the element's
// index + 1 (the list may sort its items); null for an item without one.
template <typename T>
T* ItemOf(const ListView& list, std::vector<T>& elements, int item) {
  if (item < 0 || item >= list.ItemCount()) return nullptr;
  const LPARAM data = list.ItemData(item);
  if (data < 1 || static_cast<size_t>(data) > elements.size()) return nullptr;
  return &elements[static_cast<size_t>(data - 1)];
}

// The lines of a multi-line text box.
class MemoLines : public common::LogLines {
 public:
  explicit MemoLines(Memo& memo) : memo_(memo) {}
  void AddLine(const std::string& line) override { memo_.AppendLine(line); }
  void Clear() override { memo_.Clear(); }

 private:
  Memo& memo_;
};

// A line of text shown by a control (a label, a status panel).
class ControlText : public common::TextLine {
 public:
  explicit ControlText(std::function<void(const std::string&)> set) : set_(std::move(set)) {}
  void SetText(const std::string& text) override { set_(text); }

 private:
  std::function<void(const std::string&)> set_;
};

// Message boxes owned by one window: the prompt's kind decides caption, icon and flags.
class WindowPrompts : public common::Prompts {
 public:
  WindowPrompts(platform::Dialogs& dialogs, const common::MessageCatalog& catalog)
      : dialogs_(dialogs), catalog_(catalog) {}
  void SetOwner(HWND owner) { owner_ = owner; }
  bool Ask(const common::Prompt& question) override;
  void Tell(const common::Prompt& notice) override;

 private:
  platform::Dialogs& dialogs_;
  const common::MessageCatalog& catalog_;
  HWND owner_ = nullptr;
};

// Dispatches whatever messages are waiting, so the windows stay alive during a long run.
class WindowPump : public common::MessagePump {
 public:
  void ProcessPendingMessages() override;
};

}  // namespace morvanta::ui
