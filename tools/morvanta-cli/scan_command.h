// `morvanta-cli scan`: the quick scan, then on request the search of the drives for copies
// and the removal of everything found.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "app/session.h"

namespace morvanta::cli {

extern const char kScanUsage[];

// `args` from the command's name on.
int ScanCommand(app::Session& session, const std::vector<std::string>& args, std::ostream& out,
                std::ostream& err);

}  // namespace morvanta::cli
