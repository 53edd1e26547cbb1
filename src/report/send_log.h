// "SendLog.txt": what the log upload sends the maker. The running-object list with the scan
// log's lines merged in, one line each, CR LF, sorted without regard to case and without
// duplicates; the merged lines stay in the running-object list.
#pragma once

#include <string>

#include "inspect/running_objects.h"
#include "platform/files.h"
#include "scan/scan_log.h"

namespace morvanta::report {

inline constexpr char kSendLogFile[] = "SendLog.txt";

// Merges `scanLog` into `objects`, then writes them to `path`, replacing an older file.
// False when the file cannot be written.
bool WriteSendLog(platform::Files& files, const std::string& path,
                  inspect::RunningObjectList& objects, const scan::ScanLogList& scanLog);

}  // namespace morvanta::report
