// Input surface: a language file from the "Languages" folder, taken both as the unscrambled
// text and as the file's bytes. Whatever it holds, it changes no text it does not address,
// leaves everything as it was when it has no "begin():" line, and gives texts that the
// template writes back to a file reading as the same texts.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/language_file.h"

namespace {

using morvanta::app::ApplyResult;
using morvanta::app::ComponentTextTable;
using morvanta::common::MessageCatalog;

struct Texts {
  ComponentTextTable components;
  MessageCatalog catalog;
  std::vector<std::string> All() const {
    std::vector<std::string> all;
    for (auto window : morvanta::app::LanguageFileWindows())
      for (const auto& component : morvanta::app::ComponentsOf(window))
        // The components a file never addresses keep their own texts, line ends and all.
        if (std::string(component.hint) != "-1") all.push_back(components.Caption(window, component));
    for (int i = 0; i < MessageCatalog::kSize; ++i) all.push_back(catalog.Text(i));
    return all;
  }
};

void Check(const std::vector<uint8_t>& text) {
  Texts t;
  const auto before = t.All();
  const ApplyResult result = morvanta::app::ApplyLanguageText(text, t.components, t.catalog);
  const auto after = t.All();
  if (result != ApplyResult::Applied) {
    if (after != before) std::abort();
    return;
  }
  const MessageCatalog defaults;
  if (t.catalog.Text(169) != "") std::abort();
  for (int i = MessageCatalog::kLanguageEntries; i < MessageCatalog::kSize; ++i)
    if (t.catalog.Text(i) != defaults.Text(i)) std::abort();
  bool longest = false;
  for (const std::string& s : after) {
    if (s.size() > 255 || s.find('\r') != std::string::npos) std::abort();
    longest = longest || s.size() == 255;
  }
  // A text of 255 bytes is read without its CR, so its line end reads as one line more:
  // only shorter texts come back through the template.
  if (longest) return;
  std::string again = morvanta::app::LanguageTemplate(t.components, t.catalog) + "\r\n";
  Texts back = t;
  if (morvanta::app::ApplyLanguageText({again.begin(), again.end()}, back.components,
                                       back.catalog) != ApplyResult::Applied ||
      back.All() != after)
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  Check(bytes);
  Check(morvanta::app::UnpackLanguage(bytes));
  return 0;
}
