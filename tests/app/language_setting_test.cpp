#include <gtest/gtest.h>

#include <algorithm>

#include "app/language_setting.h"
#include "platform/fake/fake_platform.h"

namespace morvanta::app {
namespace {

using platform::RegRoot;
using platform::RegValue;

constexpr char kFolder[] = "C:\\Morvanta\\";

std::string Packed(const std::string& plain) {
  const auto bytes = PackLanguage({plain.begin(), plain.end()});
  return {bytes.begin(), bytes.end()};
}

TEST(LanguageSetting, AbsentStoredAndWrongTyped) {
  platform::fake::FakePlatform machine;
  EXPECT_EQ(ReadLanguageSetting(machine.registry), std::nullopt);
  // Reading never creates the key.
  EXPECT_FALSE(machine.Get().registry.OpenKey(RegRoot::CurrentUser, kLanguageOptionsKey));

  auto key = machine.registry.CreateKey(RegRoot::CurrentUser, kLanguageOptionsKey);
  EXPECT_EQ(ReadLanguageSetting(machine.registry), std::nullopt);  // value missing
  key->WriteValue("Language", RegValue::FromDword(1));
  EXPECT_EQ(ReadLanguageSetting(machine.registry), std::nullopt);  // not a text

  ASSERT_TRUE(WriteLanguageSetting(machine.registry, "Deutsch.vlng"));
  EXPECT_EQ(ReadLanguageSetting(machine.registry), "Deutsch.vlng");
  auto stored = machine.Get().registry.OpenKey(RegRoot::CurrentUser,
                                         "software\\quorrin\\morvanta pro v4\\options");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->ReadValue("Language")->AsText(), "Deutsch.vlng");
  ASSERT_TRUE(WriteLanguageSetting(machine.registry, kDefaultLanguage));
  EXPECT_EQ(ReadLanguageSetting(machine.registry), "Default");
}

TEST(LanguageSetting, TheFolderListsItsLanguageFilesOnly) {
  platform::fake::FakePlatform machine;
  int pumped = 0;
  EXPECT_TRUE(ListLanguageFiles(machine.files, kFolder, [&] { ++pumped; }).empty());

  machine.files.MakeFolders("C:\\Morvanta\\Languages\\Old.vlng");  // a folder: not listed
  machine.files.PutFile("C:\\Morvanta\\Languages\\Deutsch.vlng", "x");
  machine.files.PutFile("C:\\Morvanta\\Languages\\Espanol.vlng", "x");
  machine.files.PutFile("C:\\Morvanta\\Languages\\Deutsch.txt", "x");
  machine.files.PutFile("C:\\Morvanta\\Deutsch.vlng", "x");
  auto names = ListLanguageFiles(machine.files, kFolder, [&] { ++pumped; });
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Deutsch.vlng", "Espanol.vlng"}));
  EXPECT_EQ(pumped, 3);  // once after every entry found
  EXPECT_EQ(LanguageFilePath(kFolder, "Deutsch.vlng"), "C:\\Morvanta\\Languages\\Deutsch.vlng");
}

TEST(LanguageSetting, StartUpAppliesTheSavedLanguageOrLeavesTheTexts) {
  ComponentTextTable design;
  const common::MessageCatalog english;
  std::string text = LanguageTemplate(design, english);
  text.replace(text.find("\r\nSending log...\r\n"), 18, "\r\nProtokoll wird gesendet...\r\n");

  const struct {
    const char* setting;  // nullptr: nothing saved
    std::optional<ApplyResult> result;
    const char* entry0;
  } cases[] = {
      {nullptr, std::nullopt, "Sending log..."},
      {"Deutsch.vlng", ApplyResult::Applied, "Protokoll wird gesendet..."},
      {"Default", ApplyResult::CannotRead, "Sending log..."},
      {"Missing.vlng", ApplyResult::CannotRead, "Sending log..."},
      {"Broken.vlng", ApplyResult::NoMarker, "Sending log..."},
  };
  for (const auto& c : cases) {
    platform::fake::FakePlatform run;
    run.files.PutFile("C:\\Morvanta\\Languages\\Deutsch.vlng", Packed(text + "\r\n"));
    run.files.PutFile("C:\\Morvanta\\Languages\\Broken.vlng", Packed("no marker\r\n"));
    if (c.setting) WriteLanguageSetting(run.registry, c.setting);
    ComponentTextTable components;
    common::MessageCatalog catalog;
    EXPECT_EQ(ApplySavedLanguage(run.registry, run.files, kFolder, components, catalog), c.result)
        << (c.setting ? c.setting : "none");
    EXPECT_EQ(catalog.Text(0), c.entry0);
    EXPECT_EQ(catalog.Text(179), "Build log about");
  }
}

}  // namespace
}  // namespace morvanta::app
