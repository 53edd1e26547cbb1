#include "app/language_file.h"

#include "database/scramble.h"
#include "database/threat_database.h"

namespace morvanta::app {
namespace {

bool TakesPart(const Component& component) {
  // Every class of the table takes part; a hint of "-1" keeps the component out.
  return std::string(component.hint) != "-1";
}

// Calls `line(window, component, isHint)` for every control line the current texts give,
// in the file's order.
template <typename F>
void ForEachControlLine(const ComponentTexts& components, F&& line) {
  for (WindowId window : LanguageFileWindows()) {
    for (const Component& component : ComponentsOf(window)) {
      if (!TakesPart(component)) continue;
      // Judged on the texts at this moment.
      if (!components.Caption(window, component).empty()) line(window, component, false);
      if (components.ShowsHint(window, component)) line(window, component, true);
    }
  }
}

}  // namespace

const ComponentTextTable::Texts* ComponentTextTable::Find(WindowId window,
                                                          const Component& component) const {
  auto it = changed_.find({window, component.name});
  return it == changed_.end() ? nullptr : &it->second;
}

ComponentTextTable::Texts& ComponentTextTable::Entry(WindowId window, const Component& component) {
  auto [it, added] = changed_.try_emplace({window, component.name});
  if (added) it->second.caption = component.caption;
  return it->second;
}

std::string ComponentTextTable::Caption(WindowId window, const Component& component) const {
  const Texts* texts = Find(window, component);
  return texts ? texts->caption : component.caption;
}

void ComponentTextTable::SetCaption(WindowId window, const Component& component,
                                    const std::string& text) {
  Entry(window, component).caption = text;
}

bool ComponentTextTable::ShowsHint(WindowId window, const Component& component) const {
  const Texts* texts = Find(window, component);
  return texts && texts->showsHint;
}

std::string ComponentTextTable::Hint(WindowId window, const Component& component) const {
  const Texts* texts = Find(window, component);
  return texts ? texts->hint : component.hint;
}

void ComponentTextTable::SetHint(WindowId window, const Component& component,
                                 const std::string& text) {
  Entry(window, component).hint = text;
}

void ComponentTextTable::SetShowsHint(WindowId window, const std::string& name, bool shows) {
  for (const Component& component : ComponentsOf(window))
    if (name == component.name) Entry(window, component).showsHint = shows;
}

ApplyResult ApplyLanguageText(const std::vector<uint8_t>& text, ComponentTexts& components,
                              common::MessageCatalog& catalog) {
  database::ThreatDatabase reader;
  reader.SetText(text);
  // The marker must be found before the data ends; the reader would otherwise return the
  // end line for ever and every text would become it.
  for (;;) {
    if (reader.Position() >= reader.Size()) return ApplyResult::NoMarker;
    if (reader.ReadDatabaseLine() == kLanguageMarker) break;
  }
  for (WindowId window : LanguageFileWindows()) {
    for (const Component& component : ComponentsOf(window)) {
      if (!TakesPart(component)) continue;
      if (!components.Caption(window, component).empty())
        components.SetCaption(window, component, reader.ReadDatabaseLine());
      if (components.ShowsHint(window, component))
        components.SetHint(window, component, reader.ReadDatabaseLine());
    }
  }
  for (int index : common::MessageCatalog::LanguageFileOrder())
    catalog.Set(index, reader.ReadDatabaseLine());
  return ApplyResult::Applied;
}

ApplyResult ApplyLanguageFile(platform::Files& files, const std::string& path,
                              ComponentTexts& components, common::MessageCatalog& catalog) {
  auto bytes = files.ReadAll(path);
  if (!bytes) return ApplyResult::CannotRead;
  return ApplyLanguageText(UnpackLanguage(*bytes), components, catalog);
}

std::string LanguageTemplate(const ComponentTexts& components,
                             const common::MessageCatalog& catalog) {
  std::string out = std::string(kLanguageMarker) + "\r\n";
  ForEachControlLine(components, [&](WindowId window, const Component& component, bool isHint) {
    out += isHint ? components.Hint(window, component) : components.Caption(window, component);
    out += "\r\n";
  });
  for (int index : common::MessageCatalog::LanguageFileOrder()) {
    out += catalog.Text(index);
    out += "\r\n";
  }
  return out;
}

bool WriteLanguageTemplate(platform::Files& files, const std::string& path,
                           const ComponentTexts& components,
                           const common::MessageCatalog& catalog) {
  return files.WriteAll(path, LanguageTemplate(components, catalog));
}

std::vector<uint8_t> PackLanguage(const std::vector<uint8_t>& plain) {
  std::vector<uint8_t> out(plain.size());
  database::ScrambleBytes(plain.data(), plain.size(), out.data(), database::kScrambleKey,
                          plain.size());
  return out;
}

std::vector<uint8_t> UnpackLanguage(const std::vector<uint8_t>& packed) {
  std::vector<uint8_t> out(packed.size());
  database::UnscrambleBytes(packed.data(), packed.size(), out.data(), database::kScrambleKey,
                            packed.size());
  return out;
}

size_t ControlLineCount(const ComponentTexts& components) {
  size_t count = 0;
  ForEachControlLine(components, [&](WindowId, const Component&, bool) { ++count; });
  return count;
}

LanguageTextShape InspectLanguageText(const std::vector<uint8_t>& text) {
  LanguageTextShape shape;
  database::ThreatDatabase reader;
  reader.SetText(text);
  while (reader.Position() < reader.Size()) {
    const std::string line = reader.ReadDatabaseLine();
    // A line that reaches the end reads as the end line whatever it holds.
    if (reader.Position() >= reader.Size()) break;
    if (shape.hasMarker) ++shape.texts;
    else shape.hasMarker = line == kLanguageMarker;
  }
  return shape;
}

size_t ExpectedLanguageTexts() {
  return ControlLineCount(ComponentTextTable{}) + common::MessageCatalog::LanguageFileOrder().size();
}

}  // namespace morvanta::app
