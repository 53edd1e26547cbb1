// The catalogue of texts the program composes at run time: message boxes and their captions,
// progress lines, status bar hints, report labels. Indexes are fixed: language files address
// entries by position.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "common/messages.h"

namespace morvanta::common {

class MessageCatalog {
 public:
  static constexpr int kSize = 199;
  // Entries a language file may replace: 0 to kLanguageEntries - 1, except 169.
  static constexpr int kLanguageEntries = 180;

  // Filled with the built-in English texts.
  MessageCatalog() { FillDefaults(); }

  void FillDefaults();
  // The current text of an entry; an empty text for an index outside 0 to 198.
  const std::string& Text(int index) const;
  const std::string& Text(Msg entry) const { return Text(static_cast<int>(entry)); }
  // Replaces one entry (the language file step); indexes outside 0 to 198 are ignored.
  void Set(int index, std::string text);
  void Set(Msg entry, std::string text) { Set(static_cast<int>(entry), std::move(text)); }

  // The order of the entries in a language file's catalogue section (179 indexes), which
  // is also the order in which the defaults are assigned.
  static const std::vector<int>& LanguageFileOrder();

 private:
  std::array<std::string, kSize> texts_;
};

}  // namespace morvanta::common
