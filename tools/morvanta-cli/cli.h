// The console face of the program's logic, for scripts and technicians: the commands take a
// session (the real machine in morvanta-cli.exe, the fake one in the tests) and print what
// they found. Exit codes as scanners have them: 0 clean or done, 1 found or something
// remains, 2 an error.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "app/session.h"

namespace morvanta::cli {

constexpr int kClean = 0;
constexpr int kFound = 1;
constexpr int kError = 2;

// `args` without the program's name.
int Run(app::Session& session, const std::vector<std::string>& args, std::ostream& out,
        std::ostream& err);

extern const char kUsage[];

// After a task that changes the machine did not get done: when this process runs without
// administrator rights, says on `err` that this may be why and how to get them.
void ExplainMissingRights(app::Session& session, std::ostream& err);

}  // namespace morvanta::cli
