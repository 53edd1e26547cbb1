// Processes through the toolhelp snapshot, PSAPI and kernel32.
#pragma once

#include "platform/processes.h"

namespace morvanta::platform::win32 {

class Win32Processes : public Processes {
 public:
  std::optional<std::vector<ProcessEntry>> Snapshot() override;
  std::optional<std::string> ImagePath(uint32_t pid) override;
  int Terminate(uint32_t pid) override;
  std::optional<uint32_t> Start(const std::string& commandLine) override;
  bool WaitForExit(uint32_t pid, uint32_t milliseconds) override;
};

}  // namespace morvanta::platform::win32
