#include "app/language_setting.h"

namespace morvanta::app {

const char kLanguageOptionsKey[] = "Software\\Quorrin\\Morvanta Pro v4\\Options";
const char kLanguageValue[] = "Language";
const char kDefaultLanguage[] = "Default";

std::optional<std::string> ReadLanguageSetting(platform::Registry& registry) {
  platform::RegistryObject reg(registry);
  if (!reg.OpenKey(kLanguageOptionsKey, false)) return std::nullopt;
  return reg.ReadString(kLanguageValue);
}

bool WriteLanguageSetting(platform::Registry& registry, const std::string& name) {
  platform::RegistryObject reg(registry);
  return reg.OpenKey(kLanguageOptionsKey, true) && reg.WriteString(kLanguageValue, name);
}

std::string LanguageFilePath(const std::string& programFolder, const std::string& name) {
  return programFolder + kLanguageFolder + "\\" + name;
}

std::vector<std::string> ListLanguageFiles(platform::Files& files, const std::string& programFolder,
                                           const std::function<void()>& eachEntry) {
  std::vector<std::string> names;
  auto entries = files.List(programFolder + kLanguageFolder + "\\*" + kLanguageExtension);
  if (!entries) return names;
  for (const platform::DirEntry& entry : *entries) {
    if (!entry.IsDirectory()) names.push_back(entry.name);
    if (eachEntry) eachEntry();
  }
  return names;
}

std::optional<ApplyResult> ApplySavedLanguage(platform::Registry& registry,
                                              platform::Files& files,
                                              const std::string& programFolder,
                                              ComponentTexts& components,
                                              common::MessageCatalog& catalog) {
  const auto name = ReadLanguageSetting(registry);
  // "Default" is looked up like any other name; without such a file nothing changes.
  if (!name) return std::nullopt;
  return ApplyLanguageFile(files, LanguageFilePath(programFolder, *name), components, catalog);
}

}  // namespace morvanta::app
