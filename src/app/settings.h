// The per-user settings of the program, kept under HKEY_CURRENT_USER.
#pragma once

#include <optional>

#include "platform/registry.h"

namespace morvanta::app {

extern const char kChooserOptionsKey[];  // Software\Quorrin\Morvanta Pro\Options
extern const char kChooserValue[];       // "0"

// Whether the action chooser is shown after start. Nothing when the options key is missing
// (the check box keeps its design state); true when the value is missing or not a DWORD.
std::optional<bool> ReadShowChooser(platform::Registry& registry);

// Stores the check box state, creating the key when needed.
bool WriteShowChooser(platform::Registry& registry, bool show);

}  // namespace morvanta::app
