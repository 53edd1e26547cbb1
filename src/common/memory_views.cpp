#include "common/memory_views.h"

#include <algorithm>

namespace morvanta::common {

int MemoryCheckList::AddRow(RowId id, const std::string& caption,
                            const std::vector<std::string>& subItems, bool checked) {
  rows.push_back({id, caption, subItems, checked, true});
  return static_cast<int>(rows.size()) - 1;
}

void MemoryCheckList::SetChecked(int row, bool checked) {
  Row& r = rows.at(static_cast<size_t>(row));
  if (r.enabled) r.checked = checked;
}

void MemoryCheckList::SetCaption(int row, const std::string& caption) {
  rows.at(static_cast<size_t>(row)).caption = caption;
}

void MemoryCheckList::SetEnabled(int row, bool enabled) {
  rows.at(static_cast<size_t>(row)).enabled = enabled;
}

void MemoryCheckList::DeleteRow(int row) {
  rows.at(static_cast<size_t>(row));  // an index outside the list throws, as for the others
  rows.erase(rows.begin() + row);
}

std::vector<std::string> MemoryCheckList::Captions() const {
  std::vector<std::string> out;
  for (const Row& r : rows) out.push_back(r.caption);
  return out;
}

std::string MemoryCheckList::SubItem(int row, size_t index) const {
  const Row& r = rows.at(static_cast<size_t>(row));
  return index < r.subItems.size() ? r.subItems[index] : std::string();
}

bool ScriptedPrompts::Ask(const Prompt& question) {
  shown.push_back(question);
  if (answers_.empty()) return defaultAnswer_;
  const bool answer = answers_.front();
  answers_.pop_front();
  return answer;
}

std::vector<std::string> ScriptedPrompts::Texts() const {
  std::vector<std::string> out;
  for (const Prompt& p : shown) out.push_back(p.text);
  return out;
}

size_t ScriptedPrompts::CountOf(Msg entry) const {
  return static_cast<size_t>(
      std::count_if(shown.begin(), shown.end(), [entry](const Prompt& p) { return p.entry == entry; }));
}

}  // namespace morvanta::common
