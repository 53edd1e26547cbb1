// The language file's view of the windows: captions read from and written to the live
// controls through each window's component registry. Components of windows that do not
// show them on controls yet keep their texts in memory, so a file's lines stay in place.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "app/language_file.h"
#include "ui/component_registry.h"

namespace morvanta::ui {

class WindowTexts : public app::ComponentTexts {
 public:
  void Add(app::WindowId window, const ComponentRegistry& registry) {
    registries_.emplace_back(window, &registry);
  }

  std::string Caption(app::WindowId window, const app::Component& component) const override {
    if (const auto* entry = Find(window, component)) return entry->caption();
    return held_.Caption(window, component);
  }
  void SetCaption(app::WindowId window, const app::Component& component,
                  const std::string& text) override {
    if (const auto* entry = Find(window, component)) entry->setCaption(text);
    else held_.SetCaption(window, component, text);
  }

 private:
  const ComponentRegistry::Entry* Find(app::WindowId window, const app::Component& component) const {
    for (const auto& [id, registry] : registries_) {
      if (id != window) continue;
      for (const auto& entry : registry->Entries())
        if (entry.name == component.name) return &entry;
    }
    return nullptr;
  }

  std::vector<std::pair<app::WindowId, const ComponentRegistry*>> registries_;
  app::ComponentTextTable held_;
};

}  // namespace morvanta::ui
