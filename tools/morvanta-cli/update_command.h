// `morvanta-cli update`: the database brought up to date from the update server without
// questions, for scripted machines.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "app/session.h"

namespace morvanta::cli {

extern const char kUpdateUsage[];

// `args` from the command's name on.
int UpdateCommand(app::Session& session, const std::vector<std::string>& args, std::ostream& out,
                  std::ostream& err);

}  // namespace morvanta::cli
