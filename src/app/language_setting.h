// The chosen language: the per-user setting, the files in the "Languages" folder, and the
// step at start that applies the saved one.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/language_file.h"
#include "platform/files.h"
#include "platform/registry.h"

namespace morvanta::app {

extern const char kLanguageOptionsKey[];  // Software\Quorrin\Morvanta Pro v4\Options
extern const char kLanguageValue[];       // "Language"
extern const char kDefaultLanguage[];     // "Default": the built-in texts

// The saved language's file name; nothing when the key or the value is missing. The key
// is not created.
std::optional<std::string> ReadLanguageSetting(platform::Registry& registry);
// Stores the language, creating the key when needed.
bool WriteLanguageSetting(platform::Registry& registry, const std::string& name);

// The language file of that name: `programFolder` (with its backslash) + "Languages\" + name.
std::string LanguageFilePath(const std::string& programFolder, const std::string& name);

// The names of the "*.vlng" entries in the language folder that are not folders, in the
// order the search returns them; `eachEntry` runs after each one (pending window messages).
// Empty when the folder is missing.
std::vector<std::string> ListLanguageFiles(platform::Files& files, const std::string& programFolder,
                                           const std::function<void()>& eachEntry = {});

// The start-up step: applies the saved language; nothing when none is saved. A missing or
// unreadable file and a file without its marker leave the texts as they are.
std::optional<ApplyResult> ApplySavedLanguage(platform::Registry& registry,
                                              platform::Files& files,
                                              const std::string& programFolder,
                                              ComponentTexts& components,
                                              common::MessageCatalog& catalog);

}  // namespace morvanta::app
