// The in-memory views the page tests hand to the logic.
#pragma once

#include "common/memory_views.h"

namespace morvanta::inspect {

using common::CountingPump;
using common::MemoryCheckList;
using common::MemoryReport;
using common::MemoryText;
using common::NoMessages;
using common::PromptKind;
using common::ScriptedPrompts;

}  // namespace morvanta::inspect
