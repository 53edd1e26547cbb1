#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "app/language_file.h"
#include "platform/fake/fake_platform.h"

namespace morvanta::app {
namespace {

using common::MessageCatalog;

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

// Every component that takes part, with its window, in the file's order.
struct Place {
  WindowId window;
  const Component* component;
};
std::vector<Place> Places() {
  std::vector<Place> places;
  for (WindowId w : LanguageFileWindows())
    for (const Component& c : ComponentsOf(w))
      if (std::string(c.hint) != "-1") places.push_back({w, &c});
  return places;
}

// The template with every line after the marker given a prefix: a translation whose every
// text differs from the default.
std::string Prefixed(const std::string& text, const std::string& prefix) {
  std::string out;
  size_t at = 0;
  bool first = true;
  while (at < text.size()) {
    size_t cr = text.find("\r\n", at);
    std::string line = text.substr(at, cr - at);
    out += (first ? line : prefix + line) + "\r\n";
    first = false;
    at = cr + 2;
  }
  return out;
}

// Texts and catalogue as a pair, compared whole.
struct Texts {
  ComponentTextTable components;
  MessageCatalog catalog;

  std::vector<std::string> All() const {
    std::vector<std::string> all;
    for (const Place& p : Places()) {
      all.push_back(components.Caption(p.window, *p.component));
      all.push_back(components.Hint(p.window, *p.component));
    }
    for (int i = 0; i < MessageCatalog::kSize; ++i) all.push_back(catalog.Text(i));
    return all;
  }
};

TEST(LanguageFileLayout, TheTemplateHoldsEveryCaptionThenTheCatalogue) {
  Texts t;
  const std::string text = LanguageTemplate(t.components, t.catalog);
  std::vector<std::string> lines;
  for (size_t at = 0; at < text.size();) {
    size_t cr = text.find("\r\n", at);
    ASSERT_NE(cr, std::string::npos) << "every line ends with CR LF";
    lines.push_back(text.substr(at, cr - at));
    at = cr + 2;
  }
  const auto places = Places();
  // Eight windows; the date label and the About labels (hint "-1") are not in the file.
  EXPECT_EQ(places.size(), 81u);
  EXPECT_EQ(ControlLineCount(t.components), places.size());
  ASSERT_EQ(lines.size(), 1 + places.size() + 179);
  EXPECT_EQ(lines[0], "begin():");
  EXPECT_EQ(lines[1], "Morvanta Pro - SE");
  EXPECT_EQ(lines[2], "Scan for viruses");
  for (size_t i = 0; i < places.size(); ++i)
    EXPECT_EQ(lines[1 + i], places[i].component->caption);
  const auto& order = MessageCatalog::LanguageFileOrder();
  for (size_t i = 0; i < order.size(); ++i)
    EXPECT_EQ(lines[1 + places.size() + i], t.catalog.Text(order[i])) << order[i];
  EXPECT_EQ(lines.back(), "Build log about");
  for (const std::string& line : lines) EXPECT_NE(line, "Last update: 13.7.2005");
}

TEST(LanguageFileLayout, HintLinesFollowTheirCaptionWhenAComponentShowsHints) {
  Texts t;
  t.components.SetShowsHint(WindowId::Chooser, "scanButton", true);
  const Component& scan = ComponentsOf(WindowId::Chooser)[1];
  t.components.SetHint(WindowId::Chooser, scan, "Starts the scan");
  const std::string text = LanguageTemplate(t.components, t.catalog);
  EXPECT_NE(text.find("\r\nScan for viruses\r\nStarts the scan\r\nFull report log\r\n"),
            std::string::npos);

  Texts other;
  other.components.SetShowsHint(WindowId::Chooser, "scanButton", true);
  std::string translated = text + "extra\r\n";
  translated.replace(translated.find("Starts the scan"), 15, "Startet die Suche");
  ASSERT_EQ(ApplyLanguageText(Bytes(translated), other.components, other.catalog),
            ApplyResult::Applied);
  EXPECT_EQ(other.components.Hint(WindowId::Chooser, scan), "Startet die Suche");
  EXPECT_EQ(other.catalog.Text(179), "Build log about");
}

TEST(LanguageFileApply, TemplatePackedAndReadBackRestoresTheTexts) {
  Texts original;
  const std::string text = LanguageTemplate(original.components, original.catalog);

  // A translation everywhere, then the template applied over it: the defaults are back,
  // except that the file's last line reads as the end.
  Texts t;
  ASSERT_EQ(ApplyLanguageText(Bytes(Prefixed(text, "X ") + "x\r\n"), t.components, t.catalog),
            ApplyResult::Applied);
  EXPECT_EQ(t.catalog.Text(0), "X Sending log...");
  EXPECT_EQ(t.catalog.Text(179), "X Build log about");
  EXPECT_EQ(t.components.Caption(WindowId::LogOptimizer, ComponentsOf(WindowId::LogOptimizer)[5]),
            "X Cancel");

  const std::vector<uint8_t> packed = PackLanguage(Bytes(text));
  EXPECT_NE(packed, Bytes(text));
  EXPECT_EQ(UnpackLanguage(packed), Bytes(text));
  ASSERT_EQ(ApplyLanguageText(UnpackLanguage(packed), t.components, t.catalog),
            ApplyResult::Applied);
  auto expected = original.All();
  auto got = t.All();
  ASSERT_EQ(got.size(), expected.size());
  EXPECT_EQ(t.catalog.Text(179), "_end");
  t.catalog.Set(179, original.catalog.Text(179));
  EXPECT_EQ(t.All(), expected);

  // One more line after the last text: everything comes back.
  Texts again;
  ApplyLanguageText(Bytes(Prefixed(text, "X ")), again.components, again.catalog);
  ASSERT_EQ(ApplyLanguageText(Bytes(text + "\r\n"), again.components, again.catalog),
            ApplyResult::Applied);
  EXPECT_EQ(again.All(), expected);
}

TEST(LanguageFileApply, TranslatedFileSetsOnlyWhatItAddresses) {
  Texts t;
  const std::string text = Prefixed(LanguageTemplate(t.components, t.catalog), "DE ") + "\r\n";
  ASSERT_EQ(ApplyLanguageText(Bytes(text), t.components, t.catalog), ApplyResult::Applied);
  for (const Place& p : Places())
    EXPECT_EQ(t.components.Caption(p.window, *p.component), std::string("DE ") + p.component->caption);
  MessageCatalog defaults;
  for (int i = 0; i < MessageCatalog::kSize; ++i) {
    if (i == 169 || i >= MessageCatalog::kLanguageEntries)
      EXPECT_EQ(t.catalog.Text(i), defaults.Text(i)) << i;  // no line addresses these
    else
      EXPECT_EQ(t.catalog.Text(i), "DE " + defaults.Text(i)) << i;
  }
  // Components whose hint is "-1" keep their texts and take no line.
  const Component& date = ComponentsOf(WindowId::Main)[1];
  EXPECT_EQ(t.components.Caption(WindowId::Main, date), "Last update: 13.7.2005");
  const Component& drives = ComponentsOf(WindowId::FullScan)[3];
  EXPECT_EQ(t.components.Caption(WindowId::FullScan, drives), "Scan drives ");
}

TEST(LanguageFileApply, HeaderLinesBeforeTheMarkerChangeNothing) {
  Texts plain, headed;
  const std::string text = Prefixed(LanguageTemplate(plain.components, plain.catalog), "T ");
  ApplyLanguageText(Bytes(text), plain.components, plain.catalog);
  const std::string header =
      "Deutsch\r\nTranslated by someone\r\n\r\nbegin(): \r\n" + std::string(300, 'h') + "\r\n";
  ASSERT_EQ(ApplyLanguageText(Bytes(header + text), headed.components, headed.catalog),
            ApplyResult::Applied);
  EXPECT_EQ(headed.All(), plain.All());
}

TEST(LanguageFileApply, AFileWithoutTheMarkerIsRefusedWhole) {
  std::mt19937 random(16);
  std::string noise(5000, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  for (size_t at = noise.find("begin():"); at != std::string::npos; at = noise.find("begin():"))
    noise[at] = 'B';
  const struct {
    const char* what;
    std::string text;
  } cases[] = {
      {"empty", ""},
      {"header only", "Deutsch\r\nSome text\r\n"},
      {"marker with a blank", "begin(): \r\nScan\r\n"},
      {"marker in other case", "Begin():\r\nScan\r\n"},
      {"marker inside a line", "xbegin():\r\nScan\r\n"},
      {"marker as the last line", "header\r\nbegin():\r\n"},
      {"marker without its line end", "header\r\nbegin():"},
      {"noise", noise},
  };
  for (const auto& c : cases) {
    Texts t;
    const auto before = t.All();
    EXPECT_EQ(ApplyLanguageText(Bytes(c.text), t.components, t.catalog), ApplyResult::NoMarker)
        << c.what;
    EXPECT_EQ(t.All(), before) << c.what;
  }
}

TEST(LanguageFileApply, AShortFileEndsInEndLines) {
  Texts t;
  ASSERT_EQ(ApplyLanguageText(Bytes("begin():\r\nEins\r\nZwei\r\nDrei\r\n"), t.components, t.catalog),
            ApplyResult::Applied);
  const auto places = Places();
  EXPECT_EQ(t.components.Caption(places[0].window, *places[0].component), "Eins");
  EXPECT_EQ(t.components.Caption(places[1].window, *places[1].component), "Zwei");
  // The last line of the data reads as the end, and so does everything after it.
  EXPECT_EQ(t.components.Caption(places[2].window, *places[2].component), "_end");
  EXPECT_EQ(t.components.Caption(places.back().window, *places.back().component), "_end");
  EXPECT_EQ(t.catalog.Text(0), "_end");
  EXPECT_EQ(t.catalog.Text(179), "_end");
  EXPECT_EQ(t.catalog.Text(169), "");
  EXPECT_EQ(t.catalog.Text(180), "Startup ");
}

TEST(LanguageFileApply, AnEmptiedCaptionShiftsTheNextApply) {
  Texts t;
  std::string text = LanguageTemplate(t.components, t.catalog);
  // The chooser's title emptied.
  const std::string title = "\r\nWelcome, Morvanta Pro\r\n";
  text.replace(text.find(title), title.size(), "\r\n\r\n");
  text += "\r\n";
  ASSERT_EQ(ApplyLanguageText(Bytes(text), t.components, t.catalog), ApplyResult::Applied);
  const auto& chooser = ComponentsOf(WindowId::Chooser);
  EXPECT_EQ(t.components.Caption(WindowId::Chooser, chooser[0]), "");
  EXPECT_EQ(t.components.Caption(WindowId::Chooser, chooser[1]), "Scan for viruses");
  EXPECT_EQ(t.catalog.Text(179), "Build log about");
  EXPECT_EQ(ControlLineCount(t.components), Places().size() - 1);

  // The same file again: the title takes no line now, so everything after it reads one
  // position earlier.
  ASSERT_EQ(ApplyLanguageText(Bytes(text), t.components, t.catalog), ApplyResult::Applied);
  EXPECT_EQ(t.components.Caption(WindowId::Chooser, chooser[0]), "");
  EXPECT_EQ(t.components.Caption(WindowId::Chooser, chooser[1]), "");
  EXPECT_EQ(t.components.Caption(WindowId::Chooser, chooser[2]), "Scan for viruses");
  EXPECT_EQ(t.catalog.Text(178), "Full report log");
  EXPECT_EQ(t.catalog.Text(179), "Welcome");
}

TEST(LanguageFileApply, LongLinesAreReadAsTheDatabaseReaderReadsThem) {
  const struct {
    size_t length;
    std::string first, second;
  } cases[] = {
      {254, std::string(254, 'a'), "next"},  // the longest line: whole
      // 255 bytes without CR: one line of them, then the CR LF leaves an empty line.
      {255, std::string(255, 'a'), ""},
      // Longer: cut into runs of 255; the remainder (with the CR) is the next line.
      {300, std::string(255, 'a'), std::string(45, 'a')},
  };
  for (const auto& c : cases) {
    Texts t;
    const std::string text =
        "begin():\r\n" + std::string(c.length, 'a') + "\r\nnext\r\nthird\r\nfourth\r\n";
    ASSERT_EQ(ApplyLanguageText(Bytes(text), t.components, t.catalog), ApplyResult::Applied);
    const auto places = Places();
    EXPECT_EQ(t.components.Caption(places[0].window, *places[0].component), c.first) << c.length;
    EXPECT_EQ(t.components.Caption(places[1].window, *places[1].component), c.second) << c.length;
  }
}

TEST(LanguageFileStorage, TemplateWrittenReadAndDamagedFiles) {
  platform::fake::FakePlatform machine;
  machine.files.MakeFolders("C:\\Morvanta\\Languages");
  Texts t;
  ASSERT_TRUE(WriteLanguageTemplate(machine.files, "C:\\Morvanta\\Default.txt", t.components,
                                    t.catalog));
  auto written = machine.files.ReadAll("C:\\Morvanta\\Default.txt");
  ASSERT_TRUE(written);
  EXPECT_EQ(*written, Bytes(LanguageTemplate(t.components, t.catalog)));
  EXPECT_FALSE(WriteLanguageTemplate(machine.files, "C:\\Missing\\Default.txt", t.components,
                                     t.catalog));

  // Packed as the program reads it.
  std::string translated = Prefixed(LanguageTemplate(t.components, t.catalog), "L ") + "\r\n";
  const auto packed = PackLanguage(Bytes(translated));
  machine.files.PutFile("C:\\Morvanta\\Languages\\L.vlng", std::string(packed.begin(), packed.end()));
  ASSERT_EQ(ApplyLanguageFile(machine.files, "C:\\Morvanta\\Languages\\L.vlng", t.components,
                              t.catalog),
            ApplyResult::Applied);
  EXPECT_EQ(t.catalog.Text(2), "L Error");

  Texts fresh;
  const auto before = fresh.All();
  EXPECT_EQ(ApplyLanguageFile(machine.files, "C:\\Morvanta\\Languages\\None.vlng",
                              fresh.components, fresh.catalog),
            ApplyResult::CannotRead);
  // The plain template is not a language file: unscrambled it is noise without a marker.
  EXPECT_EQ(ApplyLanguageFile(machine.files, "C:\\Morvanta\\Default.txt", fresh.components,
                              fresh.catalog),
            ApplyResult::NoMarker);
  EXPECT_EQ(fresh.All(), before);

  // Cut short anywhere, or with bytes flipped: refused, or applied as far as it reads;
  // never more than the texts it addresses.
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    std::vector<uint8_t> damaged = packed;
    damaged.resize(random() % (packed.size() + 1));
    if (!damaged.empty() && round % 2)
      for (int flips = 0; flips < 3; ++flips) damaged[random() % damaged.size()] ^= 0x5A;
    Texts d;
    const ApplyResult result = ApplyLanguageText(UnpackLanguage(damaged), d.components, d.catalog);
    EXPECT_NE(result, ApplyResult::CannotRead);
    EXPECT_EQ(d.catalog.Text(180), "Startup ");
    EXPECT_EQ(d.catalog.Text(169), "");
  }
}

}  // namespace
}  // namespace morvanta::app
