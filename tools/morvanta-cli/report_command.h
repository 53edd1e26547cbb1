// `morvanta-cli report`: the full report log written as the Log Optimizer writes it, without
// opening it; `morvanta-cli autoruns`: the Report Manager's rows as CSV.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "app/session.h"

namespace morvanta::cli {

extern const char kReportUsage[];
extern const char kAutorunsUsage[];

// `args` from the command's name on.
int ReportCommand(app::Session& session, const std::vector<std::string>& args, std::ostream& out,
                  std::ostream& err);
int AutorunsCommand(app::Session& session, const std::vector<std::string>& args,
                    std::ostream& out, std::ostream& err);

// A CSV field: as it is, or in double quotes (doubled inside) when it holds a comma, a
// quote or a line break.
std::string CsvField(const std::string& text);

}  // namespace morvanta::cli
