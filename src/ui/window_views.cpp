#include "ui/window_views.h"

#include "app/prompt_boxes.h"

namespace morvanta::ui {

void ListViewRows::Clear() {
  list_.Clear();
  disabled_.clear();
}

int ListViewRows::AddRow(common::RowId id, const std::string& caption,
                         const std::vector<std::string>& subItems, bool checked) {
  const int row = list_.AddItem(caption);
  list_.SetItemData(row, static_cast<LPARAM>(id));
  for (size_t i = 0; i < subItems.size(); ++i)
    list_.SetSubItemText(row, static_cast<int>(i) + 1, subItems[i]);
  if (checked) list_.SetChecked(row, true);
  return row;
}

common::RowId ListViewRows::IdAt(int row) const {
  return static_cast<common::RowId>(list_.ItemData(row));
}

void ListViewRows::SetChecked(int row, bool checked) {
  if (IsEnabled(row)) list_.SetChecked(row, checked);
}

void ListViewRows::SetEnabled(int row, bool enabled) {
  if (enabled)
    disabled_.erase(IdAt(row));
  else
    disabled_.insert(IdAt(row));
  ::InvalidateRect(list_.Handle(), nullptr, TRUE);
}

bool ListViewRows::IsEnabled(int row) const { return disabled_.count(IdAt(row)) == 0; }

void ListViewRows::DeleteRow(int row) {
  disabled_.erase(IdAt(row));
  list_.DeleteItem(row);
}

bool WindowPrompts::Ask(const common::Prompt& question) {
  platform::Message m = app::MessageBoxFor(question, catalog_);
  m.owner = owner_;
  return dialogs_.Show(m) == platform::MessageAnswer::Yes;
}

void WindowPrompts::Tell(const common::Prompt& notice) {
  platform::Message m = app::MessageBoxFor(notice, catalog_);
  m.owner = owner_;
  dialogs_.Show(m);
}

void WindowPump::ProcessPendingMessages() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(message.wParam));  // for the main loop to see
      return;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

}  // namespace morvanta::ui
