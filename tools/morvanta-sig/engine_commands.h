// The scan engine's commands of morvanta-sig, for checking database lines and patterns:
//
//   parse LINE            an entry line's fields (templates; expanded on a real machine)
//   expand TEMPLATE       a path template with its folder tokens replaced
//   resolve COMMANDLINE   the existing file a command line names
//   match PATTERNPATH     the matches of a name pattern (running programs as the list)
//   range PATTERNPATH     the names a range makes, one per line
//   digest FILE...        MD5 of each file, as the database writes it
//
// Exit status: 0 good, 1 nothing found, 2 wrong usage or a command that needs Windows.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace morvanta::tools {

// True when `command` is one of the engine's commands.
bool IsEngineCommand(const std::string& command);

// Runs `args` (the command first, then its operands). `machine` is the real system, or null
// where there is none (off Windows): expand, resolve and match then report that they need
// Windows, parse shows the templates only, digest reads the files directly.
int RunEngineCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                     platform::Platform* machine);

// The usage lines of the engine's commands, for the tool's usage text.
const char* EngineUsage();

}  // namespace morvanta::tools
