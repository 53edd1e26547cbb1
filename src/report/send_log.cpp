#include "report/send_log.h"

namespace morvanta::report {

bool WriteSendLog(platform::Files& files, const std::string& path,
                  inspect::RunningObjectList& objects, const scan::ScanLogList& scanLog) {
  for (const auto& line : scanLog.Lines()) objects.Add(line);
  std::string text;
  for (const auto& line : objects.Lines()) text += line + "\r\n";
  return files.WriteAtomically(path, text);
}

}  // namespace morvanta::report
