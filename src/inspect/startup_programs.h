// The startup programs of the tool window's first tab: the eight Run/RunServices places
// and their "_Bak" twins that hold disabled values, and the two Startup folders.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/text.h"

namespace morvanta::inspect {

// "HKCU", "HKCU_B", "HKCU_S", "HKCU_S_B", "HKLM", ... in the order the list loads them.
const std::array<const char*, 8>& RegistryPlaceCodes();
// "CU", "LM".
const std::array<const char*, 2>& FolderPlaceCodes();

// Current user for a code containing "HKCU" (or the folder code "CU"), else local machine.
platform::RegRoot RootOfCode(const std::string& code);
// The key the code's entries live in: the live or disabled twin of Run or RunServices.
std::string KeyOfCode(const std::string& code);
bool IsDisabledCode(const std::string& code);

// The program file named by a command line, lower-cased: for the icon and the properties.
std::string DerivedProgramPath(const std::string& command);

using platform::TrimControls;

struct StartupRegEntry {
  std::string name;
  std::string command;  // the data as stored
  std::string code;
  std::string programPath;
  bool enabled = false;  // found in the live key
};

struct StartupFolderEntry {
  std::string fileName;
  std::string target;  // the shortcut's target, or the file's own path
  std::string code;
  std::string fullPath;
};

// The values of one place in registry order. Values that are not text are passed over:
// Windows starts nothing from them, and moving them as text would change their type.
std::vector<StartupRegEntry> LoadFromReg(platform::Registry& registry, const std::string& code);
// All eight places in load order.
std::vector<StartupRegEntry> LoadAllFromReg(platform::Registry& registry);

// The entries of one Startup folder in listing order.
std::vector<StartupFolderEntry> LoadFromDir(platform::Platform platform, const std::string& code);
std::vector<StartupFolderEntry> LoadAllFromDirs(platform::Platform platform);

enum class ChangeResult {
  Done,
  // The value is no longer what the row shows where the row says it lives (changed or
  // deleted since the list was loaded): nothing was changed; the list wants reloading.
  Stale,
  // The target key did not open or the value could not be written there: nothing was
  // changed, the value is where it was.
  Failed,
};

// Moves the entry's value between the live key and its "_Bak" twin (`ticked`: into the
// live key), or with `remove` deletes it from both. The entry is the row as listed: its
// code names the pair, `enabled` the key the value lives in. The value leaves its old key
// only once the new key holds it.
ChangeResult ChangeReg(platform::Registry& registry, const StartupRegEntry& entry, bool ticked,
                       bool remove);

// What a click on a registry row's check box asks for, from its check state and the
// enabled marker (whether the value currently lives in the live key).
enum class CheckChange { None, Enable, Disable };
CheckChange CheckChangeOf(bool ticked, bool enabledMarker);

}  // namespace morvanta::inspect
