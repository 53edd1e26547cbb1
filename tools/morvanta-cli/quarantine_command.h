// `morvanta-cli quarantine`: the quarantine's entries listed, a file stored by hand, a
// stored file put back where it came from, an entry dropped with its copy. The same store
// and index file as the window's Quarantine Manager.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "app/session.h"

namespace morvanta::cli {

extern const char kQuarantineUsage[];

// `args` from the command's name on.
int QuarantineCommand(app::Session& session, const std::vector<std::string>& args,
                      std::ostream& out, std::ostream& err);

// A path as given on the command line, made full against the current folder.
std::string FullPath(const std::string& given, const std::string& currentFolder);

}  // namespace morvanta::cli
