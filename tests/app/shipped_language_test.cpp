// The translation that ships in "Languages": packed by the build from its plain source, it
// loads completely with the program's reader.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/language_file.h"
#include "shipped_languages.h"

namespace morvanta::app {
namespace {

std::vector<uint8_t> ReadBytes(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The source's lines after "begin():".
std::vector<std::string> TextsOf(const std::vector<uint8_t>& source) {
  const std::string all(source.begin(), source.end());
  std::vector<std::string> lines;
  bool started = false;
  for (size_t at = 0; at < all.size();) {
    const size_t cr = all.find("\r\n", at);
    if (cr == std::string::npos) break;
    std::string line = all.substr(at, cr - at);
    if (started) lines.push_back(line);
    started = started || line == kLanguageMarker;
    at = cr + 2;
  }
  return lines;
}

TEST(ShippedLanguage, GermanLoadsEveryCaptionAndAllCatalogueLines) {
  const auto packed = ReadBytes(kShippedGermanVlng);
  const auto source = ReadBytes(kShippedGermanSource);
  ASSERT_FALSE(packed.empty()) << kShippedGermanVlng;
  ASSERT_FALSE(source.empty()) << kShippedGermanSource;
  EXPECT_EQ(UnpackLanguage(packed), source);

  const auto shape = InspectLanguageText(UnpackLanguage(packed));
  EXPECT_TRUE(shape.hasMarker);
  EXPECT_GE(shape.texts, ExpectedLanguageTexts());

  ComponentTextTable components;
  common::MessageCatalog catalog;
  const common::MessageCatalog english;
  ASSERT_EQ(ApplyLanguageText(UnpackLanguage(packed), components, catalog), ApplyResult::Applied);

  // Every text comes from its line of the source, none is cut or left at the end line, and
  // nearly all differ from the English ones.
  const auto lines = TextsOf(source);
  ASSERT_GT(lines.size(), ExpectedLanguageTexts());
  size_t line = 0, translated = 0, texts = 0;
  for (WindowId window : LanguageFileWindows()) {
    for (const Component& component : ComponentsOf(window)) {
      const std::string caption = components.Caption(window, component);
      if (std::string(component.hint) == "-1") {
        EXPECT_EQ(caption, component.caption);
        continue;
      }
      SCOPED_TRACE(component.name);
      EXPECT_EQ(caption, lines[line++]);
      EXPECT_FALSE(caption.empty());
      ++texts;
      translated += caption != component.caption;
    }
  }
  EXPECT_EQ(line, ControlLineCount(ComponentTextTable{}));
  for (int index : common::MessageCatalog::LanguageFileOrder()) {
    SCOPED_TRACE(index);
    const std::string& text = catalog.Text(index);
    EXPECT_EQ(text, lines[line++]);
    EXPECT_NE(text, "_end");
    // Reserved slots stay empty; every other entry has a text.
    EXPECT_EQ(text.empty(), english.Text(index).empty());
    if (!english.Text(index).empty()) {
      ++texts;
      translated += text != english.Text(index);
    }
  }
  EXPECT_EQ(catalog.Text(179), "Bericht umfasst");
  EXPECT_EQ(catalog.Text(35), "Reinigung...[%f Sek.]");
  EXPECT_EQ(catalog.Text(180), english.Text(180));
  // Names such as "Details", "System.ini:" and "Information" are the same in German.
  EXPECT_GE(translated, texts - 12) << translated << " of " << texts;
}

}  // namespace
}  // namespace morvanta::app
