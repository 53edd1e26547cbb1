// The components of a window whose captions a language file replaces, by name in the
// window's component order: a caption can be read and set without knowing the control.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/controls.h"

namespace morvanta::ui {

class ComponentRegistry {
 public:
  struct Entry {
    std::string name;
    std::function<std::string()> caption;
    std::function<void(const std::string&)> setCaption;
  };

  void Add(const std::string& name, Control& control) {
    entries_.push_back({name, [&control] { return control.Text(); },
                        [&control](const std::string& text) { control.SetText(text); }});
  }
  void Add(const std::string& name, PopupMenu& menu, int command) {
    entries_.push_back({name, [&menu, command] { return menu.ItemText(command); },
                        [&menu, command](const std::string& text) { menu.SetItemText(command, text); }});
  }
  const std::vector<Entry>& Entries() const { return entries_; }

 private:
  std::vector<Entry> entries_;
};

}  // namespace morvanta::ui
